#include "platform/DhclientAdapters.h"

#include <unistd.h>

#include <algorithm>

#include "platform/LeaseFiles.h"
#include "platform/ProcessService.h"
#include "platform/SystemInterfaces.h"

namespace {

// Options of dhclient that take a value; the ones naming files are kept for the renewal.
constexpr std::string_view kKeptWithValue[] = {"-lf", "-pf", "-cf", "-sf", "-e"};
constexpr std::string_view kOtherWithValue[] = {"-p",
                                                "-D",
                                                "-df",
                                                "-s",
                                                "-g",
                                                "-H",
                                                "-F",
                                                "-V",
                                                "-C",
                                                "--timeout",
                                                "--decline-wait-time",
                                                "--address-prefix-len",
                                                "--prefix-len-hint",
                                                "--dad-wait-time"};

bool In(std::string_view word, const auto& list) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

std::string Basename(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::optional<DhclientInstance> ParseDhclientCommand(const std::vector<std::string>& argv) {
    if (argv.empty() || Basename(argv[0]) != "dhclient") return std::nullopt;
    DhclientInstance instance;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& word = argv[i];
        if (word == "-6") return std::nullopt;
        if (In(word, kKeptWithValue)) {
            if (i + 1 >= argv.size()) return std::nullopt;
            if (word == "-lf") instance.leaseFile = argv[i + 1];
            instance.fileOptions.push_back(word);
            instance.fileOptions.push_back(argv[++i]);
        } else if (In(word, kOtherWithValue)) {
            ++i;
        } else if (!word.empty() && word.front() != '-') {
            instance.interfaces.push_back(word);
        }
    }
    if (instance.interfaces.empty()) return std::nullopt;
    return instance;
}

std::vector<std::string> DhclientReleaseCommand(const DhclientInstance& instance) {
    std::vector<std::string> command{"dhclient", "-r"};
    command.insert(command.end(), instance.fileOptions.begin(), instance.fileOptions.end());
    command.insert(command.end(), instance.interfaces.begin(), instance.interfaces.end());
    return command;
}

std::vector<std::string> DhclientRenewCommand(const DhclientInstance& instance) {
    std::vector<std::string> command{"dhclient", "-1"};
    command.insert(command.end(), instance.fileOptions.begin(), instance.fileOptions.end());
    command.insert(command.end(), instance.interfaces.begin(), instance.interfaces.end());
    return command;
}

std::vector<DhclientInstance> DhclientAdapters::RunningInstances() {
    // Only the processes of this network namespace serve interfaces that are ours.
    std::vector<DhclientInstance> out;
    for (const std::vector<std::string>& argv : ProcessCommandLines()) {
        if (std::optional<DhclientInstance> instance = ParseDhclientCommand(argv)) {
            out.push_back(*instance);
        }
    }
    return out;
}

bool DhclientAdapters::List(std::vector<NetworkAdapter>& adapters) {
    adapters.clear();
    const std::vector<DhclientInstance> instances = RunningInstances();
    for (const SystemInterface& interface : ListSystemInterfaces()) {
        NetworkAdapter adapter{interface.name, false, std::string(kNoDhcpServer)};
        for (const DhclientInstance& instance : instances) {
            if (!In(interface.name, instance.interfaces)) continue;
            adapter.dhcpEnabled = true;
            std::string server =
                DhclientLeaseServer(ReadTextFile(instance.leaseFile).value_or(""), interface.name);
            if (!server.empty()) adapter.dhcpServer = server;
        }
        adapters.push_back(adapter);
    }
    return true;
}

std::vector<RenewOutcome> DhclientAdapters::RenewAll() {
    std::vector<RenewOutcome> outcomes;
    const std::vector<DhclientInstance> instances = RunningInstances();
    for (const SystemInterface& interface : ListSystemInterfaces()) {
        outcomes.push_back({interface.name, false, false});
    }
    // One release and one renewal per instance: its pid file stands for all its interfaces.
    for (const DhclientInstance& instance : instances) {
        std::vector<std::string> release = DhclientReleaseCommand(instance);
        std::vector<std::string> renew = DhclientRenewCommand(instance);
        release[0] = renew[0] = program_;
        bool released = processes_.Run(release, true) == 0;
        bool renewed = released && processes_.Run(renew, true) == 0;
        for (RenewOutcome& outcome : outcomes) {
            if (In(outcome.name, instance.interfaces)) {
                outcome.released = released;
                outcome.renewed = renewed;
            }
        }
    }
    return outcomes;
}
