#include "SoakCheck.h"

#include <json/json.h>

#include <memory>

namespace soak {
namespace {

constexpr RequestKind kStart = {"InEventStart", "1", "result", nullptr};

constexpr RequestKind kRotation[] = {
    {"RequestGetVersion", "1", "version", nullptr},
    {"RequestGetCallState", "1", "callState", nullptr},
    {"RequestGetVolumeAudioIn", "1", "volume", nullptr},
    {"RequestGetNumParticipants", "1", "numParticipants", nullptr},
    {"RequestThatDoesNotExist", "1", nullptr, "unknown request"},
    {"RequestGetVersion", "3", nullptr, "No or invalid direction"},
    {nullptr, nullptr, nullptr, "Not a valid JSON object"},
};
constexpr std::size_t kRotationLength = sizeof kRotation / sizeof kRotation[0];

[[noreturn]] void breach(const std::string& what, const std::string& body) {
    throw Breach(what + ": " + body.substr(0, 300));
}

Json::Value parsed(const std::string& body) {
    // Strict: a second value behind the first is a breach, not a remainder.
    static const std::unique_ptr<Json::CharReader> reader = [] {
        Json::CharReaderBuilder builder;
        Json::CharReaderBuilder::strictMode(&builder.settings_);
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    Json::Value value;
    if (body.empty() || body.back() != '\n' ||
        !reader->parse(body.data(), body.data() + body.size(), &value, nullptr) || !value.isObject())
        breach("a frame that is not one JSON object and a newline", body);
    if (!value["_direction"].isInt() || value["_direction"].asInt() != 2) breach("no \"_direction\" 2", body);
    return value;
}

}  // namespace

const RequestKind& requestKind(uint64_t id) { return id == 0 ? kStart : kRotation[id % kRotationLength]; }

std::string requestText(uint64_t id) {
    const RequestKind& kind = requestKind(id);
    if (!kind.type) return "not JSON " + std::to_string(id);
    return std::string("{\"type\":\"") + kind.type + "\",\"_direction\":" + kind.direction +
           ",\"_id\":" + std::to_string(id) + "}";
}

std::string burstScenario(const RunSize& size) {
    return "raise-burst " + std::to_string(kBurstThreads) + " " + std::to_string(size.events / kBurstThreads) + " " +
           std::to_string(kBurstEvent) + " 0000000000000000";
}

Tally::Tally(const RunSize& size) : size_(size), nextSequence_(kBurstThreads, 0) {}

bool Tally::complete() const { return replies_ == size_.requests && burstEvents_ == size_.events && started_; }

void Tally::take(const std::string& body) {
    // Read only: a look at a member must not add it.
    const Json::Value message = parsed(body);
    if (message.isMember("code")) {
        const Json::Value& params = message["params"];
        if (!message["code"].isInt() || !message.isMember("params") || !(params.isObject() || params.isNull()))
            breach("an event message of unknown shape", body);
        int32_t code = message["code"].asInt();
        if (code == kStartedEvent) started_ = true;
        if (code != kBurstEvent) {
            ++otherEvents_;
            return;
        }
        uint64_t thread = params["width"].asUInt();
        uint64_t sequence = params["height"].asUInt();
        if (thread >= kBurstThreads) breach("a burst event from an unknown thread", body);
        if (sequence != nextSequence_[thread])
            breach("thread " + std::to_string(thread) + " delivered " + std::to_string(sequence) + " where " +
                       std::to_string(nextSequence_[thread]) + " was due",
                   body);
        ++nextSequence_[thread];
        ++burstEvents_;
        return;
    }
    uint64_t id = replies_;
    if (id >= size_.requests) breach("a reply beyond the last request", body);
    const RequestKind& kind = requestKind(id);
    std::string which = "reply " + std::to_string(id);
    if (kind.type && (!message["_id"].isIntegral() || message["_id"].asUInt64() != id || message["type"] != kind.type))
        breach(which + " out of order or not the request's", body);
    if (!kind.type && message.size() != 2) breach(which + " is not the answer to a text that is not JSON", body);
    if (kind.replyMember && (!message.isMember(kind.replyMember) || message.isMember("error")))
        breach(which + std::string(" lacks \"") + kind.replyMember + "\"", body);
    if (kind.error && message["error"] != kind.error)
        breach(which + std::string(" is not \"") + kind.error + "\"", body);
    ++replies_;
}

}  // namespace soak
