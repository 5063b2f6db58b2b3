#include "OutEventHandler/EventTable.h"

#include <chrono>
#include <utility>

#include "Log.h"
#include "OutEventHandler/DelayedSender.h"
#include "TavmoAgent.h"

namespace {

constexpr const char* kLogSource = logsource::kOutEventHandler;

// The delay of the one delayed row, the URI event (1600).
constexpr std::chrono::milliseconds kDelay{1000};

}  // namespace

std::vector<int32_t> EventTable::codes() const {
    std::vector<int32_t> codes;
    for (std::size_t i = 0; i < count_; ++i) codes.push_back(rows_[i].code);
    return codes;
}

const EventRow* EventTable::find(int32_t code) const {
    for (std::size_t i = 0; i < count_; ++i)
        if (rows_[i].code == code) return &rows_[i];
    return nullptr;
}

void EventTable::translateAndSend(int32_t code, const std::vector<unsigned char>& bytes) const {
    LOG_INFO("OutEventThread: %s() Entering EVENT: [%d]", sender_, code);
    Json::Value message(Json::objectValue);
    message["code"] = code;
    Json::Value params;
    const EventRow* row = find(code);
    if (row)
        row->translate(EventBlock(bytes), params);
    else
        LOG_INFO("OutEventThread: %s() Unknown EVENT: [%d]", sender_, code);
    message["params"] = std::move(params);
    if (row && row->when == Delivery::Delayed)
        sendDelayed(std::move(message), kDelay, code);
    else
        TavmoAgent::sendMessage(sender_, std::move(message));
}
