#include "core/wireless/GenerateRandomKey.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

// One number 0..32767 from the kernel's random source.
int NextRandom15() {
    std::uint16_t value = 0;
    for (;;) {
        ssize_t n = ::getrandom(&value, sizeof value, 0);
        if (n == static_cast<ssize_t>(sizeof value)) break;
        // Kernels without getrandom: the standard library's device reads the same source.
        if (n < 0 && errno != EINTR) return static_cast<int>(std::random_device{}() & 0x7fff);
    }
    return value & 0x7fff;
}

}  // namespace

void GenerateRandomKey(char* output, int length) {
    if (output == nullptr || length < 1 || length > kMaxRandomKeyLength) return;
    char work[kMaxRandomKeyLength + 4] = {};  // a group adds at most 4 digits past the length
    int used = 0;
    while (used < length) {
        char group[5];
        int n = std::snprintf(group, sizeof group, "%x", NextRandom15());
        std::memcpy(work + used, group, static_cast<std::size_t>(n));
        used += n;
    }
    std::memcpy(output, work, static_cast<std::size_t>(length));
}
