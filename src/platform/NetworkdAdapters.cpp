#include "platform/NetworkdAdapters.h"

#include "platform/LeaseFiles.h"
#include "platform/ProcessService.h"
#include "platform/SystemInterfaces.h"

bool NetworkdAdapters::List(std::vector<NetworkAdapter>& adapters) {
    adapters.clear();
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
        adapters.push_back(adapter);
    }
    return true;
}

std::vector<RenewOutcome> NetworkdAdapters::RenewAll() {
    std::vector<RenewOutcome> outcomes;
    std::vector<NetworkAdapter> adapters;
    List(adapters);
    for (const NetworkAdapter& adapter : adapters) {
        RenewOutcome outcome{adapter.name, false, false};
        if (adapter.dhcpEnabled) {
            // networkd drops the old lease and asks for a new one in one step.
            bool ok = processes_.Run({"networkctl", "renew", adapter.name}, true) == 0;
            outcome.released = ok;
            outcome.renewed = ok;
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}
