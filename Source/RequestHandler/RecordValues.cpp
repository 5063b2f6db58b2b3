#include "RequestHandler/RecordValues.h"

Json::Value rectValue(const TavmoClientVideoRect& rect) {
    Json::Value object(Json::objectValue);
    object["xPos"] = rect.x;
    object["yPos"] = rect.y;
    object["width"] = rect.width;
    object["height"] = rect.height;
    return object;
}
