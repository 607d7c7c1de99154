// The detection against systemd-networkd itself. networkd configures the PC's ends of veth pairs
// from .network files, in the "pc" network namespace and in a mount and UTS namespace of its own:
// /sys read-only (no udev runs here; networkd takes a read-only /sys for "no udev" and does not
// wait for it), /run (its state folder) and its .network folders on tmpfs, so that only the
// test's files count. It talks on the test's private system bus. The detection reads
// networkd's state folder, so it runs in networkd's mount namespace (holder_).

#include "NamespaceFixture.h"
#include "core/messages/LocalizedMessages.h"

namespace {

using namespace netns;

constexpr char kNetworkd[] = "/lib/systemd/systemd-networkd";

// A .network file for one interface: DHCPv4 or a fixed address, nothing else (no IPv6, no
// hostname, no DNS from the lease).
std::string NetworkFile(const std::string& interface, const std::string& network) {
    return "[Match]\nName=" + interface + "\n[Network]\n" + network +
           "\nLinkLocalAddressing=no\nIPv6AcceptRA=no\n[DHCPv4]\nUseHostname=no\nUseDNS=no\n"
           "UseNTP=no\n";
}

class RealNetworkd : public BusNamespaces {
protected:
    std::vector<const char*> Programs() const override {
        return {"ip", "dnsmasq", "dbus-daemon", "setpriv", "nsenter"};
    }

    void SetUp() override {
        if (access(kNetworkd, X_OK) != 0) GTEST_SKIP() << "systemd-networkd is not installed";
        BusNamespaces::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(Shell("mkdir '" + Path("network") + "'"), 0);
        // The real helper, where modemctl detect looks for it.
        ASSERT_EQ(symlink(ENABLE_DHCP_PATH, Path("EnableDHCP").c_str()), 0);
    }

    void AddNetworkFile(const std::string& interface, const std::string& network) {
        Write("network/10-" + interface + ".network", NetworkFile(interface, network), 0644);
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

    // How often the DHCP server of a namespace acknowledged a request.
    int Acknowledged(const std::string& role) {
        const std::string log = ReadFile(Path("dnsmasq-" + role + ".log"));
        int count = 0;
        for (std::size_t at = log.find("DHCPACK"); at != std::string::npos;
             at = log.find("DHCPACK", at + 1)) {
            ++count;
        }
        return count;
    }

    // eth1 is wired to the modem's network: dnsmasq and modem-sim on 10.251.0.1. eth0 is wired
    // to a network without a DHCP server, so networkd keeps asking there.
    void TwoLinks() {
        OtherNetwork("eth0", false);
        ModemNetwork("eth1");
        AddNetworkFile("eth0", "DHCP=ipv4");
        AddNetworkFile("eth1", "DHCP=ipv4");
        StartNetworkd();
        WaitForAddress("eth1", "dynamic");
        for (int i = 0; i < 50 && Acknowledged("modem") == 0; ++i) {
            std::this_thread::sleep_for(100ms);
        }
    }
};

// The link still asking for a lease is a candidate without a server, tried first, and left to
// networkd by EnableDHCP; the link with a lease names the modem.
TEST_F(RealNetworkd, RenewsTheLinksAndFindsTheModemThroughTheLease) {
    TwoLinks();
    if (HasFatalFailure()) return;
    const int before = Acknowledged("modem");
    ASSERT_GT(before, 0);

    const std::string out = Detect();
    EXPECT_LINE(out, "adapters: systemd-networkd");
    EXPECT_LACKS(out, "wired interface");
    EXPECT_LINES_IN_ORDER(out, "candidate 255.255.255.255 refused", "candidate 10.251.0.1 passed");
    EXPECT_LINE(out, kFound);
    // The renewal reached the modem's DHCP server.
    EXPECT_GT(Acknowledged("modem"), before);
}

// An ordinary user: networkd asks polkit before it renews.
TEST_F(RealNetworkd, AnOrdinaryUserIsAuthorizedByPolkitOrToldAndTheLeaseStillCounts) {
    Polkit(EverythingForNobody("YES"));
    if (IsSkipped() || HasFatalFailure()) return;
    TwoLinks();
    if (HasFatalFailure()) return;

    std::string out = Detect(true);
    EXPECT_LINE(out,
                "authorization: renewals through systemd-networkd asks polkit "
                "(org.freedesktop.network1.renew)");
    EXPECT_LINE(out, "renewal of eth1: authorization granted");
    EXPECT_LINE(out, kFound);

    // The same user refused: told once, and the lease the PC holds still names the modem.
    StopPolkit();
    Polkit(EverythingForNobody("NO"));
    if (HasFatalFailure()) return;
    out = Detect(true);
    EXPECT_LINE(out, "renewal of eth0: authorization refused");
    EXPECT_LINE(out, std::string("authorization refused: ") + NotAuthorizedMessage(0));
    EXPECT_LINE(out, kFound);
}

}  // namespace
