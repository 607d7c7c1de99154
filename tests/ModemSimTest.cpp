#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "ModemSim.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::string_literals;

int ElapsedMs(Clock::time_point since) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

int Connect(const std::string& address) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(1028);
    inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0) << address;
    return fd;
}

// One receive of at most size bytes; -1 when nothing came within timeoutMs.
ssize_t ReceiveOnce(int fd, std::string& out, std::size_t size = 260, int timeoutMs = 3000) {
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    out.assign(size, '\0');
    ssize_t n = recv(fd, out.data(), size, 0);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return n;
}

// One exchange the way the wizard makes it: connect, one send, one receive, close.
std::string Exchange(const std::string& address, const std::string& request) {
    int fd = Connect(address);
    EXPECT_EQ(send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    std::string reply;
    ReceiveOnce(fd, reply);
    close(fd);
    return reply;
}

TEST(ModemSimWireless, ReadReturnsWhatWasWrittenAndRefusedWritesChangeNothing) {
    const std::string kRead = "wl.wzd?method=get", kSet = "wl.wzd?method=set&wlSsid=";
    const struct {
        std::string write, read;
    } cases[] = {
        {kSet + "home&wlChannel=6&wlAuthMode=open",
         "home&wlChannel=6&wlAuthMode=open&wlKey1=none&wlKey2=none&wlKey3=none&wlKey4=none"
         "&wlKeyIndex=1"},
        {kSet + "w128&wlChannel=13&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=3&wlKey1=&wlKey2=&"
                "wlKey3=abcdefghijklm&wlKey4=",
         "w128&wlChannel=13&wlAuthMode=WEP128&wlKey1=none&wlKey2=none&wlKey3=abcdefghijklm"
         "&wlKey4=none&wlKeyIndex=3"},
        {kSet + "w64&wlChannel=0&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=2&wlKey1=12345&"
                "wlKey2=67890&wlKey3=&wlKey4=",
         "w64&wlChannel=0&wlAuthMode=WEP64&wlKey1=12345&wlKey2=67890&wlKey3=none&wlKey4=none"
         "&wlKeyIndex=2"},
        // Values are stored and returned as received: nothing is decoded or encoded.
        {kSet + "caf\xC3\xA9 = bar&wlChannel=1&wlAuthMode=psk2mix&wlWpaPsk=pass=word %26",
         "caf\xC3\xA9 = bar&wlChannel=1&wlAuthMode=WPA&wlKey1=pass=word %26&wlKey2=none"
         "&wlKey3=none&wlKey4=none&wlKeyIndex=1"},
    };
    ModemSim sim("127.0.0.100");
    ASSERT_TRUE(sim.Start());
    for (const auto& c : cases) {
        EXPECT_EQ(Exchange("127.0.0.100", c.write), "wl.wzd?reason=0") << c.write;
        EXPECT_EQ(Exchange("127.0.0.100", kRead), "wl.wzd?reason=0&wlSsid=" + c.read);
    }
    EXPECT_EQ(sim.Wireless().ssid, "caf\xC3\xA9 = bar");
    EXPECT_EQ(sim.Wireless().keys[0], "pass=word %26");

    // Refused: channel, network name or mode out of range, an "&" that forges a piece, WEP keys
    // of the wrong length, missing or chosen but empty, WPA keys too short or too long.
    const std::string wep = "home&wlChannel=1&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=";
    for (const std::string& tail : std::initializer_list<std::string>{
             "home&wlChannel=14&wlAuthMode=open", "home&wlChannel=-1&wlAuthMode=open",
             "&wlChannel=1&wlAuthMode=open", std::string(33, 's') + "&wlChannel=1&wlAuthMode=open",
             "a&b&wlChannel=1&wlAuthMode=open", "home&wlChannel=1&wlAuthMode=wpa2",
             wep + "1&wlKey1=abcdefghijkl&wlKey2=&wlKey3=&wlKey4=",
             wep + "2&wlKey1=abcdefghijklm&wlKey2=&wlKey3=&wlKey4=",
             wep + "1&wlKey1=abcdefghijklm&wlKey2=&wlKey3=",
             "home&wlChannel=1&wlAuthMode=psk2mix&wlWpaPsk=1234567",
             "home&wlChannel=1&wlAuthMode=psk2mix&wlWpaPsk=" + std::string(64, 'k')}) {
        EXPECT_NE(Exchange("127.0.0.100", kSet + tail), "wl.wzd?reason=0") << tail;
        EXPECT_EQ(sim.Wireless().ssid, "caf\xC3\xA9 = bar") << tail;
    }
}

const std::string kWan = "wancfg.wzd?method=set&edit=";

TEST(ModemSimWan, KeepsOneConnectionPerVpiVciPair) {
    ModemSim sim("127.0.0.102");
    ASSERT_TRUE(sim.Start());
    auto send = [](const std::string& tail) { return Exchange("127.0.0.102", kWan + tail); };
    const std::string pppoa =
        "&ntwkPrtcl=1&encapMode=0&atmVpi=8&atmVci=35&pppUserName=u&pppPassword=p";
    EXPECT_EQ(send("0&ntwkPrtcl=0&encapMode=0&atmVpi=8&atmVci=35&pppUserName=a=b c&"
                   "pppPassword=p%25 w&pppServerName=&useStaticIpAddress=1&"
                   "pppLocalIpAddress=10.0.0.2"),
              "wancfg.wzd?reason=0");
    ASSERT_EQ(sim.WanConnections().size(), 1u);
    const auto fields = sim.WanConnections()[0].fields;
    EXPECT_EQ(fields.at("pppUserName"), "a=b c");
    EXPECT_EQ(fields.at("pppPassword"), "p%25 w");
    EXPECT_EQ(fields.at("pppLocalIpAddress"), "10.0.0.2");
    EXPECT_EQ(send("0" + pppoa), "wancfg.wzd?reason=7");
    EXPECT_EQ(send("1" + pppoa), "wancfg.wzd?reason=0");
    ASSERT_EQ(sim.WanConnections().size(), 1u);
    EXPECT_EQ(sim.WanConnections()[0].protocol, 1);
    // An edit of a pair without a connection replaces the most recently written one.
    EXPECT_EQ(send("1&ntwkPrtcl=3&encapMode=1&atmVpi=0&atmVci=38"), "wancfg.wzd?reason=0");
    ASSERT_EQ(sim.WanConnections().size(), 1u);
    EXPECT_EQ(sim.WanConnections()[0].vci, 38);
    for (int vci = 100; vci < 107; ++vci) {
        EXPECT_EQ(send("0&ntwkPrtcl=2&encapMode=0&atmVpi=1&atmVci=" + std::to_string(vci) +
                       "&enblDhcpClnt=0&wanIpAddress=10.1.1.2&wanSubnetMask=255.0.0.0&"
                       "enblAuto=1&dnsDynamic=0&dnsPrimary=1.1.1.1&dnsSecondary=8.8.8.8"),
                  "wancfg.wzd?reason=0");
    }
    EXPECT_EQ(send("0&ntwkPrtcl=3&encapMode=0&atmVpi=2&atmVci=40"), "wancfg.wzd?reason=5");
    EXPECT_EQ(sim.WanConnections().size(), 8u);
    sim.SetEthernetWanEnabled(true);
    EXPECT_EQ(send("1&ntwkPrtcl=3&encapMode=0&atmVpi=0&atmVci=38"), "wancfg.wzd?reason=-1");
    sim.SetEthernetWanEnabled(false);
    sim.ForceWanReason(9);
    EXPECT_EQ(send("1&ntwkPrtcl=3&encapMode=0&atmVpi=0&atmVci=38"), "wancfg.wzd?reason=9");
}

TEST(ModemSimWan, MalformedRequestsGetReasonTwo) {
    const std::string bridge = "&encapMode=0&atmVpi=";
    const std::string cases[] = {
        "0&ntwkPrtcl=3" + bridge + "256&atmVci=35",
        "0&ntwkPrtcl=3" + bridge + "0&atmVci=31",
        "0&ntwkPrtcl=4" + bridge + "0&atmVci=35",
        "0&ntwkPrtcl=3" + bridge + "0",
        "2&ntwkPrtcl=3" + bridge + "0&atmVci=35",
        "0&ntwkPrtcl=1" + bridge + "0&atmVci=35&pppUserName=u&pppPassword=p&pppServerName=s",
        "0&ntwkPrtcl=0" + bridge + "0&atmVci=35&pppUserName=u&pppPassword=a&b&pppServerName=s",
        "0&ntwkPrtcl=0" + bridge +
            "0&atmVci=35&pppUserName=u&pppUserName=v&pppPassword=p&pppServerName=s",
        "0&ntwkPrtcl=2" + bridge + "0&atmVci=35&enblDhcpClnt=0&enblAuto=1&dnsDynamic=1",
        "0&ntwkPrtcl=5" + bridge +
            "0&atmVci=35&enblDhcpClnt=1&enblAuto=0&defaultGateway=1.2.3&"
            "dnsDynamic=1",
    };
    ModemSim sim("127.0.0.103");
    ASSERT_TRUE(sim.Start());
    for (const auto& tail : cases) {
        EXPECT_EQ(Exchange("127.0.0.103", kWan + tail), "wancfg.wzd?reason=2") << tail;
    }
    EXPECT_TRUE(sim.WanConnections().empty());
}

TEST(ModemSimRequests, TestRepliesFixedRepliesAndUnknownRequests) {
    const std::string lan = "connectiontest.wzd?method=lanconnection&device=HX4260RB";
    const std::string wan = "connectiontest.wzd?method=wanconnection&timeout=100";
    ModemSim sim("127.0.0.104");
    ASSERT_TRUE(sim.Start());
    EXPECT_EQ(Exchange("127.0.0.104", lan), "connectiontest.wzd?connection=ok");
    EXPECT_NE(Exchange("127.0.0.104", lan + "X"), "connectiontest.wzd?connection=ok");
    EXPECT_EQ(Exchange("127.0.0.104", wan), "connectiontest.wzd?connection=6");
    sim.SetInternetCode(7);
    EXPECT_EQ(Exchange("127.0.0.104", wan), "connectiontest.wzd?connection=7");
    EXPECT_EQ(Exchange("127.0.0.104", "GET / HTTP/1.0\r\n\r\n"), "?reason=2");
    sim.SetReply(RequestKind::LanTest, "x?connection=down");
    EXPECT_EQ(Exchange("127.0.0.104", lan), "x?connection=down");
    sim.ClearReply(RequestKind::LanTest);
    EXPECT_EQ(Exchange("127.0.0.104", lan), "connectiontest.wzd?connection=ok");
}

TEST(ModemSimRequests, RecordsAndLogsEveryRequestByteForByte) {
    const std::string sent[] = {"wl.wzd?method=get", "a\0b\\\xff?"s, "wl.wzd?method=set&x=\x01"s};
    std::vector<std::string> log;
    std::mutex logMutex;
    ModemSim sim("127.0.0.105");
    sim.SetLogger([&](const std::string& line) {
        std::lock_guard lock(logMutex);
        log.push_back(line);
    });
    ASSERT_TRUE(sim.Start());
    for (const auto& request : sent) Exchange("127.0.0.105", request);
    EXPECT_EQ(sim.Requests(), std::vector<std::string>(std::begin(sent), std::end(sent)));
    EXPECT_EQ(sim.LastRequest(RequestKind::Unknown), sent[1]);
    EXPECT_EQ(sim.LastRequest(RequestKind::WirelessSet), sent[2]);
    EXPECT_EQ(sim.ConnectionsAccepted(), 3);
    sim.Stop();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2], "REQ unknown 6 a\\x00b\\x5C\\xFF?");
    EXPECT_EQ(log[3], "REP unknown 9 ?reason=2");
    EXPECT_EQ(log[4], "REQ wireless-set 21 wl.wzd?method=set&x=\\x01");
}

TEST(ModemSimFaults, EachModeIsSeenByTheClient) {
    const std::string lan = "connectiontest.wzd?method=lanconnection&device=HX4260RB";
    const std::string ok = "connectiontest.wzd?connection=ok";
    ModemSim sim("127.0.0.106");
    ASSERT_TRUE(sim.Start());
    auto exchange = [&](Fault fault, std::size_t size, int timeoutMs, std::string& reply) {
        sim.SetFault(RequestKind::LanTest, fault);
        int fd = Connect("127.0.0.106");
        send(fd, lan.data(), lan.size(), 0);
        ssize_t n = ReceiveOnce(fd, reply, size, timeoutMs);
        close(fd);
        return n;
    };
    std::string reply;
    auto start = Clock::now();
    EXPECT_EQ(exchange({FaultMode::Delay, 300}, 260, 3000, reply), ssize_t(ok.size()));
    EXPECT_GE(ElapsedMs(start), 300);
    EXPECT_EQ(exchange({FaultMode::CloseAtOnce}, 260, 3000, reply), 0);
    EXPECT_GT(exchange({FaultMode::Oversized}, 2048, 3000, reply), 260);
    EXPECT_EQ(reply.substr(0, ok.size()), ok);
    EXPECT_GT(exchange({FaultMode::Garbage}, 260, 3000, reply), 0);
    EXPECT_EQ(reply.find('?'), std::string::npos);
    EXPECT_NE(reply.find('\0'), std::string::npos);
    EXPECT_LT(exchange({FaultMode::Split, 300}, 260, 3000, reply), ssize_t(ok.size()));
    EXPECT_EQ(ok.substr(0, reply.size()), reply);
    EXPECT_EQ(exchange({FaultMode::Silent}, 260, 400, reply), -1);
    EXPECT_EQ(sim.Requests().size(), 6u);  // every request was read, whatever the reply
}

TEST(ModemSimFaults, StopReleasesAConnectionHeldBySilent) {
    ModemSim sim("127.0.0.107");
    ASSERT_TRUE(sim.Start());
    sim.SetFault(RequestKind::WirelessGet, {FaultMode::Silent});
    int fd = Connect("127.0.0.107");
    send(fd, "wl.wzd?method=get", 17, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the request is read
    auto start = Clock::now();
    sim.Stop();
    EXPECT_LT(ElapsedMs(start), 1000);
    std::string reply;
    EXPECT_EQ(ReceiveOnce(fd, reply), 0);  // closed without a reply
    close(fd);
}

// modem-sim's exit code with these arguments; 124 when it was still running after 5 seconds.
int ExitCode(const std::string& args) {
    const int status =
        std::system(("timeout 5 " MODEM_SIM_PATH " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ModemSimBinary, ServesAndLogsUntilSigtermAndRefusesBadArguments) {
    const std::string logPath = ::testing::TempDir() + "modem-sim-108.log";
    // The shell says its process id, which the program then takes over.
    FILE* out = popen(("echo $$; exec " MODEM_SIM_PATH " --log " + logPath +
                       " --internet-code 3 127.0.0.108 2>/dev/null")
                          .c_str(),
                      "r");
    ASSERT_NE(out, nullptr);
    char pid[32] = {}, line[64] = {};
    ASSERT_TRUE(std::fgets(pid, sizeof pid, out) && std::fgets(line, sizeof line, out));
    EXPECT_STREQ(line, "modem-sim listening on 127.0.0.108:1028\n");
    EXPECT_EQ(Exchange("127.0.0.108", "connectiontest.wzd?method=wanconnection&timeout=100"),
              "connectiontest.wzd?connection=3");
    const pid_t server = std::atoi(pid);
    kill(server, SIGTERM);
    int status = -1;
    for (auto start = Clock::now(); ElapsedMs(start) < 1000;) {
        if (waitpid(server, &status, WNOHANG) == server) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    if (!WIFEXITED(status)) kill(server, SIGKILL);
    pclose(out);
    std::ifstream log(logPath);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}),
              "REQ internet-test 51 connectiontest.wzd?method=wanconnection&timeout=100\n"
              "REP internet-test 31 connectiontest.wzd?connection=3\n");

    // The address is now held by an in-process service, so it cannot be bound again.
    ModemSim holder("127.0.0.108");
    ASSERT_TRUE(holder.Start());
    for (const char* args :
         {"", "--fault lan-test=bogus 127.0.0.110", "--reply nokind=x 127.0.0.110",
          "--internet-code x 127.0.0.110", "10.0.0.1", "127.0.0.108",
          // One address only: the second is not served instead.
          "127.0.0.110 127.0.0.111"}) {
        EXPECT_EQ(ExitCode(args), 2) << args;
    }
}

}  // namespace
