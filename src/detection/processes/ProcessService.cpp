#include "detection/processes/ProcessService.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <thread>

extern char** environ;

namespace {

std::vector<char*> Argv(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// Spawns the command; its pid, or -1.
pid_t Spawn(const std::vector<std::string>& command, bool quiet) {
    if (command.empty()) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char*> argv = Argv(command);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return ProcessService::kNoExitCode;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : ProcessService::kNoExitCode;
}

}  // namespace

int PosixProcessService::Run(const std::vector<std::string>& command, bool quiet) {
    pid_t pid = Spawn(command, quiet);
    return pid < 0 ? kNotStarted : WaitFor(pid);
}

void PosixProcessService::StartDetached(const std::vector<std::string>& command) {
    pid_t pid = Spawn(command, true);
    // Reaped in the background so that it never stays behind as a zombie of ours.
    if (pid > 0) std::thread([pid] { WaitFor(pid); }).detach();
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return ".";
    return buffer;
}
