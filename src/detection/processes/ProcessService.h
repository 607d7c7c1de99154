#pragma once

#include <string>
#include <vector>

// Starting other programs: the DHCP helper and the renewal commands, which the caller waits for,
// and the neighbour-cache flush and the ping, which it does not. A command is a program name
// (looked up in PATH unless it holds a "/") followed by its arguments; no shell is involved.
class ProcessService {
public:
    static constexpr int kNotStarted = -1;
    static constexpr int kNoExitCode = -2;

    virtual ~ProcessService() = default;
    // Runs the command and waits for it without a time limit. Its exit code; kNotStarted when it
    // could not be started (missing, not executable); kNoExitCode when it started but ended
    // without one (killed by a signal) or could not be waited for. quiet sends its output to
    // /dev/null; otherwise it shares ours.
    virtual int Run(const std::vector<std::string>& command, bool quiet) = 0;
    // Starts the command, output to /dev/null, and returns at once; it is never waited for and
    // its failure is not reported.
    virtual void StartDetached(const std::vector<std::string>& command) = 0;
};

// Real processes through posix_spawn.
class PosixProcessService final : public ProcessService {
public:
    int Run(const std::vector<std::string>& command, bool quiet) override;
    void StartDetached(const std::vector<std::string>& command) override;
};

// The directory the program was started in, without a trailing separator.
std::string CurrentDirectory();
