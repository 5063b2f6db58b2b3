#include "RecordValues.h"

#include <cstdio>

Json::Value handleValue(uint32_t handle) {
    char text[17];
    std::snprintf(text, sizeof text, "%016X", static_cast<unsigned>(handle));
    return text;
}

Json::Value rectValue(const TavmoClientVideoRect& rect) {
    Json::Value object(Json::objectValue);
    object["xPos"] = rect.x;
    object["yPos"] = rect.y;
    object["width"] = rect.width;
    object["height"] = rect.height;
    return object;
}

Json::Value unsignedSizeRectValue(const TavmoClientVideoRect& rect) {
    Json::Value object(Json::objectValue);
    object["xPos"] = rect.x;
    object["yPos"] = rect.y;
    object["width"] = static_cast<uint32_t>(rect.width);
    object["height"] = static_cast<uint32_t>(rect.height);
    return object;
}

Json::Value rectValue(const TavmoClientWindowRect& rect) {
    Json::Value object(Json::objectValue);
    object["xPos"] = Json::Int(rect.x);
    object["yPos"] = Json::Int(rect.y);
    object["width"] = Json::UInt(rect.width);
    object["height"] = Json::UInt(rect.height);
    return object;
}
