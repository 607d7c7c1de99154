#include "ui/controls/HoverButton.h"

#include <QBitmap>
#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>

#include "resources/LinkCursor.h"
#include "ui/controls/LinkCursor.h"
#include "ui/wizard/ResourcePath.h"

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

bool CHoverButton::LoadBitmaps(const QString& path) {
    m_strip = LoadArt(path, devicePixelRatioF());
    if (!m_strip.isNull()) {
        // Logical pixels: a double-density strip covers the same size as the page-pixel one.
        const QSize size = m_strip.deviceIndependentSize().toSize();
        m_nWidth = size.width();
        m_nHeight = size.height() / 4;  // extra rows below the fourth look are never shown
        setFixedSize(m_nWidth, m_nHeight);
    }
    raise();
    return true;
}

bool CHoverButton::SetBtnCursor(int cursorId) {
    unsetCursor();
    if (cursorId == 0) return true;
    if (cursorId != kLinkCursorId) return false;
    setCursor(LinkCursor(devicePixelRatioF()));
    return true;
}

void CHoverButton::SetTooltipText(const char* text, bool activate) {
    if (text == nullptr) return;
    setToolTip(activate ? QString::fromUtf8(text) : QString());
}

QSize CHoverButton::sizeHint() const {
    return {m_nWidth, m_nHeight};
}

void CHoverButton::paintEvent(QPaintEvent*) {
    if (m_strip.isNull()) return;
    int row = 0;
    if (isDown()) {
        row = m_nHeight;
    } else if (m_bHover) {
        row = 2 * m_nHeight;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal dpr = m_strip.devicePixelRatio();  // the source is in the strip's own pixels
    painter.drawPixmap(QRectF(0, 0, m_nWidth, m_nHeight), m_strip,
                       QRectF(0, row * dpr, m_nWidth * dpr, m_nHeight * dpr));
}

void CHoverButton::enterEvent(QEnterEvent* event) {
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
