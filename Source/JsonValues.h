// Conversions of request members shared by every handler.
#pragma once

#include <cstdint>
#include <string>

#include "Json.h"

inline constexpr int32_t kInvalidInt = INT32_MIN;

// The lenient integer reader: integers and integral reals in range as they
// are, texts as the C library's decimal conversion reads them, other numbers
// rounded half up (toward zero after adding 0.5), anything else kInvalidInt.
int32_t readLenientInt(const Json::Value& value);

// readLenientInt of the member, or `defaultValue` when the member is absent.
int32_t readIntMember(const Json::Value& request, const char* key, int32_t defaultValue);

// The JSON library's text conversion of the member (null is empty, booleans
// and numbers are their text); arrays and objects raise. `defaultValue` when
// the member is absent.
std::string readTextMember(const Json::Value& request, const char* key, const std::string& defaultValue = {});

// The value's text when it is a JSON string (up to its first NUL, as the
// library will read it); any other value, null included, raises.
std::string stringValue(const Json::Value& value);

// The member when it is a JSON string, up to its first NUL as the JSON
// library's C-string conversion gives it; any other type raises.
// `defaultValue` when the member is absent.
std::string readStringMember(const Json::Value& request, const char* key, const std::string& defaultValue = {});

// The JSON library's boolean conversion of the member (null is false, numbers
// are true when non-zero); texts, arrays, objects and an absent member raise.
bool readFlagMember(const Json::Value& request, const char* key);
