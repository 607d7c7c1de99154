#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "detection/adapters/NetworkAdapters.h"

// Addresses kept by plain dhclient processes (ifupdown and hand-made setups). The running
// dhclient instances of this network namespace tell which interfaces use DHCP and where their
// lease files are; a renewal releases with "dhclient -r" and asks once more with "dhclient -1",
// with the same lease, pid and configuration files as the running instance.
//
// The renewal runs as root, so an instance is believed only when it cannot have been set up by
// anyone else: a root process of the installed dhclient, whose files only root can change. Its
// script (-sf) and environment (-e) are never passed on: the renewal uses the system's script.

// What a dhclient command line says about the instance.
struct DhclientInstance {
    std::vector<std::string> interfaces;
    std::string leaseFile = "/var/lib/dhcp/dhclient.leases";
    // The file options passed on to the release and the renewal (-lf, -pf, -cf with their
    // paths), in the order given.
    std::vector<std::string> fileOptions;
    // The script and environment options given to the instance ("-sf PATH, -e NAME=VALUE"),
    // which are not passed on.
    std::string ignoredOptions;
};

// Reads the arguments of a dhclient process (argv[0] included). Nothing for a DHCPv6 client or
// one without an interface, which serves no IPv4 lease of a known interface.
std::optional<DhclientInstance> ParseDhclientCommand(const std::vector<std::string>& argv);

// The release and the renewal commands for an instance.
std::vector<std::string> DhclientReleaseCommand(const DhclientInstance& instance);
std::vector<std::string> DhclientRenewCommand(const DhclientInstance& instance);

// The path with every link resolved, when only root can change what the file holds: the file,
// if it exists, is a regular file of root's that no group or other user may write, and so is
// every folder above it, except that a sticky folder (such as /tmp) may be open to all as long
// as the name in it already exists. Nothing otherwise, with the reason in *why.
std::optional<std::string> RootOnlyFile(const std::string& path, std::string* why);

class DhclientAdapters final : public NetworkAdapters {
public:
    // program: the installed dhclient, an absolute path. Only its processes count, and it is the
    // one run for the release and the renewal.
    DhclientAdapters(ProcessService& processes, std::string program)
        : processes_(processes), program_(std::move(program)) {}
    std::string_view Backend() const override { return "dhclient"; }
    bool List(std::vector<NetworkAdapter>& adapters) override;
    std::vector<RenewOutcome> RenewAll() override;

    // The trusted dhclient instances running in this network namespace, their file paths
    // resolved. Every other process that calls itself dhclient here is left out and said once
    // through the notice sink.
    std::vector<DhclientInstance> RunningInstances();

private:
    void NoticeOnce(const std::string& text);

    ProcessService& processes_;
    std::string program_;
    std::set<std::string> noticed_;
};
