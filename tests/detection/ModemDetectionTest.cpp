// The detection steps with a scripted adapter list, a real helper in a temporary folder and
// simulated modems on 127.0.0.150-170 (the port is fixed: one address each); the neighbour-cache
// flush and the ping are recorded, not run. And a renewal through a fake pkexec and helper.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
#include "detection/processes/PrivilegedHelper.h"
#include "detection/processes/ProcessService.h"

namespace {

using Lines = std::vector<std::string>;

constexpr DetectionTiming kQuick{0, 0, {300, 300, 500}};

// Runs programs for real (the helper), records the detached commands instead of starting them.
class RecordingProcesses final : public ProcessService {
public:
    int Run(const std::vector<std::string>& command, bool quiet) override {
        return real.Run(command, quiet);
    }
    void StartDetached(const std::vector<std::string>& command) override {
        std::string line;
        for (const std::string& word : command) line += (line.empty() ? "" : " ") + word;
        detached.push_back(line);
    }
    PosixProcessService real;
    Lines detached;
};

class Detection : public ::testing::Test {
public:
    void SetUp() override {
        char pattern[] = "/tmp/detection-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        Script(kDhcpHelperName, "touch '" + folder_ + "/helper-ran'");
    }
    void TearDown() override {
        for (auto& sim : sims_) sim->Stop();
        std::system(("rm -rf '" + folder_ + "'").c_str());
    }
    void Script(const std::string& name, const std::string& body, mode_t mode = 0755) {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), mode);
    }
    ModemSim& Modem(const std::string& address) {
        sims_.push_back(std::make_unique<ModemSim>(address));
        std::string error;
        EXPECT_TRUE(sims_.back()->Start(&error)) << error;
        return *sims_.back();
    }
    // Runs the detection and records its steps and candidates in events_: "! ADDRESS" for a
    // candidate held after it failed the LAN test, "ADDRESS OUTCOME" for every one tried.
    int Detect(const DetectionTiming& timing = kQuick) {
        DetectionCallbacks callbacks;
        callbacks.onStep = [this](const std::string& step) { events_.push_back(step); };
        callbacks.onCandidateFailed = [this](const std::string& a) { events_.push_back("! " + a); };
        callbacks.onCandidate = [this](const std::string& a, CandidateOutcome o) {
            events_.push_back(a + " " + CandidateOutcomeText(o));
        };
        return DetectModem(fields_, folder_, {&adapters_, &processes_}, callbacks, timing);
    }
    // Back to a fresh folder, adapter list and record, as a new test would start.
    void Fresh() {
        TearDown();
        SetUp();
        sims_.clear();
        adapters_ = FakeNetworkAdapters();
        processes_.detached.clear();
        events_.clear();
        std::destroy_at(&fields_);
        std::construct_at(&fields_);
    }
    Lines Candidates() const {
        return {fields_.dhcpServerList, fields_.dhcpServerList + fields_.dhcpServerCount};
    }

    std::string folder_;
    SessionFields fields_;
    FakeNetworkAdapters adapters_;
    RecordingProcesses processes_;
    std::vector<std::unique_ptr<ModemSim>> sims_;
    Lines events_;
};

// A candidate that closes at once is no modem; one that answers, whatever it says, is asked. The
// ping goes to the candidate being tried, after a flush, once it accepted.
TEST_F(Detection, CandidatesAreTriedInAdapterOrderAndEachIsPingedWhenTried) {
    Modem("127.0.0.152").SetReply(RequestKind::LanTest, "connectiontest.wzd?connection=down");
    Modem("127.0.0.155").SetFault(RequestKind::LanTest, {FaultMode::CloseAtOnce, 0});
    Modem("127.0.0.153").SetReply(RequestKind::LanTest, "no question mark");
    // Nothing listens on .151; eth1 has a static address: no candidate.
    adapters_.adapters = {{"eth0", true, "127.0.0.151"}, {"eth1", false, "127.0.0.160"},
                          {"eth2", true, "127.0.0.152"}, {"eth3", true, "127.0.0.155"},
                          {"eth4", true, "127.0.0.153"}, {"eth5", true, "127.0.0.154"}};

    EXPECT_EQ(Detect(), 0);
    EXPECT_EQ(access((folder_ + "/helper-ran").c_str(), F_OK), 0) << "the helper did not run";
    EXPECT_EQ(Candidates(),
              (Lines{"127.0.0.151", "127.0.0.152", "127.0.0.155", "127.0.0.153", "127.0.0.154"}));
    EXPECT_EQ(events_, (Lines{"helper", "renew", "lan-test", "127.0.0.151 refused", "! 127.0.0.152",
                              "127.0.0.152 failed the LAN test", "! 127.0.0.155",
                              "127.0.0.155 failed the LAN test", "127.0.0.153 passed"}));
    const std::string flush = "ip neigh flush all";
    EXPECT_EQ(processes_.detached,
              (Lines{flush, "ping -c 1 -W 1 127.0.0.152", flush, "ping -c 1 -W 1 127.0.0.155",
                     flush, "ping -c 1 -W 1 127.0.0.153"}));
    EXPECT_STREQ(fields_.modemIpAddress, "127.0.0.153");
    EXPECT_EQ(fields_.modemFound, 1);
    EXPECT_EQ(adapters_.renewCalls, 1);
}

TEST_F(Detection, AtMost260CandidatesAreKept) {
    Modem("127.0.0.159");
    adapters_.adapters.assign(300, {"eth0", true, "127.0.3.1"});
    adapters_.adapters[260].dhcpServer = "127.0.0.159";  // the 261st adapter is never tried
    EXPECT_EQ(Detect(), 1);
    EXPECT_EQ(fields_.dhcpServerCount, 260);
    EXPECT_EQ(events_.size(), 3u + 260u);
}

// What the helper did is said on its output, not its exit code, and a death by a signal says
// nothing either: only a helper that cannot be started ends the detection, and only code 4 tells
// that an authorization it asked for was refused. An adapter without a server costs one more
// renewal (the lease it brings arrives after the list was read) and stays a candidate, unless
// authorization was refused: the user would be asked again.
TEST_F(Detection, StepsFromTheHelperToTheCandidates) {
    const Lines found{"renew", "lan-test", "127.0.0.163 passed"};
    const std::vector<NetworkAdapter> noServer{{"eth0", true, "255.255.255.255"},
                                               {"eth1", true, "127.0.0.163"}};
    struct Case {
        const char* helper = "exit 0";
        mode_t mode = 0755;
        std::vector<NetworkAdapter> adapters{{"eth0", true, "127.0.0.163"}};
        std::vector<RenewOutcome> renewed{{"eth0", true, true}};
        bool listOk = true;
        int renewCalls = 1;
        Lines events;  // after "helper"
    };
    const Case cases[] = {
        {.helper = "exit 3", .events = found},
        {.helper = "exit 4",
         .events = {"not-authorized", "renew", "lan-test", "127.0.0.163 passed"}},
        {.helper = "kill -KILL $$", .events = found},
        {.mode = 0644, .renewCalls = 0, .events = {"no-helper"}},  // cannot be run
        {.adapters = noServer,
         .renewCalls = 2,
         .events = {"renew", "lan-test", "255.255.255.255 refused", "127.0.0.163 passed"}},
        {.adapters = noServer,
         .renewed = {{"eth0", false, false, Authorization::Refused},
                     {"eth1", false, false, Authorization::Refused}},
         .events = {"renew", "not-authorized", "lan-test", "255.255.255.255 refused",
                    "127.0.0.163 passed"}},
        {.renewed = {{"eth0", true, false}, {"eth1", false, false}},
         .events = {"renew", "renew-failed"}},
        {.listOk = false, .events = {"renew", "no-adapters"}},
        {.adapters = {{"eth0", false, "127.0.0.161"}}, .events = {"renew", "no-candidates"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helper + (" " + c.events.back()));
        Fresh();
        Modem("127.0.0.163");
        Script(kDhcpHelperName, c.helper, c.mode);
        adapters_.adapters = c.adapters;
        adapters_.outcomes = c.renewed;
        adapters_.listOk = c.listOk;
        adapters_.onRenew = [](FakeNetworkAdapters& a) {
            if (a.renewCalls == 2) a.adapters[0].dhcpServer = "127.0.0.158";
        };
        const bool passed = c.events.back().ends_with("passed");
        EXPECT_EQ(Detect(), passed ? 0 : 1);
        EXPECT_EQ(Lines(events_.begin() + 1, events_.end()), c.events);
        EXPECT_EQ(adapters_.renewCalls, c.renewCalls);
        EXPECT_EQ(processes_.detached.empty(), !passed);
    }
}

// A page that gave up leaves its worker running; the next attempt starts another detection. The
// older one must not write over the newer one's results, whatever it finds later: found late, it
// keeps the modem to itself; failed late, it stops before its next candidate.
TEST_F(Detection, AnOlderDetectionNeverWritesOnceANewerOneHasStarted) {
    const struct {
        const char* reply;
        Lines events;  // the older one's
    } cases[] = {
        {"x?connection=ok", {"helper", "renew", "lan-test", "127.0.0.164 passed", "superseded"}},
        {"x?connection=down",
         {"helper", "renew", "lan-test", "! 127.0.0.164", "127.0.0.164 failed the LAN test",
          "superseded"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        Fresh();
        ModemSim& slow = Modem("127.0.0.164");
        slow.SetReply(RequestKind::LanTest, c.reply);
        slow.SetFault(RequestKind::LanTest, {FaultMode::Delay, 400});
        ModemSim& next = Modem("127.0.0.165");
        adapters_.adapters = {{"eth0", true, "127.0.0.164"}, {"eth1", true, "127.0.0.165"}};
        int olderResult = -1;
        std::thread older([&] { olderResult = Detect({0, 0, {300, 300, 2000}}); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // The newer detection: its only candidate refuses.
        FakeNetworkAdapters newer;
        newer.adapters = {{"eth0", true, "127.0.0.166"}};
        RecordingProcesses newerProcesses;
        EXPECT_EQ(DetectModem(fields_, folder_, {&newer, &newerProcesses}, {}, kQuick), 1);
        older.join();

        EXPECT_EQ(olderResult, 1);
        EXPECT_EQ(events_, c.events);
        EXPECT_TRUE(next.Requests().empty()) << "the older detection went on to its next candidate";
        EXPECT_EQ(Candidates(), Lines{"127.0.0.166"});
        EXPECT_EQ(fields_.modemFound, 0);
        EXPECT_STREQ(fields_.modemIpAddress, "");
    }
}

// One wired DHCP interface; reading it tells of an instance left out, as dhclient's reader may.
class ReadingAdapters final : public NetworkAdapters {
public:
    std::string_view Backend() const override { return "dhclient"; }
    bool List(std::vector<NetworkAdapter>& adapters) override {
        Notice("eth7 left out: not root");
        adapters = {{"eth0", true, ""}};
        return true;
    }
    std::vector<RenewOutcome> RenewAll() override { return {}; }
};

// pkexec runs its arguments or refuses; the helper prints what the real one may print.
TEST_F(Detection, RenewalsAndNoticesComeBackFromThePrivilegedHelper) {
    const struct {
        const char* pkexec;  // the fake pkexec's body
        const char* helper;  // the fake helper's body
        Lines renewed;
        Lines notices;
        Authorization authorization;
    } cases[] = {
        {"exec \"$@\"",
         "echo 'notice eth9 left out: it does not run as root'\necho 'renew eth0 1 1'\n"
         "echo 'notice eth9 left out: it does not run as root'\necho 'renew eth1 1 0'\n"
         "echo 'garbage'\necho 'renew eth2 1 1'",
         {"eth0", "eth1"},
         {"eth9 left out: it does not run as root"},
         Authorization::Granted},
        {"exit 126", "", {"eth0"}, {"eth7 left out: not root"}, Authorization::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pkexec);
        Fresh();
        Script("pkexec", c.pkexec);
        Script(kPrivilegedHelperName, c.helper);
        const std::string path = std::getenv("PATH");
        setenv("PATH", (folder_ + ":" + path).c_str(), 1);
        HelperRenewAdapters adapters(std::make_unique<ReadingAdapters>(), folder_);
        Lines notices;
        adapters.SetNoticeSink([&](const std::string& text) { notices.push_back(text); });
        const std::vector<RenewOutcome> outcomes = adapters.RenewAll();
        setenv("PATH", path.c_str(), 1);

        Lines names;
        for (const RenewOutcome& outcome : outcomes) {
            names.push_back(outcome.name);
            EXPECT_EQ(outcome.authorization, c.authorization);
        }
        EXPECT_EQ(names, c.renewed);
        EXPECT_EQ(notices, c.notices);
    }
}

}  // namespace
