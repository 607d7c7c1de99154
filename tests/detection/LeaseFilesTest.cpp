// The readers of the DHCP clients' lease and state files, fed files in the clients' own format,
// the address check, the reading of dhclient command lines and the check of the files they name.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "detection/adapters/DhclientAdapters.h"
#include "detection/adapters/LeaseFiles.h"
#include "detection/adapters/SystemInterfaces.h"

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
        {"eth0", "192.168.100.254"},  // two eth0 blocks: the later one wins
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
        // The longest address there is, and one character more.
        {"lease { interface \"eth0\"; option dhcp-server-identifier 192.168.100.254; }",
         "192.168.100.254"},
        {"lease { interface \"eth0\"; option dhcp-server-identifier 192.168.100.2540; }", ""},
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
    EXPECT_EQ(NetworkdLeaseServer("SERVER_ADDRESS=192.168.100.254\n"), "192.168.100.254");
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

TEST(NetworkManagerOptions, TheServerIdentifierIsHeldToTheAddressCheck) {
    EXPECT_EQ(NetworkManagerLeaseServer({{"dhcp_server_identifier", "192.168.100.254"}}),
              "192.168.100.254");
    EXPECT_EQ(NetworkManagerLeaseServer({{"dhcp_server_identifier", "10.0.0.1;reboot"}}), "");
    EXPECT_EQ(NetworkManagerLeaseServer({{"routers", "10.0.0.1"}}), "");
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
        // its own script and environment are never passed on
        {{"dhclient", "-nw", "-cf", "/tmp/c.conf", "-sf", "/tmp/script", "-e", "A=1", "-s",
          "10.0.0.1", "veth0"},
         true,
         {"veth0"},
         "/var/lib/dhcp/dhclient.leases",
         {"dhclient", "-r", "-cf", "/tmp/c.conf", "veth0"}},
        {{"dhclient", "-6", "eth0"}, false, {}, "", {}},    // a DHCPv6 client
        {{"dhclient", "-v"}, false, {}, "", {}},            // no interface named
        {{"dhclient", "-lf"}, false, {}, "", {}},           // a value missing
        {{"dhclient", "eth0", "-sf"}, false, {}, "", {}},   // a value missing
        {{"/usr/sbin/dhcpcd", "eth0"}, false, {}, "", {}},  // another client
    };
    for (const auto& c : cases) {
        std::optional<DhclientInstance> instance = ParseDhclientCommand(c.argv);
        ASSERT_FALSE(c.argv.empty());
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

TEST(DottedIpv4, OnlyFourDecimalPartsOfAtMostFifteenCharacters) {
    using namespace std::string_view_literals;
    const struct {
        std::string_view text;
        bool dotted;
    } cases[] = {
        {"10.0.0.1", true},
        {"192.168.100.254", true},
        {"0.0.0.0", true},
        {"192.168.100.2540", false},
        {"256.1.1.1", false},
        {"10.0.0", false},
        {"10.0.0.1 ", false},
        {"", false},
        {"::1", false},
        {"10.0.0.1\0junk"sv, false},  // inet_pton alone would stop at the NUL
        {"10.0.0.1\0"sv, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDottedIpv4(c.text), c.dotted) << c.text;
}

// The files a dhclient instance names are used only when no one but root can change them.
TEST(RootOnlyFiles, EveryFileAndFolderOnTheWayMustBeRootsAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to lay out files of root and of others";
    char pattern[] = "/tmp/root-only-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    const std::string top = pattern;
    constexpr uid_t kOther = 65534;
    auto file = [](const std::string& path, mode_t mode, uid_t owner = 0) {
        std::ofstream(path) << "x";
        chmod(path.c_str(), mode);
        EXPECT_EQ(chown(path.c_str(), owner, 0), 0);
    };
    auto folder = [](const std::string& path, mode_t mode, uid_t owner = 0) {
        mkdir(path.c_str(), 0700);
        chmod(path.c_str(), mode);
        EXPECT_EQ(chown(path.c_str(), owner, 0), 0);
    };
    file(top + "/leases", 0644);
    file(top + "/group-writable", 0664);
    file(top + "/others", 0644, kOther);
    EXPECT_EQ(symlink((top + "/leases").c_str(), (top + "/link").c_str()), 0);
    EXPECT_EQ(symlink((top + "/nowhere").c_str(), (top + "/dangling").c_str()), 0);
    folder(top + "/sticky", 01777);
    file(top + "/sticky/leases", 0644);
    folder(top + "/open", 0777);
    file(top + "/open/leases", 0644);
    folder(top + "/theirs", 0755, kOther);
    file(top + "/theirs/leases", 0644);

    const struct {
        std::string path;
        const char* resolved;  // nullptr: refused
        const char* why;
    } cases[] = {
        {top + "/leases", "/leases", ""},
        {top + "/link", "/leases", ""},      // used by the path it resolves to
        {top + "/missing", "/missing", ""},  // made by root's dhclient in a folder of root's
        {top + "/sticky/leases", "/sticky/leases", ""},
        {top + "/group-writable", nullptr, "writable by group or others"},
        {top + "/others", nullptr, "owned by user 65534"},
        {top + "/dangling", nullptr, "a link to nowhere"},
        {top + "/sticky/missing", nullptr, "is writable by group or others"},  // anyone's name
        {top + "/open/leases", nullptr, "is writable by group or others"},
        {top + "/theirs/leases", nullptr, "is owned by user 65534"},
        {top + "/sticky", nullptr, "not a regular file"},
        {"leases", nullptr, "not an absolute path"},
    };
    for (const auto& c : cases) {
        std::string why;
        const std::optional<std::string> resolved = RootOnlyFile(c.path, &why);
        EXPECT_EQ(resolved.has_value(), c.resolved != nullptr) << c.path << ": " << why;
        if (c.resolved) {
            EXPECT_EQ(resolved.value_or(""), top + c.resolved) << c.path;
        } else {
            EXPECT_NE(why.find(c.why), std::string::npos) << c.path << ": " << why;
        }
    }
    std::system(("rm -rf '" + top + "'").c_str());
}

}  // namespace
