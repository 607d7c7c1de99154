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
const Names kChain{"CHomePage", "CGuidePage1", "CGuidePage2", "CGuidePage3", "CModemFoundPage"};

// Records the order in which wizard pages are hidden.
class HideRecorder final : public QObject {
public:
    HideRecorder() { qApp->installEventFilter(this); }
    ~HideRecorder() override { qApp->removeEventFilter(this); }
    Names hidden;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* page = qobject_cast<CWizardPage*>(watched);
        if (page != nullptr && event->type() == QEvent::Hide) {
            hidden.push_back(page->metaObject()->className());
        }
        return false;
    }
};

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

    // Runs a home page to its end under the driver; true when every action ran in time and
    // every page ended.
    bool RunHome(UiDriver& steps) {
        recorder.hidden.clear();
        steps.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        homeResult = home.DoModal();
        return steps.Finished() && UiDriver::TopPage() == nullptr;
    }

    ScratchFolder folder;
    FakeShellService shell;
    std::optional<ScopedWizardContext> context;
    UiDriver driver;
    HideRecorder recorder;
    int homeResult = -1;
};

// Start on the home page, then Next until the page at depth is on top.
void GoToDepth(UiDriver& driver, int depth) {
    if (depth >= 1) driver.Click(CHomePage::kIdStart);
    for (int i = 2; i <= depth; ++i) driver.Click(kIdNext);
}

// Exit closes every page from the bottom up; on the found-modem page, a click on its hidden Back
// does nothing before.
TEST_F(WizardFlowTest, ExitClosesEveryPageBottomUp) {
    GoToDepth(driver, 4);
    driver.Click(kIdBack).Click(kIdExit);
    ASSERT_TRUE(RunHome(driver));
    EXPECT_EQ(homeResult, QDialog::Accepted);
    EXPECT_EQ(recorder.hidden, kChain);
    EXPECT_EQ(driver.Visited().back(), "CModemFoundPage");
}

TEST_F(WizardFlowTest, BackRestoresTheOwnerAsTopPage) {
    bool ownerVisible = false;
    GoToDepth(driver, 2);
    // WM_WIZARD_RESHOW restores the owner, even from minimised.
    driver.Then([](CWizardPage& top) { top.Owner()->showMinimized(); })
        .Click(kIdBack)
        .Then([&](CWizardPage& top) { ownerVisible = top.isVisible() && !top.isMinimized(); })
        .Click(kIdBack)
        .Click(CHomePage::kIdClose);
    ASSERT_TRUE(RunHome(driver));
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
    ASSERT_TRUE(RunHome(driver));
    EXPECT_EQ(guide, german);
    EXPECT_EQ(Session().languageIndex, 2);
    // Start loaded the messages in the language current at that moment.
    EXPECT_STREQ(Session().msgModemNotDetected, LocalizedMessage(2, kMsgModemNotDetected));
    EXPECT_EQ(recorder.hidden, (Names{"CHomePage", "CHomePage", "CGuidePage1"}));
}

// Exit on the final page asks for the maker's page while every page is still open, then ends the
// wizard.
TEST_F(WizardFlowTest, FinishPageOpensTheMakersPageAndEndsTheWizard) {
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
    GoToDepth(driver, 4);
    driver.Click(kIdNext).Click(kIdExit);
    ASSERT_TRUE(RunHome(driver));
    ASSERT_EQ(shell.Calls().size(), 1u);
    EXPECT_EQ(shell.Calls()[0].target, CFinishPage::kMakerUrl);
    EXPECT_EQ(openAtCall, std::vector<std::size_t>{kChain.size() + 1});
    Names all = kChain;
    all.push_back("CFinishPage");
    EXPECT_EQ(recorder.hidden, all);
}

TEST(WizardFlowTable, AMissingStepStopsTheProgram) {
    ScopedWizardContext empty{WizardContext{}};
    EXPECT_DEATH(OpenStep(WizardStep::Guide1Next, nullptr), "no page is installed for step 2");
}

}  // namespace
