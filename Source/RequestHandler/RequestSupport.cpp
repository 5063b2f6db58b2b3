#include "RequestHandler/RequestSupport.h"

#include <string>

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

std::string libraryError(const char* constantName) { return std::string("TavmoClient error: ") + constantName; }

TavmoClientPrivateRequest privateWrapper(uint32_t privateCode, void* inner, uint32_t sizeField) {
    TavmoClientPrivateRequest wrapper{};
    wrapper.privateCode = privateCode;
    wrapper.record = inner;
    wrapper.sizeField = sizeField;
    return wrapper;
}

}  // namespace

bool sendRequest(Json::Value& reply, const char* handler, int32_t code, const char* constantName, void* record,
                 uint32_t size) {
    int32_t result = TavmoClientSendRequest(code, record, size);
    if (result == 0) return true;
    FAIL_REQUEST(reply, libraryError(constantName), "OutputThread: %s() %s: [%d]", handler, constantName, result);
    return false;
}

int32_t callPrivateRequest(uint32_t privateCode, void* inner, uint32_t sizeField) {
    TavmoClientPrivateRequest wrapper = privateWrapper(privateCode, inner, sizeField);
    return TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_PRIVATE, &wrapper, sizeof wrapper);
}

bool sendPrivateRequest(Json::Value& reply, const char* handler, uint32_t privateCode, const char* constantName,
                        void* inner, uint32_t sizeField) {
    TavmoClientPrivateRequest wrapper = privateWrapper(privateCode, inner, sizeField);
    return sendRequest(reply, handler, TAVMO_CLIENT_REQUEST_PRIVATE, constantName, &wrapper, sizeof wrapper);
}

bool sendInEvent(Json::Value& reply, const char* handler, int32_t code, const char* constantName, void* record,
                 uint32_t size) {
    if (TavmoClientSendEvent(code, record, size) == 1) return true;
    FAIL_REQUEST(reply, libraryError(constantName), "OutputThread: %s() %s", handler, constantName);
    return false;
}

void setResultOk(Json::Value& reply) { reply["result"] = "ok"; }
