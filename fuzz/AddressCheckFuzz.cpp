// The two address checks against a plain reading of the rules: CheckIpText, which judges the
// addresses and masks the user types, and IsDottedIpv4, which judges the addresses read from
// lease files and NetworkManager. The input is the text, NUL bytes and all.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "core/account/CheckIpText.h"
#include "detection/adapters/LeaseFiles.h"

namespace {

// Four parts of one to three digits, each at most 255, as one 32-bit number.
bool ReadDotted(const char* text, std::uint32_t* value, bool* leadingZero) {
    char part[4][4];
    int consumed = -1;
    if (std::sscanf(text, "%3[0-9].%3[0-9].%3[0-9].%3[0-9]%n", part[0], part[1], part[2], part[3],
                    &consumed) != 4 ||
        consumed < 0 || text[consumed] != '\0') {
        return false;
    }
    *value = 0;
    *leadingZero = false;
    for (const char* p : part) {
        unsigned octet = static_cast<unsigned>(std::atoi(p));
        if (octet > 255) return false;
        *value = *value << 8 | octet;
        *leadingZero = *leadingZero || (p[0] == '0' && p[1] != '\0');
    }
    return true;
}

// A host address: a class A, B or C network other than loopback, and a last byte that is not
// 0 or 255.
bool IsHostAddress(std::uint32_t a) {
    const std::uint32_t first = a >> 24, last = a & 0xff;
    return first >= 1 && first <= 223 && first != 127 && last != 0 && last != 255;
}

// A mask: ones from the top bit, at least the first byte, leaving at least two host bits.
bool IsMask(std::uint32_t m) {
    const std::uint32_t hosts = ~m;
    return (hosts & (hosts + 1)) == 0 && m >= 0xff000000u && m <= 0xfffffffcu;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The typed text ends at the first NUL, as in the edit control's buffer.
    std::vector<char> typed(data, data + size);
    typed.push_back('\0');
    std::uint32_t value = 0;
    bool leadingZero = false;
    const bool dotted = ReadDotted(typed.data(), &value, &leadingZero);

    const int address = CheckIpText(typed.data(), 0);
    const int mask = CheckIpText(typed.data(), 1);
    FUZZ_CHECK(address == (dotted && IsHostAddress(value) ? 0 : 1));
    FUZZ_CHECK(mask == (dotted && IsMask(value) ? 0 : 1));

    // IsDottedIpv4 sees every byte and takes an address only as written plainly: no NUL, no
    // leading zero.
    const bool plain = dotted && !leadingZero && std::strlen(typed.data()) == size;
    FUZZ_CHECK(IsDottedIpv4(std::string_view(reinterpret_cast<const char*>(data), size)) == plain);
    return 0;
}
