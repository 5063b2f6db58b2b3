// Conversions between JSON values and library record fields that the
// configuration, sharing and statistics requests share.
#pragma once

#include <string>

#include "Json.h"
#include "JsonValues.h"
#include "TavmoClient.h"

// A rectangle as the page reads it: "xPos", "yPos", "width", "height", signed.
Json::Value rectValue(const TavmoClientVideoRect& rect);
