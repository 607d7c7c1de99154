#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

class QPainter;

// The button of every page: drawn from one strip holding four looks stacked top to bottom
// (normal, pressed, hovered, unused), with the link cursor and an optional tooltip. The button
// takes the strip's width and a quarter of its height; no text or border is drawn. Tab reaches
// it and Space presses it; a ring marks the focus only when the keyboard put it there.
class CHoverButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit CHoverButton(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CHoverButton)

    // Loads the strip and sizes the button to it (a hidden button reads the strip's pixels only
    // when it is first painted). A strip that cannot be loaded is not reported; the button then
    // keeps its size and draws nothing. Always true.
    bool LoadBitmaps(const QString& path);
    // 0 removes the cursor; the link cursor id gives the pointing hand. False for any other id,
    // which also leaves the button without a cursor of its own.
    bool SetBtnCursor(int cursorId);
    // A null text does nothing. Calling it again changes only the text.
    void SetTooltipText(const char* text, bool activate);

    bool IsHovered() const { return m_bHover; }
    int LookHeight() const { return m_nHeight; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawFocusRing(QPainter& painter) const;

    bool m_bHover = false;
    bool m_bKeyboardFocus = false;
    int m_nWidth = 0;
    int m_nHeight = 0;
    QPixmap m_strip;
    QString m_strPendingStrip;  // read at the first paint
};
