// The detection against NetworkManager itself. The PC is a network namespace in which
// NetworkManager manages one end of each veth pair; the other ends lie in namespaces with dnsmasq
// and, for the modem, modem-sim. NetworkManager talks on a private system bus of the test's own
// (no service activation, so nothing such as the dispatcher runs the host's scripts), and runs in
// a mount and UTS namespace of its own: /sys read-only (no udev runs here, and NetworkManager
// waits for it forever when it may write there), /run and its lease and profile folders on tmpfs
// (the package's folders: nothing is made on the host), a configuration that writes no DNS and
// no hostname. The host's resolv.conf, hostname, routes and links are checked unchanged after
// each test.
//
// The ordinary user of a desktop is "nobody" here, with a real polkitd on the private bus whose
// only rule grants or refuses that user everything.

#include <chrono>

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"
#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkManagerAdapters.h"

namespace {

using namespace netns;

constexpr char kNetworkManagerConfig[] = R"([main]
plugins=keyfile
dhcp=internal
dns=none
rc-manager=unmanaged
hostname-mode=none
no-auto-default=*
[connectivity]
enabled=false
)";

// A keyfile profile. ipv4 is the body of its [ipv4] section.
std::string Profile(const std::string& id, const std::string& type, const std::string& interface,
                    const std::string& ipv4) {
    std::string text = "[connection]\nid=" + id + "\ntype=" + type + "\n";
    if (!interface.empty()) text += "interface-name=" + interface + "\n";
    if (type == "wifi") text += "[wifi]\nssid=" + id + "\nmode=infrastructure\n";
    return text + "[ipv4]\n" + ipv4 + "\n[ipv6]\nmethod=disabled\n";
}

class RealNetworkManager : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"ip", "dnsmasq", "NetworkManager", "nmcli", "dbus-daemon", "setpriv"};
    }

    void SetUp() override {
        BusNamespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Write("NetworkManager.conf", kNetworkManagerConfig, 0644);
        ASSERT_EQ(Shell("mkdir -p '" + Path("conf.d") + "' '" + Path("profiles") + "'"), 0);
        // The real helper, where modemctl detect looks for it.
        ASSERT_EQ(symlink(ENABLE_DHCP_PATH, Path("EnableDHCP").c_str()), 0);
    }

    void AddProfile(const std::string& id, const std::string& text) {
        Write("profiles/" + id + ".nmconnection", text, 0600);
    }

    void StartNetworkManager() {
        const std::string script =
            "mount --bind /sys /sys && mount -o remount,bind,ro /sys && "
            "for d in /run /var/lib/NetworkManager /etc/NetworkManager/system-connections; do "
            "mount -t tmpfs tmpfs $d || exit 1; done && cp '" +
            Path("profiles") + "'/* /etc/NetworkManager/system-connections/ 2>/dev/null; " +
            "DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " exec NetworkManager --no-daemon --config='" +
            Path("NetworkManager.conf") + "' --config-dir='" + Path("conf.d") +
            "' --system-config-dir='" + Path("conf.d") + "'";
        Start({"ip", "netns", "exec", Ns("pc"), "unshare", "--mount", "--uts", "--propagation",
               "private", "sh", "-c", script},
              Path("NetworkManager.log"));
        WaitForName(kNetworkManagerService);
    }

    // Waits until the interface of the pc holds an IPv4 address that contains text.
    void WaitForAddress(const std::string& interface, const std::string& text) {
        const std::string command = "ip -n " + Ns("pc") + " -4 -o addr show dev " + interface;
        for (int i = 0; i < 150; ++i) {
            if (Capture(command).find(text) != std::string::npos) return;
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << interface << " did not take an address with " << text << ":\n"
               << Capture(command);
    }

    // A command in the pc namespace with the private bus as system bus, from the test's folder,
    // as root or as the ordinary user.
    std::string InPc(const std::string& command, bool asUser = false) {
        return Capture("cd '" + folder_ + "' && ip netns exec " + Ns("pc") +
                       " env DBUS_SYSTEM_BUS_ADDRESS=" + bus_ + " timeout 120 " +
                       (asUser ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "") +
                       command + " 2>&1");
    }

    std::string Detect(bool asUser = false) { return InPc(MODEMCTL_PATH " detect", asUser); }

    std::string Ipv4Method(const std::string& id) {
        return InPc("nmcli -g ipv4.method connection show " + id);
    }

    // The modem's network on eth0: dnsmasq and modem-sim on 10.251.0.1.
    void ModemOn(const std::string& interface) {
        AddNamespace("modem");
        Wire(interface, "modem", "lan0", "10.251.0.1/24");
        DhcpServer("modem", "lan0", "10.251.0");
        Modem("modem", "10.251.0.1");
    }
};

TEST_F(RealNetworkManager, FindsTheModemThroughADhcpProfile) {
    ModemOn("eth0");
    AddProfile("office", Profile("office", "ethernet", "eth0", "method=auto"));
    StartNetworkManager();
    WaitForAddress("eth0", "dynamic");

    const std::string out = Detect();
    EXPECT_NE(LineAt(out, "adapters: NetworkManager"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "wired profile \"office\": already takes its address by DHCP"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "candidate 10.251.0.1 passed"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
}

TEST_F(RealNetworkManager, SwitchesAFixedAddressProfileToDhcpAndThenFindsTheModem) {
    ModemOn("eth0");
    // The fixed address lies in the modem's network, but only DHCP names the modem.
    AddProfile("office",
               Profile("office", "ethernet", "eth0", "method=manual\naddress1=10.251.0.77/24"));
    StartNetworkManager();
    WaitForAddress("eth0", "10.251.0.77");

    const std::string out = Detect();
    EXPECT_NE(LineAt(out,
                     "wired profile \"office\": ipv4.method manual -> auto (its fixed "
                     "addresses, if any, are kept as additional addresses)"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
    EXPECT_EQ(Ipv4Method("office"), "auto\n");
    EXPECT_NE(Capture("ip -n " + Ns("pc") + " -4 -o addr show dev eth0").find("dynamic"),
              std::string::npos);
}

TEST_F(RealNetworkManager, TriesTheFirstWiredDeviceFirstAndFindsTheModemOnTheSecond) {
    AddNamespace("other");
    Wire("eth0", "other", "lan0", "10.252.0.1/24");
    DhcpServer("other", "lan0", "10.252.0");
    ModemOn("eth1");
    AddProfile("first", Profile("first", "ethernet", "eth0", "method=auto"));
    AddProfile("second", Profile("second", "ethernet", "eth1", "method=auto"));
    StartNetworkManager();
    WaitForAddress("eth0", "dynamic");
    WaitForAddress("eth1", "dynamic");

    const std::string out = Detect();
    const std::size_t first = LineAt(out, "candidate 10.252.0.1 refused");
    const std::size_t second = LineAt(out, "candidate 10.251.0.1 passed");
    ASSERT_NE(first, std::string::npos) << out;
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_LT(first, second) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
}

TEST_F(RealNetworkManager, EnableDhcpLeavesProfilesThatAreNotWiredAlone) {
    AddProfile("bench", Profile("bench", "ethernet", "", "method=link-local"));
    AddProfile("cafe", Profile("cafe", "wifi", "", "method=manual\naddress1=192.168.7.20/24"));
    AddProfile("shared", Profile("shared", "bridge", "br9", "method=shared"));
    StartNetworkManager();

    const std::string out = InPc("./EnableDHCP");
    EXPECT_NE(LineAt(out,
                     "wired profile \"bench\": ipv4.method link-local -> auto (its fixed "
                     "addresses, if any, are kept as additional addresses)"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("cafe"), std::string::npos) << out;
    EXPECT_EQ(out.find("shared"), std::string::npos) << out;
    EXPECT_EQ(Ipv4Method("bench"), "auto\n");
    EXPECT_EQ(Ipv4Method("cafe"), "manual\n");
    EXPECT_EQ(Ipv4Method("shared"), "shared\n");
}

// An ordinary user: NetworkManager asks polkit for the profile change and for the renewal.
TEST_F(RealNetworkManager, AnOrdinaryUserFindsTheModemWhenPolkitGrantsIt) {
    ModemOn("eth0");
    AddProfile("office",
               Profile("office", "ethernet", "eth0", "method=manual\naddress1=10.251.0.77/24"));
    Polkit(EverythingForNobody("YES"));
    if (IsSkipped() || HasFatalFailure()) return;
    StartNetworkManager();
    WaitForAddress("eth0", "10.251.0.77");

    const std::string out = Detect(true);
    EXPECT_NE(LineAt(out,
                     "authorization: renewals through NetworkManager asks polkit "
                     "(org.freedesktop.NetworkManager.network-control)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("wired profile \"office\": ipv4.method manual -> auto"), std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "renewal of eth0: authorization granted"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
}

TEST_F(RealNetworkManager, ARefusedUserIsToldAndTheKnownCandidatesAreStillTried) {
    ModemOn("eth0");
    AddProfile("office", Profile("office", "ethernet", "eth0", "method=auto"));
    AddProfile("bench", Profile("bench", "ethernet", "", "method=manual\naddress1=10.9.0.2/24"));
    Polkit(EverythingForNobody("NO"));
    if (IsSkipped() || HasFatalFailure()) return;
    StartNetworkManager();
    WaitForAddress("eth0", "dynamic");

    const auto start = std::chrono::steady_clock::now();
    const std::string out = Detect(true);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_NE(out.find("wired profile \"bench\": could not be changed"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "renewal of eth0: authorization refused"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, std::string("authorization refused: ") + NotAuthorizedMessage(0)),
              std::string::npos)
        << out;
    // The lease the PC already holds names the modem.
    EXPECT_NE(LineAt(out, "modem=10.251.0.1\nresult=0"), std::string::npos) << out;
    EXPECT_LT(seconds, 20) << out;
    EXPECT_EQ(Ipv4Method("bench"), "manual\n");
}

}  // namespace
