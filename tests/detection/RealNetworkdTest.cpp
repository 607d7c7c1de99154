// The detection against systemd-networkd itself, which configures the pc's ends of the veth pairs
// from .network files, in a mount and UTS namespace of its own: /sys read-only (no udev runs
// here, and so networkd does not wait for it), /run (its state folder) and its .network folders
// on tmpfs, so that only the test's files count. The detection reads networkd's state folder, so
// it runs in networkd's mount namespace (holder_).

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"

namespace {

using namespace netns;

constexpr char kNetworkd[] = "/lib/systemd/systemd-networkd";

class RealNetworkd : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"dnsmasq", "dbus-daemon", "setpriv", "nsenter"};
    }

    void SetUp() override {
        if (access(kNetworkd, X_OK) != 0) GTEST_SKIP() << "systemd-networkd is not installed";
        BusNamespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(Shell("mkdir '" + Path("network") + "'"), 0);
        // The real helper, where modemctl detect looks for it.
        ASSERT_EQ(symlink(ENABLE_DHCP_PATH, Path("EnableDHCP").c_str()), 0);
    }

    void StartNetworkd() {
        // /run, the DHCP lease folder and resolv.conf are private too, so that no DHCP client
        // started here by mistake could touch the host's.
        Write("resolv.conf", "nameserver 192.0.2.53\n", 0644);
        const std::string script =
            "mount --bind /sys /sys && mount -o remount,bind,ro /sys && mount --bind '" +
            Path("resolv.conf") +
            "' /etc/resolv.conf && for d in /run /var/lib/dhcp /etc/systemd/network "
            "/usr/lib/systemd/network; do if [ -d $d ]; then mount -t tmpfs tmpfs $d || exit 1; "
            "fi; done && mkdir /run/systemd /run/systemd/network && cp '" +
            Path("network") + "'/* /run/systemd/network/ && DBUS_SYSTEM_BUS_ADDRESS=" + bus_ +
            " exec " + kNetworkd;
        holder_ = StartInPc(script, Path("networkd.log"));
        WaitForName("org.freedesktop.network1");
    }

    // How often the DHCP server of the modem's network acknowledged a request.
    int Acknowledged() {
        return std::atoi(Capture("grep -c DHCPACK '" + Path("dnsmasq-modem.log") + "'").c_str());
    }
};

// eth1 is wired to the modem's network; eth0 to a network without a DHCP server, so networkd
// keeps asking there. That link is a candidate without a server, tried first, and left to
// networkd by EnableDHCP; the link with a lease names the modem. An ordinary user: networkd asks
// polkit before it renews; refused, the user is told, and the lease still names the modem.
TEST_F(RealNetworkd, RenewsTheLinksAndFindsTheModemThroughTheLeaseAsRootOrAsPolkitDecides) {
    Polkit("YES");
    if (IsSkipped() || HasFatalFailure()) return;
    OtherNetwork("eth0", false);
    ModemNetwork("eth1");
    // DHCPv4 on both, nothing else (no IPv6, no hostname, no DNS from the lease).
    for (const std::string interface : {"eth0", "eth1"}) {
        Write("network/10-" + interface + ".network",
              "[Match]\nName=" + interface + "\n[Network]\nDHCP=ipv4\nLinkLocalAddressing=no\n" +
                  "IPv6AcceptRA=no\n[DHCPv4]\nUseHostname=no\nUseDNS=no\nUseNTP=no\n",
              0644);
    }
    StartNetworkd();
    WaitForAddress("eth1", "dynamic");
    ASSERT_TRUE(WaitFor([&] { return Acknowledged() > 0; }));
    const int before = Acknowledged();

    ExpectLines(Detect(),
                {"adapters: systemd-networkd", "candidate 255.255.255.255 refused",
                 "candidate 10.251.0.1 passed", kFound},
                {"wired interface"});
    // The renewal reached the modem's DHCP server.
    EXPECT_GT(Acknowledged(), before);

    ExpectLines(Detect(true), {"authorization: renewals through systemd-networkd asks polkit "
                               "(org.freedesktop.network1.renew)",
                               "renewal of eth1: authorization granted", kFound});
    StopPolkit();
    Polkit("NO");
    if (HasFatalFailure()) return;
    ExpectLines(Detect(true),
                {"renewal of eth0: authorization refused",
                 std::string("authorization refused: ") + NotAuthorizedMessage(0), kFound});
}

}  // namespace
