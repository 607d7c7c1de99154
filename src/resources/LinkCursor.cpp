#include "resources/LinkCursor.h"

namespace {

constexpr std::array<std::string_view, kLinkCursorSize> kRows{
    ".....XX.........................", "....XooX........................",
    "....XooX........................", "....XooX........................",
    "....XooX........................", "....XooXXX......................",
    "....XooXooXXX...................", "....XooXooXooXX.................",
    "....XooXooXooXoX................", ".XX.XooXooXooXoX................",
    "XooXXooooooooooX................", "XoooXooooooooooX................",
    ".XoooooooooooooX................", ".XoooooooooooooX................",
    "..XooooooooooooX................", "..XoooooooooooX.................",
    "...XooooooooooX.................", "...XooooooooooX.................",
    "....XooooooooX..................", "....XooooooooX..................",
    "....XXXXXXXXXX..................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
};

// Packs the pixels for which wanted(pixel) holds into a mask, leftmost pixel in the top bit.
template <typename Predicate>
constexpr CursorMask Pack(Predicate wanted) {
    CursorMask mask{};
    for (int y = 0; y < kLinkCursorSize; ++y) {
        for (int x = 0; x < kLinkCursorSize; ++x) {
            if (wanted(kRows[y][x])) {
                mask[y * (kLinkCursorSize / 8) + x / 8] |=
                    static_cast<unsigned char>(0x80u >> (x % 8));
            }
        }
    }
    return mask;
}

constexpr CursorMask kAndMask = Pack([](char pixel) { return pixel == '.'; });
constexpr CursorMask kXorMask = Pack([](char pixel) { return pixel == 'o'; });

// The pixel at (x, y), or the fallback outside the picture.
char At(int x, int y, char fallback) {
    if (x < 0 || y < 0 || x >= kLinkCursorSize || y >= kLinkCursorSize) return fallback;
    return kRows[y][x];
}

std::array<std::string, kLinkCursorSize2x> Doubled() {
    std::array<std::string, kLinkCursorSize2x> rows;
    for (std::string& row : rows) row.assign(kLinkCursorSize2x, '.');
    for (int y = 0; y < kLinkCursorSize; ++y) {
        for (int x = 0; x < kLinkCursorSize; ++x) {
            const char p = kRows[y][x];
            const char up = At(x, y - 1, p);
            const char down = At(x, y + 1, p);
            const char left = At(x - 1, y, p);
            const char right = At(x + 1, y, p);
            // A corner quarter takes the colour its two outer neighbours share, unless the
            // opposite neighbours share it too (a straight edge, not a corner).
            rows[2 * y][2 * x] = left == up && left != down && up != right ? up : p;
            rows[2 * y][2 * x + 1] = up == right && up != left && right != down ? right : p;
            rows[2 * y + 1][2 * x] = down == left && down != right && left != up ? left : p;
            rows[2 * y + 1][2 * x + 1] = right == down && right != up && down != left ? down : p;
        }
    }
    return rows;
}

}  // namespace

const std::array<std::string, kLinkCursorSize2x>& LinkCursorRows2x() {
    static const std::array<std::string, kLinkCursorSize2x> rows = Doubled();
    return rows;
}

const std::array<std::string_view, kLinkCursorSize>& LinkCursorRows() {
    return kRows;
}

const CursorMask& LinkCursorAndMask() {
    return kAndMask;
}

const CursorMask& LinkCursorXorMask() {
    return kXorMask;
}
