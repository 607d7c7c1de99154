// The privileged helper of the wizard: the few network steps that need root outside any
// service, for a wizard run by an ordinary user, who starts it through pkexec. It takes one
// word and nothing else from its caller: which interfaces and which files it touches it finds
// out itself, as root.
//   renew       releases and renews the lease of every dhclient instance of the system and
//               tells which instances it left out
//   start-dhcp  starts the system's DHCP client on each wired interface nothing manages

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/DhclientAdapters.h"
#include "detection/adapters/NetworkAdapters.h"
#include "detection/adapters/UnmanagedInterfaces.h"
#include "detection/processes/ProcessService.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s renew | start-dhcp\n", argv[0]);
        return 2;
    }
    if (!RunsAsRoot()) {
        std::fprintf(stderr, "%s: needs root; the wizard starts it through pkexec\n", argv[0]);
        return 1;
    }
    // The programs it starts are looked up in the system's folders only.
    setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    PosixProcessService processes;
    const std::string word = argv[1];
    if (word == "renew") {
        const std::string dhclient = InstalledDhclient();
        if (dhclient.empty()) return 1;
        DhclientAdapters adapters(processes, dhclient);
        // What it leaves out is told to the caller, one line each (a line break in a path
        // would end the line early, so it becomes a space).
        adapters.SetNoticeSink([](const std::string& text) {
            std::string line = text;
            std::replace(line.begin(), line.end(), '\n', ' ');
            std::printf("notice %s\n", line.c_str());
        });
        for (const RenewOutcome& outcome : adapters.RenewAll()) {
            std::printf("renew %s %d %d\n", outcome.name.c_str(), outcome.released ? 1 : 0,
                        outcome.renewed ? 1 : 0);
        }
        return 0;
    }
    if (word == "start-dhcp") {
        std::unique_ptr<BusConnection> bus = BusConnection::Open("");
        StartDhcpClients(ReadInterfaceFacts(NetworkManagerManagedInterfaces(bus.get())), processes,
                         stdout);
        return 0;
    }
    std::fprintf(stderr, "%s: unknown step '%s'\n", argv[0], word.c_str());
    return 2;
}
