// The library's side of the channel: events with any code, block and size,
// through the callback, the event queue and the translators (public,
// private and the portal's answers).
//
// Input layout, repeated until the input ends: a 4-byte event code and a
// 4-byte block size, little-endian, then the block (cut short where the
// input ends).
//
// Each event in the public or private range is written as exactly one event
// message carrying its code and "params" that are an object or null; any
// other code writes nothing. The delayed one (1600) is dropped at once, as
// at the end of the host's input, so that no message depends on the time an
// input takes.
#include <cstdint>
#include <string>
#include <vector>

#include "EventQueueEntry.h"
#include "FuzzInput.h"
#include "FuzzSupport.h"
#include "HostState.h"
#include "OutEventHandler.h"
#include "OutEventHandler/DelayedSender.h"
#include "ProcessState.h"

namespace {

bool translated(int32_t code) {
    bool isPublic = code >= TAVMO_CLIENT_PUBLIC_EVENT_FIRST && code <= TAVMO_CLIENT_PUBLIC_EVENT_LAST;
    bool isPrivate = code >= TAVMO_CLIENT_PRIVATE_EVENT_FIRST && code <= TAVMO_CLIENT_PRIVATE_EVENT_LAST;
    return (isPublic && code != TAVMO_CLIENT_OUT_EVENT_DELAYED_URI) || isPrivate;
}

void checkMessages(int32_t code, const std::vector<Json::Value>& messages) {
    std::string context = "event " + std::to_string(code);
    if (messages.size() != (translated(code) ? 1u : 0u))
        fail(context + ": " + std::to_string(messages.size()) + " messages", "");
    if (messages.empty()) return;
    const Json::Value& message = messages.front();
    std::string text = json::writeCompact(message);
    if (!message["code"].isIntegral() || message["code"].asInt64() != code) fail(context + ": wrong code", text);
    if (!message.isMember("params") || !(message["params"].isObject() || message["params"].isNull()))
        fail(context + ": params neither an object nor null", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepareQuietEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    resetProcessState();
    FuzzInput input(data, size);
    WrittenMessages written;
    std::vector<EventQueueEntry> batch;
    while (!input.empty()) {
        auto code = static_cast<int32_t>(input.u32());
        uint32_t blockSize = input.u32();
        // An exact copy: reading past the block's end is a finding.
        std::string_view block = input.bytes(blockSize);
        std::vector<unsigned char> parameters(block.begin(), block.end());
        TavmoClientCallback(code, parameters.empty() ? nullptr : parameters.data(),
                            static_cast<uint32_t>(parameters.size()), 0);
        if (eventQueue.waitAndTakeAll(batch) != BlockingQueue<EventQueueEntry>::Wait::Taken || batch.size() != 1)
            fail("the callback did not queue the event", "");
        std::size_t before = written.size();
        OnOutEvent(batch.front().code, batch.front().block);
        dropDelayedEvents();
        checkMessages(code, written.since(before, false));
    }
    return 0;
}
