// The real client against the simulated modem, each test on its own 127.0.0.N, with short limits.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstring>

#include "ModemSim.h"
#include "core/protocol/ApplySettings.h"
#include "core/protocol/DeviceClient.h"
#include "core/protocol/Exchanges.h"
#include "support/SessionBuilders.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr ExchangeLimits kShort{300, 300, 400};

double SecondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

class SimTest : public ::testing::Test {
protected:
    void Serve(const char* at) {
        address = at;
        sim_ = std::make_unique<ModemSim>(at);
        ASSERT_TRUE(sim_->Start());
    }
    const char* address = nullptr;
    std::unique_ptr<ModemSim> sim_;
};

// What each exchange returns when the simulator misbehaves in each way. The LAN test column is
// 0 for "modem found", the others are the callers' results; the modem's own Internet test says 3,
// so a fault that fails to happen shows.
TEST_F(SimTest, EveryFaultEndsWithADefinedResultWithinItsLimit) {
    const struct {
        const char* name;
        Fault fault;
        int lan, internet, reason, wireless;
    } cases[] = {
        {"short delay", {FaultMode::Delay, 100}, 0, 3, 0, 0},
        {"delay past the limit", {FaultMode::Delay, 1500}, 1, 1, 1, 1},
        {"silent", {FaultMode::Silent, 0}, 1, 1, 1, 1},
        // A peer that closes at once has not answered: no modem, no connection.
        {"close at once", {FaultMode::CloseAtOnce, 0}, 1, 1, 1, 1},
        // Only the first 260 bytes are read; the pairs in them still count.
        {"oversized", {FaultMode::Oversized, 0}, 0, 3, 0, 0},
        // No "?": nothing to interpret, which every mode reads as 0.
        {"garbage", {FaultMode::Garbage, 0}, 0, 0, 0, 0},
    };
    Serve("127.0.0.11");
    sim_->SetInternetCode(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (RequestKind kind : {RequestKind::LanTest, RequestKind::InternetTest,
                                 RequestKind::WanConfig, RequestKind::WirelessGet})
            sim_->SetFault(kind, c.fault);
        const auto wan =
            FormatWanRequest(BridgingRecord(1, 100 + static_cast<std::uint32_t>(&c - cases)), 0);
        auto t0 = Clock::now();
        EXPECT_EQ(ExchangeLanTest(address, kShort), c.lan);
        EXPECT_EQ(ExchangeInternetTest(address, 100, kShort), c.internet);
        EXPECT_EQ(SendDeviceRequest(address, *wan, kShort), c.reason);
        char buffer[1024];
        bool exchanged = false;
        EXPECT_EQ(ExchangeWirelessRead(address, buffer, sizeof buffer, kShort, &exchanged),
                  c.wireless);
        EXPECT_EQ(exchanged, c.wireless == 0);
        // Four exchanges, each bounded by connect + send + receive limits.
        EXPECT_LT(SecondsSince(t0), 4 * 1.0 + 0.5);
    }
}

// One receive of at most 260 bytes: the reason in the last of them counts (a client reading one
// byte less sees none), a second piece of a split reply does not.
TEST_F(SimTest, OneReceiveReadsAtMost260Bytes) {
    Serve("127.0.0.12");
    std::string reply = "?pad=";
    reply.resize(DeviceClient::kMaxReplyBytes - std::strlen("&reason=7"), 'p');
    sim_->SetReply(RequestKind::WanConfig, reply + "&reason=7");
    EXPECT_EQ(SendDeviceRequest(address, "wancfg.wzd?method=set", kShort), 7);
    sim_->SetReply(RequestKind::WanConfig, "?x=abcdefgh&reason=7");
    sim_->SetFault(RequestKind::WanConfig, {FaultMode::Split, 150});
    auto t0 = Clock::now();
    EXPECT_EQ(SendDeviceRequest(address, "wancfg.wzd?method=set", kShort), 0);
    EXPECT_LT(SecondsSince(t0), 1.0);
}

// An address nothing listens on is refused at once. With the real limits, once: a modem that
// accepts and never answers costs the receive limit.
TEST_F(SimTest, RefusedAddressCostsNothingAndSilentModemTheReceiveLimit) {
    auto t0 = Clock::now();
    bool accepted = true;
    EXPECT_EQ(ExchangeLanTest("127.0.0.14", kShort, &accepted), 1);
    EXPECT_FALSE(accepted);
    EXPECT_LT(SecondsSince(t0), 0.5);
    EXPECT_EQ(SendDeviceRequest("not an address", "x", kShort), 1);
    EXPECT_EQ(ExchangeInternetTest("", 100, kShort), 1);
    Serve("127.0.0.15");
    sim_->SetFault(RequestKind::WanConfig, {FaultMode::Silent, 0});
    t0 = Clock::now();
    EXPECT_EQ(SendDeviceRequest(address, "wancfg.wzd?method=set"), 1);
    const double took = SecondsSince(t0);
    EXPECT_GE(took, kReceiveTimeoutMs / 1000.0 - 0.1);
    EXPECT_LT(took, kReceiveTimeoutMs / 1000.0 + 1.0);
}

// Failures the modem reports are seen by the progress pages; here what the apply decides itself.
TEST_F(SimTest, ApplyStopsOnWhatItCannotSend) {
    Serve("127.0.0.17");
    const WizardSession s = BridgingRecord(0, 35);
    SessionFields fields;
    CopyText(fields.modemIpAddress, address);
    // An unknown security text: the WAN request still goes, then 11 without a wireless request.
    WizardSession unknownMode = s;
    CopyText(unknownMode.wlAuthMode, "wpa");
    EXPECT_EQ(BuildAndSendSettings(unknownMode, fields, kShort), kApplyWirelessFailed);
    EXPECT_EQ(fields.wanConnectionCreated.load(), 1);
    EXPECT_TRUE(sim_->LastRequest(RequestKind::WirelessSet).empty());
    // A second apply edits the connection (edit=0 on a pair in use would be refused with 7).
    EXPECT_EQ(BuildAndSendSettings(s, fields, kShort), 0);
    SessionFields fresh;
    CopyText(fresh.modemIpAddress, address);
    EXPECT_EQ(BuildAndSendSettings(s, fresh, kShort), 7);
    // A text neither request could carry stops the apply before its first exchange, even when
    // only the wireless request holds it.
    const std::size_t before = sim_->Requests().size();
    WizardSession uncarriable = s;
    CopyText(uncarriable.wlSsid, "home&wlChannel=1");
    EXPECT_EQ(BuildAndSendSettings(uncarriable, fresh, kShort), kApplyUncarriableValue);
    EXPECT_EQ(sim_->Requests().size(), before);
}

// modemctl's output and exit status (-1 when it did not run to an exit).
std::pair<std::string, int> RunModemctl(const std::string& args) {
    std::string output;
    FILE* pipe = ::popen((std::string(MODEMCTL_PATH) + " " + args + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return {output, -1};
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) output += chunk;
    const int status = ::pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The output ends with the result the wizard would compute, and the exit status follows it. A
// hostile reply must not reach the support person's terminal as escape sequences: control bytes
// and bytes that are not printable UTF-8 are shown as \xHH, a backslash as \\.
TEST_F(SimTest, ModemctlPrintsTheResultAndTheModemsBytesEscaped) {
    Serve("127.0.0.18");
    sim_->SetInternetCode(0);
    sim_->SetReply(RequestKind::WirelessGet,
                   "wl.wzd?reason=0&wlSsid=\x1b]0;owned\x07home&wlChannel=6&wlAuthMode=open&"
                   "wlKey1=caf\xc3\xa9!&wlKey2=\xff\xc2\x9bxy&wlKey3=a\\b\x7fz&wlKey4=\xe2\x82&"
                   "wlKeyIndex=1");
    const struct {
        std::string args, ending;  // of the output
        int status;
    } cases[] = {
        {"127.0.0.18 wireless-get",
         "wlSsid=\\x1b]0;owned\\x07home\nwlChannel=6\nwlAuthMode=open\nwlKey1=caf\xc3\xa9!\nwlKey2="
         "\\xff\\xc2\\x9bxy\nwlKey3=a\\\\b\\x7fz\nwlKey4=\\xe2\\x82\nwlKeyIndex=1\nresult=0\n",
         0},
        {"127.0.0.18 lan-test", "connection accepted\nresult=0\n", 0},
        {"127.0.0.18 internet-test", "result=6\n", 1},
        {"127.0.0.18 send 'wancfg.wzd?method=set&edit=0'", "result=2\n", 1},
        {"127.0.0.19 lan-test", "connection refused or timed out\nresult=1\n", 1},
        {"300.1.1.1 lan-test", "'300.1.1.1' is not a dotted IPv4 address\n", 2},
        {"127.0.0.18 lan-test extra", "(run in the bundle folder, beside EnableDHCP)\n", 2},
    };
    for (const auto& c : cases) {
        const auto [output, status] = RunModemctl(c.args);
        EXPECT_TRUE(output.ends_with(c.ending)) << c.args << "\n" << output;
        EXPECT_EQ(status, c.status) << c.args;
    }
}

}  // namespace
