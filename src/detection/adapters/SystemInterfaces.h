#pragma once

#include <optional>
#include <string>
#include <vector>

// The network interfaces of the network namespace the program runs in, and small file reads
// shared by the adapter services.

struct SystemInterface {
    int index;
    std::string name;
};

// Every interface except loopback, ordered by interface index (the order the kernel numbered
// them, which is stable while the system runs).
std::vector<SystemInterface> ListSystemInterfaces();

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

// The command lines (argv, argv[0] included) of the processes of this network namespace, oldest
// first.
std::vector<std::vector<std::string>> ProcessCommandLines();
