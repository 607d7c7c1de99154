// The whole detection as support staff run it, "modemctl detect", in network namespaces: a
// "modem" one with dnsmasq as DHCP server and modem-sim on the modem's address, and a "pc" one
// joined to it by a veth pair, in a mount and UTS namespace of its own with a private resolv.conf.
// DhclientPc runs dhclient with its own files in a temporary folder. The detection renews with
// the system's dhclient script, never with the one an instance was started with: it sets the
// address inside the pc namespace, and touches resolv.conf or the host name only when the DHCP
// server hands those out, which this dnsmasq does not.

#include <chrono>

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"
#include "detection/adapters/UnmanagedInterfaces.h"
#include "detection/processes/PrivilegedHelper.h"

namespace {

using namespace netns;

class DhclientPc : public Namespaces {
protected:
    void SetUp() override {
        Namespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The instances' own script only sets and clears the address.
        Write("dhclient-script",
              "#!/bin/sh\ncase \"$reason\" in\n  PREINIT) ip link set dev \"$interface\" up ;;\n"
              "  BOUND|RENEW|REBIND|REBOOT) ip -4 addr flush dev \"$interface\"\n"
              "    ip -4 addr add \"$new_ip_address/$new_subnet_mask\" dev \"$interface\" ;;\n"
              "  EXPIRE|FAIL|RELEASE|STOP) ip -4 addr flush dev \"$interface\" ;;\nesac\n",
              0755);
        Write("dhclient.conf", "timeout 5;\ninitial-interval 1;\n", 0644);
        // The helper the detection starts from the current directory: leaves a mark.
        Write("EnableDHCP", "#!/bin/sh\necho test helper ran\n", 0755);
        PrivatePc();
    }

    // The PC's own DHCP client on an interface, running in the background as a system's would.
    void DhcpClient(const std::string& interface) {
        const std::string f = Path("dhclient-" + interface);
        ASSERT_EQ(InPc("dhclient -nw -lf " + f + ".leases -pf " + f + ".pid -cf " +
                       Path("dhclient.conf") + " -sf " + Path("dhclient-script") + " " + interface +
                       " >/dev/null 2>&1 && echo started"),
                  "started\n");
    }

    // A process in the pc namespace that calls itself dhclient, claims eth0 with its own script,
    // lease, pid and configuration files in the folder named, and is in fact a shell waiting (its
    // "-s --" reads as dhclient's -s option); run as user. Its lease names server as the DHCP
    // server; its script, if ever run, leaves folder/script-ran.
    void FakeDhclient(const std::string& user, const std::string& folder,
                      const std::string& server) {
        const std::string f = Path(folder);
        ASSERT_EQ(Shell("mkdir '" + f + "'"), 0);
        Write(folder + "/script", "#!/bin/sh\nid -u >>'" + f + "/script-ran'\n", 0755);
        Write(folder + "/leases",
              "lease {\n  interface \"eth0\";\n  fixed-address 10.66.0.50;\n  option "
              "subnet-mask 255.255.255.0;\n  option dhcp-server-identifier " +
                  server +
                  ";\n  renew 4 2099/12/03 10:00:00;\n  expire 4 2099/12/03 11:00:00;\n}\n",
              0644);
        Write(folder + "/conf", "timeout 2;\ninitial-interval 1;\n", 0644);
        Shell("chown -R " + user + " '" + f + "'");
        Exec({"ip", "netns", "exec", Ns("pc"), "setpriv", "--reuid=" + user, "--regid=" + user,
              "--clear-groups", "bash", "-c",
              "exec -a dhclient bash -s -- -sf " + f + "/script -lf " + f + "/leases -pf " + f +
                  "/pid -cf " + f + "/conf eth0 <<<'sleep 600; exit'"});
        ASSERT_TRUE(WaitFor([&] {
            return Shell("pgrep -f '^dhclient -s -- -sf " + f + "/'") == 0;
        })) << "the fake dhclient in "
            << folder << " did not come up";
    }
};

// The first adapter is claimed only by two fakes; the second one's DHCP server is no modem; the
// third one's is, and the PC took its address from it. Any user may start a process named
// dhclient whose options name their own script and lease file. The detection runs as root: it
// must neither run that script nor take a candidate from that lease file (the address that would
// receive the PPP password), and it says what it left out. No DHCP server answers on the fakes'
// wire, so a renewal would leave their leases, and the "modem" addresses they name, in place.
TEST_F(DhclientPc, TriesTheAdaptersInOrderAndBelievesNoDhclientOfAnotherUserOrProgram) {
    ASSERT_EQ(Shell("ip -n " + Ns("pc") + " link add eth0 type veth peer name end0 && ip -n " +
                    Ns("pc") + " link set eth0 up"),
              0);
    OtherNetwork("eth1");
    ModemNetwork("eth2");
    DhcpClient("eth1");
    DhcpClient("eth2");
    FakeDhclient("65534", "user", "10.66.0.1");
    FakeDhclient("0", "program", "10.66.0.2");

    const std::string out = Detect();
    for (const std::string& part : std::vector<std::string>{
             " left out: it does not run as root (user 65534)\n", " left out: its program ",
             "bash is not ",
             // The real instances are renewed, with the system's script instead of their own.
             ": -sf " + Path("dhclient-script") + " not passed on"}) {
        EXPECT_NE(out.find(part), std::string::npos) << part << " in:\n" << out;
    }
    ExpectLines(out,
                {"adapters: dhclient", "test helper ran", "candidate 10.252.0.1 refused",
                 "candidate 10.251.0.1 passed", kFound},
                {"10.66.0."});
    for (const char* fake : {"user", "program"}) {
        EXPECT_NE(access(Path(std::string(fake) + "/script-ran").c_str(), F_OK), 0)
            << "the script of the fake dhclient in " << fake << " ran";
    }
    EXPECT_NE(Capture("ip -n " + Ns("pc") + " -4 addr show eth2").find("inet 10.251.0.1"),
              std::string::npos);
}

// A modem whose DHCP server is off is not found: the renewal fails, and nothing is tried.
TEST_F(DhclientPc, NoDhcpServerMeansNoModem) {
    ModemNetwork("eth0", false);
    DhcpClient("eth0");
    ExpectLines(Detect(), {"test helper ran", "result=1"}, {"candidate"});
}

const std::string kClient =
    access("/usr/sbin/dhclient", X_OK) == 0 ? "/usr/sbin/dhclient" : "/sbin/dhclient";

// A PC whose wired interface is up with carrier but has no address and nothing managing it: no
// NetworkManager, no networkd, no DHCP client. The real EnableDHCP starts the system's dhclient,
// with the system's script, in the pc's private mount namespace. The test's private bus is bound
// at the system bus's usual path there: pkexec, which an ordinary user's detection starts, is
// setuid and reaches no other bus.
class UnmanagedPc : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"dnsmasq", "dhclient", "dbus-daemon", "nsenter"};
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
};

TEST_F(UnmanagedPc, EnableDhcpStartsAClientOnTheBareWiredInterfaceAndTheModemIsFound) {
    ModemNetwork("eth0");
    // A second wired interface with a fixed address is not touched.
    OtherNetwork("eth1", false);
    ASSERT_EQ(Shell("ip -n " + Ns("pc") + " addr add 10.252.0.5/24 dev eth1"), 0);

    ExpectLines(Detect(),
                {"adapters: dhclient",
                 "wired interface eth0: nothing managed it; started " + kClient +
                     ", it took an address by DHCP",
                 kFound},
                {"eth1"});
    // The client keeps running for the PC, as a system's would; a second run starts none.
    ExpectLines(InPc("./EnableDHCP"), {}, {"wired interface"});
}

// An ordinary user: the DHCP client for the bare interface and the renewal of the running ones
// go through the privileged helper, started with pkexec, which asks polkitd for the helper's own
// action. Refused, the user is told, the candidates already known are tried, and nothing waits;
// granted for the helper's action only (pkexec finds it by the helper's path), the helper starts
// the client and renews, and the modem is found.
TEST_F(UnmanagedPc, AnOrdinaryUserGoesThroughTheHelperAsPolkitDecides) {
    if (!Installed("pkexec") || !Installed("setpriv")) GTEST_SKIP() << "pkexec is not installed";
    // eth0: the PC's own dhclient, on a network whose DHCP server is no modem. eth1: bare, on the
    // modem's network.
    OtherNetwork("eth0");
    ModemNetwork("eth1");
    std::string client;
    for (const std::string& word : DhcpClientCommand(kClient, "eth0")) client += word + " ";
    ASSERT_EQ(InPc(client + ">/dev/null 2>&1 && echo started"), "started\n");
    WaitForAddress("eth0", "10.252.0.");
    Write("helper.policy",
          ReplaceFirst(ReadFile(HELPER_POLICY_IN), "@SETUPPILOT_HELPER_PATH@",
                       Path(kPrivilegedHelperName)),
          0644);
    Polkit("NO", "", Path("helper.policy"));
    if (IsSkipped() || HasFatalFailure()) return;

    const auto start = std::chrono::steady_clock::now();
    std::string out = Detect(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << out;
    ExpectLines(out, {"wired interfaces without an address: starting a DHCP client needs an "
                      "administrator's authorization, which was not given",
                      std::string("authorization refused: ") + NotAuthorizedMessage(0),
                      "renewal of eth0: authorization refused", "candidate 10.252.0.1 refused",
                      "result=1"});

    StopPolkit();
    Polkit("YES", kPrivilegedHelperAction, Path("helper.policy"));
    if (HasFatalFailure()) return;
    ExpectLines(Detect(true),
                {"authorization: renewals through pkexec " + Path(kPrivilegedHelperName) +
                     " (polkit action " + kPrivilegedHelperAction + ")",
                 "wired interface eth1: nothing managed it; started " + kClient +
                     ", it took an address by DHCP",
                 "renewal of eth0: authorization granted", "renewal of eth1: authorization granted",
                 kFound});
}

}  // namespace
