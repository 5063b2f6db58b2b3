// Conversions between JSON values and library record fields that the
// configuration, sharing and statistics requests share.
#pragma once

#include <string>

#include "Json.h"
#include "TavmoClient.h"

// The value's text when it is a JSON string (up to its first NUL, as the
// library will read it); any other value, null included, raises.
std::string stringValue(const Json::Value& value);

// A rectangle as the page reads it: "xPos", "yPos", "width", "height", signed.
Json::Value rectValue(const TavmoClientVideoRect& rect);
