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
        StartInPc(script, Path("NetworkManager.log"));
        WaitForName(kNetworkManagerService);
    }

    // The settings of a profile, one per line.
    std::string Settings(const std::string& id, const std::string& fields) {
        return InPc("nmcli -g " + fields + " connection show " + id);
    }
};

// The fixed address of the second lies in the modem's network, but only DHCP names the modem.
// The bridge's profile is not wired: neither switched, nor renewed, nor a candidate.
TEST_F(RealNetworkManager, SwitchesWiredProfilesToDhcpAndFindsTheModemOnTheSecondDevice) {
    OtherNetwork("eth0");
    ModemNetwork("eth1");
    AddProfile("first", Profile("first", "ethernet", "eth0", "method=auto"));
    AddProfile("second",
               Profile("second", "ethernet", "eth1", "method=manual\naddress1=10.251.0.77/24"));
    AddProfile("lab", Profile("lab", "bridge", "br9", "method=manual\naddress1=10.253.0.5/24"));
    StartNetworkManager();
    WaitForAddress("eth0", "dynamic");
    WaitForAddress("eth1", "10.251.0.77");
    WaitForAddress("br9", "10.253.0.5");
    const std::string lab = Settings("lab", "GENERAL.DBUS-PATH");
    ASSERT_NE(lab.find("/ActiveConnection/"), std::string::npos) << lab;

    const std::string out = Detect();
    EXPECT_LINE(out, "adapters: NetworkManager");
    EXPECT_LINE(out, "wired profile \"first\": already takes its address by DHCP");
    EXPECT_LINE(out,
                "wired profile \"second\": ipv4.method manual -> auto (its fixed addresses, "
                "if any, are kept as additional addresses)");
    EXPECT_LINES_IN_ORDER(out, "candidate 10.252.0.1 refused", "candidate 10.251.0.1 passed");
    EXPECT_LINE(out, kFound);
    EXPECT_EQ(Settings("second", "ipv4.method,ipv4.addresses"), "auto\n10.251.0.77/24\n");
    EXPECT_LACKS(out, "lab");
    EXPECT_LACKS(out, "255.255.255.255");
    EXPECT_EQ(Settings("lab", "GENERAL.DBUS-PATH"), lab) << "lab was taken down and up again";
}

TEST_F(RealNetworkManager, EnableDhcpLeavesProfilesThatAreNotWiredAlone) {
    AddProfile("bench", Profile("bench", "ethernet", "", "method=link-local"));
    AddProfile("cafe", Profile("cafe", "wifi", "", "method=manual\naddress1=192.168.7.20/24"));
    AddProfile("shared", Profile("shared", "bridge", "br9", "method=shared"));
    StartNetworkManager();

    const std::string out = InPc("./EnableDHCP");
    EXPECT_LINE(out,
                "wired profile \"bench\": ipv4.method link-local -> auto (its fixed "
                "addresses, if any, are kept as additional addresses)");
    EXPECT_LACKS(out, "cafe");
    EXPECT_LACKS(out, "shared");
    EXPECT_EQ(Settings("bench", "ipv4.method"), "auto\n");
    EXPECT_EQ(Settings("cafe", "ipv4.method"), "manual\n");
    EXPECT_EQ(Settings("shared", "ipv4.method"), "shared\n");
    InPc("nmcli connection delete bench");
    EXPECT_LINE(InPc("./EnableDHCP"), "NetworkManager has no wired connection profile");
}

// An ordinary user: NetworkManager asks polkit for the profile change and for the renewal.
// Refused, the user is told, nothing waits, and the lease the PC already holds names the modem;
// granted, the profile is switched and the renewal goes through.
TEST_F(RealNetworkManager, AnOrdinaryUserIsAuthorizedByPolkitOrToldAndTheLeaseStillCounts) {
    ModemNetwork("eth0");
    AddProfile("office", Profile("office", "ethernet", "eth0", "method=auto"));
    AddProfile("bench", Profile("bench", "ethernet", "", "method=manual\naddress1=10.9.0.2/24"));
    Polkit(EverythingForNobody("NO"));
    if (IsSkipped() || HasFatalFailure()) return;
    StartNetworkManager();
    WaitForAddress("eth0", "dynamic");

    const auto start = std::chrono::steady_clock::now();
    std::string out = Detect(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << out;
    EXPECT_HAS(out, "wired profile \"bench\": could not be changed");
    EXPECT_LINE(out, "renewal of eth0: authorization refused");
    EXPECT_LINE(out, std::string("authorization refused: ") + NotAuthorizedMessage(0));
    EXPECT_LINE(out, kFound);
    EXPECT_EQ(Settings("bench", "ipv4.method"), "manual\n");

    StopPolkit();
    Polkit(EverythingForNobody("YES"));
    if (HasFatalFailure()) return;
    out = Detect(true);
    EXPECT_LINE(out,
                "authorization: renewals through NetworkManager asks polkit "
                "(org.freedesktop.NetworkManager.network-control)");
    EXPECT_HAS(out, "wired profile \"bench\": ipv4.method manual -> auto");
    EXPECT_LINE(out, "renewal of eth0: authorization granted");
    EXPECT_LINE(out, kFound);
}

}  // namespace
