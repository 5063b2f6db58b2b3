// Texts that the library hands over in UTF-16.
#pragma once

#include <string>
#include <string_view>

// The UTF-8 form of the UTF-16 text in `units`, up to its first zero unit and
// never past the view's end. A surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view units);
