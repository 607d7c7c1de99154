#pragma once

#include <cstdio>
#include <string>

class BusConnection;

// Makes every wired connection profile of NetworkManager take its IPv4 address by DHCP
// (ipv4.method "auto"), writing one line per profile to out: what it changed, what was already
// so, and what it could not change. bus: a connection to the bus NetworkManager is on, or
// nullptr. Where NetworkManager does not run, nothing is changed and out says so. Fixed
// addresses of a profile are never removed: with "auto" they stay as additional addresses.
// Returns the number of profiles changed.
int EnableDhcpOnWiredProfiles(BusConnection* bus, std::FILE* out);

// Starts the system's DHCP client on every wired interface that has carrier but no IPv4 address
// and that nothing manages (neither NetworkManager, systemd-networkd nor a running client),
// saying so on out. As root it starts them itself; an ordinary user's go through the privileged
// helper in helperDirectory, started with pkexec. Nothing is asked or started when no interface
// needs it. Returns the number of interfaces that took an address, as far as it is known;
// *refused (when given) is set when the user's authorization was asked for and refused.
int StartDhcpOnUnmanagedInterfaces(BusConnection* bus, std::FILE* out,
                                   const std::string& helperDirectory, bool* refused = nullptr);
