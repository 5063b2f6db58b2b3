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

// Parses request texts with the classic reader's default features, one after
// another on one thread. It keeps the reader, and so its buffers, from one
// text to the next, which saves a few allocations per text.
class Parser {
public:
    bool parse(const std::string& text, Json::Value& out);

private:
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    Json::Reader reader_;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
};

// Parses one request text as Parser does.
bool parse(const std::string& text, Json::Value& out);

// One line of compact JSON with members in ascending key order, ending in "\n".
std::string writeCompact(const Json::Value& value);

}  // namespace json
