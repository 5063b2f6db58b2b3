#include "Messages.h"

#include <memory>

namespace console {
namespace {

// Numbers compare by value whatever their JSON type (3, 3.0 and an unsigned
// 3 are the same); everything else as the JSON library compares it.
bool sameValue(const Json::Value& expected, const Json::Value& actual) {
    if (expected.isNumeric() && actual.isNumeric()) {
        if (expected.isIntegral() && actual.isIntegral()) {
            if (expected.isInt64() && actual.isInt64()) return expected.asInt64() == actual.asInt64();
            if (expected.isUInt64() && actual.isUInt64()) return expected.asUInt64() == actual.asUInt64();
            return false;
        }
        return expected.asDouble() == actual.asDouble();
    }
    return expected == actual;
}

}  // namespace

ReceivedMessage classifyMessage(std::string body) {
    ReceivedMessage message;
    message.body = std::move(body);
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    const char* begin = message.body.data();
    if (!reader->parse(begin, begin + message.body.size(), &message.value, nullptr) || !message.value.isObject()) {
        message.value = Json::Value();
        return message;
    }
    const bool event =
        !message.value.isMember("type") && message.value.isMember("code") && message.value.isMember("params");
    message.kind = event ? MessageKind::Event : MessageKind::Reply;
    return message;
}

bool isErrorReply(const ReceivedMessage& message) {
    return message.kind == MessageKind::Reply && message.value.isMember("error");
}

std::string eventLabel(const ReceivedMessage& message, const Protocol& protocol) {
    if (message.kind != MessageKind::Event) return {};
    const Json::Value& code = message.value["code"];
    if (!code.isInt64()) return {};
    std::string label = std::to_string(code.asInt64());
    if (const EventInfo* event = protocol.event(code.asInt64())) label += " " + event->name;
    const Json::Value& params = message.value["params"];
    if (params.isObject() && params["type"].isString()) label += " " + params["type"].asString();
    return label;
}

bool matchesWait(const WaitCommand& wait, const ReceivedMessage& message) {
    const Json::Value* members = nullptr;
    if (wait.eventCode) {
        if (message.kind != MessageKind::Event) return false;
        const Json::Value& code = message.value["code"];
        if (!code.isIntegral() || code.asLargestInt() != *wait.eventCode) return false;
        members = &message.value["params"];
    } else {
        if (message.kind != MessageKind::Reply) return false;
        const Json::Value& type = message.value["type"];
        if (!type.isString() || type.asString() != wait.type) return false;
        members = &message.value;
    }
    for (const auto& [name, expected] : wait.conditions) {
        if (!members->isObject() || !members->isMember(name)) return false;
        if (!sameValue(expected.value, (*members)[name])) return false;
    }
    return true;
}

}  // namespace console
