#include "Json.h"

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace json {

bool parse(const std::string& text, Json::Value& out) {
    Json::Reader reader;
    return reader.parse(text, out, false);
}

std::string writeCompact(const Json::Value& value) {
    thread_local Json::FastWriter writer;
    return writer.write(value);
}

}  // namespace json
