#include "detection/processes/PrivilegedHelper.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

extern char** environ;

namespace {

// pkexec's exit codes when the authorization could not be obtained (127) or the user dismissed
// the authentication dialog (126).
constexpr int kPkexecNotAuthorized = 127;
constexpr int kPkexecDismissed = 126;

}  // namespace

HelperRun RunPrivilegedHelper(const std::string& directory, const std::string& word) {
    HelperRun run;
    const std::string helper = directory + "/" + kPrivilegedHelperName;
    if (access(helper.c_str(), X_OK) != 0) return run;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"pkexec", helper.c_str(), word.c_str(), nullptr};
    pid_t pid = -1;
    const int rc =
        posix_spawnp(&pid, "pkexec", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        return run;
    }
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) != 0) {
        if (n > 0) {
            run.output.append(buffer, static_cast<std::size_t>(n));
        } else if (errno != EINTR) {
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.started = true;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.refused = run.exitCode == kPkexecNotAuthorized || run.exitCode == kPkexecDismissed;
    return run;
}

std::string HelperRenewAdapters::AuthorizationRoute() const {
    return std::string("pkexec ") + directory_ + "/" + kPrivilegedHelperName + " (polkit action " +
           kPrivilegedHelperAction + ")";
}

std::vector<RenewOutcome> HelperRenewAdapters::RenewAll() {
    std::vector<RenewOutcome> outcomes;
    const HelperRun run = RunPrivilegedHelper(directory_, "renew");
    if (!run.started || run.refused) {
        // Without the helper nothing could be renewed; the refusal is told per DHCP interface.
        std::vector<NetworkAdapter> adapters;
        inner_->List(adapters);
        for (const NetworkAdapter& adapter : adapters) {
            outcomes.push_back(
                {adapter.name, false, false,
                 adapter.dhcpEnabled ? Authorization::Refused : Authorization::NotNeeded});
        }
        return outcomes;
    }
    HelperRenewReport report = ReadHelperRenewOutput(run.output);
    for (const std::string& text : report.notices) Notice(text);
    return std::move(report.outcomes);
}

HelperRenewReport ReadHelperRenewOutput(const std::string& output) {
    HelperRenewReport report;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "notice") {
            std::string text;
            std::getline(words >> std::ws, text);
            if (std::find(report.notices.begin(), report.notices.end(), text) ==
                report.notices.end()) {
                report.notices.push_back(text);
            }
            continue;
        }
        RenewOutcome outcome;
        if (tag != "renew" || !(words >> outcome.name >> outcome.released >> outcome.renewed)) {
            break;
        }
        outcome.authorization = Authorization::Granted;
        report.outcomes.push_back(outcome);
    }
    return report;
}
