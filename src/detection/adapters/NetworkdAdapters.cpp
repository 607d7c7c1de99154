#include "detection/adapters/NetworkdAdapters.h"

#include <systemd/sd-bus.h>

#include "detection/adapters/LeaseFiles.h"
#include "detection/adapters/SystemInterfaces.h"

namespace {

constexpr const char* kNetworkdService = "org.freedesktop.network1";

}  // namespace

std::vector<NetworkdAdapters::Link> NetworkdAdapters::Links() const {
    std::vector<Link> links;
    for (const SystemInterface& interface : ListSystemInterfaces()) {
        const std::string index = std::to_string(interface.index);
        NetworkAdapter adapter{interface.name, false, std::string(kNoDhcpServer)};
        std::optional<std::string> state = ReadTextFile(stateDirectory_ + "/links/" + index);
        std::optional<std::string> lease = ReadTextFile(stateDirectory_ + "/leases/" + index);
        if (state) {
            std::string networkFile = KeyValueOf(*state, "NETWORK_FILE");
            if (!networkFile.empty()) {
                adapter.dhcpEnabled = NetworkFileWantsDhcp4(ReadTextFile(networkFile).value_or(""));
            }
        }
        if (lease) {
            // A lease proves DHCPv4 even when the .network file could not be read.
            adapter.dhcpEnabled = true;
            std::string server = NetworkdLeaseServer(*lease);
            if (!server.empty()) adapter.dhcpServer = server;
        }
        links.push_back({interface.index, adapter});
    }
    return links;
}

std::string NetworkdAdapters::AuthorizationRoute() const {
    if (RunsAsRoot()) return {};
    return "systemd-networkd asks polkit (org.freedesktop.network1.renew)";
}

bool NetworkdAdapters::List(std::vector<NetworkAdapter>& adapters) {
    adapters.clear();
    for (const Link& link : Links()) adapters.push_back(link.adapter);
    return true;
}

bool NetworkdAdapters::Renew(int index) {
    sd_bus_message* call = nullptr;
    bool ok =
        sd_bus_message_new_method_call(bus_->Bus(), &call, kNetworkdService,
                                       "/org/freedesktop/network1",
                                       "org.freedesktop.network1.Manager", "RenewLink") >= 0 &&
        sd_bus_message_append(call, "i", index) >= 0 && bus_->CallInteractive(call, nullptr) >= 0;
    sd_bus_message_unref(call);
    return ok;
}

std::vector<RenewOutcome> NetworkdAdapters::RenewAll() {
    std::vector<RenewOutcome> outcomes;
    bool refused = false;
    for (const Link& link : Links()) {
        RenewOutcome outcome{link.adapter.name, false, false};
        if (link.adapter.dhcpEnabled) {
            // networkd asks the DHCP server again at once, keeping the address meanwhile: its
            // release and renewal in one step. Once an ordinary user has refused, the other links
            // are not asked for again.
            const bool ok = !refused && Renew(link.index);
            refused =
                refused || (!ok && BusConnection::IsAuthorizationError(bus_->LastErrorName()));
            outcome.released = ok;
            outcome.renewed = ok;
            if (!RunsAsRoot()) {
                outcome.authorization = ok        ? Authorization::Granted
                                        : refused ? Authorization::Refused
                                                  : Authorization::NotNeeded;
            }
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}
