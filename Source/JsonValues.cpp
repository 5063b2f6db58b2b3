#include "JsonValues.h"

#include <cctype>
#include <cmath>

namespace {

// The C library's atoi, without its undefined behaviour on overflow: the
// result saturates as the Windows runtime's does.
int32_t decimalPrefix(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) break;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t readLenientInt(const Json::Value& value) {
    if (value.isInt()) return value.asInt();
    if (value.isString()) return decimalPrefix(value.asString());
    if (value.isNumeric() && !value.isBool()) {
        double rounded = std::trunc(value.asDouble() + 0.5);
        if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return kInvalidInt;
        return static_cast<int32_t>(rounded);
    }
    return kInvalidInt;
}

int32_t readIntMember(const Json::Value& request, const char* key, int32_t defaultValue) {
    const Json::Value* member = findMember(request, key);
    return member ? readLenientInt(*member) : defaultValue;
}

std::string readTextMember(const Json::Value& request, const char* key, const std::string& defaultValue) {
    const Json::Value* member = findMember(request, key);
    return member ? member->asString() : defaultValue;
}

std::string readStringMember(const Json::Value& request, const char* key, const std::string& defaultValue) {
    const Json::Value* member = findMember(request, key);
    return member ? stringValue(*member) : defaultValue;
}

bool readFlagMember(const Json::Value& request, const char* key) {
    const Json::Value* member = findMember(request, key);
    if (!member) throw Json::LogicError("Value is not convertible to bool.");
    return member->asBool();
}

std::string stringValue(const Json::Value& value) {
    if (!value.isString()) throw Json::LogicError("in Json::Value::asCString(): requires stringValue");
    std::string text = value.asString();
    // Whatever follows a NUL would be invisible to the library but would
    // still land in the field.
    return text.substr(0, text.find('\0'));
}

bool readFlagMemberOr(const Json::Value& request, const char* key, bool defaultValue) {
    const Json::Value* member = findMember(request, key);
    return member ? member->asBool() : defaultValue;
}

std::string readChoiceMember(const Json::Value& request, const char* key, const std::string& defaultValue) {
    const Json::Value* member = findMember(request, key);
    if (!member) return defaultValue;
    if (member->isNumeric() && !member->isBool()) throw Json::LogicError("Type is not convertible to string");
    return member->asString();
}
