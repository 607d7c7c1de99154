#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QtTest/QTest>
#include <optional>
#include <string>
#include <vector>

#include "FakeShellService.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ModemFoundPage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

const std::vector<std::string> kChain{"CHomePage", "CGuidePage1", "CGuidePage2", "CGuidePage3",
                                      "CModemFoundPage"};

// The wizard's own page chain, except that the third instruction page leads straight to the
// found-modem page on itself, as a detection that found the modem at once would leave it.
WizardContext ChainWithoutDetection(MessageBoxService* boxes, ShellService* shell) {
    WizardContext context{boxes, shell, {}};
    InstallWizardFlow(context);
    context[WizardStep::Guide3Next] = context[WizardStep::ModemDetected];
    return context;
}

// Records the order in which wizard pages are hidden.
class HideRecorder final : public QObject {
public:
    HideRecorder() { qApp->installEventFilter(this); }
    ~HideRecorder() override { qApp->removeEventFilter(this); }
    std::vector<std::string> hidden;

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
        context.emplace(ChainWithoutDetection(&boxes, &shell));
    }

    // Runs a home page to its end under the driver; true when every action ran in time and
    // every page ended.
    bool RunHome(UiDriver& steps) {
        steps.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        homeResult = home.DoModal();
        return steps.Finished() && UiDriver::TopPage() == nullptr;
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
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

// On the found-modem page, a click on its hidden Back does nothing before the Exit.
TEST_F(WizardFlowTest, ExitFromAnyDepthClosesEveryPageBottomUp) {
    for (int depth = 1; depth <= 4; ++depth) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        UiDriver local;
        recorder.hidden.clear();
        GoToDepth(local, depth);
        if (depth == 4) local.Click(kIdBack);
        local.Click(kIdExit);
        ASSERT_TRUE(RunHome(local));
        EXPECT_EQ(homeResult, QDialog::Accepted);
        const std::vector<std::string> expected(kChain.begin(), kChain.begin() + depth + 1);
        EXPECT_EQ(recorder.hidden, expected);
        EXPECT_EQ(local.Visited().back(), kChain[static_cast<std::size_t>(depth)]);
    }
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
    EXPECT_EQ(driver.Visited(),
              (std::vector<std::string>{"CHomePage", "CGuidePage1", "CGuidePage2", "CGuidePage2",
                                        "CGuidePage1", "CGuidePage1", "CHomePage"}));
    EXPECT_TRUE(ownerVisible);
    EXPECT_EQ(homeResult, QDialog::Accepted);
}

TEST_F(WizardFlowTest, EnterAndEscapeChangeNothing) {
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        UiDriver local;
        std::vector<bool> stillOpen;
        auto check = [&](CWizardPage& top) { stillOpen.push_back(top.isVisible()); };
        local.Key(key).Then(check).Click(CHomePage::kIdStart).Key(key).Then(check).Click(kIdExit);
        ASSERT_TRUE(RunHome(local));
        EXPECT_EQ(local.Visited(),
                  (std::vector<std::string>{"CHomePage", "CHomePage", "CHomePage", "CGuidePage1",
                                            "CGuidePage1", "CGuidePage1"}));
        EXPECT_EQ(stillOpen, (std::vector<bool>{true, true}));
    }
}

TEST_F(WizardFlowTest, PagesBuiltAfterALanguageChangeUseTheNewFolder) {
    const QColor french(0, 90, 200);
    const QColor german(200, 100, 50);
    folder.AddLanguage(QStringLiteral("French"), QSize(520, 420), french);
    folder.AddLanguage(QStringLiteral("German"), QSize(500, 400), german);
    struct Choice {
        const char* name;
        UiDriver::Action choose;
        int language;
        QSize size;
        QColor colour;
    };
    // The hidden language button, and the hidden list through its own signal, as a key press
    // on it makes it.
    const Choice choices[] = {
        {"button",
         [](CWizardPage& top) {
             qobject_cast<QAbstractButton*>(top.Control(CHomePage::kIdFirstLanguageButton + 2))
                 ->click();
         },
         2, QSize(500, 400), german},
        {"list",
         [](CWizardPage& top) {
             QTest::keyClick(top.Control(CHomePage::kIdLanguageList), Qt::Key_Down);
         },
         1, QSize(520, 420), french},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        Session().languageIndex = 0;
        CopyText(Session().languageFolder, "res/English");
        recorder.hidden.clear();
        struct Seen {
            QSize size;
            QColor centre;
            bool ownerHidden = false;
            std::vector<QColor> languageStrips;  // the normal look of each language button
            int listed = -1;
        };
        std::vector<Seen> seen;
        auto look = [&](CWizardPage& top) {
            const QImage image = top.grab().toImage();
            Seen s{top.size(),
                   image.pixelColor(image.width() / 2, image.height() / 2),
                   top.Owner() != nullptr && top.Owner()->isHidden(),
                   {},
                   -1};
            if (auto* list = qobject_cast<QComboBox*>(top.Control(CHomePage::kIdLanguageList))) {
                s.listed = list->currentIndex();
                for (int i = 0; i < 5; ++i) {
                    const QImage strip =
                        top.Control(CHomePage::kIdFirstLanguageButton + i)->grab().toImage();
                    s.languageStrips.push_back(
                        strip.pixelColor(strip.width() / 2, strip.height() / 2));
                }
            }
            seen.push_back(s);
        };
        UiDriver local;
        local.Then(c.choose).Then(look).Click(CHomePage::kIdStart).Then(look).Click(kIdExit);
        ASSERT_TRUE(RunHome(local));
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].size, c.size);
        EXPECT_EQ(seen[0].centre, c.colour);
        EXPECT_TRUE(seen[0].ownerHidden);  // the first home page was told to end
        // The rebuilt home page marks the new language, from the new folder, and lists it.
        std::vector<QColor> strips(5, kStripColours[0]);
        strips[static_cast<std::size_t>(c.language)] = c.colour;
        EXPECT_EQ(seen[0].languageStrips, strips);
        EXPECT_EQ(seen[0].listed, c.language);
        EXPECT_EQ(seen[1].size, c.size);
        EXPECT_EQ(seen[1].centre, c.colour);
        EXPECT_EQ(Session().languageIndex, c.language);
        // Start loaded the messages in the language current at that moment.
        EXPECT_STREQ(Session().msgModemNotDetected,
                     LocalizedMessage(c.language, kMsgModemNotDetected));
        // Both home pages and the guide page ended; the outer run returned.
        EXPECT_EQ(recorder.hidden,
                  (std::vector<std::string>{"CHomePage", "CHomePage", "CGuidePage1"}));
    }
}

TEST_F(WizardFlowTest, FinishPageOpensTheMakersPageAndEndsTheWizard) {
    struct Case {
        int urlResult;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {kShellOk, {"url"}},
        // No browser at all: the wizard still ends.
        {kShellNoAssociation, {"url", "html"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.urlResult);
        FakeShellService localShell;
        localShell.results[std::string(CFinishPage::kMakerUrl)] = c.urlResult;
        // The browser is asked for while every page is still open, before the stack unwinds.
        std::vector<std::size_t> openAtCall;
        localShell.onCall = [&](const FakeShellService::Call&) {
            std::size_t open = 0;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<CWizardPage*>(window) && window->isVisible()) ++open;
            }
            openAtCall.push_back(open);
        };
        context.reset();
        WizardContext finishAfterFound = ChainWithoutDetection(&boxes, &localShell);
        finishAfterFound[WizardStep::ModemFoundNext] = finishAfterFound[WizardStep::InternetWorks];
        context.emplace(std::move(finishAfterFound));
        recorder.hidden.clear();
        UiDriver local;
        GoToDepth(local, 4);
        local.Click(kIdNext).Click(kIdExit);
        ASSERT_TRUE(RunHome(local));
        std::vector<std::string> calls;
        for (const auto& call : localShell.Calls()) calls.push_back(call.what);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(localShell.Calls().front().target, CFinishPage::kMakerUrl);
        EXPECT_EQ(openAtCall, std::vector<std::size_t>(c.calls.size(), kChain.size() + 1));
        std::vector<std::string> expected = kChain;
        expected.push_back("CFinishPage");
        EXPECT_EQ(recorder.hidden, expected);
    }
}

}  // namespace

namespace {

TEST(WizardFlowTable, EveryStepHasItsPageAndAMissingOneStopsTheProgram) {
    WizardContext flow;
    InstallWizardFlow(flow);
    for (std::size_t step = 0; step < flow.flow.size(); ++step) {
        EXPECT_TRUE(flow.flow[step]) << "step " << step;
    }
    ScopedWizardContext empty{WizardContext{}};
    EXPECT_DEATH(OpenStep(WizardStep::Guide1Next, nullptr), "no page is installed for step 2");
}

}  // namespace
