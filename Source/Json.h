// The JSON library, with the classic reader and compact writer whose output
// the page relies on byte for byte. They are marked deprecated upstream.
#pragma once

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
#include <json/json.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <string>

namespace json {

// Parses a request text with the classic reader's default features.
bool parse(const std::string& text, Json::Value& out);

// One line of compact JSON with members in ascending key order, ending in "\n".
std::string writeCompact(const Json::Value& value);

}  // namespace json
