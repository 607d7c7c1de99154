#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The double-density art files: standard 24-bit PNG (any viewer opens them), written unfiltered
// and deflated as two independent halves. The deflate stream is flushed completely at the middle
// row and a private "spLt" chunk says where, so the program can inflate the two halves on two
// processors at once: a 2x page is four times the pixels, and its decoding is the longest step
// of the wizard's start-up on a dense screen.

struct ArtPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xffRRGGBB, row by row
};

// The PNG file of rgb (width * height * 3 bytes, row by row); empty when it cannot be made.
std::string EncodeArtPng(int width, int height, std::string_view rgb);

// The pixels of a file written by EncodeArtPng, its two halves inflated at once. Nothing for any
// other file or a damaged one (the caller then reads it with an ordinary PNG reader).
std::optional<ArtPixels> DecodeArtPng(std::string_view file);
