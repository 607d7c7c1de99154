// The detection steps with a scripted adapter list, a real helper program in a temporary folder
// and simulated modems on loopback addresses 127.0.0.150-170 (the port is fixed, so each modem
// has its own address). The neighbour-cache flush and the ping are recorded, not run.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FakeNetworkAdapters.h"
#include "ModemSim.h"
#include "core/session/SessionFields.h"
#include "detection/ModemDetection.h"
#include "detection/processes/ProcessService.h"

namespace {

constexpr DetectionTiming kQuick{0, 0, {300, 300, 500}};

// Runs programs for real (the helper), records the detached commands instead of starting them.
class RecordingProcesses final : public ProcessService {
public:
    int Run(const std::vector<std::string>& command, bool quiet) override {
        runs.push_back(command);
        return real.Run(command, quiet);
    }
    void StartDetached(const std::vector<std::string>& command) override {
        detached.push_back(command);
    }
    PosixProcessService real;
    std::vector<std::vector<std::string>> runs;
    std::vector<std::vector<std::string>> detached;
};

NetworkAdapter Dhcp(const std::string& name, const std::string& server) {
    return {name, true, server};
}

class Detection : public ::testing::Test {
public:
    void SetUp() override {
        char pattern[] = "/tmp/detection-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        helperMarker_ = folder_ + "/helper-ran";
        std::ofstream(folder_ + "/" + kDhcpHelperName)
            << "#!/bin/sh\ntouch '" << helperMarker_ << "'\n";
        chmod((folder_ + "/" + kDhcpHelperName).c_str(), 0755);
    }
    void TearDown() override {
        for (auto& sim : sims_) sim->Stop();
        std::system(("rm -rf '" + folder_ + "'").c_str());
    }
    ModemSim& Modem(const std::string& address) {
        sims_.push_back(std::make_unique<ModemSim>(address));
        std::string error;
        EXPECT_TRUE(sims_.back()->Start(&error)) << error;
        return *sims_.back();
    }
    int Detect() {
        DetectionCallbacks callbacks;
        callbacks.onStep = [this](const std::string& step) { steps_.push_back(step); };
        callbacks.onCandidateFailed = [this](const std::string& a) { failed_.push_back(a); };
        callbacks.onCandidate = [this](const std::string& a, CandidateOutcome o) {
            outcomes_.push_back(a + " " + CandidateOutcomeText(o));
        };
        return DetectModem(fields_, folder_, {&adapters_, &processes_}, callbacks, kQuick);
    }
    // Back to a fresh folder, adapter list and record, as a new test would start.
    void Fresh() {
        TearDown();
        SetUp();
        sims_.clear();
        adapters_ = FakeNetworkAdapters();
        processes_.detached.clear();
        for (auto* list : {&steps_, &failed_, &outcomes_}) list->clear();
        std::destroy_at(&fields_);
        std::construct_at(&fields_);
    }
    std::vector<std::string> Candidates() const {
        return {fields_.dhcpServerList, fields_.dhcpServerList + fields_.dhcpServerCount};
    }

    std::string folder_;
    std::string helperMarker_;
    SessionFields fields_;
    FakeNetworkAdapters adapters_;
    RecordingProcesses processes_;
    std::vector<std::unique_ptr<ModemSim>> sims_;
    std::vector<std::string> steps_, failed_, outcomes_;
};

// A candidate that closes at once is no modem; one that answers, whatever it says, is asked.
TEST_F(Detection, CandidatesAreTriedInAdapterOrderAndEachIsPingedWhenTried) {
    Modem("127.0.0.152").SetReply(RequestKind::LanTest, "connectiontest.wzd?connection=down");
    Modem("127.0.0.155").SetFault(RequestKind::LanTest, {FaultMode::CloseAtOnce, 0});
    Modem("127.0.0.153").SetReply(RequestKind::LanTest, "no question mark");
    adapters_.adapters = {Dhcp("eth0", "127.0.0.151"),     // nothing listens: refused
                          {"eth1", false, "127.0.0.160"},  // static address: no candidate
                          Dhcp("eth2", "127.0.0.152"),    Dhcp("eth3", "127.0.0.155"),
                          Dhcp("eth4", "127.0.0.153"),    Dhcp("eth5", "127.0.0.154")};

    EXPECT_EQ(Detect(), 0);
    EXPECT_TRUE(access(helperMarker_.c_str(), F_OK) == 0) << "the helper did not run";
    EXPECT_EQ(Candidates(), (std::vector<std::string>{"127.0.0.151", "127.0.0.152", "127.0.0.155",
                                                      "127.0.0.153", "127.0.0.154"}));
    EXPECT_EQ(outcomes_,
              (std::vector<std::string>{"127.0.0.151 refused", "127.0.0.152 failed the LAN test",
                                        "127.0.0.155 failed the LAN test", "127.0.0.153 passed"}));
    EXPECT_EQ(failed_, (std::vector<std::string>{"127.0.0.152", "127.0.0.155"}));
    // The ping goes to the candidate being tried, after a flush, once it accepted.
    const std::vector<std::string> flush{"ip", "neigh", "flush", "all"};
    auto ping = [](const char* a) {
        return std::vector<std::string>{"ping", "-c", "1", "-W", "1", a};
    };
    EXPECT_EQ(processes_.detached, (std::vector<std::vector<std::string>>{
                                       flush, ping("127.0.0.152"), flush, ping("127.0.0.155"),
                                       flush, ping("127.0.0.153")}));
    EXPECT_STREQ(fields_.modemIpAddress, "127.0.0.153");
    EXPECT_EQ(fields_.modemFound, 1);
    EXPECT_EQ(adapters_.renewCalls, 1);
}

TEST_F(Detection, AnAdapterWithoutServerCostsOneMoreRenewalAndStaysACandidate) {
    Modem("127.0.0.157");
    adapters_.adapters = {Dhcp("eth0", "255.255.255.255"), Dhcp("eth1", "127.0.0.157")};
    // The renewal brings eth0 a lease, but the list was read before it.
    adapters_.onRenew = [](FakeNetworkAdapters& a) {
        if (a.renewCalls == 2) a.adapters[0].dhcpServer = "127.0.0.158";
    };
    EXPECT_EQ(Detect(), 0);
    EXPECT_EQ(adapters_.renewCalls, 2);
    EXPECT_EQ(Candidates(), (std::vector<std::string>{"255.255.255.255", "127.0.0.157"}));
    EXPECT_EQ(outcomes_.front(), "255.255.255.255 refused");
    EXPECT_STREQ(fields_.modemIpAddress, "127.0.0.157");
}

TEST_F(Detection, ARefusedAuthorizationIsToldAndTheKnownServersAreStillTried) {
    Modem("127.0.0.163");
    adapters_.adapters = {Dhcp("eth0", "255.255.255.255"), Dhcp("eth1", "127.0.0.163")};
    adapters_.outcomes = {{"eth0", false, false, Authorization::Refused},
                          {"eth1", false, false, Authorization::Refused}};
    EXPECT_EQ(Detect(), 0);
    EXPECT_EQ(steps_, (std::vector<std::string>{"helper", "renew", "not-authorized", "lan-test"}));
    // The adapter without a server is not renewed again: the user would be asked again.
    EXPECT_EQ(adapters_.renewCalls, 1);
    EXPECT_EQ(outcomes_,
              (std::vector<std::string>{"255.255.255.255 refused", "127.0.0.163 passed"}));
}

TEST_F(Detection, AtMost260CandidatesAreKept) {
    Modem("127.0.0.159");
    for (int i = 0; i < 300; ++i) {
        adapters_.adapters.push_back(
            Dhcp("eth" + std::to_string(i), "127.0.3." + std::to_string(i % 250)));
    }
    adapters_.adapters[260].dhcpServer = "127.0.0.159";  // the 261st adapter is never tried
    EXPECT_EQ(Detect(), 1);
    EXPECT_EQ(fields_.dhcpServerCount, 260);
    EXPECT_EQ(outcomes_.size(), 260u);
    EXPECT_EQ(fields_.modemFound, 0);
    EXPECT_STREQ(fields_.modemIpAddress, "");
}

TEST_F(Detection, FailsWithoutTryingACandidate) {
    const struct {
        const char* name;
        std::function<void(FakeNetworkAdapters&)> setup;
        const char* lastStep;
    } cases[] = {
        {"no interface renewed",
         [](FakeNetworkAdapters& a) {
             a.outcomes = {{"eth0", true, false}, {"eth1", false, false}};
         },
         "renew-failed"},
        {"no interface at all", [](FakeNetworkAdapters& a) { a.outcomes.clear(); }, "renew-failed"},
        {"adapter list unreadable", [](FakeNetworkAdapters& a) { a.listOk = false; },
         "no-adapters"},
        {"no DHCP-enabled adapter",
         [](FakeNetworkAdapters& a) {
             a.adapters = {{"eth0", false, "127.0.0.161"}};
         },
         "no-candidates"},
        {"no adapter", [](FakeNetworkAdapters&) {}, "no-candidates"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        c.setup(adapters_);
        EXPECT_EQ(Detect(), 1);
        EXPECT_EQ(steps_.back(), c.lastStep);
        EXPECT_EQ(adapters_.renewCalls, 1);
        EXPECT_TRUE(outcomes_.empty());
        EXPECT_TRUE(processes_.detached.empty());
        EXPECT_EQ(fields_.modemFound, 0);
    }
}

TEST_F(Detection, OnlyAHelperThatCannotBeStartedEndsTheDetection) {
    const struct {
        const char* body;  // nullptr: no helper at all
        mode_t mode;
        bool goesOn;
        bool toldNotAuthorized = false;
    } cases[] = {
        {"exit 0", 0755, true},
        {"exit 3", 0755, true},         // what it did is said on its output, not its code
        {"exit 4", 0755, true, true},   // an authorization it asked for was refused
        {"kill -KILL $$", 0755, true},  // ended by a signal: it was started all the same
        {"exit 0", 0644, false},        // cannot be run
        {nullptr, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body ? c.body : "missing");
        Fresh();
        Modem("127.0.0.163");
        const std::string helper = folder_ + "/" + kDhcpHelperName;
        unlink(helper.c_str());
        if (c.body) {
            std::ofstream(helper) << "#!/bin/sh\n" << c.body << "\n";
            chmod(helper.c_str(), c.mode);
        }
        adapters_.adapters = {Dhcp("eth0", "127.0.0.163")};
        EXPECT_EQ(Detect(), c.goesOn ? 0 : 1);
        EXPECT_EQ(adapters_.renewCalls, c.goesOn ? 1 : 0);
        EXPECT_EQ(steps_.back(), c.goesOn ? "lan-test" : "no-helper");
        EXPECT_EQ(std::count(steps_.begin(), steps_.end(), "not-authorized"),
                  c.toldNotAuthorized ? 1 : 0);
    }
}

// A page that gave up leaves its worker running; the next attempt starts another detection. The
// older one must not write over the newer one's results, whatever it finds later.
TEST_F(Detection, AnOlderDetectionNeverWritesOnceANewerOneHasStarted) {
    const struct {
        const char* name;
        const char* olderReply;  // the older detection's first candidate answers this, late
        std::vector<std::string> olderSteps;
    } cases[] = {
        // It finds the modem after the newer one has started, and keeps it to itself.
        {"found late", "x?connection=ok", {"helper", "renew", "lan-test", "superseded"}},
        // It stops before its next candidate.
        {"failed late", "x?connection=down", {"helper", "renew", "lan-test", "superseded"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ModemSim& slow = Modem("127.0.0.164");
        slow.SetReply(RequestKind::LanTest, c.olderReply);
        slow.SetFault(RequestKind::LanTest, {FaultMode::Delay, 400});
        ModemSim& next = Modem("127.0.0.165");

        FakeNetworkAdapters olderAdapters;
        olderAdapters.adapters = {Dhcp("eth0", "127.0.0.164"), Dhcp("eth1", "127.0.0.165")};
        RecordingProcesses olderProcesses;
        std::vector<std::string> olderSteps;
        DetectionCallbacks olderCallbacks;
        olderCallbacks.onStep = [&](const std::string& step) { olderSteps.push_back(step); };
        int olderResult = -1;
        std::thread older([&] {
            olderResult = DetectModem(fields_, folder_, {&olderAdapters, &olderProcesses},
                                      olderCallbacks, {0, 0, {300, 300, 2000}});
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // The newer detection: its only candidate refuses.
        adapters_.adapters = {Dhcp("eth0", "127.0.0.166")};
        EXPECT_EQ(Detect(), 1);
        older.join();

        EXPECT_EQ(olderResult, 1);
        EXPECT_EQ(olderSteps, c.olderSteps);
        EXPECT_TRUE(next.Requests().empty()) << "the older detection went on to its next candidate";
        EXPECT_EQ(Candidates(), std::vector<std::string>{"127.0.0.166"});
        EXPECT_EQ(fields_.modemFound, 0);
        EXPECT_STREQ(fields_.modemIpAddress, "");
    }
}

TEST(SimulatedModem, TheVariableSelectsOneAdapterServedByTheModem) {
    PosixProcessService processes;
    setenv(kSimulatedModemVariable, "127.0.0.162", 1);
    std::unique_ptr<NetworkAdapters> adapters = CreateNetworkAdapters(processes);
    unsetenv(kSimulatedModemVariable);
    ASSERT_TRUE(adapters);
    std::vector<NetworkAdapter> list;
    ASSERT_TRUE(adapters->List(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].dhcpEnabled);
    EXPECT_EQ(list[0].dhcpServer, "127.0.0.162");
    EXPECT_TRUE(AnyRenewed(adapters->RenewAll()));
}

}  // namespace
