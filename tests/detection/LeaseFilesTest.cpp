// The readers of the DHCP clients' lease and state files, fed files in the clients' own format,
// and the reading of dhclient command lines.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/DhclientAdapters.h"
#include "platform/LeaseFiles.h"
#include "platform/SystemInterfaces.h"

namespace {

using namespace std::string_view_literals;

std::string Fixture(const std::string& name) {
    std::optional<std::string> text = ReadTextFile(std::string(FIXTURE_DIR) + "/" + name);
    EXPECT_TRUE(text) << name;
    return text.value_or("");
}

TEST(DhclientLeases, TheLastLeaseOfTheInterfaceGivesTheServer) {
    const std::string leases = Fixture("dhclient.leases");
    const struct {
        const char* interface;
        const char* server;
    } cases[] = {
        {"eth0", "192.168.100.1"},  // two eth0 blocks: the later one wins
        {"wlan0", "10.20.0.254"},
        {"eth1", ""},  // its last lease names no server, the earlier one does not count
        {"eth9", ""},  // no lease at all
        {"", ""},      // any interface: the very last block, which has no server
        {"eth", ""},   // names are matched whole
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DhclientLeaseServer(leases, c.interface), c.server) << c.interface;
    }
}

TEST(DhclientLeases, OddButValidTextsAreRead) {
    const struct {
        const char* text;
        const char* server;
    } cases[] = {
        {"lease { interface \"eth0\"; option dhcp-server-identifier 10.0.0.1 }", "10.0.0.1"},
        {"lease {\ninterface \"eth0\";\n\toption dhcp-server-identifier\t10.0.0.2;\n}", "10.0.0.2"},
        {"lease { interface \"eth0\"; option dhcp-server-identifier 999.1.1.1; }", ""},
        {"lease { interface \"eth0\"; option dhcp-server-identifier-x 10.0.0.3; }", ""},
        // A lease cut off by a crash mid-write is not current.
        {"lease { interface \"eth0\"; option dhcp-server-identifier 10.0.0.4; }\n"
         "lease { interface \"eth0\"; option dhcp-server-identifier 10.0.0.5;",
         "10.0.0.4"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DhclientLeaseServer(c.text, "eth0"), c.server) << c.text;
}

TEST(NetworkdFiles, LeaseLinkStateAndNetworkFiles) {
    EXPECT_EQ(NetworkdLeaseServer(Fixture("networkd-lease")), "192.168.1.1");
    EXPECT_EQ(NetworkdLeaseServer("ADDRESS=10.0.0.9\nSERVER_ADDRESS=bogus\n"), "");
    EXPECT_EQ(NetworkdLeaseServer("ADDRESS=10.0.0.9\n"), "");
    // A NUL inside would cut the address short wherever it is used as a C string.
    EXPECT_EQ(NetworkdLeaseServer("SERVER_ADDRESS=10.0.0.1\0.9\n"sv), "");
    EXPECT_EQ(KeyValueOf(Fixture("networkd-link"), "NETWORK_FILE"),
              "/etc/systemd/network/20-wired.network");
    EXPECT_EQ(KeyValueOf(Fixture("networkd-link"), "NETWORK"), "");

    EXPECT_TRUE(NetworkFileWantsDhcp4(Fixture("wired-dhcp.network")));
    EXPECT_FALSE(NetworkFileWantsDhcp4(Fixture("wired-static.network")));
    EXPECT_FALSE(NetworkFileWantsDhcp4(Fixture("wired-v6only.network")));  // the later one wins
}

TEST(DhclientCommand, FilesAndInterfacesAreTakenFromTheCommandLine) {
    const struct {
        std::vector<std::string> argv;
        bool usable;
        std::vector<std::string> interfaces;
        std::string leaseFile;
        std::vector<std::string> release;
    } cases[] = {
        // ifupdown on Debian
        {{"/sbin/dhclient", "-4", "-v", "-i", "-pf", "/run/dhclient.eth0.pid", "-lf",
          "/var/lib/dhcp/dhclient.eth0.leases", "-I", "-df", "/var/lib/dhcp/dhclient6.eth0.leases",
          "eth0"},
         true,
         {"eth0"},
         "/var/lib/dhcp/dhclient.eth0.leases",
         {"dhclient", "-r", "-pf", "/run/dhclient.eth0.pid", "-lf",
          "/var/lib/dhcp/dhclient.eth0.leases", "eth0"}},
        // by hand, defaults, two interfaces
        {{"dhclient", "eth0", "eth1"},
         true,
         {"eth0", "eth1"},
         "/var/lib/dhcp/dhclient.leases",
         {"dhclient", "-r", "eth0", "eth1"}},
        {{"dhclient", "-nw", "-cf", "/tmp/c.conf", "-sf", "/tmp/script", "-e", "A=1", "-s",
          "10.0.0.1", "veth0"},
         true,
         {"veth0"},
         "/var/lib/dhcp/dhclient.leases",
         {"dhclient", "-r", "-cf", "/tmp/c.conf", "-sf", "/tmp/script", "-e", "A=1", "veth0"}},
        {{"dhclient", "-6", "eth0"}, false, {}, "", {}},    // a DHCPv6 client
        {{"dhclient", "-v"}, false, {}, "", {}},            // no interface named
        {{"dhclient", "-lf"}, false, {}, "", {}},           // a value missing
        {{"/usr/sbin/dhcpcd", "eth0"}, false, {}, "", {}},  // another client
    };
    for (const auto& c : cases) {
        std::optional<DhclientInstance> instance = ParseDhclientCommand(c.argv);
        ASSERT_EQ(instance.has_value(), c.usable) << c.argv.back();
        if (!instance) continue;
        EXPECT_EQ(instance->interfaces, c.interfaces);
        EXPECT_EQ(instance->leaseFile, c.leaseFile);
        EXPECT_EQ(DhclientReleaseCommand(*instance), c.release);
        std::vector<std::string> renew = c.release;
        renew[1] = "-1";
        EXPECT_EQ(DhclientRenewCommand(*instance), renew);
    }
}

}  // namespace
