#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

class BusConnection;
class ProcessService;

// Wired interfaces that nothing manages: up with carrier, no IPv4 address, and neither
// NetworkManager, systemd-networkd nor a running DHCP client looking after them (a minimal
// installation, a USB adapter plugged in just now). EnableDHCP starts the system's DHCP client on
// each, as the PC's own network settings would if they took the address by DHCP.

// What the system says about one interface.
struct InterfaceFacts {
    std::string name;
    bool ethernet = false;  // an Ethernet-type link that is neither wireless, a bridge nor a bond
    bool carrier = false;
    bool hasIpv4 = false;
    bool managed = false;  // a network manager or a DHCP client looks after it
};

// True when the interface needs a DHCP client started for it.
bool NeedsDhcpClient(const InterfaceFacts& facts);

// The facts of every interface except loopback, in interface order. managedByNetworkManager:
// the interfaces NetworkManager manages (empty where it does not run); systemd-networkd's state
// folder and the running DHCP clients tell the rest.
std::vector<InterfaceFacts> ReadInterfaceFacts(
    const std::set<std::string>& managedByNetworkManager);

// The interfaces whose devices NetworkManager manages; none when bus is nullptr or
// NetworkManager does not run there.
std::set<std::string> NetworkManagerManagedInterfaces(BusConnection* bus);

// The installed DHCP client: dhclient, else dhcpcd; empty when there is none.
std::string InstalledDhcpClient();

// The command that starts client (a path to dhclient or dhcpcd) on one interface in the
// background, with the per-interface lease and pid files the system's own scripts use.
std::vector<std::string> DhcpClientCommand(const std::string& client, const std::string& interface);

// Starts the installed DHCP client on every interface that needs one and waits, at most
// leaseLimitMs for each, until it holds an IPv4 address; one line per interface to out. Needs
// root. Returns the number of interfaces that took an address.
int StartDhcpClients(const std::vector<InterfaceFacts>& interfaces, ProcessService& processes,
                     std::FILE* out, int leaseLimitMs = 15000);
