#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestResources.h"
#include "UiDriver.h"
#include "ui/controls/HoverButton.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/GuidePage1.h"
#include "ui/wizard/GuidePage2.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ModemFoundPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

const QColor kDialogColour(248, 252, 255);

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
    WizardPageTest() {
        folder.AddLanguage(QStringLiteral("English"), QSize(640, 480), QColor(1, 2, 3));
    }
    ScratchFolder folder;
};

TEST_F(WizardPageTest, ControlsAreBuiltFromTheTemplateByIdAndVisibility) {
    CHomePage page(ResourcePath("home.bmp"), nullptr);
    WhileShown(page, [&](CWizardPage& top) {
        for (const ControlTemplate& control : top.Template().controls) {
            SCOPED_TRACE(control.id);
            QWidget* widget = top.findChild<QWidget*>(QString::number(control.id));
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget, top.Control(control.id));
            const bool neverShown = control.id == kIdOk || control.id == kIdCancel;
            EXPECT_EQ(widget->isVisible(), !control.hidden && !neverShown);
        }
        EXPECT_EQ(top.windowTitle(), QStringLiteral("Orvane SetupPilot"));
    });
}

// Within a pixel: the centre of an even size lies between two pixels.
bool NearlyAt(QPoint point, QPoint centre) {
    return std::abs(point.x() - centre.x()) <= 1 && std::abs(point.y() - centre.y()) <= 1;
}

TEST_F(WizardPageTest, APageIsCentredOverItsVisibleOwnerElseOverTheScreen) {
    CGuidePage1 owner(ResourcePath("install01.bmp"), nullptr);
    // A page of another size: without its bitmap it takes its template's size.
    CGuidePage2 overVisible(ResourcePath("no-such.bmp"), &owner);
    CGuidePage2 overHidden(ResourcePath("no-such.bmp"), &owner);
    QPoint ownerCentre, screenCentre;
    std::vector<QPoint> centres;
    auto record = [&](CWizardPage& top) {
        centres.push_back(top.geometry().center());
        top.OnClose();
    };
    UiDriver driver;
    driver
        .Then([&](CWizardPage& top) {
            top.move(7, 5);  // well away from the screen's centre
            ownerCentre = top.geometry().center();
            screenCentre = top.screen()->availableGeometry().center();
            overVisible.DoModal();
            top.hide();
            overHidden.DoModal();
            top.OnClose();
        })
        .Then(record)
        .Then(record);
    driver.Start();
    owner.DoModal();
    ASSERT_FALSE(driver.TimedOut());
    ASSERT_EQ(centres.size(), 2u);
    EXPECT_NE(overVisible.size(), owner.size());
    EXPECT_GT((ownerCentre - screenCentre).manhattanLength(), 100);
    EXPECT_TRUE(NearlyAt(centres[0], ownerCentre)) << centres[0].x() << "," << centres[0].y();
    EXPECT_TRUE(NearlyAt(centres[1], screenCentre)) << centres[1].x() << "," << centres[1].y();
}

TEST_F(WizardPageTest, StandardRowSitsAtTheBottomLeftOfTheBackground) {
    CGuidePage1 guide(ResourcePath("install01.bmp"), nullptr);
    WhileShown(guide, [](CWizardPage& top) {
        EXPECT_EQ(top.size(), QSize(640, 480));
        for (int i : {0, 1, 2}) {
            EXPECT_EQ(top.Control(std::array{kIdExit, kIdBack, kIdNext}[i])->geometry(),
                      QRect(16 + i * kStripWidth, 480 - 27, kStripWidth, kLookHeight));
        }
    });
    // Without Back, Next takes its place.
    CModemFoundPage found(ResourcePath("install04.bmp"), nullptr);
    WhileShown(found, [](CWizardPage& top) {
        EXPECT_EQ(top.Control(kIdNext)->pos(), QPoint(16 + kStripWidth, 480 - 27));
        EXPECT_EQ(top.Control(kIdExit)->pos(), QPoint(16, 480 - 27));
        EXPECT_FALSE(top.Control(kIdBack)->isVisible());
    });
    CFinishPage finish(ResourcePath("install11.bmp"), nullptr);
    WhileShown(finish, [](CWizardPage& top) {
        EXPECT_EQ(top.Control(kIdExit)->pos(), QPoint(205, 480 - 130));
    });
}

TEST_F(WizardPageTest, HomeButtonsFollowTheBackgroundSize) {
    CHomePage page(ResourcePath("home.bmp"), nullptr);
    WhileShown(page, [](CWizardPage& top) {
        const int W = 640, H = 480;
        EXPECT_EQ(top.Control(CHomePage::kIdClose)->pos(), QPoint(18, H - 27));
        EXPECT_EQ(top.Control(CHomePage::kIdStart)->pos(), QPoint(W - 160, H - 174));
        const int column[] = {CHomePage::kIdManual, CHomePage::kIdGuide, CHomePage::kIdAcrobat,
                              CHomePage::kIdSupport};
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(top.Control(column[row])->pos(), QPoint(W - 180, 120 + row * kLookHeight));
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(top.Control(CHomePage::kIdFirstLanguageButton + i)->pos(),
                      QPoint(99 + i * kStripWidth, H - 88));
        }
        EXPECT_EQ(top.Control(CHomePage::kIdStart)->toolTip(), QStringLiteral("Click to start!"));
    });
}

TEST_F(WizardPageTest, BackgroundIsPaintedOrTheDialogColourFillsIn) {
    CGuidePage1 painted(ResourcePath("install01.bmp"), nullptr);
    WhileShown(painted, [](CWizardPage& top) {
        const QImage image = top.grab().toImage();
        EXPECT_EQ(image.pixelColor(320, 100), QColor(1, 2, 3));
    });
    // A missing file: construction still succeeds, the page takes its template's size.
    CGuidePage1 missing(ResourcePath("no-such.bmp"), nullptr);
    EXPECT_TRUE(missing.Background().isNull());
    int width = -1, height = -1;
    missing.GetBitmapSize(width, height);
    EXPECT_EQ(QSize(width, height), QSize(-1, -1));
    WhileShown(missing, [](CWizardPage& top) {
        EXPECT_EQ(top.size(),
                  QSize(DuToPxX(top.Template().widthDu), DuToPxY(top.Template().heightDu)));
        const QImage image = top.grab().toImage();
        EXPECT_EQ(image.pixelColor(320, 100), kDialogColour);
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
