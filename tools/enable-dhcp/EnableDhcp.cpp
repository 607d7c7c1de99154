#include "EnableDhcp.h"

#include <map>
#include <string>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkManagerAdapters.h"
#include "detection/adapters/UnmanagedInterfaces.h"
#include "detection/processes/PrivilegedHelper.h"
#include "detection/processes/ProcessService.h"

int EnableDhcpOnWiredProfiles(BusConnection* bus, std::FILE* out) {
    if (!bus || !bus->NameHasOwner(kNetworkManagerService)) {
        std::fprintf(out,
                     "NetworkManager does not run here: it has no connection profile to "
                     "change\n");
        return 0;
    }
    int changed = 0;
    int wired = 0;
    for (const std::string& path : ProfilePaths(*bus)) {
        std::map<std::string, std::string> settings = ProfileStrings(*bus, path);
        if (settings["connection.type"] != "802-3-ethernet") continue;
        ++wired;
        const std::string& name = settings["connection.id"];
        const std::string method = settings.count("ipv4.method") ? settings["ipv4.method"] : "";
        if (method == "auto") {
            std::fprintf(out, "wired profile \"%s\": already takes its address by DHCP\n",
                         name.c_str());
        } else if (SetProfileIpv4Auto(*bus, path)) {
            ++changed;
            std::fprintf(out,
                         "wired profile \"%s\": ipv4.method %s -> auto (its fixed addresses, if "
                         "any, are kept as additional addresses)\n",
                         name.c_str(), method.empty() ? "(unset)" : method.c_str());
        } else {
            std::fprintf(out, "wired profile \"%s\": could not be changed: %s\n", name.c_str(),
                         bus->LastError().c_str());
        }
    }
    if (wired == 0) std::fprintf(out, "NetworkManager has no wired connection profile\n");
    return changed;
}

int StartDhcpOnUnmanagedInterfaces(BusConnection* bus, std::FILE* out,
                                   const std::string& helperDirectory, bool* refused) {
    const std::vector<InterfaceFacts> facts =
        ReadInterfaceFacts(NetworkManagerManagedInterfaces(bus));
    bool needed = false;
    for (const InterfaceFacts& interface : facts) needed = needed || NeedsDhcpClient(interface);
    if (!needed) return 0;
    if (RunsAsRoot()) {
        PosixProcessService processes;
        return StartDhcpClients(facts, processes, out);
    }
    const HelperRun run = RunPrivilegedHelper(helperDirectory, "start-dhcp");
    if (refused) *refused = run.started && run.refused;
    if (!run.started || run.refused) {
        std::fprintf(out,
                     "wired interfaces without an address: starting a DHCP client needs an "
                     "administrator's authorization, which was %s\n",
                     run.started ? "not given" : "not available (pkexec or the helper is missing)");
        return 0;
    }
    std::fputs(run.output.c_str(), out);
    int leased = 0;
    for (std::size_t at = run.output.find("took an address"); at != std::string::npos;
         at = run.output.find("took an address", at + 1)) {
        ++leased;
    }
    return leased;
}
