// EnableDHCP: the helper the modem detection starts beside the wizard. It makes sure every wired
// interface takes its IPv4 address by DHCP and says what it did. It exits with 0 whatever it
// found, except when the user refused an authorization it asked for: then with
// kDhcpHelperNotAuthorized, so that the wizard can tell the user what could not be done.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "EnableDhcp.h"
#include "detection/ModemDetection.h"
#include "detection/adapters/BusConnection.h"
#include "detection/adapters/NetworkAdapters.h"

int main() {
    // In the demo against the simulated modem the PC's own network is not involved: a demo on a
    // desktop must not switch its wired connections to DHCP.
    if (const char* modem = std::getenv(kSimulatedModemVariable); modem && *modem) {
        std::printf("simulated modem at %s: the PC's network settings are left alone\n", modem);
        return 0;
    }
    std::unique_ptr<BusConnection> bus = BusConnection::Open("");
    EnableDhcpOnWiredProfiles(bus.get(), stdout);
    // The privileged helper lies beside this program.
    std::string directory = ".";
    char self[PATH_MAX] = {};
    if (ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1); n > 0) {
        directory.assign(self, static_cast<std::size_t>(n));
        directory.erase(directory.rfind('/'));
    }
    bool refused = false;
    StartDhcpOnUnmanagedInterfaces(bus.get(), stdout, directory, &refused);
    return refused ? kDhcpHelperNotAuthorized : 0;
}
