// The NetworkManager client and EnableDHCP against a mock NetworkManager (python-dbusmock's
// template, with DHCPv4 configurations added by networkmanager_dhcp.py) on a private bus of the
// test's own: the system's bus is never used. Skipped where dbus-daemon or the mock is missing.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EnableDhcp.h"
#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkManagerAdapters.h"

namespace {

using namespace std::chrono_literals;

constexpr char kPython[] = "/usr/bin/python3";

pid_t Start(const std::vector<std::string>& command, const std::string& busAddress) {
    pid_t pid = fork();
    if (pid == 0) {
        if (!busAddress.empty()) setenv("DBUS_SYSTEM_BUS_ADDRESS", busAddress.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

class MockNetworkManager : public ::testing::Test {
protected:
    void SetUp() override {
        if (access("/usr/bin/dbus-daemon", X_OK) != 0) GTEST_SKIP() << "dbus-daemon is missing";
        if (std::system((std::string(kPython) + " -c 'import dbusmock' 2>/dev/null").c_str()) !=
            0) {
            GTEST_SKIP() << "python3-dbusmock is missing";
        }
        char pattern[] = "/tmp/nm-mock-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        address_ = "unix:path=" + folder_ + "/bus";
        daemon_ = Start({"/usr/bin/dbus-daemon", "--session", "--address=" + address_, "--nofork",
                         "--nopidfile"},
                        "");
    }

    void TearDown() override {
        for (pid_t pid : {mock_, daemon_}) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }
        if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
    }

    // Starts the mock with the template's parameters and connects to it.
    void Serve(const std::string& parameters) {
        for (int i = 0; i < 50 && !bus_; ++i) {
            bus_ = BusConnection::Open(address_);
            if (!bus_) std::this_thread::sleep_for(100ms);
        }
        ASSERT_TRUE(bus_) << "the private bus did not come up";
        mock_ = Start({kPython, "-m", "dbusmock", "--template", TEMPLATE_PATH, "-l",
                       folder_ + "/calls.log", "-p", parameters},
                      address_);
        for (int i = 0; i < 100 && !bus_->NameHasOwner(kNetworkManagerService); ++i) {
            std::this_thread::sleep_for(100ms);
        }
        ASSERT_TRUE(bus_->NameHasOwner(kNetworkManagerService)) << "the mock did not come up";
    }

    // The calls the mock received, one per line.
    std::string Calls() const {
        std::ifstream log(folder_ + "/calls.log");
        std::stringstream text;
        text << log.rdbuf();
        return text.str();
    }

    std::string ActiveConnectionOf(const std::string& device) {
        return bus_->PathProperty(kNetworkManagerService,
                                  "/org/freedesktop/NetworkManager/Devices/" + device,
                                  "org.freedesktop.NetworkManager.Device", "ActiveConnection");
    }

    std::string folder_;
    std::string address_;
    pid_t daemon_ = -1;
    pid_t mock_ = -1;
    std::unique_ptr<BusConnection> bus_;
};

constexpr char kFourDevices[] = R"({"devices": [
    {"name": "eth0", "method": "auto", "active": true, "server": "192.168.50.1"},
    {"name": "eth1", "method": "manual", "active": true, "server": null},
    {"name": "lo", "method": "auto", "active": true, "server": null},
    {"name": "eth2", "method": "auto", "active": true, "server": null},
    {"name": "eth3", "method": "auto", "active": false, "server": null}]})";

TEST_F(MockNetworkManager, ListsTheDevicesWithTheirDhcpServers) {
    // The server text becomes the modem's address: it is held to the lease files' check.
    Serve(R"({"devices": [
        {"name": "eth0", "method": "auto", "active": true, "server": "192.168.100.254"},
        {"name": "eth1", "method": "manual", "active": true, "server": null},
        {"name": "lo", "method": "auto", "active": true, "server": null},
        {"name": "eth2", "method": "auto", "active": true, "server": null},
        {"name": "eth3", "method": "auto", "active": false, "server": null},
        {"name": "eth4", "method": "auto", "active": true, "server": "10.0.0.1;reboot"},
        {"name": "eth5", "method": "auto", "active": true, "server": "192.168.100.2540"}]})");
    NetworkManagerAdapters adapters(std::move(bus_));
    std::vector<NetworkAdapter> list;
    ASSERT_TRUE(adapters.List(list));
    const struct {
        const char* name;
        bool dhcp;
        const char* server;
    } expected[] = {
        {"eth0", true, "192.168.100.254"},  {"eth1", false, "255.255.255.255"},  // fixed address
        {"eth2", true, "255.255.255.255"},   // DHCP without a lease yet
        {"eth3", false, "255.255.255.255"},  // no profile up
        {"eth4", true, "255.255.255.255"},   // no address
        {"eth5", true, "255.255.255.255"},
    };
    ASSERT_EQ(list.size(), std::size(expected));
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].name, expected[i].name);
        EXPECT_EQ(list[i].dhcpEnabled, expected[i].dhcp) << list[i].name;
        EXPECT_EQ(list[i].dhcpServer, expected[i].server) << list[i].name;
    }
}

TEST_F(MockNetworkManager, RenewalTakesEachDhcpConnectionDownAndUpAgain) {
    Serve(kFourDevices);
    const std::string eth0Before = ActiveConnectionOf("dev0");
    const std::string eth1Before = ActiveConnectionOf("dev1");
    auto connection = BusConnection::Open(address_);
    ASSERT_TRUE(connection);
    NetworkManagerAdapters adapters(std::move(connection), 2000);

    const std::vector<RenewOutcome> outcomes = adapters.RenewAll();
    ASSERT_EQ(outcomes.size(), 4u);
    const bool renewed[] = {true, false, true, false};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_EQ(outcomes[i].released, renewed[i]) << outcomes[i].name;
        EXPECT_EQ(outcomes[i].renewed, renewed[i]) << outcomes[i].name;
    }
    EXPECT_TRUE(AnyRenewed(outcomes));

    const std::string calls = Calls();
    EXPECT_NE(calls.find("DeactivateConnection \"" + eth0Before + "\""), std::string::npos)
        << calls;
    EXPECT_EQ(calls.find("DeactivateConnection \"" + eth1Before + "\""), std::string::npos)
        << calls;
    // eth0 and eth2 are brought up again on their own devices; eth1 was left alone.
    for (const char* device : {"dev0", "dev3"}) {
        EXPECT_NE(calls.find(std::string("/Devices/") + device + "\" \"/\""), std::string::npos)
            << device << "\n"
            << calls;
    }
    EXPECT_EQ(calls.find("/Devices/dev1\" \"/\""), std::string::npos) << calls;
    EXPECT_NE(ActiveConnectionOf("dev0"), "/");
    EXPECT_NE(ActiveConnectionOf("dev3"), "/");
    EXPECT_EQ(ActiveConnectionOf("dev1"), eth1Before);
}

TEST_F(MockNetworkManager, EnableDhcpSwitchesOnlyWiredProfilesAndKeepsTheirAddresses) {
    Serve(R"({"devices": [{"name": "eth0", "method": "auto", "active": true, "server": null}],
              "profiles": [{"id": "office", "type": "802-3-ethernet", "method": "manual"},
                           {"id": "cafe", "type": "802-11-wireless", "method": "manual"},
                           {"id": "bench", "type": "802-3-ethernet", "method": "link-local"}]})");
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    EXPECT_EQ(EnableDhcpOnWiredProfiles(bus_.get(), out), 2);
    std::fclose(out);
    const std::string report(text, size);
    std::free(text);

    EXPECT_NE(report.find("\"eth0\": already takes its address by DHCP"), std::string::npos)
        << report;
    EXPECT_NE(report.find("\"office\": ipv4.method manual -> auto"), std::string::npos) << report;
    EXPECT_NE(report.find("\"bench\": ipv4.method link-local -> auto"), std::string::npos)
        << report;
    EXPECT_EQ(report.find("cafe"), std::string::npos) << report;
    EXPECT_EQ(report.find("no wired connection profile"), std::string::npos) << report;

    std::map<std::string, std::string> method;
    for (const std::string& path : ProfilePaths(*bus_)) {
        auto settings = ProfileStrings(*bus_, path);
        method[settings["connection.id"]] = settings["ipv4.method"];
    }
    EXPECT_EQ(method["office"], "auto");
    EXPECT_EQ(method["bench"], "auto");
    EXPECT_EQ(method["cafe"], "manual");
    // The fixed address went back with the update: nothing was removed.
    const std::string calls = Calls();
    const std::size_t update = calls.find(" Update ");
    ASSERT_NE(update, std::string::npos) << calls;
    EXPECT_NE(calls.find("192.168.7.20", update), std::string::npos) << calls;
}

TEST_F(MockNetworkManager, EnableDhcpSaysSoWhenThereIsNoWiredProfile) {
    Serve(R"({"devices": [],
              "profiles": [{"id": "cafe", "type": "802-11-wireless", "method": "manual"}]})");
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    EXPECT_EQ(EnableDhcpOnWiredProfiles(bus_.get(), out), 0);
    std::fclose(out);
    const std::string report(text, size);
    std::free(text);
    EXPECT_EQ(report, "NetworkManager has no wired connection profile\n");
}

}  // namespace
