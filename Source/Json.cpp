#include "Json.h"

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace json {

bool parse(const std::string& text, Json::Value& out) {
    Json::Reader reader;
    // The range form reads the text where it is; the string form copies it.
    return reader.parse(text.data(), text.data() + text.size(), out, false);
}

// A writer per call: a thread_local one is destroyed at thread exit, which
// with MinGW's runtime corrupted the heap when short-lived threads ended.
std::string writeCompact(const Json::Value& value) {
    Json::FastWriter writer;
    return writer.write(value);
}

}  // namespace json
