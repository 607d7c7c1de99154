// The whole detection as support staff run it, "modemctl detect", on a PC that takes its
// address from a real DHCP server. Everything happens in network namespaces made by each test
// and removed after it, also when it fails: a "modem" namespace with dnsmasq as DHCP server and
// modem-sim on the modem's address, a "pc" namespace joined to it by a veth pair and running
// dhclient with its own lease, pid, configuration and script files in a temporary folder, in a
// mount and UTS namespace of its own with a private resolv.conf.
// Needs root, "ip netns", dnsmasq and dhclient; skipped with the reason where one is missing.
//
// The detection releases and renews with the system's dhclient script, never with the one an
// instance was started with, so the renewals here run Debian's: it sets the address and routes
// inside the pc namespace, and touches resolv.conf or the host name only when the DHCP server
// hands those out, which this dnsmasq (no DNS, no host names) does not.

#include <chrono>

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"
#include "detection/adapters/UnmanagedInterfaces.h"
#include "detection/processes/PrivilegedHelper.h"

namespace {

using namespace netns;

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

class DhclientPc : public Namespaces {
protected:
    void SetUp() override {
        Namespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Write("dhclient-script", kDhclientScript, 0755);
        Write("dhclient.conf", kDhclientConf, 0644);
        // The helper the detection starts from the current directory: leaves a mark.
        Write("EnableDHCP", "#!/bin/sh\necho test helper ran\ntouch \"$PWD/helper-ran\"\n", 0755);
        // A renewal may run the system's DHCP script, which rewrites resolv.conf.
        PrivatePc();
    }

    // The PC's own DHCP client on an interface, running in the background as a system's would.
    void DhcpClient(const std::string& interface) {
        const std::string f = folder_ + "/dhclient-" + interface;
        ASSERT_EQ(InPc("dhclient -nw -lf " + f + ".leases -pf " + f + ".pid -cf " + folder_ +
                       "/dhclient.conf -sf " + folder_ + "/dhclient-script " + interface +
                       " >/dev/null 2>&1 && echo started"),
                  "started\n");
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
        Exec({"ip", "netns", "exec", Ns("pc"), "setpriv", "--reuid=" + user, "--regid=" + user,
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
};

// The first adapter's DHCP server is no modem; the second's is, and the PC took its address
// from it.
TEST_F(DhclientPc, TriesTheFirstAdapterFirstAndFindsTheModemOnTheSecond) {
    OtherNetwork("eth0");
    ModemNetwork("eth1");
    DhcpClient("eth0");
    DhcpClient("eth1");

    const std::string out = Detect();
    EXPECT_LINE(out, "adapters: dhclient");
    EXPECT_LINE(out, "test helper ran");
    EXPECT_TRUE(HelperRan());
    EXPECT_LINES_IN_ORDER(out, "candidate 10.252.0.1 refused", "candidate 10.251.0.1 passed");
    EXPECT_LINE(out, kFound);
    EXPECT_NE(Capture("ip -n " + Ns("pc") + " -4 addr show eth1").find("inet 10.251.0.1"),
              std::string::npos);
}

TEST_F(DhclientPc, NoDhcpServerMeansNoModem) {
    ModemNetwork("eth0", false);  // a modem whose DHCP server is off is not found
    DhcpClient("eth0");

    const std::string out = Detect();
    EXPECT_LINE(out, "result=1");
    EXPECT_LACKS(out, "candidate");
    EXPECT_TRUE(HelperRan());
}

// Any user may start a process named dhclient whose options name their own script and lease
// file. The detection runs as root: it must neither run that script nor take a candidate from
// that lease file (the address that would receive the PPP password), and it says what it left
// out. Before this was mended, both scripts ran as root and 10.66.0.2 became a candidate.
TEST_F(DhclientPc, ADhclientOfAnotherUserOrProgramIsNeitherRunNorBelieved) {
    // The fakes claim the first wire, on which no DHCP server answers, so that a renewal would
    // leave their leases, and the "modem" addresses they name, in place, to be tried first.
    OtherNetwork("eth0", false);
    ModemNetwork("eth1");
    DhcpClient("eth1");
    Shell("mkdir '" + folder_ + "/user' '" + folder_ + "/program'");
    chmod(folder_.c_str(), 0755);
    FakeDhclient("65534", "user", "eth0", "10.66.0.1");
    FakeDhclient("0", "program", "eth0", "10.66.0.2");

    const std::string out = Detect();
    EXPECT_HAS(out, " left out: it does not run as root (user 65534)\n");
    EXPECT_HAS(out, " left out: its program ");
    EXPECT_HAS(out, "bash is not ");
    // The real instance is renewed, with the system's script instead of its own.
    EXPECT_HAS(out, ": -sf " + folder_ + "/dhclient-script not passed on");
    EXPECT_LACKS(out, "10.66.0.");
    EXPECT_LINE(out, "candidate 10.251.0.1 passed");
    EXPECT_LINE(out, kFound);
    for (const char* fake : {"user", "program"}) {
        EXPECT_NE(access((folder_ + "/" + fake + "/script-ran").c_str(), F_OK), 0)
            << "the script of the fake dhclient in " << fake << " ran";
    }
}

}  // namespace

// A PC whose wired interface is up with carrier but has no address and nothing managing it: no
// NetworkManager, no networkd, no DHCP client. The real EnableDHCP starts the system's dhclient,
// with the system's script, in the pc's private mount namespace. The test's private bus is bound
// at the system bus's usual path there: pkexec, which an ordinary user's detection starts, is
// setuid and reaches no other bus.
std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : " ") + word;
    return out;
}

const char* InstalledClient() {
    return access("/usr/sbin/dhclient", X_OK) == 0 ? "/usr/sbin/dhclient" : "/sbin/dhclient";
}

class UnmanagedPc : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"ip", "dnsmasq", "dhclient", "dbus-daemon", "nsenter"};
    }

    void SetUp() override {
        BusNamespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // EnableDHCP starts the privileged helper from its own folder, modemctl from the current
        // one: both are the test's folder, as in the bundle.
        ASSERT_EQ(Shell("cp '" ENABLE_DHCP_PATH "' '" + Path("EnableDHCP") + "' && cp '" +
                        NETWORK_HELPER_PATH "' '" + Path(kPrivilegedHelperName) + "'"),
                  0);
        PrivatePc("mkdir /run/dbus && touch /run/dbus/system_bus_socket && mount --bind '" +
                  Path("bus") + "' /run/dbus/system_bus_socket && ");
    }

    // The helper's polkit action as the package installs it, naming the helper in the folder.
    std::string ActionFile() {
        Write("helper.policy",
              Replace(ReadFile(HELPER_POLICY_IN), "@SETUPPILOT_HELPER_PATH@",
                      Path(kPrivilegedHelperName)),
              0644);
        return Path("helper.policy");
    }
};

TEST_F(UnmanagedPc, EnableDhcpStartsAClientOnTheBareWiredInterfaceAndTheModemIsFound) {
    ModemNetwork("eth0");
    // A second wired interface with a fixed address is not touched.
    OtherNetwork("eth1", false);
    ASSERT_EQ(Shell("ip -n " + Ns("pc") + " addr add 10.252.0.5/24 dev eth1"), 0);

    const std::string out = Detect();
    EXPECT_LINE(out, "wired interface eth0: nothing managed it; started " +
                         std::string(InstalledClient()) + ", it took an address by DHCP");
    EXPECT_LACKS(out, "eth1");
    EXPECT_LINE(out, "adapters: dhclient");
    EXPECT_LINE(out, kFound);
    // The client keeps running for the PC, as a system's would; a second run starts none.
    const std::string again = InPc("./EnableDHCP");
    EXPECT_LACKS(again, "wired interface");
}

// An ordinary user: the DHCP client for the bare interface and the renewal of the running ones
// go through the privileged helper, started with pkexec, which asks polkitd for the helper's own
// action. Refused, the user is told, the candidates already known are tried, and nothing waits;
// granted, the helper starts the client and renews, and the modem is found.
TEST_F(UnmanagedPc, AnOrdinaryUserGoesThroughTheHelperAsPolkitDecides) {
    if (!Installed("pkexec") || !Installed("setpriv")) GTEST_SKIP() << "pkexec is not installed";
    // eth0: the PC's own dhclient, on a network whose DHCP server is no modem. eth1: bare, on the
    // modem's network.
    OtherNetwork("eth0");
    ModemNetwork("eth1");
    ASSERT_EQ(InPc(Join(DhcpClientCommand(InstalledClient(), "eth0")) +
                   " >/dev/null 2>&1 && echo started"),
              "started\n");
    WaitForAddress("eth0", "10.252.0.");
    Polkit(EverythingForNobody("NO"), ActionFile());
    if (IsSkipped() || HasFatalFailure()) return;

    const auto start = std::chrono::steady_clock::now();
    std::string out = Detect(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << out;
    EXPECT_LINE(out,
                "wired interfaces without an address: starting a DHCP client needs an "
                "administrator's authorization, which was not given");
    EXPECT_LINE(out, "renewal of eth0: authorization refused");
    EXPECT_LINE(out, std::string("authorization refused: ") + NotAuthorizedMessage(0));
    EXPECT_LINE(out, "candidate 10.252.0.1 refused");
    EXPECT_LINE(out, "result=1");

    // Granted for the helper's action only: pkexec finds the action by the helper's path.
    StopPolkit();
    Polkit(std::string("polkit.addRule(function(action, subject) {\n"
                       "    if (subject.user == \"nobody\" && action.id == \"") +
               kPrivilegedHelperAction + "\") return polkit.Result.YES;\n});\n",
           ActionFile());
    if (HasFatalFailure()) return;
    out = Detect(true);
    EXPECT_LINE(out, "authorization: renewals through pkexec " + Path(kPrivilegedHelperName) +
                         " (polkit action " + kPrivilegedHelperAction + ")");
    EXPECT_LINE(out, "wired interface eth1: nothing managed it; started " +
                         std::string(InstalledClient()) + ", it took an address by DHCP");
    EXPECT_LINE(out, "renewal of eth0: authorization granted");
    EXPECT_LINE(out, "renewal of eth1: authorization granted");
    EXPECT_LINE(out, kFound);
}
