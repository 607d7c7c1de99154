#pragma once

// Network namespaces for the detection tests: each test makes a "pc" namespace and the
// namespaces of the networks it is wired to, and removes them after it, also when it fails,
// with every process they hold. Needs root and "ip netns"; skipped with the reason elsewhere.
// BusNamespaces adds a private system bus, and polkitd on it where a test asks.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "detection/adapters/BusConnection.h"

// Expects the output to hold line as a whole line, and shows the output when it does not.
#define EXPECT_LINE(out, line) EXPECT_NE(netns::LineAt(out, line), std::string::npos) << (out)
// The same for text anywhere in the output, or nowhere in it.
#define EXPECT_HAS(out, text) EXPECT_NE((out).find(text), std::string::npos) << (out)
#define EXPECT_LACKS(out, text) EXPECT_EQ((out).find(text), std::string::npos) << (out)
// Expects both lines in the output, the first one before the second.
#define EXPECT_LINES_IN_ORDER(out, first, second)                         \
    EXPECT_TRUE(netns::LineAt(out, first) < netns::LineAt(out, second) && \
                netns::LineAt(out, second) != std::string::npos)          \
        << (out)

namespace netns {

using namespace std::chrono_literals;

// modemctl's last lines when it found the modem of ModemNetwork.
inline const std::string kFound = "modem=10.251.0.1\nresult=0";

inline int Shell(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool Installed(const char* program) {
    return Shell(std::string("command -v ") + program + " >/dev/null 2>&1 || test -x /usr/sbin/" +
                 program) == 0;
}

// Why namespace tests that need these programs cannot run here, or an empty text.
inline std::string MissingPrerequisite(const std::vector<const char*>& programs) {
    if (geteuid() != 0) return "needs root to create network namespaces";
    for (const char* program : programs) {
        if (!Installed(program)) return std::string(program) + " is not installed";
    }
    const std::string probe = "sptprobe" + std::to_string(getpid());
    if (Shell("ip netns add " + probe + " >/dev/null 2>&1") != 0) {
        return "ip netns is not available";
    }
    Shell("ip netns del " + probe);
    return {};
}

// Position of a line in the output, or npos.
inline std::size_t LineAt(const std::string& out, const std::string& line) {
    return ("\n" + out).find("\n" + line + "\n");
}

// What a test must leave as it found it in the namespace the test program runs in.
inline std::string HostState() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return "hostname " + std::string(name) + "\nresolv.conf\n" + ReadFile("/etc/resolv.conf") +
           "routes\n" + Capture("ip route show table all 2>&1") + "links\n" +
           Capture("ip -o link show 2>&1");
}

class Namespaces : public ::testing::Test {
protected:
    // The programs the tests of a fixture need besides ip.
    virtual std::vector<const char*> Programs() const { return {"ip", "dnsmasq", "dhclient"}; }

    void SetUp() override {
        if (std::string missing = MissingPrerequisite(Programs()); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        host_ = HostState();
        static int counter = 0;
        prefix_ = "spt" + std::to_string(getpid()) + "x" + std::to_string(++counter);
        char pattern[] = "/tmp/detect-netns-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        // Daemons that drop root and the test's ordinary user reach their files here.
        chmod(folder_.c_str(), 0755);
        AddNamespace("pc");
    }

    void TearDown() override {
        // Every process of a namespace (dnsmasq, modem-sim, DHCP clients, NetworkManager,
        // pings) ends with it.
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill 2>/dev/null");
        }
        if (!namespaces_.empty()) std::this_thread::sleep_for(200ms);
        for (const std::string& ns : namespaces_) {
            Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill -9 2>/dev/null");
            Shell("ip netns del " + ns + " 2>/dev/null");
        }
        // Then the daemons outside the network namespaces (the private buses).
        for (pid_t pid : children_) kill(pid, SIGTERM);
        for (pid_t pid : children_) waitpid(pid, nullptr, 0);
        if (!folder_.empty()) {
            Shell("rm -rf '" + folder_ + "'");
            EXPECT_EQ(HostState(), host_) << "the test changed the host's network or names";
        }
    }

    std::string Ns(const std::string& role) const { return prefix_ + role; }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    void Write(const std::string& name, const std::string& text, mode_t mode) {
        std::ofstream(Path(name)) << text;
        chmod(Path(name).c_str(), mode);
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

    // Starts a program in the background.
    pid_t Exec(const std::vector<std::string>& command, const std::string& output = "") {
        pid_t pid = fork();
        if (pid == 0) {
            if (!output.empty()) {
                freopen(output.c_str(), "w", stdout);
                freopen(output.c_str(), "a", stderr);
            }
            std::vector<char*> argv;
            for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        EXPECT_GT(pid, 0);
        if (pid > 0) children_.push_back(pid);
        return pid;
    }

    // A shell command in the background; its process becomes the command's.
    pid_t Start(const std::string& command, const std::string& output = "") {
        return Exec({"sh", "-c", "exec " + command}, output);
    }

    // A shell script in the pc's network namespace and in mount and UTS namespaces of its own.
    pid_t StartInPc(const std::string& script, const std::string& output = "") {
        return Exec({"ip", "netns", "exec", Ns("pc"), "unshare", "--mount", "--uts",
                     "--propagation", "private", "sh", "-c", script},
                    output);
    }

    // dnsmasq handing out addresses subnet.100-150 on lanSide and naming subnet.1 as DNS server,
    // which the system's DHCP script writes to resolv.conf; it answers no DNS itself.
    void DhcpServer(const std::string& role, const std::string& lanSide,
                    const std::string& subnet) {
        const std::string log = Path("dnsmasq-" + role);
        Start("ip netns exec " + Ns(role) +
              " dnsmasq --keep-in-foreground --conf-file=/dev/null --port=0 --no-resolv --no-hosts "
              "--bind-interfaces --interface=" +
              lanSide + " --except-interface=lo --dhcp-range=" + subnet + ".100," + subnet +
              ".150,255.255.255.0,10m --dhcp-option=option:dns-server," + subnet +
              ".1 --dhcp-leasefile=" + log + ".leases --pid-file=" + log +
              ".pid --user=root --group=root --log-facility=" + log + ".log");
    }

    void Modem(const std::string& role, const std::string& address) {
        Start("ip netns exec " + Ns(role) +
              " env MODEM_SIM_ALLOW_ANY_ADDRESS=1 " MODEM_SIM_PATH " --log " +
              Path("modem-sim.log") + " " + address);
        // Ready once the port listens.
        for (int i = 0; i < 50; ++i) {
            if (!Capture("ip netns exec " + Ns(role) + " ss -Hltn 'sport = :1028'").empty()) {
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "modem-sim did not come up on " << address;
    }

    // Gives the pc a mount and UTS namespace of its own, held by a sleeping process: a private
    // resolv.conf over the system's, /run and /var/lib/dhcp on tmpfs, so that a DHCP client
    // started there, and the system's DHCP script it runs, touch nothing of the host's. more:
    // shell commands run there first, each ending with " && ".
    void PrivatePc(const std::string& more = "") {
        Write("resolv.conf", "nameserver 192.0.2.53\n", 0644);
        holder_ = StartInPc("mount --bind '" + Path("resolv.conf") +
                            "' /etc/resolv.conf && mount -t tmpfs -o mode=0755 tmpfs /run && mount "
                            "-t tmpfs -o mode=0755 "
                            "tmpfs /var/lib/dhcp && " +
                            more + "touch '" + Path("ready") + "' && exec sleep 600");
        for (int i = 0; i < 50 && access(Path("ready").c_str(), F_OK) != 0; ++i) {
            std::this_thread::sleep_for(100ms);
        }
        ASSERT_EQ(access(Path("ready").c_str(), F_OK), 0) << "the pc's mount namespace is missing";
    }

    // The modem's network on the pc's interface pcSide: dnsmasq and modem-sim on 10.251.0.1.
    void ModemNetwork(const std::string& pcSide, bool dhcp = true) {
        AddNamespace("modem");
        Wire(pcSide, "modem", "lan0", "10.251.0.1/24");
        if (dhcp) DhcpServer("modem", "lan0", "10.251.0");
        Modem("modem", "10.251.0.1");
    }

    // Another network on pcSide, 10.252.0.1 and no modem, with or without a DHCP server.
    void OtherNetwork(const std::string& pcSide, bool dhcp = true) {
        AddNamespace("other");
        Wire(pcSide, "other", "lan0", "10.252.0.1/24");
        if (dhcp) DhcpServer("other", "lan0", "10.252.0");
    }

    // Waits until the interface of the pc holds an IPv4 address that contains text.
    void WaitForAddress(const std::string& interface, const std::string& text) {
        const std::string command =
            "ip -n " + Ns("pc") + " -4 -o addr show dev " + interface + " 2>/dev/null";
        for (int i = 0; i < 150 && Capture(command).find(text) == std::string::npos; ++i) {
            std::this_thread::sleep_for(100ms);
        }
        ASSERT_NE(Capture(command).find(text), std::string::npos)
            << interface << " took no address with " << text;
    }

    // A command in the pc's network namespace (and in the mount and UTS namespaces of holder_
    // when set), from the test's folder, with bus_ as system bus: as root, or as the ordinary
    // user "nobody".
    std::string InPc(const std::string& command, bool asUser = false) {
        const std::string enter = holder_ > 0 ? "nsenter -t " + std::to_string(holder_) +
                                                    " -m -u -n --wd='" + folder_ + "'"
                                              : "cd '" + folder_ + "' && ip netns exec " + Ns("pc");
        return Capture(enter + " env DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " timeout 120 " +
                       (asUser ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "") +
                       command + " 2>&1");
    }

    std::string Detect(bool asUser = false) { return InPc(MODEMCTL_PATH " detect", asUser); }

    std::string prefix_;
    std::string folder_;
    // No bus at all, unless BusNamespaces starts one: no NetworkManager of the host is reached.
    std::string bus_ = "unix:path=/nonexistent";
    std::string host_;
    std::vector<std::string> namespaces_;
    std::vector<pid_t> children_;
    pid_t holder_ = -1;
};

constexpr char kPolkitd[] = "/usr/lib/polkit-1/polkitd";

// A system bus of the test's own: a path socket in the test's folder (an abstract one would be
// tied to one network namespace), the distribution's D-Bus policies, and no service activation,
// so nothing the bus would start (a dispatcher, hostnamed) runs the host's scripts.
constexpr char kBusConfig[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <user>messagebus</user>
  <auth>EXTERNAL</auth>
  <listen>unix:path=@FOLDER@/bus</listen>
  <policy context="default">
    <allow user="*"/>
    <deny own="*"/>
    <deny send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
    <allow send_destination="org.freedesktop.DBus"
           send_interface="org.freedesktop.DBus.Introspectable"/>
    <allow send_destination="org.freedesktop.DBus"
           send_interface="org.freedesktop.DBus.Properties"/>
    <deny send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"
          send_member="UpdateActivationEnvironment"/>
  </policy>
  <includedir>/usr/share/dbus-1/system.d</includedir>
  <includedir>/etc/dbus-1/system.d</includedir>
</busconfig>
)";

inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

// The namespaces with a private system bus at Path("bus"), and polkitd on it where a test asks.
// The test's ordinary user is "nobody".
class BusNamespaces : public Namespaces {
protected:
    void SetUp() override {
        Namespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        bus_ = "unix:path=" + Path("bus");
        Write("bus.conf", Replace(kBusConfig, "@FOLDER@", folder_), 0644);
        Start("dbus-daemon --nofork --nopidfile --config-file=" + Path("bus.conf"),
              Path("bus.log"));
        for (int i = 0; i < 50 && !connection_; ++i) {
            connection_ = BusConnection::Open(bus_);
            if (!connection_) std::this_thread::sleep_for(100ms);
        }
        ASSERT_TRUE(connection_) << "the private bus did not come up";
    }

    // polkitd on the private bus, in the pc's network namespace and a mount namespace of its own
    // whose rules folder holds only rules (the body of a JavaScript rules file) and whose actions
    // folder holds the system's actions plus actionFile, when given.
    void Polkit(const std::string& rules, const std::string& actionFile = "") {
        if (access(kPolkitd, X_OK) != 0) GTEST_SKIP() << "polkitd is not installed";
        Write("10-test.rules", rules, 0644);
        std::string actions;
        if (!actionFile.empty()) {
            ASSERT_EQ(
                Shell("mkdir -p '" + Path("actions") + "' && cp /usr/share/polkit-1/actions/* '" +
                      actionFile + "' '" + Path("actions") + "'/"),
                0);
            actions = "mount --bind '" + Path("actions") + "' /usr/share/polkit-1/actions && ";
        }
        polkitd_ =
            StartInPc("mount -t tmpfs tmpfs /etc/polkit-1/rules.d && cp '" + Path("10-test.rules") +
                          "' /etc/polkit-1/rules.d/ && " + actions +
                          "DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " exec " + kPolkitd + " --no-debug",
                      Path("polkitd.log"));
        WaitForName("org.freedesktop.PolicyKit1");
    }

    // Ends polkitd, so that Polkit can start it again with other rules.
    void StopPolkit() {
        kill(polkitd_, SIGTERM);
        waitpid(polkitd_, nullptr, 0);
        std::erase(children_, polkitd_);
        for (int i = 0; i < 50 && connection_->NameHasOwner("org.freedesktop.PolicyKit1"); ++i) {
            std::this_thread::sleep_for(100ms);
        }
    }

    // A rule that gives every request of "nobody" result (YES or NO).
    static std::string EverythingForNobody(const std::string& result) {
        return "polkit.addRule(function(action, subject) {\n"
               "    if (subject.user == \"nobody\") return polkit.Result." +
               result + ";\n});\n";
    }

    void WaitForName(const char* name) {
        for (int i = 0; i < 100 && !connection_->NameHasOwner(name); ++i) {
            std::this_thread::sleep_for(100ms);
        }
        ASSERT_TRUE(connection_->NameHasOwner(name)) << name << " did not come up";
    }

    std::unique_ptr<BusConnection> connection_;
    pid_t polkitd_ = -1;
};

}  // namespace netns
