// The detection, apply and Internet test pages with their real workers against simulated modems
// on 127.0.0.200-230, the pacing shortened fiftyfold, message boxes recorded.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "FakeNetworkAdapters.h"
#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"
#include "core/worker/WorkerThread.h"
#include "detection/ModemDetection.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/GuidePage3.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Icons = std::vector<MessageIcon>;
using Boxes = std::vector<std::pair<std::string, MessageIcon>>;
constexpr MessageIcon kExclamation = MessageIcon::Exclamation;

class ProgressPages : public ::testing::Test {
public:
    ProgressPages() {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(30, 60, 90));
        WizardContext wizard;
        wizard.messageBox = &boxes;
        InstallWizardFlow(wizard);
        context.emplace(std::move(wizard));
        LoadLocalizedMessages(Session());
        Reset();
    }
    ~ProgressPages() override { Reset(); }

    // Back to a fresh run: no modem, no worker, the quick settings, a helper that succeeds.
    void Reset() {
        for (auto& sim : sims) sim->Stop();
        sims.clear();
        EXPECT_TRUE(WaitForWorkers(10000));
        unsetenv(kSimulatedModemVariable);
        ResetSessionOutcomes();
        boxes.Clear();
        bar.clear();
        DestroyStack(pages);
        WriteDhcpHelper("exit 0");
        Use(QuickProgressSettings());
    }
    void Use(const ProgressSettings& s) {
        settings.reset();
        settings.emplace(s);
    }
    // A modem on its own loopback address; known: the session already holds its address.
    ModemSim& Modem(const std::string& address, bool known = false) {
        sims.push_back(std::make_unique<ModemSim>(address));
        std::string error;
        EXPECT_TRUE(sims.back()->Start(&error)) << error;
        if (known) CopyText(Session().modemIpAddress, address.c_str());
        return *sims.back();
    }
    // The detection worker sees these adapters instead of the system's.
    void Adapters(std::vector<NetworkAdapter> list) {
        ProgressSettings s = CurrentProgressSettings();
        s.makeAdapters = [list](ProcessService&) {
            auto fake = std::make_unique<FakeNetworkAdapters>();
            fake->adapters = list;
            return fake;
        };
        Use(s);
    }
    // The boxes shown, as text and icon.
    Boxes Shown() const {
        Boxes shownBoxes;
        for (const auto& entry : boxes.Entries()) shownBoxes.emplace_back(entry.text, entry.icon);
        return shownBoxes;
    }
    // Records every value the page's bar takes from now on.
    static PageScript::Action Watch(std::vector<int>& values) {
        return [&values](CWizardPage& page) {
            auto* progress = qobject_cast<QProgressBar*>(page.Control(kIdProgress));
            values.push_back(progress->value());
            QObject::connect(progress, &QProgressBar::valueChanged,
                             [&values](int v) { values.push_back(v); });
        };
    }
    // The plain page at index on top once a progress page restored it: 7, where the wireless
    // page stands, or 1, the seventh beneath the Internet test page.
    PageScript::Match Restored(std::size_t index) {
        return [this, index](CWizardPage& top) {
            return pages.size() == 8 && &top == pages[index].get() &&
                   !pages[index]->reshows.empty();
        };
    }
    // Guide page 3 opens the detection page; then runs on the page named last.
    void RunDetection(const std::string& last, PageScript::Action then) {
        PageScript script;
        script.When("CGuidePage3", [](CWizardPage& top) { top.OnNext(); })
            .OnShow("CDetectPage", Watch(bar))
            .When(last, std::move(then));
        script.Start();
        CGuidePage3 guide(ResourcePath("install03.bmp"), nullptr);
        guide.DoModal();
        EXPECT_TRUE(script.Finished());
    }
    // Eight plain pages; the top one stands where the wireless page is and opens a progress
    // page. steps then follow what it shows.
    void RunFromWireless(const std::function<void(CWizardPage&)>& open,
                         const std::function<void(PageScript&)>& steps) {
        DestroyStack(pages);
        PageScript script;
        steps(script);
        script.Start();
        RunStack(pages, 8, open);
        EXPECT_TRUE(script.Finished());
        shown = script.Shown();
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    std::optional<ScopedWizardContext> context;
    std::optional<ScopedProgressSettings> settings;
    std::vector<std::unique_ptr<ModemSim>> sims;
    std::vector<std::unique_ptr<StandInPage>> pages;
    std::vector<int> bar;
    std::vector<std::string> shown;
};

// The bar creeps by step per tick, then fills in steps of 10 to 100.
void ExpectPacing(const std::vector<int>& values, int step) {
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values.back(), 100);
    std::size_t i = 1;
    while (i < values.size() && values[i] - values[i - 1] == step) ++i;
    for (; i + 1 < values.size(); ++i) EXPECT_EQ(values[i] - values[i - 1], 10) << i;
}

WizardSession BridgingRecord(std::uint32_t protocol = kProtocolBridging) {
    WizardSession record{};
    record.ntwkPrtcl = protocol;
    record.atmVpi = 8;
    record.atmVci = 35;
    CopyText(record.wlAuthMode, "open");
    CopyText(record.wlSsid, "Home");
    return record;
}

std::function<void(CWizardPage&)> OpensApply(const WizardSession& record) {
    return [record](CWizardPage& wireless) {
        OpenStep(WizardStep::WirelessNextApply, &wireless, &record);
    };
}

void OpensTest(CWizardPage& wireless) {
    OpenStep(WizardStep::WirelessNextApplied, &wireless);
}

TEST_F(ProgressPages, DetectionFindsTheSimulatedModemAndModemFoundPageTakesItsPlace) {
    Modem("127.0.0.200");
    setenv(kSimulatedModemVariable, "127.0.0.200", 1);
    std::string owner;
    RunDetection("CModemFoundPage", [&](CWizardPage& top) {
        owner = top.Owner()->metaObject()->className();
        top.OnExit();
    });
    EXPECT_EQ(owner, "CGuidePage3");
    EXPECT_STREQ(Session().modemIpAddress, "127.0.0.200");
    EXPECT_EQ(Session().modemFound.load(), 1);
    EXPECT_TRUE(boxes.Entries().empty());
    ExpectPacing(bar, 1);
    EXPECT_EQ(sims[0]->LastRequest(RequestKind::LanTest),
              "connectiontest.wzd?method=lanconnection&device=HX4260RB");
}

TEST_F(ProgressPages, DetectionFailuresShowTheirMessagesInOrderAndGoBack) {
    auto simulated = [](ProgressPages& t, const char* address) -> ModemSim& {
        setenv(kSimulatedModemVariable, address, 1);
        return t.Modem(address);
    };
    const struct {
        const char* name;
        std::function<void(ProgressPages&)> arrange;
        const char* icons;  // the boxes in order: '-' plain, '!' exclamation
        const char* modem;  // found, or "" when the run went back to guide page 3
    } cases[] = {
        {"helper missing", [](ProgressPages&) { std::remove(kDhcpHelperName); }, "!", ""},
        {"no candidate",
         [](ProgressPages& t) {
             t.Adapters({{"eth0", false, ""}});
         },
         "!", ""},
        {"candidate refuses",
         [](ProgressPages&) { setenv(kSimulatedModemVariable, "127.0.0.201", 1); }, "!", ""},
        {"candidate fails the LAN test",
         [&](ProgressPages& t) {
             simulated(t, "127.0.0.202").SetReply(RequestKind::LanTest, "x?connection=fail");
         },
         "-!", ""},
        {"candidate never answers",
         [&](ProgressPages& t) {
             simulated(t, "127.0.0.203").SetFault(RequestKind::LanTest, {FaultMode::Silent, 0});
         },
         "-!", ""},
        // The silent candidate costs its receive limit; the next one is still tried in time.
        {"silent candidate, then the modem",
         [](ProgressPages& t) {
             t.Modem("127.0.0.204").SetFault(RequestKind::LanTest, {FaultMode::Silent, 0});
             t.Modem("127.0.0.205");
             t.Adapters({{"eth0", true, "127.0.0.204"}, {"eth1", true, "127.0.0.205"}});
         },
         "-", "127.0.0.205"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        c.arrange(*this);
        RunDetection(*c.modem ? "CModemFoundPage" : "CGuidePage3",
                     [](CWizardPage& top) { top.OnExit(); });
        Boxes expected;
        for (const char* i = c.icons; *i; ++i) {
            expected.emplace_back(Session().msgModemNotDetected,
                                  *i == '!' ? kExclamation : MessageIcon::None);
        }
        EXPECT_EQ(Shown(), expected);
        EXPECT_STREQ(Session().modemIpAddress, c.modem);
        // The outcome ended the creep: a bar that crept to 100 took 101 values.
        EXPECT_LT(bar.size(), 80u) << "the page waited out its time";
    }
}

// Keeps the plain box open for a while, as a user reading it would, and notes how many requests
// the next candidate had received meanwhile.
class SlowReader final : public MessageBoxService {
public:
    void Show(QWidget*, std::string_view, MessageIcon icon) override {
        onUiThread =
            onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        icons.push_back(icon);
        if (icon != MessageIcon::None) return;
        QEventLoop reading;
        QTimer::singleShot(300, &reading, &QEventLoop::quit);
        reading.exec();
        requestsWhileOpen = next->Requests().size();
    }
    ModemSim* next = nullptr;
    bool onUiThread = true;
    std::size_t requestsWhileOpen = 99;
    Icons icons;
};

TEST_F(ProgressPages, DetectionGoesOnToTheNextCandidateOnlyOnceTheBoxIsDismissed) {
    Modem("127.0.0.215").SetReply(RequestKind::LanTest, "x?connection=fail");
    SlowReader reader;
    reader.next = &Modem("127.0.0.216");
    Adapters({{"eth0", true, "127.0.0.215"}, {"eth1", true, "127.0.0.216"}});
    CurrentContext().messageBox = &reader;
    RunDetection("CModemFoundPage", [](CWizardPage& top) { top.OnExit(); });
    CurrentContext().messageBox = &boxes;
    EXPECT_TRUE(reader.onUiThread);
    EXPECT_EQ(reader.requestsWhileOpen, 0u);
    EXPECT_EQ(reader.icons, Icons{MessageIcon::None});
    EXPECT_STREQ(Session().modemIpAddress, "127.0.0.216");
}

TEST_F(ProgressPages, EachPageTimesOutWhenItsBarHasReached100) {
    struct Case {
        const char* name;
        std::function<void(ProgressPages&)> run;
        int step;
        std::function<int()> plannedMs;  // until the bar stands at 100, under the scale
        const char* message;
    };
    const Case cases[] = {
        {"detection",
         [](ProgressPages& t) {
             WriteDhcpHelper("sleep 2");
             t.RunDetection("CGuidePage3", [](CWizardPage& top) { top.OnExit(); });
         },
         1, [] { return 100 * ScaledMs(720); }, Session().msgModemNotDetected},
        {"apply",
         [](ProgressPages& t) {
             t.Modem("127.0.0.206", true).SetFault(RequestKind::WanConfig, {FaultMode::Silent, 0});
             ProgressSettings s = CurrentProgressSettings();
             s.limits.receiveMs = 5000;
             t.Use(s);
             t.RunFromWireless(OpensApply(BridgingRecord()), [&t](PageScript& script) {
                 script.OnShow("CApplyPage", Watch(t.bar));
                 script.When(t.Restored(7), [](CWizardPage& top) { top.OnExit(); });
             });
         },
         2, [] { return 50 * ScaledMs(1000); }, Session().msgWriteFailed},
        {"Internet test",
         [](ProgressPages& t) {
             t.Modem("127.0.0.207", true)
                 .SetFault(RequestKind::InternetTest, {FaultMode::Silent, 0});
             t.RunFromWireless(OpensTest, [&t](PageScript& script) {
                 script.OnShow("CInternetTestPage", Watch(t.bar));
                 script.When(t.Restored(1), [](CWizardPage& top) { top.OnExit(); });
             });
         },
         1, [] { return ScaledMs(720) + 99 * ScaledMs(1000); }, Session().msgInternetFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        QElapsedTimer clock;
        clock.start();
        c.run(*this);
        EXPECT_GE(clock.elapsed(), c.plannedMs());
        EXPECT_EQ(Shown(), (Boxes{{c.message, kExclamation}}));
        ASSERT_GE(bar.size(), 2u);
        for (std::size_t i = 1; i < bar.size(); ++i) EXPECT_EQ(bar[i] - bar[i - 1], c.step);
        EXPECT_EQ(bar.back(), 100);
    }
}

TEST_F(ProgressPages, ApplyFailuresAskForAnotherApplyThatHandsOverToTheTestPage) {
    const struct {
        int reason;  // forced on the WAN request; 0: the modem's own
        std::uint32_t protocol;
        bool wirelessFails;
        std::size_t requests;  // reaching the modem
    } cases[] = {
        // Any reason but 0 is a failure; 259 is the worker's still-running code.
        {7, kProtocolBridging, false, 1},   {-1, kProtocolBridging, false, 1},
        {259, kProtocolBridging, false, 1}, {0, 4, false, 0},
        {0, kProtocolBridging, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Reset();
        ModemSim& modem = Modem("127.0.0.209", true);
        if (c.reason != 0) modem.ForceWanReason(c.reason);
        if (c.wirelessFails) modem.SetFault(RequestKind::WirelessSet, {FaultMode::CloseAtOnce, 0});
        RunFromWireless(OpensApply(BridgingRecord(c.protocol)), [&](PageScript& script) {
            script.OnShow("CApplyPage", Watch(bar));
            script.When(Restored(7), [](CWizardPage& top) { top.OnExit(); });
        });
        // The failure ended the creep (by 2 a tick, a bar that crept to 100 took 51 values).
        EXPECT_LT(bar.size(), 25u) << "the page waited out its time";
        EXPECT_EQ(Shown(), (Boxes{{Session().msgWriteFailed, kExclamation}}));
        EXPECT_EQ(pages.back()->reshows, (std::vector<std::uintptr_t>{1}));
        EXPECT_EQ(modem.Requests().size(), c.requests);
    }
    // After the accepted WAN request of the wireless failure, the next apply edits it; applied,
    // the settings hand over to the test page, then to the final page over the wireless page.
    EXPECT_EQ(Session().wanConnectionCreated.load(), 1);
    ModemSim& modem = Modem("127.0.0.210", true);
    boxes.Clear();
    std::vector<int> applyBar, testBar;
    const CWizardPage* finishOwner = nullptr;
    RunFromWireless(OpensApply(BridgingRecord()), [&](PageScript& script) {
        script.OnShow("CApplyPage", Watch(applyBar))
            .OnShow("CInternetTestPage", Watch(testBar))
            .When("CFinishPage", [&](CWizardPage& top) {
                finishOwner = qobject_cast<CWizardPage*>(top.Owner());
                top.OnExit();
            });
    });
    std::erase(shown, "CWizardPage");
    EXPECT_EQ(shown, (std::vector<std::string>{"CApplyPage", "CInternetTestPage", "CFinishPage"}));
    EXPECT_EQ(finishOwner, pages.back().get());
    EXPECT_TRUE(boxes.Entries().empty());
    ExpectPacing(applyBar, 2);
    ExpectPacing(testBar, 1);
    EXPECT_EQ(Session().applyFinished.load(), 1);
    EXPECT_EQ(Session().internetConnected.load(), 1);
    EXPECT_NE(modem.LastRequest(RequestKind::WanConfig).find("&edit=1&"), std::string::npos);
}

TEST_F(ProgressPages, InternetTestCodesShowTheirMessagesAndUnwindSevenPages) {
    struct Case {
        int code;
        std::optional<int> modemSays;  // nothing: no modem at all
        char* text;
        MessageIcon icon;
    };
    SessionFields& f = Session();
    const Case cases[] = {
        {1, std::nullopt, f.msgInternetFailed, kExclamation},
        {1, 1, f.msgInternetFailed, kExclamation},
        {2, 2, f.msgPppPasswordMismatch, kExclamation},
        {3, 3, f.msgDslFailed, kExclamation},
        {4, 4, f.msgDhcpFailed, kExclamation},
        {5, 5, f.msgDhcpFailed, kExclamation},
        {6, 0, f.msgUnknownError, MessageIcon::Question},
        {7, 7, f.msgDslFailed, kExclamation},
        {8, 8, f.msgInternetFailed, kExclamation},
        // The worker's still-running code, from the modem: shown at once, not after the time-out.
        {1, 259, f.msgInternetFailed, kExclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Reset();
        CopyText(Session().modemIpAddress, "127.0.0.211");
        if (c.modemSays) Modem("127.0.0.211").SetInternetCode(*c.modemSays);
        const CWizardPage* shownAgain = nullptr;
        RunFromWireless(OpensTest, [&](PageScript& script) {
            script.OnShow("CInternetTestPage", Watch(bar));
            script.When(Restored(1), [&](CWizardPage& top) {
                shownAgain = &top;
                top.OnExit();
            });
        });
        EXPECT_EQ(Shown(), (Boxes{{c.text, c.icon}}));
        // The seventh page beneath the test page is the one shown again; the six above it closed.
        EXPECT_EQ(shownAgain, pages[1].get());
        EXPECT_EQ(pages[1]->reshows, (std::vector<std::uintptr_t>{0}));
        EXPECT_EQ(Session().internetConnected.load(), 0);
        // The outcome ended the creep: a bar that crept to 100 took 101 values.
        EXPECT_LT(bar.size(), 50u) << "the page waited out its time";
    }
}

TEST_F(ProgressPages, ClosingAPageWhileItsWorkerRunsLeavesTheWorkerToFinish) {
    struct Case {
        const char* pageClass;
        std::function<void(ProgressPages&)> run;
        std::atomic<int> SessionFields::*flag;
    };
    auto closeAtOnce = [](const char* pageClass) {
        return [pageClass](PageScript& script) {
            script.When(pageClass, [](CWizardPage& top) {
                auto* wireless = qobject_cast<CWizardPage*>(top.Owner());
                top.OnClose();
                wireless->OnExit();
            });
        };
    };
    const Case cases[] = {
        // Its first candidate fails the LAN test after the page has closed: no box is shown.
        {"CDetectPage",
         [](ProgressPages& t) {
             t.Modem("127.0.0.217").SetReply(RequestKind::LanTest, "x?connection=fail");
             t.Modem("127.0.0.212");
             t.Adapters({{"eth0", true, "127.0.0.217"}, {"eth1", true, "127.0.0.212"}});
             WriteDhcpHelper("sleep 0.3");
             t.RunDetection("CDetectPage", [](CWizardPage& top) {
                 auto* guide = qobject_cast<CWizardPage*>(top.Owner());
                 top.OnClose();
                 guide->OnClose();
             });
         },
         &SessionFields::modemFound},
        {"CApplyPage",
         [&](ProgressPages& t) {
             t.Modem("127.0.0.213", true).SetFault(RequestKind::WanConfig, {FaultMode::Delay, 300});
             t.RunFromWireless(OpensApply(BridgingRecord()), closeAtOnce("CApplyPage"));
         },
         &SessionFields::applyFinished},
        {"CInternetTestPage",
         [&](ProgressPages& t) {
             t.Modem("127.0.0.214", true)
                 .SetFault(RequestKind::InternetTest, {FaultMode::Delay, 300});
             t.RunFromWireless(OpensTest, closeAtOnce("CInternetTestPage"));
         },
         &SessionFields::internetConnected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageClass);
        Reset();
        c.run(*this);
        DestroyStack(pages);  // the pages are destroyed; the worker still runs
        EXPECT_EQ((Session().*c.flag).load(), 0);
        ASSERT_TRUE(WaitForWorkers(5000));
        EXPECT_EQ((Session().*c.flag).load(), 1);
        EXPECT_TRUE(boxes.Entries().empty());
        // Every modem was asked, the detection's failing candidate included.
        for (const auto& sim : sims) EXPECT_FALSE(sim->Requests().empty());
    }
}

}  // namespace
