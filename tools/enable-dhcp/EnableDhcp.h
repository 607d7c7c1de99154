#pragma once

#include <cstdio>

class BusConnection;

// Makes every wired connection profile of NetworkManager take its IPv4 address by DHCP
// (ipv4.method "auto"), writing one line per profile to out: what it changed, what was already
// so, and what it could not change. bus: a connection to the bus NetworkManager is on, or
// nullptr. Where NetworkManager does not run, nothing is changed and out says so. Fixed
// addresses of a profile are never removed: with "auto" they stay as additional addresses.
// Returns the number of profiles changed.
int EnableDhcpOnWiredProfiles(BusConnection* bus, std::FILE* out);
