// Every reader of request members, shared by every handler. They differ on
// purpose: each converts as the page's members of its kind have always been
// read (the JSON library's lenient or strict conversions), so a member moved
// to another reader would answer differently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Json.h"
#include "Records.h"

inline constexpr int32_t kInvalidInt = INT32_MIN;

// The member named `key`, or null when there is none. Unlike operator[], it
// adds no member; unlike isMember() and get(), it looks the key up once.
inline const Json::Value* findMember(const Json::Value& object, const char* key) {
    return object.find(key, key + std::char_traits<char>::length(key));
}

// The lenient integer reader: integers and integral reals in range as they
// are, texts as the C library's decimal conversion reads them, other numbers
// rounded half up (toward zero after adding 0.5), anything else kInvalidInt.
int32_t readLenientInt(const Json::Value& value);

// readLenientInt of the member, or `defaultValue` when the member is absent.
// Why: pages send numbers as numbers, reals or texts alike.
int32_t readIntMember(const Json::Value& request, const char* key, int32_t defaultValue);

// The JSON library's text conversion of the member (null is empty, booleans
// and numbers are their text); arrays and objects raise. `defaultValue` when
// the member is absent.
// Why: settings the host compares or passes on as text, whatever scalar the
// page wrote them as.
std::string readTextMember(const Json::Value& request, const char* key, const std::string& defaultValue = {});

// The value's text when it is a JSON string (up to its first NUL, as the
// library will read it); any other value, null included, raises.
std::string stringValue(const Json::Value& value);

// The member when it is a JSON string, up to its first NUL as the JSON
// library's C-string conversion gives it; any other type raises.
// `defaultValue` when the member is absent.
// Why: texts the library receives as C strings; a non-string is the page's
// mistake and is answered "unknown error".
std::string readStringMember(const Json::Value& request, const char* key, const std::string& defaultValue = {});

// readStringMember of the member (empty when absent) into a record field, cut
// to the field.
// Why: the in-events' text fields, filled the one way a record field is.
template <std::size_t Width>
void copyMember(char (&field)[Width], const Json::Value& request, const char* key) {
    copyText(field, readStringMember(request, key));
}

// The JSON library's boolean conversion of the member (null is false, numbers
// are true when non-zero); texts, arrays, objects and an absent member raise.
// Why: switches the in-event cannot do without.
bool readFlagMember(const Json::Value& request, const char* key);

// As readFlagMember, or `defaultValue` when the member is absent.
// Why: switches the page may leave out.
bool readFlagMemberOr(const Json::Value& request, const char* key, bool defaultValue);

// A choice compared by exact text: the JSON library's text conversion of a
// string, a boolean ("true", "false") or null (empty). Numbers, arrays and
// objects raise. `defaultValue` when the member is absent.
// Why: named choices, where a number names none of them and is refused
// rather than compared as its text.
std::string readChoiceMember(const Json::Value& request, const char* key, const std::string& defaultValue);
