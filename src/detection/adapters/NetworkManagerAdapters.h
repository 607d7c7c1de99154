#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkAdapters.h"

// Addresses kept by NetworkManager, asked over D-Bus. An adapter takes its address by DHCP when
// its active connection profile has ipv4.method "auto" (or the device holds a DHCPv4
// configuration); its DHCP server is the "dhcp_server_identifier" option of that configuration.
// Release and renewal take the device's active connection down and bring the same profile up
// again on the device, waiting until it is activated.

inline constexpr const char* kNetworkManagerService = "org.freedesktop.NetworkManager";

class NetworkManagerAdapters final : public NetworkAdapters {
public:
    // activationLimitMs bounds the wait for each connection to come up again.
    NetworkManagerAdapters(std::unique_ptr<BusConnection> bus, int activationLimitMs = 30000)
        : bus_(std::move(bus)), activationLimitMs_(activationLimitMs) {}
    std::string_view Backend() const override { return "NetworkManager"; }
    std::string AuthorizationRoute() const override;
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

private:
    struct Device {
        std::string path;
        NetworkAdapter adapter;
        std::string activeConnection;  // "/" or empty when none
    };
    bool Devices(std::vector<Device>& devices);
    bool WaitActivated(const std::string& active);

    std::unique_ptr<BusConnection> bus_;
    int activationLimitMs_;
};

// A connection profile's settings with string values, keyed "setting.key" ("ipv4.method",
// "connection.type", "connection.id", ...).
std::map<std::string, std::string> ProfileStrings(BusConnection& bus, const std::string& path);

// The paths of every connection profile NetworkManager knows.
std::vector<std::string> ProfilePaths(BusConnection& bus);

// Rewrites a profile with ipv4.method "auto", every other setting as it was (secrets, which
// NetworkManager does not hand out with the settings, are not touched). False with the reason in
// the bus's LastError when NetworkManager refused.
bool SetProfileIpv4Auto(BusConnection& bus, const std::string& path);
