#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// Bounded copies into the fixed-size text fields of the session. Every write into one of those
// fields goes through here, so no text can run past its buffer.

// Copies as much of text as fits (leaving room for the terminator) and terminates. Returns
// false when the text had to be cut.
inline bool CopyText(char* dst, std::size_t capacity, std::string_view text) {
    if (capacity == 0) return false;
    std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
    return n == text.size();
}

template <std::size_t N>
bool CopyText(char (&dst)[N], std::string_view text) {
    return CopyText(dst, N, text);
}

// Length of a NUL-terminated text held in a buffer of known size, never reading past it.
inline std::size_t BoundedLength(const char* text, std::size_t capacity) {
    const void* end = std::memchr(text, '\0', capacity);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : capacity;
}

template <std::size_t N>
std::string_view TextOf(const char (&buf)[N]) {
    return std::string_view(buf, BoundedLength(buf, N));
}
