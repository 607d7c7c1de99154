#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <set>

#include "TestResources.h"
#include "resources/LinkCursor.h"
#include "ui/controls/HoverButton.h"

namespace {

// Every colour the button shows right now.
std::set<QRgb> ColoursShown(CHoverButton& button) {
    const QImage image = button.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xff000000u);
    }
    return colours;
}

void Hover(CHoverButton& button, bool on) {
    if (on) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&button, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
    }
}

class HoverButtonTest : public ::testing::TestWithParam<int> {
protected:
    QTemporaryDir dir;
};

// Extra rows below four whole looks (strip height not a multiple of 4) are never shown.
TEST_P(HoverButtonTest, EachStateDrawsExactlyItsQuarterOfTheStrip) {
    const int extraRows = GetParam();
    const QString path = dir.filePath(QStringLiteral("strip.bmp"));
    ASSERT_TRUE(WriteStrip(path, 30, 10, extraRows));
    struct Case {
        bool down;
        bool hover;
        int look;
    };
    // Pressed wins over hovered; leaving restores the normal look.
    const Case cases[] = {
        {false, false, 0}, {false, true, 2}, {true, true, 1}, {true, false, 1}, {false, false, 0}};
    // A button hidden while its strip is loaded reads the pixels when it is first painted.
    for (bool hidden : {false, true}) {
        QWidget page;
        CHoverButton button(&page);
        if (hidden) button.hide();
        EXPECT_TRUE(button.LoadBitmaps(path));
        EXPECT_EQ(button.size(), QSize(30, 10));
        button.show();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "hidden " << hidden << " down " << c.down << " hover " << c.hover);
            button.setDown(c.down);
            Hover(button, c.hover);
            EXPECT_EQ(ColoursShown(button), std::set<QRgb>{kStripColours[c.look].rgb()});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(StripHeights, HoverButtonTest, ::testing::Values(0, 1, 3));

TEST(HoverButtonCursorTest, LinkCursorIsTheEmbeddedHandAndZeroRemovesIt) {
    // A child, as on a page: a window keeps a cursor of its own even when unset.
    QWidget page;
    CHoverButton button(&page);
    EXPECT_TRUE(button.SetBtnCursor(kLinkCursorId));
    ASSERT_TRUE(button.testAttribute(Qt::WA_SetCursor));
    const QCursor cursor = button.cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(kLinkCursorHotX, kLinkCursorHotY));
    // The finger tip at (5, 0) is black and opaque; the top left corner is transparent.
    const QImage shape = cursor.bitmap().toImage();
    const QImage mask = cursor.mask().toImage();
    EXPECT_EQ(QColor(mask.pixel(5, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(shape.pixel(5, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(mask.pixel(0, 0)), QColor(Qt::white));
    // Inside the finger: opaque but white.
    EXPECT_EQ(QColor(mask.pixel(5, 1)), QColor(Qt::black));
    EXPECT_EQ(QColor(shape.pixel(5, 1)), QColor(Qt::white));

    EXPECT_TRUE(button.SetBtnCursor(0));
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));
    EXPECT_FALSE(button.SetBtnCursor(364));
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));
}

TEST(HoverButtonTooltipTest, TextChangesOnlyWhenGivenAndShowsOnlyWhenActive) {
    CHoverButton button;
    button.SetTooltipText("first", true);
    button.SetTooltipText(nullptr, true);
    EXPECT_EQ(button.toolTip(), QStringLiteral("first"));
    button.SetTooltipText("second", true);
    EXPECT_EQ(button.toolTip(), QStringLiteral("second"));
    button.SetTooltipText("third", false);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

}  // namespace
