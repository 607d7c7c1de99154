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
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/SystemInterfaces.h"

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
    return ReadTextFile(path).value_or("");
}

inline bool Installed(const std::string& program) {
    return Shell("command -v " + program + " >/dev/null || test -x /usr/sbin/" + program) == 0;
}

// Polls every 100 ms until done, at most tenths times; whether it is done.
inline bool WaitFor(const std::function<bool()>& done, int tenths = 50) {
    for (int i = 0; i < tenths && !done(); ++i) std::this_thread::sleep_for(100ms);
    return done();
}

// Expects each of lines as a whole line of out, in this order, and none of absent anywhere.
inline void ExpectLines(const std::string& out, const std::vector<std::string>& lines,
                        const std::vector<std::string>& absent = {}) {
    const std::string text = "\n" + out;
    std::size_t at = 0;
    for (const std::string& line : lines) {
        at = text.find("\n" + line + "\n", at);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no line \"" << line << "\" (in this order) in:\n" << out;
            return;
        }
        at += line.size() + 1;
    }
    for (const std::string& part : absent) {
        EXPECT_EQ(out.find(part), std::string::npos) << "\"" << part << "\" in:\n" << out;
    }
}

// What a test must leave as it found it in the namespace the test program runs in.
inline std::string HostState() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return "hostname " + std::string(name) + "\nresolv.conf\n" + ReadFile("/etc/resolv.conf") +
           Capture("ip route show table all 2>&1; ip -o link show 2>&1");
}

class Namespaces : public ::testing::Test {
protected:
    // The programs the tests of a fixture need besides ip.
    virtual std::vector<const char*> Programs() const { return {"dnsmasq", "dhclient"}; }

    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create network namespaces";
        for (const char* program : Programs()) {
            if (!Installed(program)) GTEST_SKIP() << program << " is not installed";
        }
        host_ = HostState();
        static int counter = 0;
        prefix_ = "spt" + std::to_string(getpid()) + "x" + std::to_string(++counter);
        char pattern[] = "/tmp/detect-netns-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        // Daemons that drop root and the test's ordinary user reach their files here.
        chmod(folder_.c_str(), 0755);
        namespaces_.push_back(Ns("pc"));
        if (Shell("ip netns add " + Ns("pc") + " 2>/dev/null") != 0) {
            GTEST_SKIP() << "ip netns is not available";
        }
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link set lo up"), 0);
    }

    void TearDown() override {
        // Every process of a namespace (dnsmasq, modem-sim, DHCP clients, NetworkManager,
        // pings) ends with it; then the daemons outside them (the private buses).
        for (const char* signal : {"", "-9 "}) {
            for (const std::string& ns : namespaces_) {
                Shell("ip netns pids " + ns + " 2>/dev/null | xargs -r kill " + signal +
                      "2>/dev/null");
            }
            std::this_thread::sleep_for(200ms);
        }
        for (const std::string& ns : namespaces_) Shell("ip netns del " + ns + " 2>/dev/null");
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

    // Starts a program in the background, its output to the file output when given.
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

    pid_t Start(const std::string& command, const std::string& output = "") {
        return Exec({"sh", "-c", "exec " + command}, output);
    }

    // A shell script in the pc's network namespace and in mount and UTS namespaces of its own.
    pid_t StartInPc(const std::string& script, const std::string& output = "") {
        return Exec({"ip", "netns", "exec", Ns("pc"), "unshare", "--mount", "--uts",
                     "--propagation", "private", "sh", "-c", script},
                    output);
    }

    // Namespace role wired to the pc's interface pcSide, with subnet.1 on its side: dnsmasq
    // there when dhcp (it hands out subnet.100-150 and names subnet.1 as DNS server, which a
    // system's DHCP script writes to resolv.conf, but answers no DNS), modem-sim when modem.
    void Network(const std::string& role, const std::string& pcSide, const std::string& subnet,
                 bool dhcp, bool modem) {
        const std::string ns = Ns(role);
        const std::string log = Path("dnsmasq-" + role);
        namespaces_.push_back(ns);
        ASSERT_EQ(
            Shell("ip netns add " + ns + " && ip -n " + ns + " link set lo up && ip -n " +
                  Ns("pc") + " link add " + pcSide + " type veth peer name lan0 netns " + ns +
                  " && ip -n " + ns + " addr add " + subnet + ".1/24 dev lan0 && ip -n " + ns +
                  " link set lan0 up && ip -n " + Ns("pc") + " link set " + pcSide + " up"),
            0);
        if (dhcp) {
            Start("ip netns exec " + ns +
                  " dnsmasq --keep-in-foreground --conf-file=/dev/null --port=0 --no-resolv "
                  "--no-hosts --bind-interfaces --interface=lan0 --except-interface=lo "
                  "--dhcp-range=" +
                  subnet + ".100," + subnet + ".150,255.255.255.0,10m --dhcp-option=option:dns-" +
                  "server," + subnet + ".1 --dhcp-leasefile=" + log + ".leases --pid-file=" + log +
                  ".pid --user=root --group=root --log-facility=" + log + ".log");
        }
        if (!modem) return;
        Start("ip netns exec " + ns +
              " env MODEM_SIM_ALLOW_ANY_ADDRESS=1 " MODEM_SIM_PATH " --log " +
              Path("modem-sim.log") + " " + subnet + ".1");
        ASSERT_TRUE(WaitFor([&] {
            return !Capture("ip netns exec " + ns + " ss -Hltn 'sport = :1028'").empty();
        })) << "modem-sim did not come up";
    }

    // The modem's network, 10.251.0.1 with modem-sim; another one, 10.252.0.1 without.
    void ModemNetwork(const std::string& pcSide, bool dhcp = true) {
        Network("modem", pcSide, "10.251.0", dhcp, true);
    }
    void OtherNetwork(const std::string& pcSide, bool dhcp = true) {
        Network("other", pcSide, "10.252.0", dhcp, false);
    }

    // Gives the pc a mount and UTS namespace of its own, held by a sleeping process: a private
    // resolv.conf over the system's, /run and /var/lib/dhcp on tmpfs, so that a DHCP client
    // started there, and the system's DHCP script it runs, touch nothing of the host's. more:
    // shell commands run there first, each ending with " && ".
    void PrivatePc(const std::string& more = "") {
        Write("resolv.conf", "nameserver 192.0.2.53\n", 0644);
        holder_ = StartInPc("mount --bind '" + Path("resolv.conf") +
                            "' /etc/resolv.conf && mount -t tmpfs -o mode=0755 tmpfs /run && " +
                            "mount -t tmpfs -o mode=0755 tmpfs /var/lib/dhcp && " + more +
                            "touch '" + Path("ready") + "' && exec sleep 600");
        ASSERT_TRUE(WaitFor([&] { return access(Path("ready").c_str(), F_OK) == 0; }))
            << "the pc's mount namespace is missing";
    }

    // Waits until the interface of the pc holds an IPv4 address that contains text.
    void WaitForAddress(const std::string& interface, const std::string& text) {
        ASSERT_TRUE(WaitFor(
            [&] {
                return Capture("ip -n " + Ns("pc") + " -4 -o addr show dev " + interface +
                               " 2>/dev/null")
                           .find(text) != std::string::npos;
            },
            150))
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

inline std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// The namespaces with a private system bus at Path("bus"), and polkitd on it where a test asks.
// The bus: a path socket in the test's folder (an abstract one would be tied to one network
// namespace), the distribution's D-Bus policies, and no service activation, so nothing the bus
// would start (a dispatcher, hostnamed) runs the host's scripts. The ordinary user is "nobody".
class BusNamespaces : public Namespaces {
protected:
    void SetUp() override {
        Namespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        bus_ = "unix:path=" + Path("bus");
        Write("bus.conf",
              ReplaceFirst(
                  R"(<busconfig><type>system</type><user>messagebus</user><auth>EXTERNAL</auth>
<listen>unix:path=@FOLDER@/bus</listen><policy context="default"><allow user="*"/>
<deny own="*"/><deny send_type="method_call"/><allow send_type="signal"/>
<allow send_requested_reply="true" send_type="method_return"/>
<allow send_requested_reply="true" send_type="error"/><allow receive_type="method_call"/>
<allow receive_type="method_return"/><allow receive_type="error"/><allow receive_type="signal"/>
<allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
<allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Introspectable"/>
<allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Properties"/>
<deny send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"
      send_member="UpdateActivationEnvironment"/></policy>
<includedir>/usr/share/dbus-1/system.d</includedir><includedir>/etc/dbus-1/system.d</includedir>
</busconfig>)",
                  "@FOLDER@", folder_),
              0644);
        Start("dbus-daemon --nofork --nopidfile --config-file=" + Path("bus.conf"),
              Path("bus.log"));
        WaitFor([&] { return (connection_ = BusConnection::Open(bus_)) != nullptr; });
        ASSERT_TRUE(connection_) << "the private bus did not come up";
    }

    // polkitd on the private bus, in the pc's network namespace and a mount namespace of its own
    // whose rules folder holds only a rule giving the user "nobody" result (YES or NO) for every
    // action, or for the action named; with actionFile, when given, among the system's actions.
    void Polkit(const std::string& result, const std::string& action = "",
                const std::string& actionFile = "") {
        if (access("/usr/lib/polkit-1/polkitd", X_OK) != 0) GTEST_SKIP() << "no polkitd";
        Write("10-test.rules",
              "polkit.addRule(function(action, subject) {\n  if (subject.user == \"nobody\"" +
                  (action.empty() ? "" : " && action.id == \"" + action + "\"") +
                  ") return polkit.Result." + result + ";\n});\n",
              0644);
        std::string actions;
        if (!actionFile.empty()) {
            ASSERT_EQ(Shell("mkdir -p '" + Path("actions") + "' && cp /usr/share/polkit-1/" +
                            "actions/* '" + actionFile + "' '" + Path("actions") + "'/"),
                      0);
            actions = "mount --bind '" + Path("actions") + "' /usr/share/polkit-1/actions && ";
        }
        polkitd_ = StartInPc("mount -t tmpfs tmpfs /etc/polkit-1/rules.d && cp '" +
                                 Path("10-test.rules") + "' /etc/polkit-1/rules.d/ && " + actions +
                                 "DBUS_SYSTEM_BUS_ADDRESS=" + bus_ +
                                 " exec /usr/lib/polkit-1/polkitd --no-debug",
                             Path("polkitd.log"));
        WaitForName("org.freedesktop.PolicyKit1");
    }

    // Ends polkitd, so that Polkit can start it again with another rule.
    void StopPolkit() {
        kill(polkitd_, SIGTERM);
        waitpid(polkitd_, nullptr, 0);
        std::erase(children_, polkitd_);
        WaitFor([&] { return !connection_->NameHasOwner("org.freedesktop.PolicyKit1"); });
    }

    void WaitForName(const char* name) {
        ASSERT_TRUE(WaitFor([&] { return connection_->NameHasOwner(name); }, 100))
            << name << " did not come up";
    }

    std::unique_ptr<BusConnection> connection_;
    pid_t polkitd_ = -1;
};

}  // namespace netns
