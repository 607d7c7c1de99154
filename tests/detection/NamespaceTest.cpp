// The whole detection as support staff run it, "modemctl detect", on a PC that takes its
// address from a real DHCP server. Everything happens in network namespaces made by each test
// and removed after it, also when it fails: a "modem" namespace with dnsmasq as DHCP server and
// modem-sim on the modem's address, a "pc" namespace joined to it by a veth pair and running
// dhclient with its own lease, pid, configuration and script files in a temporary folder.
// Needs root, "ip netns", dnsmasq and dhclient; skipped with the reason where one is missing.
//
// The detection releases and renews with the system's dhclient script, never with the one an
// instance was started with, so the renewals here run Debian's: it sets the address and routes
// inside the pc namespace, and touches resolv.conf or the host name only when the DHCP server
// hands those out, which this dnsmasq (no DNS, no host names) does not.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The dhclient script: only sets and clears the address, so no file outside the test's folder
// (resolv.conf, above all) is ever touched.
constexpr char kDhclientScript[] = R"(#!/bin/sh
case "$reason" in
  PREINIT) ip link set dev "$interface" up ;;
  BOUND|RENEW|REBIND|REBOOT)
    ip -4 addr flush dev "$interface"
    ip -4 addr add "$new_ip_address/$new_subnet_mask" dev "$interface" ;;
  EXPIRE|FAIL|RELEASE|STOP) ip -4 addr flush dev "$interface" ;;
esac
exit 0
)";
constexpr char kDhclientConf[] = "timeout 5;\ninitial-interval 1;\n";

int Shell(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

bool Installed(const char* program) {
    return Shell(std::string("command -v ") + program + " >/dev/null 2>&1 || test -x /usr/sbin/" +
                 program) == 0;
}

// Why these tests cannot run here, or an empty text.
std::string MissingPrerequisite() {
    if (geteuid() != 0) return "needs root to create network namespaces";
    for (const char* program : {"ip", "dnsmasq", "dhclient"}) {
        if (!Installed(program)) return std::string(program) + " is not installed";
    }
    const std::string probe = "sptprobe" + std::to_string(getpid());
    if (Shell("ip netns add " + probe + " >/dev/null 2>&1") != 0) {
        return "ip netns is not available";
    }
    Shell("ip netns del " + probe);
    return {};
}

class Namespaces : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string missing = MissingPrerequisite(); !missing.empty()) GTEST_SKIP() << missing;
        static int counter = 0;
        prefix_ = "spt" + std::to_string(getpid()) + "x" + std::to_string(++counter);
        char pattern[] = "/tmp/detect-netns-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        Write("dhclient-script", kDhclientScript, 0755);
        Write("dhclient.conf", kDhclientConf, 0644);
        // The helper the detection starts from the current directory: leaves a mark.
        Write("EnableDHCP", "#!/bin/sh\necho test helper ran\ntouch \"$PWD/helper-ran\"\n", 0755);
        AddNamespace("pc");
    }

    void TearDown() override {
        // Every process of a namespace (dnsmasq, modem-sim, dhclient, pings) ends with it.
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill 2>/dev/null");
        }
        if (!namespaces_.empty()) std::this_thread::sleep_for(200ms);
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill -9 2>/dev/null");
            Shell("ip netns del " + ns + " 2>/dev/null");
        }
        for (pid_t pid : children_) waitpid(pid, nullptr, 0);
        if (!folder_.empty()) Shell("rm -rf '" + folder_ + "'");
    }

    std::string Ns(const std::string& role) const { return prefix_ + role; }

    void Write(const std::string& name, const std::string& text, mode_t mode) {
        std::ofstream(folder_ + "/" + name) << text;
        chmod((folder_ + "/" + name).c_str(), mode);
    }

    void AddNamespace(const std::string& role) {
        ASSERT_EQ(Shell("ip netns add " + Ns(role)), 0);
        namespaces_.push_back(Ns(role));
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " link set lo up"), 0);
    }

    // A wire from the pc's interface pcSide to lanSide in the other namespace, which has
    // address (with prefix) there. Both ends are made inside the namespaces, never on the host.
    void Wire(const std::string& pcSide, const std::string& role, const std::string& lanSide,
              const std::string& address) {
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link add " + pcSide + " type veth peer name " +
                        lanSide + " netns " + Ns(role)),
                  0);
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " addr add " + address + " dev " + lanSide), 0);
        ASSERT_EQ(Shell("ip -n " + Ns(role) + " link set " + lanSide + " up"), 0);
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link set " + pcSide + " up"), 0);
    }

    void Start(const std::vector<std::string>& command) {
        pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> argv;
            for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        children_.push_back(pid);
    }

    // dnsmasq handing out addresses subnet.100-150 on lanSide, nothing else (no DNS).
    void DhcpServer(const std::string& role, const std::string& lanSide,
                    const std::string& subnet) {
        const std::string log = folder_ + "/dnsmasq-" + role;
        Start({"ip", "netns", "exec", Ns(role), "dnsmasq", "--keep-in-foreground",
               "--conf-file=/dev/null", "--port=0", "--no-resolv", "--no-hosts",
               "--bind-interfaces", "--interface=" + lanSide, "--except-interface=lo",
               "--dhcp-range=" + subnet + ".100," + subnet + ".150,255.255.255.0,10m",
               "--dhcp-leasefile=" + log + ".leases", "--pid-file=" + log + ".pid", "--user=root",
               "--group=root", "--log-facility=" + log + ".log"});
    }

    void Modem(const std::string& role, const std::string& address) {
        Start({"ip", "netns", "exec", Ns(role), "env", "MODEM_SIM_ALLOW_ANY_ADDRESS=1",
               MODEM_SIM_PATH, "--log", folder_ + "/modem-sim.log", address});
        // Ready once the port listens.
        for (int i = 0; i < 50; ++i) {
            if (!Capture("ip netns exec " + Ns(role) + " ss -Hltn 'sport = :1028'").empty()) {
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "modem-sim did not come up on " << address;
    }

    // The PC's own DHCP client on an interface, running in the background as a system's would.
    void DhcpClient(const std::string& interface) {
        const std::string f = folder_ + "/dhclient-" + interface;
        ASSERT_EQ(Shell("ip netns exec " + Ns("pc") + " dhclient -nw -lf " + f + ".leases -pf " +
                        f + ".pid -cf " + folder_ + "/dhclient.conf -sf " + folder_ +
                        "/dhclient-script " + interface + " >/dev/null 2>&1"),
                  0);
    }

    // modemctl detect in the pc namespace, started from the folder that holds the helper. The
    // system bus is pointed nowhere, so no NetworkManager of the host can be reached from here.
    std::string Detect() {
        return Capture("cd '" + folder_ + "' && ip netns exec " + Ns("pc") +
                       " env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent " MODEMCTL_PATH
                       " detect 2>&1");
    }

    bool HelperRan() const { return access((folder_ + "/helper-ran").c_str(), F_OK) == 0; }

    // A process in the pc namespace that calls itself dhclient, claims interface with its own
    // script, lease, pid and configuration files in folder, and is in fact a shell waiting (its "-s
    // --" reads as dhclient's -s option); run as user. Its script, if ever run, notes who ran it in
    // folder/script-ran.
    void FakeDhclient(const std::string& user, const std::string& folder,
                      const std::string& interface, const std::string& server) {
        Write(folder + "/script",
              "#!/bin/sh\nid -u >>'" + folder_ + "/" + folder + "/script-ran'\n", 0755);
        Write(folder + "/leases",
              "lease {\n  interface \"" + interface + "\";\n  fixed-address 10.66.0.50;\n" +
                  "  option subnet-mask 255.255.255.0;\n  option dhcp-server-identifier " + server +
                  ";\n  renew 4 2099/12/03 10:00:00;\n  rebind 4 2099/12/03 " +
                  "10:30:00;\n  expire 4 2099/12/03 11:00:00;\n}\n",
              0644);
        Write(folder + "/conf", "timeout 2;\ninitial-interval 1;\n", 0644);
        const std::string f = folder_ + "/" + folder;
        Shell("chown -R " + user + " '" + f + "'");
        Start({"ip", "netns", "exec", Ns("pc"), "setpriv", "--reuid=" + user, "--regid=" + user,
               "--clear-groups", "bash", "-c",
               "exec -a dhclient bash -s -- -sf " + f + "/script -lf " + f + "/leases -pf " + f +
                   "/pid -cf " + f + "/conf " + interface + " <<<'sleep 600; exit'"});
        for (int i = 0; i < 50; ++i) {
            if (Shell("pgrep -f '^dhclient -s -- -sf " + f + "/' >/dev/null") == 0) {
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "the fake dhclient in " << folder << " did not come up";
    }

    std::string prefix_;
    std::string folder_;
    std::vector<std::string> namespaces_;
    std::vector<pid_t> children_;
};

// Position of a line in the output, or npos.
std::size_t LineAt(const std::string& out, const std::string& line) {
    return ("\n" + out).find("\n" + line + "\n");
}

TEST_F(Namespaces, FindsTheModemThatIsTheDhcpServer) {
    AddNamespace("modem");
    Wire("eth0", "modem", "lan0", "10.251.0.1/24");
    DhcpServer("modem", "lan0", "10.251.0");
    Modem("modem", "10.251.0.1");
    DhcpClient("eth0");

    const std::string out = Detect();
    EXPECT_NE(LineAt(out, "adapters: dhclient"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "test helper ran"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "candidate 10.251.0.1 passed"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
    EXPECT_TRUE(HelperRan());
    // The PC took its address from the modem's DHCP server.
    EXPECT_NE(Capture("ip -n " + Ns("pc") + " -4 addr show eth0").find("inet 10.251.0.1"),
              std::string::npos);
}

TEST_F(Namespaces, TriesTheFirstAdapterFirstAndFindsTheModemOnTheSecond) {
    AddNamespace("other");
    AddNamespace("modem");
    Wire("eth0", "other", "lan0", "10.252.0.1/24");
    Wire("eth1", "modem", "lan0", "10.251.0.1/24");
    DhcpServer("other", "lan0", "10.252.0");
    DhcpServer("modem", "lan0", "10.251.0");
    Modem("modem", "10.251.0.1");
    DhcpClient("eth0");
    DhcpClient("eth1");

    const std::string out = Detect();
    const std::size_t first = LineAt(out, "candidate 10.252.0.1 refused");
    const std::size_t second = LineAt(out, "candidate 10.251.0.1 passed");
    ASSERT_NE(first, std::string::npos) << out;
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_LT(first, second) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
}

TEST_F(Namespaces, ADhcpServerThatIsNoModemIsSkipped) {
    AddNamespace("other");
    Wire("eth0", "other", "lan0", "10.252.0.1/24");
    DhcpServer("other", "lan0", "10.252.0");
    DhcpClient("eth0");

    const std::string out = Detect();
    EXPECT_NE(LineAt(out, "candidate 10.252.0.1 refused"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "result=1"), std::string::npos) << out;
    EXPECT_EQ(out.find("modem="), std::string::npos) << out;
}

TEST_F(Namespaces, NoDhcpServerMeansNoModem) {
    AddNamespace("modem");
    Wire("eth0", "modem", "lan0", "10.251.0.1/24");
    Modem("modem", "10.251.0.1");  // a modem whose DHCP server is off is not found
    DhcpClient("eth0");

    const std::string out = Detect();
    EXPECT_NE(LineAt(out, "result=1"), std::string::npos) << out;
    EXPECT_EQ(out.find("candidate"), std::string::npos) << out;
    EXPECT_TRUE(HelperRan());
}

// Any user may start a process named dhclient whose options name their own script and lease
// file. The detection runs as root: it must neither run that script nor take a candidate from
// that lease file (the address that would receive the PPP password), and it says what it left
// out. Before this was mended, both scripts ran as root and 10.66.0.2 became a candidate.
TEST_F(Namespaces, ADhclientOfAnotherUserOrProgramIsNeitherRunNorBelieved) {
    // The fakes claim the first wire, on which no DHCP server answers, so that a renewal would
    // leave their leases, and the "modem" addresses they name, in place, to be tried first.
    AddNamespace("void");
    AddNamespace("modem");
    Wire("eth0", "void", "lan0", "10.66.0.254/24");
    Wire("eth1", "modem", "lan0", "10.251.0.1/24");
    DhcpServer("modem", "lan0", "10.251.0");
    Modem("modem", "10.251.0.1");
    DhcpClient("eth1");
    Shell("mkdir '" + folder_ + "/user' '" + folder_ + "/program'");
    chmod(folder_.c_str(), 0755);
    FakeDhclient("65534", "user", "eth0", "10.66.0.1");
    FakeDhclient("0", "program", "eth0", "10.66.0.2");

    const std::string out = Detect();
    EXPECT_NE(out.find(" left out: it does not run as root (user 65534)\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find(" left out: its program "), std::string::npos) << out;
    EXPECT_NE(out.find("bash is not "), std::string::npos) << out;
    // The real instance is renewed, with the system's script instead of its own.
    EXPECT_NE(out.find(": -sf " + folder_ + "/dhclient-script not passed on"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("10.66.0."), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "candidate 10.251.0.1 passed"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
    for (const char* fake : {"user", "program"}) {
        EXPECT_NE(access((folder_ + "/" + fake + "/script-ran").c_str(), F_OK), 0)
            << "the script of the fake dhclient in " << fake << " ran";
    }
}

}  // namespace
