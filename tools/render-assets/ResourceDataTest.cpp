#include <gtest/gtest.h>

#include <QRect>
#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "resources/LinkCursor.h"
#include "resources/PageTemplates.h"
#include "resources/StringTable.h"

namespace {

TEST(PageTemplates, ConvertDialogUnitsWithRoundingNotTruncation) {
    // dialog units, pixels across, pixels down
    const std::tuple<int, int, int> cases[] = {
        {0, 0, 0}, {1, 2, 2}, {35, 53, 57}, {173, 260, 281}, {-1, -2, -2}};
    for (auto [du, x, y] : cases) {
        EXPECT_EQ(DuToPxX(du), x) << du;
        EXPECT_EQ(DuToPxY(du), y) << du;
    }
}

// Controls may share a place only where the page shows one of them at a time.
bool Alternatives(int a, int b) {
    static const std::set<int> groups[] = {{1069, 1063},
                                           {1049, 1055},
                                           {1064, 1065, 1066, 1067},
                                           {1051, 1052, 1053, 1054},
                                           {1070, 1071, 1072, 1073}};
    return std::any_of(std::begin(groups), std::end(groups), [&](const std::set<int>& group) {
        return group.count(a) && group.count(b);
    });
}

// Each page is found by its id, names each control once, and shows its controls on the page
// above the button row, apart from each other.
TEST(PageTemplates, EveryPageIsFoundAndShowsItsControlsOnThePageAndApart) {
    EXPECT_EQ(FindPageTemplate(332), nullptr);
    for (const PageTemplate& page : AllPageTemplates()) {
        EXPECT_EQ(FindPageTemplate(page.id), &page);
        std::set<int> seen;
        std::vector<std::pair<int, QRect>> shown;
        for (const ControlTemplate& control : page.controls) {
            EXPECT_TRUE(seen.insert(control.id).second) << page.id << " repeats " << control.id;
            if (control.hidden || control.kind == ControlKind::OwnerDrawButton) continue;
            const PixelRect r = ControlRectPx(control);
            // A drop-down list takes only its closed field.
            const QRect rect(r.x, r.y, r.width,
                             control.kind == ControlKind::ComboList ? 26 : r.height);
            EXPECT_TRUE(QRect(0, 0, kPageWidthPx, kPageHeightPx - 30).contains(rect))
                << page.id << ": " << control.id;
            for (const auto& [id, other] : shown) {
                EXPECT_TRUE(Alternatives(id, control.id) || !rect.intersects(other))
                    << page.id << ": " << control.id << " overlaps " << id;
            }
            shown.emplace_back(control.id, rect);
        }
    }
}

TEST(StringTable, HasEveryEntryTheProgramLoadsAndNothingElse) {
    for (int id : {1, 35, 56, 65, 66}) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 42; id <= 54; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 171; id <= 175; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id : {0, 2, 41, 55, 57, 170, 176}) EXPECT_EQ(LoadResString(id), nullptr) << id;
}

// The hot spot is the fingertip. At twice the pixels every pixel keeps its colour in at least two
// of its four quarters (nothing moves or vanishes), and the outline's steps are rounded, which
// plain doubling would not do.
TEST(LinkCursor, HotSpotIsTheFingertipAndTheDoubledHandRoundsItsSteps) {
    const auto& rows = LinkCursorRows();
    const auto& twice = LinkCursorRows2x();
    int topmostOpaqueRow = kLinkCursorSize, rounded = 0;
    for (int y = 0; y < kLinkCursorSize; ++y) {
        for (int x = 0; x < kLinkCursorSize; ++x) {
            const char pixel = rows[y][x];
            if (pixel != '.') topmostOpaqueRow = std::min(topmostOpaqueRow, y);
            const std::string quarters{twice[2 * y][2 * x], twice[2 * y][2 * x + 1],
                                       twice[2 * y + 1][2 * x], twice[2 * y + 1][2 * x + 1]};
            EXPECT_GE(std::count(quarters.begin(), quarters.end(), pixel), 2) << x << "," << y;
            rounded += quarters != std::string(4, pixel);
        }
    }
    EXPECT_EQ(rows[kLinkCursorHotY][kLinkCursorHotX], 'X');
    EXPECT_EQ(topmostOpaqueRow, kLinkCursorHotY);
    EXPECT_GT(rounded, 10);
}

}  // namespace
