#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <cstdlib>
#include <vector>

#include "TestResources.h"
#include "UiDriver.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/GuidePage1.h"
#include "ui/wizard/GuidePage2.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ModemFoundPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

// Runs a page modally, calls check on it once it shows, then ends it.
template <typename Check>
void WhileShown(CWizardPage& page, Check check) {
    UiDriver driver;
    driver.Then([&](CWizardPage& top) {
        check(top);
        top.OnClose();
    });
    driver.Start();
    EXPECT_EQ(page.DoModal(), QDialog::Accepted);
    EXPECT_FALSE(driver.TimedOut());
}

class WizardPageTest : public ::testing::Test {
protected:
    WizardPageTest() { folder.AddLanguage("English", QSize(640, 480), QColor(1, 2, 3)); }
    ScratchFolder folder;
};

TEST_F(WizardPageTest, APageIsCentredOverItsVisibleOwnerElseOverTheScreen) {
    CGuidePage1 owner(ResourcePath("install01.bmp"), nullptr);
    // A page of another size: without its bitmap it takes its template's size.
    CGuidePage2 overVisible(ResourcePath("no-such.bmp"), &owner);
    CGuidePage2 overHidden(ResourcePath("no-such.bmp"), &owner);
    std::vector<QPoint> centres;  // owner, screen, then the two pages
    const auto record = [&centres](CWizardPage& top) {
        centres.push_back(top.geometry().center());
    };
    WhileShown(owner, [&](CWizardPage& top) {
        top.move(7, 5);  // well away from the screen's centre
        centres = {top.geometry().center(), top.screen()->availableGeometry().center()};
        WhileShown(overVisible, record);
        top.hide();
        WhileShown(overHidden, record);
    });
    ASSERT_EQ(centres.size(), 4u);
    EXPECT_NE(overVisible.size(), owner.size());
    EXPECT_GT((centres[0] - centres[1]).manhattanLength(), 100);
    // Within a pixel: the centre of an even size lies between two pixels.
    for (int i : {0, 1}) {
        const QPoint off = centres[2 + i] - centres[i];
        EXPECT_TRUE(std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1) << i;
    }
}

// Buttons sit where the art leaves room; every control shows as its template says (the keyboard and
// form-page tests find controls by id), OK and Cancel never.
TEST_F(WizardPageTest, ButtonsSitWhereTheArtLeavesRoomAndControlsShowAsTheirTemplateSays) {
    using Places = std::vector<std::pair<int, QPoint>>;
    const int bottom = 480 - 27, W = 640;
    const auto expectAt = [](const Places& places) {
        return [places](CWizardPage& top) {
            for (const auto& [id, at] : places) EXPECT_EQ(top.Control(id)->pos(), at) << id;
            for (const ControlTemplate& control : top.Template().controls) {
                const bool neverShown = control.id == kIdOk || control.id == kIdCancel;
                EXPECT_EQ(top.Control(control.id)->isVisible(), !control.hidden && !neverShown)
                    << control.id;
            }
        };
    };
    CGuidePage1 guide(ResourcePath("install01.bmp"), nullptr);
    WhileShown(guide, expectAt({{kIdExit, {16, bottom}},
                                {kIdBack, {16 + kStripWidth, bottom}},
                                {kIdNext, {16 + 2 * kStripWidth, bottom}}}));
    // Without Back, Next takes its place.
    CModemFoundPage found(ResourcePath("install04.bmp"), nullptr);
    WhileShown(found, expectAt({{kIdExit, {16, bottom}}, {kIdNext, {16 + kStripWidth, bottom}}}));
    CFinishPage finish(ResourcePath("install11.bmp"), nullptr);
    WhileShown(finish, expectAt({{kIdExit, {205, 480 - 130}}}));
    // The home page's buttons follow the background's size.
    Places home{{CHomePage::kIdClose, {18, bottom}}, {CHomePage::kIdStart, {W - 160, 480 - 174}}};
    const int column[] = {CHomePage::kIdManual, CHomePage::kIdGuide, CHomePage::kIdAcrobat,
                          CHomePage::kIdSupport};
    for (int row = 0; row < 4; ++row)
        home.push_back({column[row], {W - 180, 120 + row * kLookHeight}});
    for (int i = 0; i < 5; ++i)
        home.push_back({CHomePage::kIdFirstLanguageButton + i, {99 + i * kStripWidth, 480 - 88}});
    CHomePage page(ResourcePath("home.bmp"), nullptr);
    WhileShown(page, expectAt(home));
}

TEST_F(WizardPageTest, BackgroundIsPaintedOrTheDialogColourFillsIn) {
    CGuidePage1 painted(ResourcePath("install01.bmp"), nullptr);
    WhileShown(painted, [](CWizardPage& top) {
        EXPECT_EQ(top.size(), QSize(640, 480));
        EXPECT_EQ(top.grab().toImage().pixelColor(320, 100), QColor(1, 2, 3));
    });
    // A missing file: construction still succeeds, the page takes its template's size.
    CGuidePage1 missing(ResourcePath("no-such.bmp"), nullptr);
    int width = -1, height = -1;
    missing.GetBitmapSize(width, height);
    EXPECT_EQ(QSize(width, height), QSize(-1, -1));
    WhileShown(missing, [](CWizardPage& top) {
        EXPECT_EQ(top.size(),
                  QSize(DuToPxX(top.Template().widthDu), DuToPxY(top.Template().heightDu)));
        EXPECT_EQ(top.grab().toImage().pixelColor(320, 100), QColor(248, 252, 255));
    });
}

TEST_F(WizardPageTest, WindowCloseRequestTakesTheOneClosePath) {
    CGuidePage1 page(ResourcePath("install01.bmp"), nullptr);
    UiDriver driver;
    driver.Then([](CWizardPage& top) { top.close(); });
    driver.Start();
    EXPECT_EQ(page.DoModal(), QDialog::Accepted);
    EXPECT_TRUE(driver.AllActionsRan());
    EXPECT_FALSE(driver.TimedOut());
}

}  // namespace
