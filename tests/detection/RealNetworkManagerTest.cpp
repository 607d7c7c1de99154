// The detection against NetworkManager itself, which manages the pc's ends of the veth pairs.
// It talks on the test's private system bus and runs in a mount and UTS namespace of its own:
// /sys read-only (no udev runs here, and NetworkManager waits for it forever when it may write
// there), /run and its lease and profile folders on tmpfs (nothing is made on the host), a
// configuration that writes no DNS and no hostname.

#include <chrono>

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"
#include "detection/adapters/NetworkManagerAdapters.h"

namespace {

using namespace netns;

class RealNetworkManager : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"dnsmasq", "NetworkManager", "nmcli", "dbus-daemon", "setpriv"};
    }

    void SetUp() override {
        BusNamespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Write("NetworkManager.conf",
              "[main]\nplugins=keyfile\ndhcp=internal\ndns=none\nrc-manager=unmanaged\n"
              "hostname-mode=none\nno-auto-default=*\n[connectivity]\nenabled=false\n",
              0644);
        ASSERT_EQ(Shell("mkdir -p '" + Path("conf.d") + "' '" + Path("profiles") + "'"), 0);
        // The real helper, where modemctl detect looks for it.
        ASSERT_EQ(symlink(ENABLE_DHCP_PATH, Path("EnableDHCP").c_str()), 0);
    }

    // A keyfile profile. ipv4 is the body of its [ipv4] section.
    void AddProfile(const std::string& id, const std::string& type, const std::string& interface,
                    const std::string& ipv4) {
        Write("profiles/" + id + ".nmconnection",
              "[connection]\nid=" + id + "\ntype=" + type + "\n" +
                  (interface.empty() ? "" : "interface-name=" + interface + "\n") + "[ipv4]\n" +
                  ipv4 + "\n[ipv6]\nmethod=disabled\n",
              0600);
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

// As an ordinary user NetworkManager asks polkit for the profile changes and the renewals.
// Refused, the user is told, nothing waits, and the lease the PC already holds still counts.
// Granted, the wired profiles are switched to DHCP and renewed, and the modem is found on the
// second device: its fixed address, kept, lies in the modem's network, but only DHCP names the
// modem. The bridge's profile is not wired: neither switched, nor renewed, nor a candidate.
TEST_F(RealNetworkManager, SwitchesWiredProfilesToDhcpAsPolkitDecidesAndFindsTheModem) {
    OtherNetwork("eth0");
    ModemNetwork("eth1");
    AddProfile("first", "ethernet", "eth0", "method=auto");
    AddProfile("second", "ethernet", "eth1", "method=manual\naddress1=10.251.0.77/24");
    AddProfile("lab", "bridge", "br9", "method=manual\naddress1=10.253.0.5/24");
    Polkit("NO");
    if (IsSkipped() || HasFatalFailure()) return;
    StartNetworkManager();
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
         "renewal of eth0: authorization refused",
         std::string("authorization refused: ") + NotAuthorizedMessage(0),
         "candidate 10.252.0.1 refused", "result=1"},
        {"lab"});
    EXPECT_EQ(Settings("second", "ipv4.method"), "manual\n");

    StopPolkit();
    Polkit("YES");
    if (HasFatalFailure()) return;
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

}  // namespace
