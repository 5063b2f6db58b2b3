// Texts in the fixed-width fields of the records the library fills.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace standin {

// Cut to the field, always terminated, the rest NUL.
template <std::size_t Width>
void setText(char (&field)[Width], std::string_view text) {
    const std::size_t length = std::min(text.size(), Width - 1);
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, Width - length);
}

// Up to the first NUL, never past the field.
template <std::size_t Width>
std::string_view fieldText(const char (&field)[Width]) {
    const void* end = std::memchr(field, '\0', Width);
    return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : Width};
}

}  // namespace standin
