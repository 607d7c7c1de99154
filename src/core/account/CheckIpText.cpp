#include "core/account/CheckIpText.h"

#include <cstring>

namespace {

// Splits "a.b.c.d" into four octets. Every part must be one to three digits with a value up to
// 255; anything else (signs, blanks, letters, a fifth part) makes the text invalid.
bool SplitOctets(const char* text, int octets[4]) {
    if (text == nullptr) return false;
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        int digits = 0;
        int value = 0;
        while (*p >= '0' && *p <= '9') {
            if (++digits > 3) return false;
            value = value * 10 + (*p++ - '0');
        }
        if (digits == 0 || value > 255) return false;
        octets[i] = value;
        if (i < 3 && *p++ != '.') return false;
    }
    return *p == '\0';
}

// One run of set bits from the top bit: 0, 128, 192, 224, 240, 248, 252, 254 or 255.
bool IsMaskOctet(int v) {
    int inverted = ~v & 0xff;
    return (inverted & (inverted + 1)) == 0;
}

bool IsValidMask(const int o[4]) {
    bool seenPartial = false;
    for (int i = 0; i < 4; ++i) {
        if (!IsMaskOctet(o[i])) return false;
        if (seenPartial && o[i] != 0) return false;
        if (o[i] != 255) seenPartial = true;
    }
    if (o[0] != 255) return false;
    // 255.255.255.254 and 255.255.255.255 leave no room for a host and a gateway.
    if (o[1] == 255 && o[2] == 255 && (o[3] == 254 || o[3] == 255)) return false;
    return true;
}

bool IsValidAddress(const int o[4]) {
    if (o[0] < 1 || o[0] == 127 || o[0] > 223) return false;
    if (o[3] == 0 || o[3] == 255) return false;
    return true;  // 0.0.0.0 and 255.255.255.255 already fail the first-octet rule
}

}  // namespace

int CheckIpText(const char* text, int isMask) {
    int octets[4];
    if (!SplitOctets(text, octets)) return 1;
    bool valid = isMask ? IsValidMask(octets) : IsValidAddress(octets);
    return valid ? 0 : 1;
}
