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

}  // namespace

const std::array<std::string_view, kLinkCursorSize>& LinkCursorRows() {
    return kRows;
}

const CursorMask& LinkCursorAndMask() {
    return kAndMask;
}

const CursorMask& LinkCursorXorMask() {
    return kXorMask;
}
