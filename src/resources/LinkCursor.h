#pragma once

#include <array>
#include <string>
#include <string_view>

// Cursor 363, the pointing hand every page button shows: 32 x 32, monochrome, hot spot on the
// tip of the index finger.

inline constexpr int kLinkCursorId = 363;
inline constexpr int kLinkCursorSize = 32;
inline constexpr int kLinkCursorHotX = 5;
inline constexpr int kLinkCursorHotY = 0;
inline constexpr int kLinkCursorMaskBytes = kLinkCursorSize * kLinkCursorSize / 8;

using CursorMask = std::array<unsigned char, kLinkCursorMaskBytes>;

// The picture, top row first: 'X' black, 'o' white, '.' transparent.
const std::array<std::string_view, kLinkCursorSize>& LinkCursorRows();

// The picture with twice the pixels in each direction, for high-density screens: each pixel
// becomes four, and where two like neighbours meet at a corner the quarter there takes their
// colour, so the outline's steps are rounded instead of merely doubled. Same letters; the hot
// spot is at twice the coordinates.
inline constexpr int kLinkCursorSize2x = 2 * kLinkCursorSize;
const std::array<std::string, kLinkCursorSize2x>& LinkCursorRows2x();

// The two masks of a monochrome cursor, 4 bytes per row, leftmost pixel in the top bit.
// AND bit 1 = transparent; XOR bit 1 = white (where AND is 0). No pixel inverts the screen.
const CursorMask& LinkCursorAndMask();
const CursorMask& LinkCursorXorMask();
