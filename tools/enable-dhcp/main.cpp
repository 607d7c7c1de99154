// EnableDHCP: the helper the modem detection starts beside the wizard. It makes sure every wired
// interface takes its IPv4 address by DHCP, says what it did, and exits with 0 whatever it found:
// the detection does not read its exit code.

#include <cstdio>
#include <memory>

#include "EnableDhcp.h"
#include "platform/BusConnection.h"

int main() {
    std::unique_ptr<BusConnection> bus = BusConnection::Open("");
    EnableDhcpOnWiredProfiles(bus.get(), stdout);
    return 0;
}
