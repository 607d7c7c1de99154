// The detection, apply and Internet test pages with their real workers against simulated modems
// on 127.0.0.200-220, the pacing shortened fiftyfold. Each page opens on the top of eight plain
// pages, where the wireless page (or guide page 3) stands in the wizard.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "FakeNetworkAdapters.h"
#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"
#include "detection/ModemDetection.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Sims = std::vector<std::unique_ptr<ModemSim>>;
using Box = std::pair<std::string, MessageIcon>;
constexpr MessageIcon kExclamation = MessageIcon::Exclamation;
constexpr WizardStep kDetect = WizardStep::Guide3Next;
constexpr WizardStep kApply = WizardStep::WirelessNextApply;
constexpr WizardStep kTest = WizardStep::WirelessNextApplied;
constexpr const char* kAt = "127.0.0.209";

// Records every box. A plain box stays open a while, as a user reading it would, and notes
// whether any modem was asked anything meanwhile.
class Reader final : public MessageBoxService {
public:
    explicit Reader(const Sims& modems) : sims(modems) {}
    void Show(QWidget*, std::string_view text, MessageIcon icon) override {
        shown.emplace_back(text, icon);
        onUiThread &= QThread::currentThread() == QCoreApplication::instance()->thread();
        if (icon != MessageIcon::None) return;
        const std::size_t asked = Asked();
        QEventLoop reading;
        QTimer::singleShot(300, &reading, &QEventLoop::quit);
        reading.exec();
        quiet &= Asked() == asked;
    }
    std::size_t Asked() const {
        std::size_t requests = 0;
        for (const auto& sim : sims) requests += sim->Requests().size();
        return requests;
    }
    const Sims& sims;
    std::vector<Box> shown;
    bool onUiThread = true;
    bool quiet = true;
};

class ProgressPages : public ::testing::Test {
public:
    ProgressPages() {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(30, 60, 90));
        WizardContext wizard;
        wizard.messageBox = &boxes;
        InstallWizardFlow(wizard);
        context.emplace(std::move(wizard));
        LoadLocalizedMessages(Session());
    }
    ~ProgressPages() override { Reset(); }

    // Back to a fresh run: no modem, no worker, the quick settings, a helper that succeeds.
    void Reset() {
        for (auto& sim : sims) sim->Stop();
        EXPECT_TRUE(WaitForWorkers(10000));
        sims.clear();
        unsetenv(kSimulatedModemVariable);
        ResetSessionOutcomes();
        boxes.shown.clear();
        DestroyStack(pages);
        WriteDhcpHelper("exit 0");
        settings.emplace(QuickProgressSettings());
        record = BridgingRecord(8, 35);
    }
    // A modem on its own loopback address; known: the session already holds its address.
    ModemSim& Modem(const std::string& address, bool known = false) {
        sims.push_back(std::make_unique<ModemSim>(address));
        std::string error;
        EXPECT_TRUE(sims.back()->Start(&error)) << error;
        if (known) CopyText(Session().modemIpAddress, address.c_str());
        lastModem = address;
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
        settings.emplace(s);
    }
    // The page shown on the top plain page, or that plain page at index once shown again.
    PageScript::Match OnTop() {
        return
            [this](CWizardPage& top) { return pages.size() == 8 && top.Owner() == pages[7].get(); };
    }
    PageScript::Match Restored(std::size_t index) {
        return [this, index](CWizardPage& top) {
            return pages.size() == 8 && &top == pages[index].get() &&
                   !pages[index]->reshows.empty();
        };
    }

    ScratchFolder folder;
    Sims sims;
    Reader boxes{sims};
    std::optional<ScopedWizardContext> context;
    std::optional<ScopedProgressSettings> settings;
    std::vector<std::unique_ptr<StandInPage>> pages;
    WizardSession record;
    std::string lastModem;
};

// Records every value the page's bar takes from now on.
PageScript::Action Watch(std::vector<int>& values) {
    return [&values](CWizardPage& page) {
        auto* progress = qobject_cast<QProgressBar*>(page.Control(kIdProgress));
        values.push_back(progress->value());
        QObject::connect(progress, &QProgressBar::valueChanged,
                         [&values](int v) { values.push_back(v); });
    };
}

// The bar creeps by step per tick, then fills in steps of 10 to 100.
void ExpectPacing(const std::vector<int>& values, int step) {
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values.back(), 100);
    std::size_t i = 1;
    while (i < values.size() && values[i] - values[i - 1] == step) ++i;
    for (; i + 1 < values.size(); ++i) EXPECT_EQ(values[i] - values[i - 1], 10) << i;
}

using Arrange = std::function<void(ProgressPages&)>;
using Prepare = std::function<void(ModemSim&)>;

// The detection pointed at address, where a modem may be.
Arrange PointsAt(const char* address) {
    return [address](ProgressPages&) { setenv(kSimulatedModemVariable, address, 1); };
}
Arrange Detects(const char* address, Prepare prepare = nullptr) {
    return [=](ProgressPages& t) {
        PointsAt(address)(t);
        ModemSim& modem = t.Modem(address);
        if (prepare) prepare(modem);
    };
}
// A modem whose address the session holds.
Arrange Known(Prepare prepare) {
    return [prepare](ProgressPages& t) { prepare(t.Modem(kAt, true)); };
}
Arrange Helper(const char* body) {
    return [body](ProgressPages&) {
        body ? WriteDhcpHelper(body) : (void)std::remove(kDhcpHelperName);
    };
}
Prepare Fault(RequestKind kind, FaultMode mode, int ms = 0) {
    return [=](ModemSim& m) { m.SetFault(kind, {mode, ms}); };
}
Prepare Says(int code) {
    return [code](ModemSim& m) { m.SetInternetCode(code); };
}
Prepare Refuses(int reason) {
    return [reason](ModemSim& m) { m.ForceWanReason(reason); };
}

// How a page ended: the next page on the top plain page, the page beneath shown again in time or
// once the bar crept to 100, or closed by the user while its worker still ran.
enum End { kNext, kBack, kWaitsOut, kClosed };

TEST_F(ProgressPages, EachOutcomeShowsItsMessagesInTimeAndHandsOn) {
    SessionFields& f = Session();
    const Box plain{f.msgModemNotDetected, MessageIcon::None};
    const Box notFound{f.msgModemNotDetected, kExclamation};
    const Box writeFailed{f.msgWriteFailed, kExclamation};
    const Box noInternet{f.msgInternetFailed, kExclamation};
    const Box dsl{f.msgDslFailed, kExclamation};
    const Box dhcp{f.msgDhcpFailed, kExclamation};
    const Prepare failsLan = [](ModemSim& m) {
        m.SetReply(RequestKind::LanTest, "x?connection=fail");
    };
    const Prepare silentLan = Fault(RequestKind::LanTest, FaultMode::Silent);
    // A candidate before the modem: the box on it is shown before the next one is asked.
    const auto then = [](Prepare first) -> Arrange {
        return [first](ProgressPages& t) {
            first(t.Modem("127.0.0.204"));
            t.Modem("127.0.0.205");
            t.Adapters({{"eth0", true, "127.0.0.204"}, {"eth1", true, "127.0.0.205"}});
        };
    };
    const Arrange unknownProtocol = [](ProgressPages& t) {
        t.Modem(kAt, true);
        t.record.ntwkPrtcl = 4;
    };
    const Arrange wanUnanswered = [](ProgressPages& t) {
        Known(Fault(RequestKind::WanConfig, FaultMode::Silent))(t);
        ProgressSettings s = CurrentProgressSettings();
        s.limits.receiveMs = 5000;
        t.settings.emplace(s);
    };
    const Arrange noCandidate = [](ProgressPages& t) { t.Adapters({{"eth0", false, ""}}); };
    const Arrange noModem = [](ProgressPages&) { CopyText(Session().modemIpAddress, kAt); };
    const Arrange wirelessDropped = Known(Fault(RequestKind::WirelessSet, FaultMode::CloseAtOnce));
    const Prepare silentTest = Fault(RequestKind::InternetTest, FaultMode::Silent);
    const auto slow = [](RequestKind kind) { return Known(Fault(kind, FaultMode::Delay, 300)); };
    const Arrange closedOnFailingCandidate = [&](ProgressPages& t) {
        then(failsLan)(t);
        WriteDhcpHelper("sleep 0.3");
    };
    const struct {
        const char* name;
        WizardStep step;
        Arrange arrange;
        std::vector<Box> boxes;
        End end;
    } cases[] = {
        {"modem found", kDetect, Detects("127.0.0.200"), {}, kNext},
        // The silent candidate costs its receive limit; the next one is still tried in time.
        {"silent candidate, then the modem", kDetect, then(silentLan), {plain}, kNext},
        {"helper missing", kDetect, Helper(nullptr), {notFound}, kBack},
        {"helper never ends", kDetect, Helper("sleep 2"), {notFound}, kWaitsOut},
        {"no candidate", kDetect, noCandidate, {notFound}, kBack},
        {"candidate refuses", kDetect, PointsAt("127.0.0.201"), {notFound}, kBack},
        {"LAN test fails", kDetect, Detects("127.0.0.202", failsLan), {plain, notFound}, kBack},
        {"LAN test silent", kDetect, Detects("127.0.0.203", silentLan), {plain, notFound}, kBack},
        // The first candidate fails its LAN test once the page has closed: no box is shown.
        {"detection closed", kDetect, closedOnFailingCandidate, {}, kClosed},
        // Any reason but 0 is a failure; 259 is the worker's still-running code.
        // Applied, the settings hand over to the test page, and that to the final page.
        {"applied", kApply, Known([](ModemSim&) {}), {}, kNext},
        {"WAN reason 7", kApply, Known(Refuses(7)), {writeFailed}, kBack},
        {"WAN reason 259", kApply, Known(Refuses(259)), {writeFailed}, kBack},
        {"unknown protocol", kApply, unknownProtocol, {writeFailed}, kBack},
        {"wireless request fails", kApply, wirelessDropped, {writeFailed}, kBack},
        {"WAN unanswered", kApply, wanUnanswered, {writeFailed}, kWaitsOut},
        {"apply closed", kApply, slow(RequestKind::WanConfig), {}, kClosed},
        {"no modem", kTest, noModem, {noInternet}, kBack},
        {"code 2", kTest, Known(Says(2)), {{f.msgPppPasswordMismatch, kExclamation}}, kBack},
        {"code 3", kTest, Known(Says(3)), {dsl}, kBack},
        {"code 4", kTest, Known(Says(4)), {dhcp}, kBack},
        {"code 5", kTest, Known(Says(5)), {dhcp}, kBack},
        {"code 6", kTest, Known(Says(0)), {{f.msgUnknownError, MessageIcon::Question}}, kBack},
        {"code 7", kTest, Known(Says(7)), {dsl}, kBack},
        {"code 8", kTest, Known(Says(8)), {noInternet}, kBack},
        // The worker's still-running code, from the modem: shown at once, not after the time-out.
        {"code 259", kTest, Known(Says(259)), {noInternet}, kBack},
        {"test unanswered", kTest, Known(silentTest), {noInternet}, kWaitsOut},
        {"test closed", kTest, slow(RequestKind::InternetTest), {}, kClosed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        c.arrange(*this);
        const bool apply = c.step == kApply;
        // The test page shows the seventh page beneath it again; the six above it close.
        const std::size_t restored = c.step == kTest ? 1 : 7;
        const QWidget* nextOwner = nullptr;
        std::vector<int> bar;
        auto exit = [&nextOwner](CWizardPage& top) {
            nextOwner = top.Owner();
            top.OnExit();
        };
        QElapsedTimer clock;
        clock.start();
        // Eight plain pages; the top one opens the page of the step with the record.
        PageScript script;
        script.OnShow(c.step == kDetect ? "CDetectPage"
                      : apply           ? "CApplyPage"
                                        : "CInternetTestPage",
                      Watch(bar));
        if (c.end == kNext) {
            script.When(c.step == kDetect ? "CModemFoundPage" : "CFinishPage", exit);
        } else if (c.end != kClosed) {
            script.When(Restored(restored), exit);
        } else {
            script.When(OnTop(), [](CWizardPage& top) {
                auto* owner = qobject_cast<CWizardPage*>(top.Owner());
                top.OnClose();
                owner->OnExit();
            });
        }
        script.Start();
        RunStack(pages, 8, [&](CWizardPage& top) { OpenStep(c.step, &top, &record); });
        EXPECT_TRUE(script.Finished());
        std::atomic<int>& done = c.step == kDetect ? Session().modemFound
                                 : apply           ? Session().applyFinished
                                                   : Session().internetConnected;
        if (c.end == kClosed) {
            // The pages are destroyed; the worker still runs, and finishes.
            DestroyStack(pages);
            EXPECT_EQ(done.load(), 0);
            ASSERT_TRUE(WaitForWorkers(5000));
            EXPECT_EQ(done.load(), 1);
            for (const auto& sim : sims) EXPECT_FALSE(sim->Requests().empty());
        }
        EXPECT_EQ(boxes.shown, c.boxes);
        EXPECT_TRUE(boxes.onUiThread);
        EXPECT_TRUE(boxes.quiet);
        if (c.end == kClosed) continue;
        if (c.step == kDetect) {
            EXPECT_EQ(done.load(), c.end == kNext ? 1 : 0);
            EXPECT_EQ(TextOf(Session().modemIpAddress), c.end == kNext ? lastModem : "");
        }
        EXPECT_EQ(Session().internetConnected.load(), c.end == kNext && apply ? 1 : 0);
        if (c.end == kNext) {
            EXPECT_EQ(nextOwner, pages[7].get());
        } else {
            // The apply page has the wireless page send the settings again on its next Next.
            EXPECT_EQ(pages[restored]->reshows, std::vector<std::uintptr_t>{apply ? 1u : 0u});
        }
        const int creep = apply ? 2 : 1;
        ExpectPacing(bar, creep);
        // A bar that crept all the way took 100 / creep + 1 values and was not filled.
        EXPECT_EQ(bar.size() == 100u / creep + 1, c.end == kWaitsOut) << bar.size();
        if (c.end == kWaitsOut) {
            EXPECT_GE(clock.elapsed(), c.step == kDetect ? 100 * ScaledMs(720)
                                       : apply           ? 50 * ScaledMs(1000)
                                                         : ScaledMs(720) + 99 * ScaledMs(1000));
        }
    }
}

}  // namespace
