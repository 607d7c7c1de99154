#pragma once

#include <map>
#include <string>
#include <string_view>

// Readers of the files in which the DHCP clients keep their leases. Each takes the whole text of
// a file and returns the dotted DHCP server address, or an empty text when the file names none.

// A dhclient lease file: a sequence of "lease { ... }" blocks, appended as leases come, so the
// last block for the interface is the current one. An empty interface matches every block.
std::string DhclientLeaseServer(std::string_view text, std::string_view interface);

// A systemd-networkd lease file (KEY=VALUE lines): its SERVER_ADDRESS.
std::string NetworkdLeaseServer(std::string_view text);

// The Options of a NetworkManager DHCPv4 configuration: its dhcp_server_identifier.
std::string NetworkManagerLeaseServer(const std::map<std::string, std::string>& options);

// The value of KEY in a KEY=VALUE file, such as networkd's link state files; empty when absent.
std::string KeyValueOf(std::string_view text, std::string_view key);

// Whether a systemd-networkd .network file asks for DHCPv4: DHCP= in its [Network] section is
// yes, true, on, 1 or ipv4.
bool NetworkFileWantsDhcp4(std::string_view text);

// True for a dotted IPv4 text such as "10.0.0.1".
bool IsDottedIpv4(std::string_view text);
