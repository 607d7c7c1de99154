#include "resources/ArtPng.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <thread>

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr int kMaxSide = 8192;
constexpr std::size_t kThreadedPixels = 256 * 256;

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

std::uint32_t BigEndianAt(std::string_view data, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(data[at + i]);
    }
    return value;
}

std::uint32_t Crc(std::string_view bytes) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void PutChunk(std::string& png, std::string_view type, std::string_view data) {
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type) + std::string(data);
    png += typed;
    PutBigEndian(png, Crc(typed));
}

// Inflates rows [first, last) of the picture from data (a zlib stream when zlibHeader, else raw
// deflate) into pixels; false when the data ends early or a row is filtered.
bool InflateRows(std::string_view data, bool zlibHeader, int width, int first, int last,
                 std::uint32_t* pixels) {
    z_stream stream{};
    if (inflateInit2(&stream, zlibHeader ? 15 : -15) != Z_OK) return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    std::vector<unsigned char> row(1 + static_cast<std::size_t>(width) * 3);
    bool ok = true;
    for (int y = first; ok && y < last; ++y) {
        stream.next_out = row.data();
        stream.avail_out = static_cast<uInt>(row.size());
        while (stream.avail_out > 0) {
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END && stream.avail_out > 0) ok = false;
            if (status != Z_OK && status != Z_STREAM_END) ok = false;
            if (!ok || status == Z_STREAM_END) break;
        }
        if (!ok || row[0] != 0) {
            ok = false;
            break;
        }
        std::uint32_t* out = pixels + static_cast<std::size_t>(y) * width;
        const unsigned char* in = row.data() + 1;
        for (int x = 0; x < width; ++x, in += 3) {
            out[x] =
                0xff000000u | (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
        }
    }
    inflateEnd(&stream);
    return ok;
}

}  // namespace

std::string EncodeArtPng(int width, int height, std::string_view rgb) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        return {};
    }
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 3;
    const int split = height / 2;
    z_stream stream{};
    if (deflateInit(&stream, 9) != Z_OK) return {};
    std::string idat(deflateBound(&stream, static_cast<uLong>(rowBytes * height)) + 64, '\0');
    stream.next_out = reinterpret_cast<Bytef*>(idat.data());
    stream.avail_out = static_cast<uInt>(idat.size());
    std::uint32_t splitOffset = 0;
    std::string row(rowBytes, '\0');
    bool ok = true;
    for (int y = 0; ok && y < height; ++y) {
        std::memcpy(row.data() + 1, rgb.data() + static_cast<std::size_t>(y) * width * 3,
                    width * 3);
        stream.next_in = reinterpret_cast<Bytef*>(row.data());
        stream.avail_in = static_cast<uInt>(row.size());
        // A full flush before the middle row: what follows needs nothing that came before.
        const int flush = y == height - 1 ? Z_FINISH : y == split - 1 ? Z_FULL_FLUSH : Z_NO_FLUSH;
        const int status = deflate(&stream, flush);
        ok = stream.avail_in == 0 && (status == Z_OK || status == Z_STREAM_END);
        if (y == split - 1) splitOffset = static_cast<std::uint32_t>(stream.total_out);
    }
    ok = ok && stream.avail_out > 0;
    idat.resize(stream.total_out);
    deflateEnd(&stream);
    if (!ok) return {};

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, truecolour, no interlace
    std::string where;
    PutBigEndian(where, static_cast<std::uint32_t>(split));
    PutBigEndian(where, splitOffset);
    std::string png(kSignature);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "spLt", where);
    PutChunk(png, "IDAT", idat);
    PutChunk(png, "IEND", {});
    return png;
}

std::optional<ArtPixels> DecodeArtPng(std::string_view file) {
    if (file.substr(0, kSignature.size()) != kSignature) return std::nullopt;
    ArtPixels art;
    std::uint32_t split = 0, splitOffset = 0;
    std::string idat;
    bool ended = false;
    for (std::size_t at = kSignature.size(); !ended;) {
        if (file.size() - at < 12) return std::nullopt;
        const std::uint32_t length = BigEndianAt(file, at);
        if (length > file.size() - at - 12) return std::nullopt;
        const std::string_view typed = file.substr(at + 4, 4 + length);
        if (Crc(typed) != BigEndianAt(file, at + 8 + length)) return std::nullopt;
        const std::string_view type = typed.substr(0, 4);
        const std::string_view data = typed.substr(4);
        if (type == "IHDR") {
            if (length != 13 || data.substr(8) != std::string_view("\x08\x02\x00\x00\x00", 5)) {
                return std::nullopt;
            }
            art.width =
                static_cast<int>(std::min<std::uint32_t>(BigEndianAt(data, 0), kMaxSide + 1));
            art.height =
                static_cast<int>(std::min<std::uint32_t>(BigEndianAt(data, 4), kMaxSide + 1));
        } else if (type == "spLt" && length == 8) {
            split = BigEndianAt(data, 0);
            splitOffset = BigEndianAt(data, 4);
        } else if (type == "IDAT") {
            idat += data;
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (art.width <= 0 || art.height <= 0 || art.width > kMaxSide || art.height > kMaxSide ||
        split == 0 || split >= static_cast<std::uint32_t>(art.height) || splitOffset < 2 ||
        splitOffset >= idat.size()) {
        return std::nullopt;
    }
    art.pixels.resize(static_cast<std::size_t>(art.width) * art.height);
    const std::string_view stream(idat);
    bool secondOk = false;
    const auto inflateSecond = [&] {
        secondOk = InflateRows(stream.substr(splitOffset), false, art.width,
                               static_cast<int>(split), art.height, art.pixels.data());
    };
    // A small strip is not worth a thread.
    const bool large = art.pixels.size() >= kThreadedPixels;
    std::thread second;
    if (large) second = std::thread(inflateSecond);
    const bool firstOk = InflateRows(stream.substr(0, splitOffset), true, art.width, 0,
                                     static_cast<int>(split), art.pixels.data());
    if (large) {
        second.join();
    } else {
        inflateSecond();
    }
    if (!firstOk || !secondOk) return std::nullopt;
    return art;
}
