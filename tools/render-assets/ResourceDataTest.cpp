#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "resources/LinkCursor.h"
#include "resources/PageTemplates.h"
#include "resources/StringTable.h"

namespace {

TEST(PageTemplates, ConvertDialogUnitsWithRoundingNotTruncation) {
    const std::pair<int, int> xs[] = {{0, 0}, {1, 2}, {35, 53}, {232, 348}, {366, 549}, {-1, -2}};
    for (auto [du, px] : xs) EXPECT_EQ(DuToPxX(du), px) << "x " << du;
    const std::pair<int, int> ys[] = {{0, 0}, {1, 2}, {14, 23}, {155, 252}, {173, 281}, {315, 512}};
    for (auto [du, px] : ys) EXPECT_EQ(DuToPxY(du), px) << "y " << du;
}

TEST(PageTemplates, EveryTemplateIsFoundWithUniqueIdsAndHiddenOkCancel) {
    EXPECT_EQ(AllPageTemplates().size(), 13u);
    EXPECT_EQ(FindPageTemplate(332), nullptr);
    for (const PageTemplate& page : AllPageTemplates()) {
        EXPECT_EQ(FindPageTemplate(page.id), &page);
        std::set<int> seen;
        for (const ControlTemplate& control : page.controls) {
            EXPECT_TRUE(seen.insert(control.id).second) << page.id << " repeats " << control.id;
        }
        for (int hiddenId : {kIdOk, kIdCancel}) {
            const ControlTemplate* control = FindControl(page, hiddenId);
            ASSERT_NE(control, nullptr) << page.id;
            EXPECT_TRUE(control->hidden) << page.id;
        }
    }
}

// Controls may share a place only where the page shows one of them at a time.
bool Alternatives(int a, int b) {
    static const std::set<int> groups[] = {{1069, 1063},
                                           {1049, 1055},
                                           {1064, 1065, 1066, 1067},
                                           {1051, 1052, 1053, 1054},
                                           {1070, 1071, 1072, 1073}};
    for (const std::set<int>& group : groups) {
        if (group.count(a) && group.count(b)) return true;
    }
    return false;
}

TEST(PageTemplates, VisibleControlsStayOnThePageAndApart) {
    const int closedList = 26;
    for (const PageTemplate& page : AllPageTemplates()) {
        std::vector<std::pair<int, PixelRect>> shown;
        for (const ControlTemplate& control : page.controls) {
            if (control.hidden || control.kind == ControlKind::OwnerDrawButton) continue;
            PixelRect r = ControlRectPx(control);
            if (control.kind == ControlKind::ComboList) r.height = closedList;
            EXPECT_GE(r.x, 0);
            EXPECT_GE(r.y, 0);
            EXPECT_LE(r.x + r.width, kPageWidthPx) << page.id << ": " << control.id;
            EXPECT_LE(r.y + r.height, kPageHeightPx - 30) << page.id << ": " << control.id;
            shown.emplace_back(control.id, r);
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const PixelRect& a = shown[i].second;
                const PixelRect& b = shown[j].second;
                EXPECT_TRUE(Alternatives(shown[i].first, shown[j].first) ||
                            !(a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
                              b.y < a.y + a.height))
                    << page.id << ": " << shown[i].first << " overlaps " << shown[j].first;
            }
        }
    }
}

TEST(StringTable, HasEveryEntryTheProgramLoadsAndNothingElse) {
    for (int id : {1, 35, 56, 65, 66}) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 42; id <= 54; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 171; id <= 175; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id : {0, 2, 41, 55, 57, 170, 176}) EXPECT_EQ(LoadResString(id), nullptr) << id;
}

bool Bit(const CursorMask& mask, int x, int y) {
    return mask[y * 4 + x / 8] & (0x80 >> (x % 8));
}

// The masks match the picture and the hot spot is the fingertip. At twice the pixels every pixel
// keeps its colour in at least two of its four quarters (nothing moves or vanishes), and the
// outline's steps are rounded, which plain doubling would not do.
TEST(LinkCursor, MasksMatchThePictureAndTheDoubledHandRoundsItsSteps) {
    const auto& rows = LinkCursorRows();
    const auto& twice = LinkCursorRows2x();
    int topmostOpaqueRow = kLinkCursorSize;
    int rounded = 0;
    for (int y = 0; y < kLinkCursorSize; ++y) {
        ASSERT_EQ(rows[y].size(), static_cast<std::size_t>(kLinkCursorSize)) << y;
        for (int x = 0; x < kLinkCursorSize; ++x) {
            const char pixel = rows[y][x];
            ASSERT_TRUE(pixel == 'X' || pixel == 'o' || pixel == '.') << x << "," << y;
            EXPECT_EQ(Bit(LinkCursorAndMask(), x, y), pixel == '.') << x << "," << y;
            EXPECT_EQ(Bit(LinkCursorXorMask(), x, y), pixel == 'o') << x << "," << y;
            if (pixel != '.' && y < topmostOpaqueRow) topmostOpaqueRow = y;
            const std::string quarters{twice[2 * y][2 * x], twice[2 * y][2 * x + 1],
                                       twice[2 * y + 1][2 * x], twice[2 * y + 1][2 * x + 1]};
            EXPECT_GE(std::count(quarters.begin(), quarters.end(), pixel), 2) << x << "," << y;
            rounded += quarters != std::string(4, pixel);
        }
    }
    EXPECT_EQ(rows[kLinkCursorHotY][kLinkCursorHotX], 'X');
    EXPECT_EQ(topmostOpaqueRow, kLinkCursorHotY);
    EXPECT_GT(rounded, 10);
    EXPECT_EQ(twice[2 * kLinkCursorHotY][2 * kLinkCursorHotX], 'X');
    EXPECT_EQ(twice[41][8], '.') << "the palm's bottom left corner is rounded off";
}

}  // namespace
