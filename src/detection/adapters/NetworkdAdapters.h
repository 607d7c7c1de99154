#pragma once

#include <memory>
#include <string>
#include <vector>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkAdapters.h"

// Addresses kept by systemd-networkd. Its state directory tells, per interface index, which
// .network file configures the link (and so whether it asks for DHCPv4) and the current lease
// with the server's address; its RenewLink call on the system bus renews a link's lease. For an
// ordinary user systemd-networkd asks polkit (its action "renew") before it renews.
class NetworkdAdapters final : public NetworkAdapters {
public:
    // bus: a connection to the bus systemd-networkd is on.
    explicit NetworkdAdapters(std::unique_ptr<BusConnection> bus,
                              std::string stateDirectory = "/run/systemd/netif")
        : bus_(std::move(bus)), stateDirectory_(std::move(stateDirectory)) {}
    std::string_view Backend() const override { return "systemd-networkd"; }
    std::string AuthorizationRoute() const override;
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

private:
    struct Link {
        int index;
        NetworkAdapter adapter;
    };
    std::vector<Link> Links() const;
    bool Renew(int index);

    std::unique_ptr<BusConnection> bus_;
    std::string stateDirectory_;
};
