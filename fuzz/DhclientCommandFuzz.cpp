// The reader of a dhclient process's command line, which any local user can choose. The input is
// the argument list with NUL bytes between the arguments (argv[0] first), as the process table
// shows it.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "detection/adapters/DhclientAdapters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> argv = PiecesAtNul(data, size);
    const std::optional<DhclientInstance> instance = ParseDhclientCommand(argv);
    if (!instance) return 0;

    const std::string& program = argv[0];
    FUZZ_CHECK(program == "dhclient" || program.ends_with("/dhclient"));
    FUZZ_CHECK(!instance->interfaces.empty());
    for (const std::string& interface : instance->interfaces) {
        FUZZ_CHECK(!interface.empty() && interface.front() != '-');
        FUZZ_CHECK(std::find(argv.begin() + 1, argv.end(), interface) != argv.end());
    }

    // Kept options come as option and value, next to each other on the command line.
    const std::vector<std::string>& kept = instance->fileOptions;
    FUZZ_CHECK(kept.size() % 2 == 0);
    for (std::size_t i = 0; i < kept.size(); i += 2) {
        FUZZ_CHECK(kept[i].starts_with("-"));
        const auto at =
            std::search(argv.begin() + 1, argv.end(), kept.begin() + i, kept.begin() + i + 2);
        FUZZ_CHECK(at != argv.end());
    }

    // The lease file is the default one or a value given to -lf.
    if (instance->leaseFile != DhclientInstance{}.leaseFile) {
        bool given = false;
        for (std::size_t i = 1; i + 1 < argv.size(); ++i) {
            given = given || (argv[i] == "-lf" && argv[i + 1] == instance->leaseFile);
        }
        FUZZ_CHECK(given);
    }

    const std::size_t words = 2 + kept.size() + instance->interfaces.size();
    FUZZ_CHECK(DhclientReleaseCommand(*instance).size() == words);
    FUZZ_CHECK(DhclientRenewCommand(*instance).size() == words);
    return 0;
}
