// The double-density art reader: any bytes as a file (a damaged or foreign file is refused or
// read whole, never half read or read past its end), and the writer's files read back exactly,
// for a small picture made from the input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "resources/ArtPng.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<ArtPixels> art = DecodeArtPng(bytes)) {
        FUZZ_CHECK(art->width > 0 && art->height > 1);
        FUZZ_CHECK(art->pixels.size() == static_cast<std::size_t>(art->width) * art->height);
        for (std::uint32_t pixel : art->pixels) FUZZ_CHECK((pixel >> 24) == 0xff);
    }

    if (size < 2) return 0;
    const int width = 1 + data[0] % 64;
    const int height = 1 + data[1] % 64;
    std::string rgb(static_cast<std::size_t>(width) * height * 3, '\0');
    for (std::size_t i = 0; i < rgb.size() && size > 2; ++i) rgb[i] = bytes[2 + i % (size - 2)];
    const std::string png = EncodeArtPng(width, height, rgb);
    FUZZ_CHECK(!png.empty());
    const std::optional<ArtPixels> back = DecodeArtPng(png);
    // A picture of one row has no middle to split at: the program reads it the ordinary way.
    FUZZ_CHECK(back.has_value() == (height > 1));
    if (!back) return 0;
    for (std::size_t i = 0; i < back->pixels.size(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * i;
        FUZZ_CHECK(back->pixels[i] ==
                   (0xff000000u | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2]));
    }
    return 0;
}
