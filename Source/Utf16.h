// Texts that the library hands over in UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The UTF-8 form of the UTF-16 text in `units`, up to its first zero unit and
// never past `count` units. A surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(const uint16_t* units, std::size_t count);
