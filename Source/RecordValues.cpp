#include "RecordValues.h"

#include <cstdio>
#include <utility>

Json::Value handleValue(uint32_t handle) {
    char text[17];
    std::snprintf(text, sizeof text, "%016X", static_cast<unsigned>(handle));
    return text;
}

namespace {

// The members every rectangle carries; each caller picks the types.
Json::Value rectangle(Json::Value x, Json::Value y, Json::Value width, Json::Value height) {
    Json::Value object(Json::objectValue);
    object["xPos"] = std::move(x);
    object["yPos"] = std::move(y);
    object["width"] = std::move(width);
    object["height"] = std::move(height);
    return object;
}

}  // namespace

Json::Value rectValue(const TavmoClientVideoRect& rect) { return rectangle(rect.x, rect.y, rect.width, rect.height); }

Json::Value unsignedSizeRectValue(const TavmoClientVideoRect& rect) {
    return rectangle(rect.x, rect.y, static_cast<uint32_t>(rect.width), static_cast<uint32_t>(rect.height));
}

Json::Value rectValue(const TavmoClientWindowRect& rect) {
    return rectangle(Json::Int(rect.x), Json::Int(rect.y), Json::UInt(rect.width), Json::UInt(rect.height));
}
