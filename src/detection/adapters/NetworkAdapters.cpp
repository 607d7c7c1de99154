#include "detection/adapters/NetworkAdapters.h"

#include <unistd.h>

#include <cstdlib>

#include "detection/adapters/DhclientAdapters.h"
#include "detection/adapters/NetworkManagerAdapters.h"
#include "detection/adapters/NetworkdAdapters.h"
#include "detection/processes/PrivilegedHelper.h"
#include "detection/processes/ProcessService.h"

std::string InstalledDhclient() {
    for (const char* path : {"/usr/sbin/dhclient", "/sbin/dhclient", "/usr/bin/dhclient"}) {
        if (access(path, X_OK) == 0) return path;
    }
    return {};
}

bool AnyRenewed(const std::vector<RenewOutcome>& outcomes) {
    for (const RenewOutcome& outcome : outcomes) {
        if (outcome.released && outcome.renewed) return true;
    }
    return false;
}

bool AnyRefused(const std::vector<RenewOutcome>& outcomes) {
    for (const RenewOutcome& outcome : outcomes) {
        if (outcome.authorization == Authorization::Refused) return true;
    }
    return false;
}

bool RunsAsRoot() {
    return geteuid() == 0;
}

SimulatedNetworkAdapters::SimulatedNetworkAdapters(std::string modemAddress)
    : modemAddress_(std::move(modemAddress)) {}

bool SimulatedNetworkAdapters::List(std::vector<NetworkAdapter>& adapters) {
    adapters = {{"sim0", true, modemAddress_}};
    return true;
}

std::vector<RenewOutcome> SimulatedNetworkAdapters::RenewAll() {
    return {{"sim0", true, true}};
}

std::unique_ptr<NetworkAdapters> CreateNetworkAdapters(ProcessService& processes) {
    if (const char* modem = std::getenv(kSimulatedModemVariable); modem && *modem) {
        return std::make_unique<SimulatedNetworkAdapters>(modem);
    }
    if (std::unique_ptr<BusConnection> bus = BusConnection::Open("")) {
        if (bus->NameHasOwner(kNetworkManagerService)) {
            return std::make_unique<NetworkManagerAdapters>(std::move(bus));
        }
        if (bus->NameHasOwner("org.freedesktop.network1")) {
            return std::make_unique<NetworkdAdapters>(std::move(bus));
        }
    }
    if (std::string dhclient = InstalledDhclient(); !dhclient.empty()) {
        auto adapters = std::make_unique<DhclientAdapters>(processes, dhclient);
        if (RunsAsRoot()) return adapters;
        // An ordinary user renews through the privileged helper beside the program.
        return std::make_unique<HelperRenewAdapters>(std::move(adapters), CurrentDirectory());
    }
    return nullptr;
}
