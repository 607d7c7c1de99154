#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/NetworkAdapters.h"

// Addresses kept by plain dhclient processes (ifupdown and hand-made setups). The running
// dhclient instances of this network namespace tell which interfaces use DHCP and where their
// lease files are; a renewal releases with "dhclient -r" and asks once more with "dhclient -1",
// with the same lease, pid, configuration and script files as the running instance.

// What a dhclient command line says about the instance.
struct DhclientInstance {
    std::vector<std::string> interfaces;
    std::string leaseFile = "/var/lib/dhcp/dhclient.leases";
    // The options passed on to the release and the renewal (-lf, -pf, -cf, -sf, -e ...).
    std::vector<std::string> fileOptions;
};

// Reads the arguments of a dhclient process (argv[0] included). Nothing for a DHCPv6 client or
// one without an interface, which serves no IPv4 lease of a known interface.
std::optional<DhclientInstance> ParseDhclientCommand(const std::vector<std::string>& argv);

// The release and the renewal commands for an instance.
std::vector<std::string> DhclientReleaseCommand(const DhclientInstance& instance);
std::vector<std::string> DhclientRenewCommand(const DhclientInstance& instance);

class DhclientAdapters final : public NetworkAdapters {
public:
    // program: the dhclient to run, found in PATH unless it holds a "/".
    explicit DhclientAdapters(ProcessService& processes, std::string program = "dhclient")
        : processes_(processes), program_(std::move(program)) {}
    std::string_view Backend() const override { return "dhclient"; }
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

    // The dhclient instances running in this network namespace.
    static std::vector<DhclientInstance> RunningInstances();

private:
    ProcessService& processes_;
    std::string program_;
};
