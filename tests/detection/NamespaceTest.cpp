// The whole detection, "modemctl detect", in network namespaces each test makes and removes:
// a "pc" wired to a "modem" (dnsmasq, modem-sim) and an "other" network, against dhclient,
// NetworkManager and systemd-networkd, as root and as "nobody" with polkitd on a private bus.

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

#include "core/messages/LocalizedMessages.h"
#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkManagerAdapters.h"
#include "detection/processes/PrivilegedHelper.h"

namespace {

using namespace std::chrono_literals;

// What modemctl prints when it found the modem (Network("modem")'s), and for a refusal.
const std::string kFound = "modem=10.251.0.1\nresult=0";
const std::string kRefused = std::string("authorization refused: ") + NotAuthorizedMessage(0);
constexpr const char* kPolkitd = "/usr/lib/polkit-1/polkitd";

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

bool Installed(const std::string& program) {
    return Shell("command -v " + program + " >/dev/null || test -x /usr/sbin/" + program) == 0;
}

// Polls every 100 ms until done, at most tenths times; whether it is done.
bool WaitFor(const std::function<bool()>& done, int tenths = 50) {
    for (int i = 0; i < tenths && !done(); ++i) std::this_thread::sleep_for(100ms);
    return done();
}

// Expects each of lines as a whole line of out, in this order, and none of absent anywhere.
void ExpectLines(const std::string& out, const std::vector<std::string>& lines,
                 const std::vector<std::string>& absent = {}) {
    const std::string text = "\n" + out;
    std::size_t at = 0;
    for (const std::string& line : lines) {
        at = text.find("\n" + line + "\n", at);
        ASSERT_NE(at, std::string::npos) << "no line \"" << line << "\" in order in:\n" << out;
        at += line.size() + 1;
    }
    for (const std::string& part : absent)
        EXPECT_EQ(out.find(part), std::string::npos) << "\"" << part << "\" in:\n" << out;
}

// What a test must leave as it found it in the namespace the test program runs in.
std::string HostState() {
    return Capture(
        "(hostname; cat /etc/resolv.conf; ip route show table all; ip -o link show) 2>&1");
}

class Namespaces : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create network namespaces";
        programs_.insert(programs_.end(), {"dnsmasq", "dbus-daemon"});
        for (const char* program : programs_) {
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
        if (Shell("ip netns add " + Ns("pc") + " 2>/dev/null") != 0) GTEST_SKIP() << "no ip netns";
        namespaces_.push_back(Ns("pc"));
        ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link set lo up"), 0);
        // EnableDHCP starts the privileged helper from its own folder, modemctl from the current
        // one: both are the test's folder, as in the bundle.
        ASSERT_EQ(Shell("cp '" ENABLE_DHCP_PATH "' '" + Path("EnableDHCP") + "' && cp '" +
                        NETWORK_HELPER_PATH "' '" + Path(kPrivilegedHelperName) + "'"),
                  0);
        // A private system bus (a path socket: an abstract one is tied to one network namespace),
        // without service activation, so nothing it would start runs the host's scripts.
        bus_ = "unix:path=" + Path("bus");
        Write("bus.conf",
              R"(<busconfig><type>system</type><user>messagebus</user><auth>EXTERNAL</auth>
<listen>unix:path=)" +
                  Path("bus") + R"(</listen><policy context="default"><allow user="*"/>
<deny own="*"/><deny send_type="method_call"/><allow send_type="signal"/>
<allow send_requested_reply="true" send_type="method_return"/>
<allow send_requested_reply="true" send_type="error"/><allow receive_type="method_call"/>
<allow receive_type="method_return"/><allow receive_type="error"/><allow receive_type="signal"/>
<allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/></policy>
<includedir>/usr/share/dbus-1/system.d</includedir><includedir>/etc/dbus-1/system.d</includedir>
</busconfig>)");
        Start("dbus-daemon --nofork --nopidfile --config-file=" + Path("bus.conf"),
              Path("bus.log"));
        WaitFor([&] { return (connection_ = BusConnection::Open(bus_)) != nullptr; });
        ASSERT_TRUE(connection_) << "the private bus did not come up";
    }

    void TearDown() override {
        // Every process of a namespace ends with it; then the private bus.
        for (const char* signal : {"", "-9"}) {
            for (const std::string& ns : namespaces_) {
                Shell("(ip netns pids " + ns + " | xargs -r kill " + signal + ") 2>/dev/null");
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
    void Write(const std::string& name, const std::string& text, mode_t mode = 0644) {
        std::ofstream(Path(name)) << text;
        chmod(Path(name).c_str(), mode);
    }
    // A shell script in the background, its output to the file output when given; in the pc's
    // network namespace and in mount and UTS namespaces of its own when inPc.
    pid_t Start(const std::string& script, const std::string& output = "", bool inPc = false) {
        const std::string pc = Ns("pc");
        const std::string redirect = output.empty() ? "" : "exec >'" + output + "' 2>&1; ";
        const std::string text = redirect + (inPc ? "" : "exec ") + script;
        const pid_t pid = fork();
        if (pid == 0) {
            if (inPc) {
                execlp("ip", "ip", "netns", "exec", pc.c_str(), "unshare", "--mount", "--uts",
                       "--propagation", "private", "sh", "-c", text.c_str(), nullptr);
            }
            execlp("sh", "sh", "-c", text.c_str(), nullptr);
            _exit(127);
        }
        EXPECT_GT(pid, 0);
        if (pid > 0) children_.push_back(pid);
        return pid;
    }
    // Namespace role, "modem" (10.251.0.1, modem-sim) or "other" (10.252.0.1), wired to pcSide;
    // dnsmasq there when dhcp (it names .1 as DNS server but answers no DNS).
    void Network(const std::string& role, const std::string& pcSide, bool dhcp = true) {
        const bool modem = role == "modem";
        const std::string ns = Ns(role), log = Path("dnsmasq-" + role);
        const std::string subnet = modem ? "10.251.0" : "10.252.0";
        namespaces_.push_back(ns);
        ASSERT_EQ(
            Shell("ip netns add " + ns + " && ip -n " + ns + " link set lo up && ip -n " +
                  Ns("pc") + " link add " + pcSide + " type veth peer name lan0 netns " + ns +
                  " && ip -n " + ns + " addr add " + subnet + ".1/24 dev lan0 && ip -n " + ns +
                  " link set lan0 up && ip -n " + Ns("pc") + " link set " + pcSide + " up"),
            0);
        if (dhcp) {
            const std::string range = subnet + ".100," + subnet + ".150,255.255.255.0,10m";
            Start("ip netns exec " + ns + " dnsmasq --keep-in-foreground --conf-file=/dev/null " +
                  "--port=0 --no-resolv --no-hosts --bind-interfaces --interface=lan0 " +
                  "--except-interface=lo --dhcp-range=" + range + " --dhcp-option=option:dns-" +
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
    // The pc's own mount and UTS namespace, held by program, so that nothing run there touches the
    // host's: private resolv.conf, /sys read-only (NetworkManager waits for udev when it may
    // write there), tmpfs over /run, /var/lib/dhcp and folders. setup ends with " && ".
    void PrivatePc(const std::string& folders = "", const std::string& setup = "",
                   const std::string& program = "sleep 600") {
        Write("resolv.conf", "nameserver 192.0.2.53\n");
        holder_ =
            Start("mount --bind /sys /sys && mount -o remount,bind,ro /sys && mount --bind '" +
                      Path("resolv.conf") + "' /etc/resolv.conf && for d in /run /var/lib/dhcp " +
                      folders + "; do if [ -d $d ]; then mount -t tmpfs -o mode=0755 tmpfs $d || " +
                      "exit 1; fi; done && " + setup + "touch '" + Path("ready") +
                      "' && DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " exec " + program,
                  Path("pc.log"), true);
        ASSERT_TRUE(WaitFor([&] { return access(Path("ready").c_str(), F_OK) == 0; }))
            << "the pc's mount namespace is missing: " << Capture("cat " + Path("pc.log"));
    }
    void WaitForAddress(const std::string& interface, const std::string& text) {
        const std::string show = "ip -n " + Ns("pc") + " -4 -o addr show dev " + interface;
        ASSERT_TRUE(WaitFor([&] { return Capture(show).find(text) != std::string::npos; }, 150))
            << interface << " took no address with " << text;
    }
    // A command in the pc's namespaces and the test's folder, as root or as "nobody".
    std::string InPc(const std::string& command, bool asUser = false) {
        return Capture("nsenter -t " + std::to_string(holder_) + " -m -u -n --wd='" + folder_ +
                       "' env DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " timeout 120 " +
                       (asUser ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "") +
                       command + " 2>&1");
    }
    std::string Detect(bool asUser = false) { return InPc(MODEMCTL_PATH " detect", asUser); }

    // polkitd on the bus (in place of one started before), with only a rule giving "nobody"
    // result for every action, or for the one named, and the helper's action among the system's.
    void Polkit(const std::string& result, const std::string& action = "") {
        if (polkitd_ > 0) {
            kill(polkitd_, SIGTERM);
            waitpid(polkitd_, nullptr, 0);
            std::erase(children_, polkitd_);
            WaitFor([&] { return !connection_->NameHasOwner("org.freedesktop.PolicyKit1"); });
        }
        const std::string rules = Path("rules"), actions = Path("actions");
        ASSERT_EQ(Shell("mkdir -p '" + rules + "' '" + actions + "' && cp /usr/share/polkit-1/" +
                        "actions/* '" + actions + "' && sed 's|@SETUPPILOT_HELPER_PATH@|" +
                        Path(kPrivilegedHelperName) + "|' '" HELPER_POLICY_IN "' >'" + actions +
                        "/helper.policy'"),
                  0);
        Write("rules/10-test.rules",
              "polkit.addRule(function(action, subject) {\n  if (subject.user == \"nobody\"" +
                  (action.empty() ? "" : " && action.id == \"" + action + "\"") +
                  ") return polkit.Result." + result + ";\n});\n");
        polkitd_ =
            Start("mount --bind '" + rules + "' /etc/polkit-1/rules.d && mount --bind '" + actions +
                      "' /usr/share/polkit-1/actions && DBUS_SYSTEM_BUS_ADDRESS=" + bus_ +
                      " exec " + kPolkitd + " --no-debug",
                  Path("polkitd.log"), true);
        WaitForName("org.freedesktop.PolicyKit1");
    }
    void WaitForName(const char* name) {
        ASSERT_TRUE(WaitFor([&] { return connection_->NameHasOwner(name); }, 100))
            << name << " did not come up";
    }

    // The programs the tests of a fixture need besides ip, dnsmasq and dbus-daemon.
    std::vector<const char*> programs_{"dhclient"};
    std::string prefix_;
    std::string folder_;
    std::string bus_;
    std::string host_;
    std::vector<std::string> namespaces_;
    std::vector<pid_t> children_;
    pid_t holder_ = -1;
    std::unique_ptr<BusConnection> connection_;
    pid_t polkitd_ = -1;
};

// The pc runs dhclient, with no NetworkManager and no networkd: its own instances, or the one
// the real EnableDHCP starts on a bare wired interface. The private bus is bound at the usual
// path: pkexec, which an ordinary user's detection starts, is setuid and reaches no other.
class DhclientPc : public Namespaces {
protected:
    void SetUp() override {
        Namespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Write("dhclient.conf", "timeout 5;\ninitial-interval 1;\n");
        PrivatePc("", "mkdir /run/dbus && touch /run/dbus/system_bus_socket && mount --bind '" +
                          Path("bus") + "' /run/dbus/system_bus_socket && ");
    }
    // The PC's own DHCP client on an interface, running in the background as a system's would.
    void DhcpClient(const std::string& interface) {
        const std::string f = Path("dhclient-" + interface);
        ASSERT_EQ(InPc("dhclient -nw -lf " + f + ".leases -pf " + f + ".pid -cf " +
                       Path("dhclient.conf") + " -sf /sbin/dhclient-script " + interface +
                       " >/dev/null 2>&1 && echo started"),
                  "started\n");
    }
    // A shell, as user, that calls itself dhclient and claims eth0 with its own script, lease and
    // pid files (its "-s --" reads as dhclient's -s); its lease names 10.66.0.1.
    void FakeDhclient(const std::string& user) {
        const std::string f = Path("fake" + user);
        ASSERT_EQ(Shell("mkdir '" + f + "'"), 0);
        Write("fake" + user + "/script", "#!/bin/sh\nid -u >>'" + f + "/script-ran'\n", 0755);
        Write("fake" + user + "/leases",
              "lease { interface \"eth0\"; option dhcp-server-identifier 10.66.0.1; }\n");
        Shell("chown -R " + user + " '" + f + "'");
        Start("ip netns exec " + Ns("pc") + " setpriv --reuid=" + user + " --regid=" + user +
              " --clear-groups bash -c \"exec -a dhclient bash -s -- -sf " + f + "/script -lf " +
              f + "/leases -pf " + f + "/pid eth0 <<<'sleep 600; exit'\"");
        const std::string pgrep = "pgrep -f '^dhclient -s -- -sf " + f + "/'";
        ASSERT_TRUE(WaitFor([&] { return Shell(pgrep) == 0; })) << "no fake dhclient of " << user;
    }
};

const std::string kClient =
    access("/usr/sbin/dhclient", X_OK) == 0 ? "/usr/sbin/dhclient" : "/sbin/dhclient";

// Any user may start a "dhclient" naming its own script and lease file: the detection, as root,
// neither runs that script nor takes a candidate (the address that would receive the PPP
// password) from that lease, and says what it left out. The fakes' eth0 has no carrier. EnableDHCP
// starts a client on the bare eth2 and leaves eth3 alone: it has a fixed address.
TEST_F(DhclientPc, TriesTheAdaptersInOrderAndBelievesNoDhclientOfAnotherUserOrProgram) {
    Network("other", "eth1");
    Network("modem", "eth2");
    const std::string pc = "ip -n " + Ns("pc") + " ";
    ASSERT_EQ(Shell(pc + "link add eth0 type veth peer name end0 && " + pc +
                    "link set eth0 up && " + pc + "link add eth3 type veth peer name lan3 netns " +
                    Ns("other") + " && " + pc + "addr add 10.253.0.5/24 dev eth3 && " + pc +
                    "link set eth3 up && ip -n " + Ns("other") + " link set lan3 up"),
              0);
    DhcpClient("eth1");
    FakeDhclient("65534");
    FakeDhclient("0");

    const std::string out = Detect();
    for (const std::string part : {" left out: it does not run as root (user 65534)\n",
                                   " left out: its program ", "bash is not ",
                                   // The real instances are renewed with the system's script.
                                   ": -sf /sbin/dhclient-script not passed on"}) {
        EXPECT_NE(out.find(part), std::string::npos) << part << " in:\n" << out;
    }
    ExpectLines(out,
                {"adapters: dhclient",
                 "NetworkManager does not run here: it has no connection profile to change",
                 "wired interface eth2: nothing managed it; started " + kClient +
                     ", it took an address by DHCP",
                 "candidate 10.252.0.1 refused", "candidate 10.251.0.1 passed", kFound},
                {"10.66.0.1", "wired interface eth3"});
    EXPECT_EQ(Capture("ls '" + folder_ + "'/*/script-ran 2>/dev/null"), "")
        << "the script of a fake dhclient ran";
}

// A modem whose DHCP server is off is not found: the renewal fails, and nothing is tried.
TEST_F(DhclientPc, NoDhcpServerMeansNoModem) {
    Network("modem", "eth0", false);
    DhcpClient("eth0");
    ExpectLines(Detect(), {"no interface could be released and renewed", "result=1"},
                {"candidate"});
}

// An ordinary user goes through pkexec and the privileged helper, which polkitd authorizes by
// the helper's own action. Refused: told, the known candidates are tried, nothing waits.
TEST_F(DhclientPc, AnOrdinaryUserGoesThroughTheHelperAsPolkitDecides) {
    if (!Installed("pkexec") || !Installed(kPolkitd)) GTEST_SKIP() << "needs pkexec and polkitd";
    // eth0: the PC's own dhclient, on a network with no modem. eth1: bare, on the modem's.
    Network("other", "eth0");
    Network("modem", "eth1");
    DhcpClient("eth0");
    WaitForAddress("eth0", "10.252.0.");
    ASSERT_NO_FATAL_FAILURE(Polkit("NO"));

    const auto start = std::chrono::steady_clock::now();
    std::string out = Detect(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << out;
    ExpectLines(out, {"wired interfaces without an address: starting a DHCP client needs an "
                      "administrator's authorization, which was not given",
                      kRefused, "renewal of eth0: authorization refused",
                      "candidate 10.252.0.1 refused", "result=1"});

    ASSERT_NO_FATAL_FAILURE(Polkit("YES", kPrivilegedHelperAction));
    ExpectLines(Detect(true),
                {"authorization: renewals through pkexec " + Path(kPrivilegedHelperName) +
                     " (polkit action " + kPrivilegedHelperAction + ")",
                 "wired interface eth1: nothing managed it; started " + kClient +
                     ", it took an address by DHCP",
                 "renewal of eth0: authorization granted", "renewal of eth1: authorization granted",
                 kFound});
}

// NetworkManager, writing no DNS and no hostname, its profiles on tmpfs.
class RealNetworkManager : public Namespaces {
protected:
    RealNetworkManager() { programs_ = {"NetworkManager", "nmcli", kPolkitd}; }
    // A keyfile profile. ipv4 is the body of its [ipv4] section.
    void AddProfile(const std::string& id, const std::string& type, const std::string& interface,
                    const std::string& ipv4) {
        Write(id + ".nmconnection",
              "[connection]\nid=" + id + "\ntype=" + type + "\ninterface-name=" + interface +
                  "\n[ipv4]\n" + ipv4 + "\n[ipv6]\nmethod=disabled\n",
              0600);
    }

    std::string Settings(const std::string& id, const std::string& fields) {
        return InPc("nmcli -g " + fields + " connection show " + id);
    }
};

// NetworkManager asks polkit for an ordinary user's profile changes and renewals. Refused: told,
// nothing waits, the lease held still counts. Granted: the wired profiles are switched to DHCP
// (fixed addresses kept) and renewed; only DHCP names the modem. A bridge is not wired.
TEST_F(RealNetworkManager, SwitchesWiredProfilesToDhcpAsPolkitDecidesAndFindsTheModem) {
    Network("other", "eth0");
    Network("modem", "eth1");
    AddProfile("first", "ethernet", "eth0", "method=auto");
    AddProfile("second", "ethernet", "eth1", "method=manual\naddress1=10.251.0.77/24");
    AddProfile("lab", "bridge", "br9", "method=manual\naddress1=10.253.0.5/24");
    ASSERT_NO_FATAL_FAILURE(Polkit("NO"));
    Write("NetworkManager.conf",
          "[main]\nplugins=keyfile\ndhcp=internal\ndns=none\nrc-manager=unmanaged\n"
          "hostname-mode=none\nno-auto-default=*\n[connectivity]\nenabled=false\n");
    PrivatePc("/var/lib/NetworkManager /etc/NetworkManager/system-connections",
              "cp '" + folder_ + "'/*.nmconnection /etc/NetworkManager/system-connections && ",
              "NetworkManager --no-daemon --config='" + Path("NetworkManager.conf") +
                  "' --config-dir=/nonexistent --system-config-dir=/nonexistent");
    WaitForName(kNetworkManagerService);
    WaitForAddress("eth0", "dynamic");
    WaitForAddress("eth1", "10.251.0.77");
    WaitForAddress("br9", "10.253.0.5");
    const std::string lab = Settings("lab", "GENERAL.DBUS-PATH");
    ASSERT_NE(lab.find("/ActiveConnection/"), std::string::npos) << lab;

    const auto start = std::chrono::steady_clock::now();
    std::string out = Detect(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << out;
    EXPECT_NE(out.find("wired profile \"second\": could not be changed"), std::string::npos) << out;
    ExpectLines(
        out,
        {"adapters: NetworkManager", "wired profile \"first\": already takes its address by DHCP",
         "renewal of eth0: authorization refused", kRefused, "candidate 10.252.0.1 refused",
         "result=1"},
        {"lab"});
    EXPECT_EQ(Settings("second", "ipv4.method"), "manual\n");

    ASSERT_NO_FATAL_FAILURE(Polkit("YES"));
    ExpectLines(Detect(true),
                {"authorization: renewals through NetworkManager asks polkit "
                 "(org.freedesktop.NetworkManager.network-control)",
                 "wired profile \"second\": ipv4.method manual -> auto (its fixed addresses, if "
                 "any, are kept as additional addresses)",
                 "renewal of eth0: authorization granted", "renewal of eth1: authorization granted",
                 "candidate 10.252.0.1 refused", "candidate 10.251.0.1 passed", kFound},
                {"lab", "255.255.255.255"});
    EXPECT_EQ(Settings("second", "ipv4.method,ipv4.addresses"), "auto\n10.251.0.77/24\n");
    EXPECT_EQ(Settings("lab", "GENERAL.DBUS-PATH"), lab) << "lab was taken down and up again";
    InPc("nmcli connection delete first second");
    ExpectLines(InPc("./EnableDHCP"), {"NetworkManager has no wired connection profile"});
}

// systemd-networkd, with the test's .network files only (it does not wait for udev).
class RealNetworkd : public Namespaces {
protected:
    RealNetworkd() { programs_ = {"/lib/systemd/systemd-networkd", kPolkitd}; }
};

// eth0's network has no DHCP server: a candidate without a server, tried first, left to networkd
// by EnableDHCP. networkd asks polkit for an ordinary user; refused, the lease still counts.
TEST_F(RealNetworkd, RenewsTheLinksAndFindsTheModemThroughTheLeaseAsRootOrAsPolkitDecides) {
    ASSERT_NO_FATAL_FAILURE(Polkit("YES"));
    const auto acknowledged = [&] {  // requests the modem's DHCP server acknowledged
        return std::atoi(Capture("grep -c DHCPACK '" + Path("dnsmasq-modem.log") + "'").c_str());
    };
    Network("other", "eth0", false);
    Network("modem", "eth1");
    // DHCPv4 on both, nothing else (no IPv6, no hostname, no DNS from the lease).
    Write("wired.network",
          "[Match]\nName=eth0 eth1\n[Network]\nDHCP=ipv4\nLinkLocalAddressing=no\nIPv6AcceptRA=no\n"
          "[DHCPv4]\nUseHostname=no\nUseDNS=no\nUseNTP=no\n");
    PrivatePc("/etc/systemd/network /usr/lib/systemd/network",
              "mkdir -p /run/systemd/network && cp '" + folder_ + "'/*.network /run/systemd/" +
                  "network/ && ",
              "/lib/systemd/systemd-networkd");
    WaitForName("org.freedesktop.network1");
    WaitForAddress("eth1", "dynamic");
    ASSERT_TRUE(WaitFor([&] { return acknowledged() > 0; }));
    const int before = acknowledged();

    ExpectLines(Detect(),
                {"adapters: systemd-networkd", "candidate 255.255.255.255 refused",
                 "candidate 10.251.0.1 passed", kFound},
                {"wired interface"});
    EXPECT_GT(acknowledged(), before) << "no renewal reached the modem's DHCP server";

    ExpectLines(Detect(true), {"authorization: renewals through systemd-networkd asks polkit "
                               "(org.freedesktop.network1.renew)",
                               "renewal of eth1: authorization granted", kFound});
    ASSERT_NO_FATAL_FAILURE(Polkit("NO"));
    ExpectLines(Detect(true), {"renewal of eth0: authorization refused", kRefused, kFound});
}

}  // namespace
