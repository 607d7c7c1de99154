#include "platform/SystemInterfaces.h"

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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
