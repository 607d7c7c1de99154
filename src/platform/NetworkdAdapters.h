#pragma once

#include <string>

#include "platform/NetworkAdapters.h"

// Addresses kept by systemd-networkd. Its state directory tells, per interface index, which
// .network file configures the link (and so whether it asks for DHCPv4) and the current lease
// with the server's address; "networkctl renew" renews a link's lease.
class NetworkdAdapters final : public NetworkAdapters {
public:
    explicit NetworkdAdapters(ProcessService& processes,
                              std::string stateDirectory = "/run/systemd/netif")
        : processes_(processes), stateDirectory_(std::move(stateDirectory)) {}
    std::string_view Backend() const override { return "systemd-networkd"; }
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

private:
    ProcessService& processes_;
    std::string stateDirectory_;
};
