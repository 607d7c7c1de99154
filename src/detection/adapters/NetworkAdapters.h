#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ProcessService;

// What the detection needs to know about the PC's network adapters, and the release and renewal
// of their DHCP leases. One implementation per way a Linux system manages its addresses
// (NetworkManager, systemd-networkd, a plain dhclient), a simulated one for the demo, and a fake
// for tests.

// The DHCP server address of an adapter that takes its address by DHCP but has no lease yet.
inline constexpr std::string_view kNoDhcpServer = "255.255.255.255";

struct NetworkAdapter {
    std::string name;          // interface name, such as "eth0"
    bool dhcpEnabled = false;  // takes its IPv4 address by DHCP
    std::string dhcpServer;    // dotted IPv4 text, kNoDhcpServer when none is known
};

// Whether releasing and renewing an interface needed someone's authorization. Root needs none;
// an ordinary user is asked the desktop's way (polkit, through the system service or pkexec).
enum class Authorization {
    NotNeeded,  // root, or no renewal was tried
    Granted,
    Refused,  // refused, dismissed, or no authentication agent could ask
};

// The outcome of releasing and renewing one interface. renewed is only true after a release.
struct RenewOutcome {
    std::string name;
    bool released = false;
    bool renewed = false;
    Authorization authorization = Authorization::NotNeeded;
};

class NetworkAdapters {
public:
    virtual ~NetworkAdapters() = default;

    // Which system manages the addresses, for messages ("NetworkManager", ...).
    virtual std::string_view Backend() const = 0;
    // How an ordinary user is authorized to renew, for messages; empty when this process needs
    // no authorization (it runs as root, or the service asks nobody).
    virtual std::string AuthorizationRoute() const { return {}; }
    // Every adapter except loopback, in a stable order (the order the system numbers them).
    // False when the list cannot be read.
    virtual bool List(std::vector<NetworkAdapter>& adapters) = 0;
    // Releases and renews the lease of every interface, waiting for each renewal to end. One
    // outcome per interface; interfaces that do not use DHCP are neither released nor renewed.
    virtual std::vector<RenewOutcome> RenewAll() = 0;

    // Where the service says what it left out and why (a DHCP client it does not trust, say),
    // one line each, for the people diagnosing a detection. Unset: nothing is said.
    void SetNoticeSink(std::function<void(const std::string&)> sink) { notices_ = std::move(sink); }

protected:
    void Notice(const std::string& text) const {
        if (notices_) notices_(text);
    }

private:
    std::function<void(const std::string&)> notices_;
};

// True when at least one interface was both released and renewed.
bool AnyRenewed(const std::vector<RenewOutcome>& outcomes);
// True when the authorization for at least one interface was refused.
bool AnyRefused(const std::vector<RenewOutcome>& outcomes);

// The installed dhclient program, or an empty text.
std::string InstalledDhclient();

// True when this process runs as root and so needs nobody's authorization.
bool RunsAsRoot();

// One DHCP-enabled adapter whose DHCP server is the simulated modem's address; renewals always
// succeed. For the demo and tests, where the modem is modem-sim on a loopback address.
class SimulatedNetworkAdapters final : public NetworkAdapters {
public:
    explicit SimulatedNetworkAdapters(std::string modemAddress);
    std::string_view Backend() const override { return "simulated"; }
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

private:
    std::string modemAddress_;
};

// The environment variable that selects SimulatedNetworkAdapters: its value is the modem's
// address. Read by CreateNetworkAdapters only.
inline constexpr const char* kSimulatedModemVariable = "SETUPPILOT_SIMULATED_MODEM";

// The service for this system: the simulated one when kSimulatedModemVariable is set, else
// NetworkManager when it runs, else systemd-networkd when it runs, else dhclient when it is
// installed. nullptr when none of them is usable. processes must outlive the result.
std::unique_ptr<NetworkAdapters> CreateNetworkAdapters(ProcessService& processes);
