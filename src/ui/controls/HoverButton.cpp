#include "ui/controls/HoverButton.h"

#include <QBitmap>
#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>

#include "resources/LinkCursor.h"
#include "ui/controls/LinkCursor.h"

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

bool CHoverButton::LoadBitmaps(const QString& path) {
    m_strip = QPixmap(path);
    if (!m_strip.isNull()) {
        m_nWidth = m_strip.width();
        m_nHeight = m_strip.height() / 4;  // extra rows below the fourth look are never shown
        setFixedSize(m_nWidth, m_nHeight);
    }
    raise();
    return true;
}

bool CHoverButton::SetBtnCursor(int cursorId) {
    unsetCursor();
    if (cursorId == 0) return true;
    if (cursorId != kLinkCursorId) return false;
    setCursor(LinkCursor());
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
    painter.drawPixmap(0, 0, m_strip, 0, row, m_nWidth, m_nHeight);
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
