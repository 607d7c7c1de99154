#include "ui/controls/HoverButton.h"

#include <QBitmap>
#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QImage>
#include <QPainter>

#include "resources/LinkCursor.h"
#include "ui/controls/LinkCursor.h"
#include "ui/wizard/ResourcePath.h"

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    // Tab reaches the button; a click leaves the focus where it was, as it always has.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover, false);
}

bool CHoverButton::LoadBitmaps(const QString& path) {
    m_strPendingStrip.clear();
    QSize size;  // logical pixels: a double-density strip covers the page-pixel one's size
    if (parentWidget() != nullptr && !isVisibleTo(parentWidget())) {
        // A button its page keeps hidden (the home page's language buttons) reads its strip
        // when it is first painted, if ever; its size comes from the file's header.
        size = ArtSize(path, devicePixelRatioF());
        m_strip = QPixmap();
        if (size.isValid()) m_strPendingStrip = path;
    } else {
        m_strip = LoadArt(path, devicePixelRatioF());
        if (!m_strip.isNull()) size = m_strip.deviceIndependentSize().toSize();
    }
    if (size.isValid()) {
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
    if (!m_strPendingStrip.isEmpty()) {
        m_strip = LoadArt(m_strPendingStrip, devicePixelRatioF());
        m_strPendingStrip.clear();
    }
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
    if (m_bKeyboardFocus && hasFocus()) DrawFocusRing(painter);
}

void CHoverButton::DrawFocusRing(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

void CHoverButton::focusInEvent(QFocusEvent* event) {
    // Only a keyboard user sees where the focus is: focus moved by Tab or a shortcut, or given
    // to a window the keyboard has already moved focus in (never by a click).
    switch (event->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            m_bKeyboardFocus = true;
            break;
        case Qt::MouseFocusReason:
            m_bKeyboardFocus = false;
            break;
        default:
            m_bKeyboardFocus = window()->testAttribute(Qt::WA_KeyboardFocusChange);
    }
    update();
    QAbstractButton::focusInEvent(event);
}

void CHoverButton::focusOutEvent(QFocusEvent* event) {
    m_bKeyboardFocus = false;
    update();
    QAbstractButton::focusOutEvent(event);
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
