#include "detection/adapters/UnmanagedInterfaces.h"

#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "detection/adapters/BusConnection.h"
#include "detection/adapters/DhclientAdapters.h"
#include "detection/adapters/LeaseFiles.h"
#include "detection/adapters/NetworkManagerAdapters.h"
#include "detection/adapters/SystemInterfaces.h"
#include "detection/processes/ProcessService.h"

namespace {

constexpr int kPollMs = 200;
constexpr int kArphrdEther = 1;

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::set<std::string> InterfacesWithIpv4() {
    std::set<std::string> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET && i->ifa_name) {
            out.insert(i->ifa_name);
        }
    }
    freeifaddrs(list);
    return out;
}

// The interfaces a running dhcpcd serves; "*" when one serves every interface.
std::set<std::string> DhcpcdInterfaces() {
    std::set<std::string> out;
    for (const std::vector<std::string>& argv : ProcessCommandLines()) {
        if (argv.empty()) continue;
        const std::string& program = argv[0];
        if (program != "dhcpcd" && !program.ends_with("/dhcpcd")) continue;
        bool named = false;
        for (std::size_t i = 1; i < argv.size(); ++i) {
            if (!argv[i].empty() && argv[i][0] != '-') {
                out.insert(argv[i]);
                named = true;
            }
        }
        if (!named) out.insert("*");
    }
    return out;
}

// True when systemd-networkd configures the link (its state file says it is not unmanaged).
bool NetworkdManages(int index) {
    const std::optional<std::string> state =
        ReadTextFile("/run/systemd/netif/links/" + std::to_string(index));
    if (!state) return false;
    const std::string admin = KeyValueOf(*state, "ADMIN_STATE");
    return !admin.empty() && admin != "unmanaged";
}

}  // namespace

bool NeedsDhcpClient(const InterfaceFacts& facts) {
    return facts.ethernet && facts.carrier && !facts.hasIpv4 && !facts.managed;
}

std::vector<InterfaceFacts> ReadInterfaceFacts(
    const std::set<std::string>& managedByNetworkManager) {
    std::vector<InterfaceFacts> out;
    const std::set<std::string> withIpv4 = InterfacesWithIpv4();
    std::set<std::string> clients = DhcpcdInterfaces();
    // Any dhclient counts here, whoever runs it: the question is only whether an interface
    // already has a client, never what to run or which file to believe.
    for (const std::vector<std::string>& argv : ProcessCommandLines()) {
        if (std::optional<DhclientInstance> instance = ParseDhclientCommand(argv)) {
            clients.insert(instance->interfaces.begin(), instance->interfaces.end());
        }
    }
    for (const SystemInterface& interface : ListSystemInterfaces()) {
        const std::string sys = "/sys/class/net/" + interface.name;
        InterfaceFacts facts;
        facts.name = interface.name;
        facts.ethernet =
            Trimmed(ReadTextFile(sys + "/type").value_or("")) == std::to_string(kArphrdEther) &&
            !Exists(sys + "/wireless") && !Exists(sys + "/phy80211") && !Exists(sys + "/bridge") &&
            !Exists(sys + "/bonding");
        // Reading the carrier of a link that is down fails: it has none.
        facts.carrier = Trimmed(ReadTextFile(sys + "/carrier").value_or("0")) == "1";
        facts.hasIpv4 = withIpv4.count(interface.name) > 0;
        facts.managed = managedByNetworkManager.count(interface.name) > 0 ||
                        NetworkdManages(interface.index) || clients.count(interface.name) > 0 ||
                        clients.count("*") > 0;
        out.push_back(facts);
    }
    return out;
}

std::set<std::string> NetworkManagerManagedInterfaces(BusConnection* bus) {
    constexpr std::uint32_t kDeviceStateUnmanaged = 10;
    constexpr const char* kDeviceInterface = "org.freedesktop.NetworkManager.Device";
    std::set<std::string> out;
    if (!bus || !bus->NameHasOwner(kNetworkManagerService)) return out;
    for (const std::string& device :
         bus->PathList(kNetworkManagerService, "/org/freedesktop/NetworkManager",
                       "org.freedesktop.NetworkManager", "GetDevices")) {
        const std::uint32_t state =
            bus->U32Property(kNetworkManagerService, device, kDeviceInterface, "State", 0);
        if (state > kDeviceStateUnmanaged) {
            out.insert(
                bus->StringProperty(kNetworkManagerService, device, kDeviceInterface, "Interface"));
        }
    }
    return out;
}

std::string InstalledDhcpClient() {
    std::string dhclient = InstalledDhclient();
    if (!dhclient.empty()) return dhclient;
    for (const char* path : {"/usr/sbin/dhcpcd", "/sbin/dhcpcd"}) {
        if (access(path, X_OK) == 0) return path;
    }
    return {};
}

std::vector<std::string> DhcpClientCommand(const std::string& client,
                                           const std::string& interface) {
    if (client.ends_with("dhcpcd")) {
        // IPv4 only, in the background at once; dhcpcd keeps its own per-interface files.
        return {client, "-4", "-b", interface};
    }
    // The files ifupdown gives dhclient for an interface, in the background at once.
    return {client,
            "-4",
            "-nw",
            "-pf",
            "/run/dhclient." + interface + ".pid",
            "-lf",
            "/var/lib/dhcp/dhclient." + interface + ".leases",
            interface};
}

int StartDhcpClients(const std::vector<InterfaceFacts>& interfaces, ProcessService& processes,
                     std::FILE* out, int leaseLimitMs) {
    const std::string client = InstalledDhcpClient();
    int leased = 0;
    for (const InterfaceFacts& facts : interfaces) {
        if (!NeedsDhcpClient(facts)) continue;
        if (client.empty()) {
            std::fprintf(out,
                         "wired interface %s: has no address and nothing manages it, but no DHCP "
                         "client is installed\n",
                         facts.name.c_str());
            continue;
        }
        if (processes.Run(DhcpClientCommand(client, facts.name), true) != 0) {
            std::fprintf(out, "wired interface %s: %s could not be started\n", facts.name.c_str(),
                         client.c_str());
            continue;
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(leaseLimitMs);
        bool gotAddress = false;
        while (!(gotAddress = InterfacesWithIpv4().count(facts.name) > 0) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        }
        leased += gotAddress ? 1 : 0;
        std::fprintf(out, "wired interface %s: nothing managed it; started %s, %s\n",
                     facts.name.c_str(), client.c_str(),
                     gotAddress ? "it took an address by DHCP"
                                : "no address yet (it keeps asking in the background)");
    }
    return leased;
}
