// How record fields become JSON values in event messages, shared by the
// public, private and portal translators.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Json.h"
#include "RecordValues.h"
#include "Records.h"

template <std::size_t Width>
Json::Value textValue(const char (&field)[Width]) {
    return readText(field);
}

// A flag byte as true or false.
inline Json::Value boolValue(unsigned char flag) { return flag != 0; }

// A flag byte as the page's older answers carry it: its signed value.
inline Json::Value intFlagValue(signed char flag) { return Json::Int(flag); }
