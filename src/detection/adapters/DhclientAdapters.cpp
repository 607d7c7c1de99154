#include "detection/adapters/DhclientAdapters.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "detection/adapters/LeaseFiles.h"
#include "detection/adapters/SystemInterfaces.h"
#include "detection/processes/ProcessService.h"

namespace {

// Options of dhclient that take a value. The ones naming its files are passed on to the release
// and the renewal; the script and the environment never are.
constexpr std::string_view kFileOptions[] = {"-lf", "-pf", "-cf"};
constexpr std::string_view kOtherWithValue[] = {"-sf",
                                                "-e",
                                                "-p",
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

// The device and inode of this process's net/dev file, which name its network namespace.
std::string SelfNetDevice() {
    struct stat info {};
    if (stat("/proc/self/net/dev", &info) != 0) return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// A /proc/PID folder held open, so that every read concerns the same process: once that process
// has ended, reads through the folder fail even if its pid has gone to another one meanwhile.
class ProcessFolder {
public:
    explicit ProcessFolder(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~ProcessFolder() {
        if (fd_ >= 0) close(fd_);
    }
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    std::optional<std::string> Read(const char* name) const {
        const int fd = openat(fd_, name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        std::string text;
        char chunk[4096];
        ssize_t n;
        while ((n = read(fd, chunk, sizeof chunk)) > 0)
            text.append(chunk, static_cast<std::size_t>(n));
        close(fd);
        if (n < 0) return std::nullopt;
        return text;
    }

    std::string Link(const char* name) const {
        char target[PATH_MAX];
        const ssize_t n = readlinkat(fd_, name, target, sizeof target - 1);
        return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
    }

    // The arguments the process was started with.
    std::vector<std::string> CommandLine() const {
        std::vector<std::string> argv;
        const std::string raw = Read("cmdline").value_or("");
        std::size_t start = 0;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\0') {
                argv.push_back(raw.substr(start, i - start));
                start = i + 1;
            }
        }
        return argv;
    }

    // The real, effective, saved and file-system user ids, from the "Uid:" line of its status;
    // nothing when they cannot be read. (The owner of the /proc entries is no proof: a process
    // that makes itself undumpable has them shown as root's.)
    std::optional<std::vector<long>> UserIds() const {
        std::istringstream status(Read("status").value_or(""));
        std::string line;
        while (std::getline(status, line)) {
            if (!line.starts_with("Uid:")) continue;
            std::istringstream fields(line.substr(4));
            std::vector<long> ids;
            long id;
            while (fields >> id) ids.push_back(id);
            if (ids.size() == 4) return ids;
        }
        return std::nullopt;
    }

    // Whether the process runs the program at path (the same file, whatever name led to it);
    // nothing when its program cannot be looked at (another user's process, seen by an ordinary
    // user).
    std::optional<bool> Runs(const std::string& path) const {
        struct stat running {};
        struct stat installed {};
        if (fstatat(fd_, "exe", &running, 0) != 0) {
            if (errno == EACCES || errno == EPERM) return std::nullopt;
            return false;
        }
        return stat(path.c_str(), &installed) == 0 && running.st_dev == installed.st_dev &&
               running.st_ino == installed.st_ino;
    }

    // The network namespace the process lives in. Its ns/net link cannot be read for another
    // user's process; the device and inode of its net/dev file tell the namespace all the same.
    std::string NetNamespace() const {
        const std::string link = Link("ns/net");
        if (!link.empty()) return link;
        struct stat info {};
        if (fstatat(fd_, "net/dev", &info, 0) != 0) return {};
        return "dev:" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }

private:
    int fd_;
};

}  // namespace

std::optional<DhclientInstance> ParseDhclientCommand(const std::vector<std::string>& argv) {
    if (argv.empty() || Basename(argv[0]) != "dhclient") return std::nullopt;
    DhclientInstance instance;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& word = argv[i];
        if (word == "-6") return std::nullopt;
        const bool file = In(word, kFileOptions);
        if (file || In(word, kOtherWithValue)) {
            if (i + 1 >= argv.size()) return std::nullopt;
            ++i;
            if (!file) {
                if (word == "-sf" || word == "-e") {
                    if (!instance.ignoredOptions.empty()) instance.ignoredOptions += ", ";
                    instance.ignoredOptions += word + " " + argv[i];
                }
                continue;
            }
            if (word == "-lf") instance.leaseFile = argv[i];
            instance.fileOptions.push_back(word);
            instance.fileOptions.push_back(argv[i]);
        } else if (!word.empty() && word.front() != '-') {
            instance.interfaces.push_back(word);
        }
    }
    if (instance.interfaces.empty()) return std::nullopt;
    return instance;
}

std::optional<std::string> RootOnlyFile(const std::string& path, std::string* why) {
    auto refuse = [why](std::string reason) -> std::optional<std::string> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    if (path.empty() || path.front() != '/') return refuse("not an absolute path");
    char buffer[PATH_MAX];
    std::string resolved;
    struct stat st {};
    const bool exists = realpath(path.c_str(), buffer) != nullptr;
    if (exists) {
        resolved = buffer;
        if (lstat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return refuse("not a regular file");
        }
        if (st.st_uid != 0) return refuse("owned by user " + std::to_string(st.st_uid));
        if (st.st_mode & (S_IWGRP | S_IWOTH)) return refuse("writable by group or others");
    } else {
        // A missing file is judged by the folder it would be made in.
        if (errno != ENOENT) return refuse(std::strerror(errno));
        const std::string name = Basename(path);
        if (name.empty() || name == "." || name == ".." ||
            !realpath(ParentOf(path).c_str(), buffer)) {
            return refuse("its folder cannot be resolved");
        }
        resolved = std::string(buffer) == "/" ? "/" + name : std::string(buffer) + "/" + name;
        if (lstat(resolved.c_str(), &st) == 0) return refuse("a link to nowhere");
    }
    // Up to "/": no one but root may put another file in the place of one on the way.
    bool childExists = exists;
    for (std::string folder = ParentOf(resolved);; folder = ParentOf(folder)) {
        if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            return refuse("its folder " + folder + " cannot be read");
        }
        if (st.st_uid != 0) {
            return refuse("its folder " + folder + " is owned by user " +
                          std::to_string(st.st_uid));
        }
        const bool openToOthers = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        // In a sticky folder only the owner of a name can remove or rename it.
        if (openToOthers && !(childExists && (st.st_mode & S_ISVTX))) {
            return refuse("its folder " + folder + " is writable by group or others");
        }
        if (folder == "/") break;
        childExists = true;
    }
    return resolved;
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

void DhclientAdapters::NoticeOnce(const std::string& text) {
    if (noticed_.insert(text).second) Notice(text);
}

std::vector<DhclientInstance> DhclientAdapters::RunningInstances() {
    // Only the processes of this network namespace serve interfaces that are ours.
    std::vector<DhclientInstance> out;
    const std::string ours = ProcessFolder("/proc/self").Link("ns/net");
    if (ours.empty()) return out;
    DIR* proc = opendir("/proc");
    if (!proc) return out;
    std::vector<int> pids;
    while (dirent* entry = readdir(proc)) {
        const std::string_view name = entry->d_name;
        if (!name.empty() && name.size() < 10 && std::all_of(name.begin(), name.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            })) {
            pids.push_back(std::stoi(std::string(name)));
        }
    }
    closedir(proc);
    // Oldest first, so the order does not depend on the directory's.
    std::sort(pids.begin(), pids.end());
    for (int pid : pids) {
        const ProcessFolder process("/proc/" + std::to_string(pid));
        if (!process.IsOpen()) continue;
        std::optional<DhclientInstance> instance = ParseDhclientCommand(process.CommandLine());
        // A process of another network namespace serves interfaces that are not ours.
        if (!instance) continue;
        const std::string theirs = process.NetNamespace();
        if (theirs.empty()) continue;
        if (theirs.starts_with("dev:") ? theirs.substr(4) != SelfNetDevice() : theirs != ours) {
            continue;
        }

        const std::string name = "dhclient process " + std::to_string(pid);
        const std::optional<std::vector<long>> ids = process.UserIds();
        if (!ids || std::any_of(ids->begin(), ids->end(), [](long id) { return id != 0; })) {
            NoticeOnce(name + " left out: it does not run as root" +
                       (ids ? " (user " + std::to_string(ids->front()) + ")" : ""));
            continue;
        }
        // An ordinary user cannot look at root's program; such a user runs nothing as root from
        // here (renewals go through the privileged helper, which works out its own files), so a
        // process that runs as root in every id is enough.
        const std::optional<bool> runs = process.Runs(program_);
        if (runs == false || (!runs && geteuid() == 0)) {
            NoticeOnce(name + " left out: its program " + process.Link("exe") + " is not " +
                       program_);
            continue;
        }
        // Each file it names is used by its resolved path, and only when root alone controls it.
        bool trusted = true;
        std::string why;
        auto vet = [&](std::string& path, const char* role) {
            std::optional<std::string> resolved = RootOnlyFile(path, &why);
            if (!resolved) {
                NoticeOnce(name + " left out: its " + role + " " + path + ": " + why);
                trusted = false;
                return;
            }
            path = *resolved;
        };
        vet(instance->leaseFile, "lease file");
        for (std::size_t i = 0; trusted && i + 1 < instance->fileOptions.size(); i += 2) {
            const std::string& option = instance->fileOptions[i];
            vet(instance->fileOptions[i + 1], option == "-lf"   ? "lease file"
                                              : option == "-pf" ? "pid file"
                                                                : "configuration file");
        }
        if (!trusted) continue;
        if (!instance->ignoredOptions.empty()) {
            NoticeOnce(name + ": " + instance->ignoredOptions +
                       " not passed on (the renewal uses the system's dhclient script)");
        }
        out.push_back(*instance);
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
