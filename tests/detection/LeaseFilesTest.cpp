// The readers of the DHCP clients' lease and state files, fed files in the clients' own format,
// the address check, the reading of dhclient command lines and the check of the files they name.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

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
    const std::string file = Fixture("dhclient.leases");
    const std::string eth0 = "lease { interface \"eth0\"; option dhcp-server-identifier";
    const struct {
        std::string text;
        const char* interface;
        const char* server;
    } cases[] = {
        {file, "eth0", "192.168.100.254"},  // two eth0 blocks: the later one wins
        {file, "wlan0", "10.20.0.254"},
        {file, "eth1", ""},  // its last lease names no server, the earlier one does not count
        {file, "wlan", ""},  // names are matched whole
        {eth0 + " 10.0.0.1 }", "eth0", "10.0.0.1"},
        {"lease {\ninterface \"eth0\";\n\toption dhcp-server-identifier\t10.0.0.2;\n}", "eth0",
         "10.0.0.2"},
        {eth0 + " 999.1.1.1; }", "eth0", ""},
        {"lease { interface \"eth0\"; option dhcp-server-identifier-x 10.0.0.3; }", "eth0", ""},
        // A lease cut off by a crash mid-write is not current.
        {eth0 + " 10.0.0.4; }\n" + eth0 + " 10.0.0.5;", "eth0", "10.0.0.4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DhclientLeaseServer(c.text, c.interface), c.server) << c.interface << c.text;
    }
}

// The server named by a lease of networkd or NetworkManager is held to the address check.
TEST(OtherClients, LeasesLinkStateAndNetworkFiles) {
    EXPECT_EQ(NetworkdLeaseServer(Fixture("networkd-lease")), "192.168.1.1");
    EXPECT_EQ(NetworkdLeaseServer("ADDRESS=10.0.0.9\nSERVER_ADDRESS=bogus\n"), "");
    // A NUL inside would cut the address short wherever it is used as a C string.
    EXPECT_EQ(NetworkdLeaseServer("SERVER_ADDRESS=10.0.0.1\0.9\n"sv), "");
    EXPECT_EQ(KeyValueOf(Fixture("networkd-link"), "NETWORK_FILE"),
              "/etc/systemd/network/20-wired.network");
    EXPECT_EQ(KeyValueOf(Fixture("networkd-link"), "NETWORK"), "");

    EXPECT_TRUE(NetworkFileWantsDhcp4(Fixture("wired-dhcp.network")));
    EXPECT_FALSE(NetworkFileWantsDhcp4(Fixture("wired-static.network")));
    EXPECT_FALSE(NetworkFileWantsDhcp4(Fixture("wired-v6only.network")));  // the later one wins

    EXPECT_EQ(NetworkManagerLeaseServer({{"dhcp_server_identifier", "192.168.100.254"}}),
              "192.168.100.254");
    EXPECT_EQ(NetworkManagerLeaseServer({{"dhcp_server_identifier", "10.0.0.1;reboot"}}), "");
    EXPECT_EQ(NetworkManagerLeaseServer({{"routers", "10.0.0.1"}}), "");
}

// "INTERFACES; LEASE FILE; RELEASE COMMAND" of a usable command line; the renewal is the release
// with -1 for -r.
std::string Instance(const std::vector<std::string>& argv) {
    std::optional<DhclientInstance> instance = ParseDhclientCommand(argv);
    if (!instance) return "unusable";
    std::vector<std::string> renew = DhclientRenewCommand(*instance);
    std::string out;
    for (const std::string& word : instance->interfaces) out += word + " ";
    out += "; " + instance->leaseFile + ";";
    for (const std::string& word : DhclientReleaseCommand(*instance)) out += " " + word;
    EXPECT_EQ(renew.at(1), "-1");
    renew[1] = "-r";
    EXPECT_EQ(renew, DhclientReleaseCommand(*instance));
    return out;
}

TEST(DhclientCommand, FilesAndInterfacesAreTakenFromTheCommandLine) {
    const struct {
        std::vector<std::string> argv;
        const char* instance;
    } cases[] = {
        // ifupdown on Debian
        {{"/sbin/dhclient", "-4", "-v", "-i", "-pf", "/run/dhclient.eth0.pid", "-lf",
          "/var/lib/dhcp/dhclient.eth0.leases", "-I", "-df", "/var/lib/dhcp/dhclient6.eth0.leases",
          "eth0"},
         "eth0 ; /var/lib/dhcp/dhclient.eth0.leases; dhclient -r -pf /run/dhclient.eth0.pid -lf "
         "/var/lib/dhcp/dhclient.eth0.leases eth0"},
        // by hand, defaults, two interfaces
        {{"dhclient", "eth0", "eth1"},
         "eth0 eth1 ; /var/lib/dhcp/dhclient.leases; dhclient -r eth0 eth1"},
        // its own script and environment are never passed on
        {{"dhclient", "-nw", "-cf", "/tmp/c.conf", "-sf", "/tmp/script", "-e", "A=1", "-s",
          "10.0.0.1", "veth0"},
         "veth0 ; /var/lib/dhcp/dhclient.leases; dhclient -r -cf /tmp/c.conf veth0"},
        {{"dhclient", "-6", "eth0"}, "unusable"},    // a DHCPv6 client
        {{"dhclient", "-v"}, "unusable"},            // no interface named
        {{"dhclient", "eth0", "-sf"}, "unusable"},   // a value missing
        {{"/usr/sbin/dhcpcd", "eth0"}, "unusable"},  // another client
    };
    for (const auto& c : cases) EXPECT_EQ(Instance(c.argv), c.instance) << c.argv.back();
}

TEST(DottedIpv4, OnlyFourDecimalPartsOfAtMostFifteenCharacters) {
    for (std::string_view text : {"10.0.0.1"sv, "192.168.100.254"sv, "0.0.0.0"sv})
        EXPECT_TRUE(IsDottedIpv4(text)) << text;
    // inet_pton alone would stop at a NUL.
    for (std::string_view text : {"192.168.100.2540"sv, "256.1.1.1"sv, "10.0.0"sv, "10.0.0.1 "sv,
                                  ""sv, "::1"sv, "10.0.0.1\0junk"sv, "10.0.0.1\0"sv}) {
        EXPECT_FALSE(IsDottedIpv4(text)) << text;
    }
}

// The files a dhclient instance names are used only when no one but root can change them.
TEST(RootOnlyFiles, EveryFileAndFolderOnTheWayMustBeRootsAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to lay out files of root and of others";
    char pattern[] = "/tmp/root-only-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    const std::string top = pattern;
    // Files and folders of root's and of user 65534, in modes that root alone may or may not
    // change (the umask makes the rest 0644 and 0755).
    ASSERT_EQ(
        std::system(("cd '" + top +
                     "' && umask 022 && mkdir -m 1777 sticky && mkdir -m 777 open && mkdir "
                     "theirs && touch leases group-writable others sticky/leases open/leases "
                     "theirs/leases && chmod 664 group-writable && chown 65534 others theirs && "
                     "ln -s \"$PWD/leases\" link && ln -s \"$PWD/nowhere\" dangling")
                        .c_str()),
        0);

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
        EXPECT_EQ(resolved.value_or(""), c.resolved ? top + c.resolved : "")
            << c.path << ": " << why;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.path << ": " << why;
    }
    std::system(("rm -rf '" + top + "'").c_str());
}

}  // namespace
