// Record fields as the page reads them, shared by the request handlers and
// the event translators.
#pragma once

#include <cstdint>

#include "Json.h"
#include "TavmoClient.h"

// A window handle or identifier as sixteen upper-case hexadecimal digits
// ("%016X"), as events and replies both carry one.
Json::Value handleValue(uint32_t handle);

// The three rectangle forms differ on purpose, each as the page has always
// read its members "xPos", "yPos", "width", "height":
// A video rectangle (the desktops, a participant's video resolution): all
// four signed, as the record holds them.
Json::Value rectValue(const TavmoClientVideoRect& rect);
// The encode resolution: the same record, but its size unsigned, as the page
// reads that reply: a negative width or height in the record reaches it as
// its 32-bit unsigned value (-1 as 4294967295).
Json::Value unsignedSizeRectValue(const TavmoClientVideoRect& rect);
// A window's rectangle from a window list event: as its record holds it,
// the position signed and the size unsigned.
Json::Value rectValue(const TavmoClientWindowRect& rect);
