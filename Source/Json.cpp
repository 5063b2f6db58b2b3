#include "Json.h"

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace json {

bool Parser::parse(const std::string& text, Json::Value& out) {
    // The range form reads the text where it is; the string form copies it.
    return reader_.parse(text.data(), text.data() + text.size(), out, false);
}

bool parse(const std::string& text, Json::Value& out) { return Parser().parse(text, out); }

// A writer per call: a thread_local one is destroyed at thread exit, which
// with MinGW's runtime corrupted the heap when short-lived threads ended.
std::string writeCompact(const Json::Value& value) {
    Json::FastWriter writer;
    return writer.write(value);
}

}  // namespace json
