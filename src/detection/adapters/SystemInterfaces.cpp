#include "detection/adapters/SystemInterfaces.h"

#include <dirent.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool IsLoopback(int fd, const char* name) {
    ifreq request{};
    std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
    if (ioctl(fd, SIOCGIFFLAGS, &request) != 0) return false;
    return (request.ifr_flags & IFF_LOOPBACK) != 0;
}

}  // namespace

std::vector<SystemInterface> ListSystemInterfaces() {
    std::vector<SystemInterface> out;
    struct if_nameindex* list = if_nameindex();
    if (!list) return out;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    for (struct if_nameindex* i = list; i->if_index != 0 && i->if_name; ++i) {
        if (fd >= 0 && IsLoopback(fd, i->if_name)) continue;
        out.push_back({static_cast<int>(i->if_index), i->if_name});
    }
    if (fd >= 0) close(fd);
    if_freenameindex(list);
    std::sort(out.begin(), out.end(),
              [](const SystemInterface& a, const SystemInterface& b) { return a.index < b.index; });
    return out;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// The identity of a process's network namespace: the target of its namespace link, which only
// the process's owner and root may read; for other people's processes (an ordinary user looking
// at root's DHCP clients) the inode of its /proc net folder's device list, which the kernel
// makes anew for every network namespace. Empty when neither can be read.
std::string NetNamespaceOf(const std::string& pid, bool byInode) {
    if (!byInode) {
        char target[PATH_MAX];
        ssize_t n = readlink(("/proc/" + pid + "/ns/net").c_str(), target, sizeof target - 1);
        return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
    }
    struct stat info {};
    if (stat(("/proc/" + pid + "/net/dev").c_str(), &info) != 0) return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

}  // namespace

std::vector<std::vector<std::string>> ProcessCommandLines() {
    std::vector<std::vector<std::string>> out;
    const std::string ours = NetNamespaceOf("self", false);
    const std::string oursByInode = NetNamespaceOf("self", true);
    DIR* proc = opendir("/proc");
    if (!proc || ours.empty()) {
        if (proc) closedir(proc);
        return out;
    }
    std::vector<int> pids;
    while (dirent* entry = readdir(proc)) {
        const std::string_view name = entry->d_name;
        if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            })) {
            pids.push_back(std::stoi(std::string(name)));
        }
    }
    closedir(proc);
    std::sort(pids.begin(), pids.end());
    for (int pid : pids) {
        const std::string text = std::to_string(pid);
        const std::string theirs = NetNamespaceOf(text, false);
        const bool same = theirs.empty()
                              ? !oursByInode.empty() && NetNamespaceOf(text, true) == oursByInode
                              : theirs == ours;
        if (!same) continue;
        std::optional<std::string> raw = ReadTextFile("/proc/" + text + "/cmdline");
        if (!raw || raw->empty()) continue;
        std::vector<std::string> argv;
        std::size_t start = 0;
        for (std::size_t i = 0; i < raw->size(); ++i) {
            if ((*raw)[i] == '\0') {
                argv.push_back(raw->substr(start, i - start));
                start = i + 1;
            }
        }
        out.push_back(argv);
    }
    return out;
}
