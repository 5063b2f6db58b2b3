#include "RequestHandler/InEventSupport.h"

bool answerInEvent(Json::Value& request, const char* handler, int32_t code, const char* constantName, void* record,
                   uint32_t size) {
    if (!sendInEvent(request, handler, code, constantName, record, size)) return false;
    setResultOk(request);
    return true;
}
