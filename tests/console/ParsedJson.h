// JSON texts the console tests write or read, as values to compare.
#pragma once

#include <json/json.h>

#include <string>

namespace console {

// A text that is no JSON fails the test and reads as null.
Json::Value parsedJson(const std::string& text);

}  // namespace console
