#include "RequestHandler/RecordValues.h"

std::string stringValue(const Json::Value& value) {
    if (!value.isString()) throw Json::LogicError("in Json::Value::asCString(): requires stringValue");
    std::string text = value.asString();
    // Whatever follows a NUL would be invisible to the library but would
    // still land in the field.
    return text.substr(0, text.find('\0'));
}

Json::Value rectValue(const TavmoClientVideoRect& rect) {
    Json::Value object(Json::objectValue);
    object["xPos"] = rect.x;
    object["yPos"] = rect.y;
    object["width"] = rect.width;
    object["height"] = rect.height;
    return object;
}
