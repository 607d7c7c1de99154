#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "FakeShellService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Names = std::vector<std::string>;
const Names kChain{"CHomePage",   "CGuidePage1",     "CGuidePage2",
                   "CGuidePage3", "CModemFoundPage", "CFinishPage"};

class WizardFlowTest : public ::testing::Test {
protected:
    WizardFlowTest() {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(10, 20, 30));
        // The wizard's own chain, except that the third instruction page leads straight to the
        // found-modem page on itself, as a detection that found the modem at once would leave it.
        WizardContext wizard{nullptr, &shell, {}};
        InstallWizardFlow(wizard);
        wizard[WizardStep::Guide3Next] = wizard[WizardStep::ModemDetected];
        context.emplace(std::move(wizard));
    }

    // Runs a home page to its end under the driver; true when every step ran in time and every
    // page ended.
    bool RunHome() {
        driver.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        homeResult = home.DoModal();
        return driver.Finished() && UiDriver::TopPage() == nullptr;
    }

    ScratchFolder folder;
    FakeShellService shell;
    std::optional<ScopedWizardContext> context;
    UiDriver driver;
    int homeResult = -1;
};

TEST_F(WizardFlowTest, BackRestoresTheOwnerAsTopPage) {
    bool ownerVisible = false;
    driver.Click(CHomePage::kIdStart).Click(kIdNext);
    // WM_WIZARD_RESHOW restores the owner, even from minimised.
    driver.Then([](CWizardPage& top) { top.Owner()->showMinimized(); })
        .Click(kIdBack)
        .Then([&](CWizardPage& top) { ownerVisible = top.isVisible() && !top.isMinimized(); })
        .Click(kIdBack)
        .Click(CHomePage::kIdClose);
    ASSERT_TRUE(RunHome());
    EXPECT_EQ(driver.Visited(), (Names{"CHomePage", "CGuidePage1", "CGuidePage2", "CGuidePage2",
                                       "CGuidePage1", "CGuidePage1", "CHomePage"}));
    EXPECT_TRUE(ownerVisible);
    EXPECT_EQ(homeResult, QDialog::Accepted);
}

// A language button ends the home page and builds a new one, and the pages after it, from the
// new language's folder.
TEST_F(WizardFlowTest, PagesBuiltAfterALanguageChangeUseTheNewFolder) {
    const QColor german(200, 100, 50);
    folder.AddLanguage(QStringLiteral("German"), QSize(500, 400), german);
    const auto centre = [](QWidget* widget) {
        const QImage image = widget->grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    QColor guide;
    driver.Click(CHomePage::kIdFirstLanguageButton + 2)
        .Then([&](CWizardPage& top) {
            EXPECT_EQ(top.size(), QSize(500, 400));
            EXPECT_EQ(centre(&top), german);
            ASSERT_NE(top.Owner(), nullptr);
            EXPECT_TRUE(top.Owner()->isHidden());  // the first home page was told to end
            // The new home page marks and lists the new language, in the new folder's strips.
            auto* list = qobject_cast<QComboBox*>(top.Control(CHomePage::kIdLanguageList));
            EXPECT_EQ(list->currentIndex(), 2);
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(centre(top.Control(CHomePage::kIdFirstLanguageButton + i)),
                          i == 2 ? german : kStripColours[0])
                    << i;
            }
        })
        .Click(CHomePage::kIdStart)
        .Then([&](CWizardPage& top) { guide = centre(&top); })
        .Click(kIdExit);
    ASSERT_TRUE(RunHome());
    EXPECT_EQ(guide, german);
    EXPECT_EQ(Session().languageIndex, 2);
    // Start loaded the messages in the language current at that moment.
    EXPECT_STREQ(Session().msgModemNotDetected, LocalizedMessage(2, kMsgModemNotDetected));
    EXPECT_EQ(driver.Hidden(), (Names{"CHomePage", "CHomePage", "CGuidePage1"}));
}

// Exit on the final page asks for the maker's page while every page is still open, then closes
// every page from the bottom up. On the found-modem page a click on its hidden Back does nothing.
TEST_F(WizardFlowTest, ExitOpensTheMakersPageAndClosesEveryPageBottomUp) {
    shell.results[std::string(CFinishPage::kMakerUrl)] = kShellOk;
    std::vector<std::size_t> openAtCall;
    shell.onCall = [&](const FakeShellService::Call&) {
        std::size_t open = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<CWizardPage*>(window) && window->isVisible()) ++open;
        }
        openAtCall.push_back(open);
    };
    CurrentContext()[WizardStep::ModemFoundNext] = CurrentContext()[WizardStep::InternetWorks];
    driver.Click(CHomePage::kIdStart).Click(kIdNext).Click(kIdNext).Click(kIdNext);
    driver.Click(kIdBack).Click(kIdNext).Click(kIdExit);
    ASSERT_TRUE(RunHome());
    EXPECT_EQ(homeResult, QDialog::Accepted);
    ASSERT_EQ(shell.Calls().size(), 1u);
    EXPECT_EQ(shell.Calls()[0].target, CFinishPage::kMakerUrl);
    EXPECT_EQ(openAtCall, std::vector<std::size_t>{kChain.size()});
    EXPECT_EQ(driver.Hidden(), kChain);
}

TEST(WizardFlowTable, AMissingStepStopsTheProgram) {
    ScopedWizardContext empty{WizardContext{}};
    EXPECT_DEATH(OpenStep(WizardStep::Guide1Next, nullptr), "no page is installed for step 2");
}

}  // namespace
