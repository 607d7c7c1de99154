#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ModemSim.h"

namespace {

using namespace std::string_literals;

const std::string kLan = "connectiontest.wzd?method=lanconnection&device=HX4260RB";

// One exchange the way the wizard makes it: connect, one send, one receive of at most size
// bytes, close.
std::string Exchange(const std::string& address, const std::string& request,
                     std::size_t size = 260) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{AF_INET, htons(1028), {}, {}};
    inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0) << address;
    EXPECT_EQ(send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    timeval tv{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::string reply(size, '\0');
    reply.resize(static_cast<std::size_t>(std::max<ssize_t>(recv(fd, reply.data(), size, 0), 0)));
    close(fd);
    return reply;
}

// The other tests trust the simulator to store what it gets as received and to refuse what the
// modem would refuse; a simulator that took anything would let a wrong request pass unseen.
TEST(ModemSimWireless, ReadReturnsWhatWasWrittenAndRefusedWritesChangeNothing) {
    const std::string kRead = "wl.wzd?method=get", kSet = "wl.wzd?method=set&wlSsid=";
    const std::string write =
        kSet + "caf\xC3\xA9 = bar&wlChannel=1&wlAuthMode=psk2mix&wlWpaPsk=pass=word %26";
    ModemSim sim("127.0.0.100");
    ASSERT_TRUE(sim.Start());
    EXPECT_EQ(Exchange("127.0.0.100", write), "wl.wzd?reason=0");
    EXPECT_EQ(
        Exchange("127.0.0.100", kRead),
        "wl.wzd?reason=0&wlSsid=caf\xC3\xA9 = bar&wlChannel=1&wlAuthMode=WPA&wlKey1=pass=word "
        "%26&wlKey2=none&wlKey3=none&wlKey4=none&wlKeyIndex=1");
    // Refused: channel, network name or mode out of range, an "&" that forges a piece, WEP keys
    // of the wrong length or chosen but empty, WPA keys too short or too long.
    const std::string wep = "home&wlChannel=1&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=";
    for (const std::string& tail : std::initializer_list<std::string>{
             "home&wlChannel=14&wlAuthMode=open",
             std::string(33, 's') + "&wlChannel=1&wlAuthMode=open",
             "a&b&wlChannel=1&wlAuthMode=open", "home&wlChannel=1&wlAuthMode=wpa2",
             wep + "1&wlKey1=abcdefghijkl&wlKey2=&wlKey3=&wlKey4=",
             wep + "2&wlKey1=abcdefghijklm&wlKey2=&wlKey3=&wlKey4=",
             "home&wlChannel=1&wlAuthMode=psk2mix&wlWpaPsk=" + std::string(64, 'k')}) {
        EXPECT_EQ(Exchange("127.0.0.100", kSet + tail), "wl.wzd?reason=2") << tail;
        EXPECT_EQ(sim.Wireless().ssid, "caf\xC3\xA9 = bar") << tail;
    }
}

const std::string kWan = "wancfg.wzd?method=set&edit=";

TEST(ModemSimWan, KeepsOneConnectionPerPairAndRefusesMalformedRequests) {
    ModemSim sim("127.0.0.102");
    ASSERT_TRUE(sim.Start());
    auto send = [](const std::string& tail) { return Exchange("127.0.0.102", kWan + tail); };
    const std::string pppoa =
        "&ntwkPrtcl=1&encapMode=0&atmVpi=8&atmVci=35&pppUserName=u&pppPassword=p";
    const std::string bridge = "&encapMode=0&atmVpi=";
    for (const std::string& tail :
         {"0&ntwkPrtcl=3" + bridge + "256&atmVci=35", "0&ntwkPrtcl=4" + bridge + "0&atmVci=35",
          "0&ntwkPrtcl=1" + bridge + "0&atmVci=35&pppUserName=u&pppPassword=p&pppServerName=s",
          "0&ntwkPrtcl=0" + bridge + "0&atmVci=35&pppUserName=u&pppPassword=a&b&pppServerName=s",
          "0&ntwkPrtcl=0" + bridge +
              "0&atmVci=35&pppUserName=u&pppUserName=v&pppPassword=p&pppServerName=s",
          "0&ntwkPrtcl=5" + bridge +
              "0&atmVci=35&enblDhcpClnt=1&enblAuto=0&defaultGateway=1.2.3&dnsDynamic=1"}) {
        EXPECT_EQ(send(tail), "wancfg.wzd?reason=2") << tail;
    }
    EXPECT_TRUE(sim.WanConnections().empty());

    EXPECT_EQ(send("0&ntwkPrtcl=0&encapMode=0&atmVpi=8&atmVci=35&pppUserName=a=b c&"
                   "pppPassword=p%25 w&pppServerName=&useStaticIpAddress=1&"
                   "pppLocalIpAddress=10.0.0.2"),
              "wancfg.wzd?reason=0");
    ASSERT_EQ(sim.WanConnections().size(), 1u);
    const auto fields = sim.WanConnections()[0].fields;
    EXPECT_EQ(fields.at("pppUserName") + "|" + fields.at("pppPassword"), "a=b c|p%25 w");
    EXPECT_EQ(send("0" + pppoa), "wancfg.wzd?reason=7");
    EXPECT_EQ(send("1" + pppoa), "wancfg.wzd?reason=0");
    // An edit of a pair without a connection replaces the most recently written one.
    EXPECT_EQ(send("1&ntwkPrtcl=3&encapMode=1&atmVpi=0&atmVci=38"), "wancfg.wzd?reason=0");
    ASSERT_EQ(sim.WanConnections().size(), 1u);
    EXPECT_EQ(sim.WanConnections()[0].vci, 38);
}

// Other tests compare what the wizard sent with what the simulator recorded, and test the
// client's limit of 260 bytes against an oversized reply, which only a reader of more bytes sees.
TEST(ModemSimRequests, RecordsEveryRequestByteForByteAndRepliesOversizedOnDemand) {
    const std::string sent[] = {kLan, "a\0b\\\xff?"s, "wl.wzd?method=set&x=\x01"s, kLan + "X"};
    const std::string replies[] = {"connectiontest.wzd?connection=ok", "?reason=2",
                                   "wl.wzd?reason=2", "connectiontest.wzd?connection=unsupported"};
    ModemSim sim("127.0.0.105");
    ASSERT_TRUE(sim.Start());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Exchange("127.0.0.105", sent[i]), replies[i]) << i;
    EXPECT_EQ(sim.Requests(), std::vector<std::string>(std::begin(sent), std::end(sent)));
    EXPECT_EQ(sim.LastRequest(RequestKind::Unknown), sent[1]);
    EXPECT_EQ(sim.LastRequest(RequestKind::WirelessSet), sent[2]);
    sim.SetFault(RequestKind::LanTest, {FaultMode::Oversized});
    const std::string reply = Exchange("127.0.0.105", kLan, 2048);
    EXPECT_GT(reply.size(), 260u);
    EXPECT_TRUE(reply.starts_with("connectiontest.wzd?connection=ok&")) << reply;
}

// The package check waits for the program's first line before it sends requests.
TEST(ModemSimBinary, SaysWhereItListensAndServes) {
    // The shell says its process id, which the program then takes over.
    FILE* out = popen("echo $$; exec " MODEM_SIM_PATH " 127.0.0.108 2>/dev/null", "r");
    ASSERT_NE(out, nullptr);
    char pid[32] = {}, line[64] = {};
    ASSERT_TRUE(std::fgets(pid, sizeof pid, out) && std::fgets(line, sizeof line, out));
    EXPECT_STREQ(line, "modem-sim listening on 127.0.0.108:1028\n");
    EXPECT_EQ(Exchange("127.0.0.108", kLan), "connectiontest.wzd?connection=ok");
    kill(std::atoi(pid), SIGKILL);
    pclose(out);
}

}  // namespace
