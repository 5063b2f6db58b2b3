// Texts in library records are NUL-terminated byte arrays inside fixed-width
// fields. These are the only two ways the host touches them.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Copies `text` into a field of `width` bytes: at most width - 1 bytes, so
// the library always finds a terminator inside the field, even for a text
// that would fill it completely; the rest of the field is NUL.
inline void copyText(char* field, std::size_t width, std::string_view text) {
    if (width == 0) return;
    std::size_t length = text.size() < width - 1 ? text.size() : width - 1;
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, width - length);
}

template <std::size_t Width>
void copyText(char (&field)[Width], std::string_view text) {
    copyText(field, Width, text);
}

// Reads a text up to its first NUL, never past the field's end.
inline std::string readText(const char* field, std::size_t width) {
    const void* end = std::memchr(field, 0, width);
    return std::string(field, end ? static_cast<const char*>(end) - field : width);
}

template <std::size_t Width>
std::string readText(const char (&field)[Width]) {
    return readText(field, Width);
}
