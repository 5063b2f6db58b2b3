// Message texts go into log files; secrets the page sends must not.
#pragma once

#include <string>
#include <string_view>

// The text with the value of every secret member ("password", "pin",
// "authToken", ... and any name ending in "password", ignoring case) replaced
// by "***", at any depth. Works on raw bytes, so a text that is cut short or
// is not valid JSON is still cleaned; everything else is kept as it was.
std::string redactSecrets(std::string_view text);
