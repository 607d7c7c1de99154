#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <set>
#include <vector>

#include "TestResources.h"
#include "resources/LinkCursor.h"
#include "ui/controls/HoverButton.h"

namespace {

// Every colour the button shows right now.
std::set<QRgb> ColoursShown(CHoverButton& button) {
    const QImage image = button.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xff000000u);
    return colours;
}

// Pressed wins over hovered; leaving restores the normal look. Extra rows below four whole
// looks (strip height not a multiple of 4) are never shown; a button hidden while its strip is
// loaded reads the pixels when it is first painted.
TEST(HoverButtonTest, EachStateDrawsExactlyItsQuarterOfTheStrip) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("strip.bmp"));
    struct Case {
        bool down, hover;
        int look;
    } const cases[] = {
        {false, false, 0}, {false, true, 2}, {true, true, 1}, {true, false, 1}, {false, false, 0}};
    for (const auto& [extraRows, hidden] : {std::pair{0, false}, {3, false}, {3, true}}) {
        ASSERT_TRUE(WriteStrip(path, 30, 10, extraRows));
        QWidget page;
        CHoverButton button(&page);
        if (hidden) button.hide();
        EXPECT_TRUE(button.LoadBitmaps(path));
        EXPECT_EQ(button.size(), QSize(30, 10));
        button.show();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "extra rows " << extraRows << " hidden " << hidden
                                            << " down " << c.down << " hover " << c.hover);
            button.setDown(c.down);
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&button, c.hover ? static_cast<QEvent*>(&enter) : &leave);
            EXPECT_EQ(ColoursShown(button), std::set<QRgb>{kStripColours[c.look].rgb()});
        }
    }
}

TEST(HoverButtonCursorTest, LinkCursorIsTheEmbeddedHandAndZeroRemovesIt) {
    // A child, as on a page: a window keeps a cursor of its own even when unset.
    QWidget page;
    CHoverButton button(&page);
    EXPECT_TRUE(button.SetBtnCursor(kLinkCursorId));
    ASSERT_TRUE(button.testAttribute(Qt::WA_SetCursor));
    const QCursor cursor = button.cursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(kLinkCursorHotX, kLinkCursorHotY));
    // The finger tip's outline at (5, 0) is black and opaque, inside it white; the corner clear.
    const QImage shape = cursor.bitmap().toImage(), mask = cursor.mask().toImage();
    const std::vector<QColor> seen{mask.pixel(5, 0), shape.pixel(5, 0), mask.pixel(5, 1),
                                   shape.pixel(5, 1), mask.pixel(0, 0)};
    EXPECT_EQ(seen, (std::vector<QColor>{Qt::black, Qt::black, Qt::black, Qt::white, Qt::white}));

    EXPECT_TRUE(button.SetBtnCursor(0));
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));
    button.SetBtnCursor(kLinkCursorId);
    EXPECT_FALSE(button.SetBtnCursor(364));
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));
}

// No text given keeps the last one; an inactive tooltip shows nothing.
TEST(HoverButtonTooltipTest, TextChangesOnlyWhenGivenAndShowsOnlyWhenActive) {
    CHoverButton button;
    button.SetTooltipText("first", true);
    button.SetTooltipText(nullptr, true);
    EXPECT_EQ(button.toolTip(), QStringLiteral("first"));
    button.SetTooltipText("second", false);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

}  // namespace
