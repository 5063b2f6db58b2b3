#include "Json.h"
#include "OutEventHandler.h"
#include "TavmoAgent.h"

void OnOutEvent(int32_t code, const std::vector<unsigned char>&) {
    Json::Value message(Json::objectValue);
    message["code"] = code;
    message["params"] = Json::Value();
    TavmoAgent::sendMessage("OnOutEvent", std::move(message));
}
