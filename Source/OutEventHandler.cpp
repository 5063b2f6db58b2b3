#include "OutEventHandler.h"

#include "HostState.h"
#include "Log.h"
#include "OutEventHandler/DelayedSender.h"

namespace {
constexpr const char* kLogSource = logsource::kOutEventHandler;
}  // namespace

extern "C" void TAVMO_CLIENT_CALL TavmoClientCallback(int32_t eventCode, const void* parameters, uint32_t size,
                                                      uint32_t userWord) {
    if (hostState.load() == HostExiting) {
        LOG_INFO("TavmoClientCallback() Received EVENT: [%d] while exiting, skipped.", eventCode);
        return;
    }
    EventQueueEntry entry;
    entry.code = eventCode;
    entry.userWord = userWord;
    if (parameters && size > 0) {
        const auto* bytes = static_cast<const unsigned char*>(parameters);
        entry.block.assign(bytes, bytes + size);
    }
    bool queued = eventQueue.pushUnless(std::move(entry), [] { return hostState.load() == HostExiting; }) != 0;
    if (!queued) {
        LOG_INFO("TavmoClientCallback() Received EVENT: [%d] while exiting, didn't queued.", eventCode);
        return;
    }
    LOG_INFO("TavmoClientCallback() Received and Queued EVENT: [%d]", eventCode);
}

void OutEventThread() {
    LOG_INFO("OutEventThread: STARTED");
    std::vector<EventQueueEntry> batch;
    while (eventQueue.waitAndTakeAll(batch) == BlockingQueue<EventQueueEntry>::Wait::Taken) {
        LOG_DETAIL("OutEventThread: Signaled by TavmoClientCallback");
        for (const EventQueueEntry& entry : batch) {
            try {
                OnOutEvent(entry.code, entry.block);
            } catch (...) {
                LOG_ERROR("OutEventThread: Error while processing EVENT: [%i]", entry.code);
            }
        }
    }
    LOG_INFO("OutEventThread: EXIT InputThread Exit");
    dropDelayedEvents();
    LOG_INFO("OutEventThread: EXIT");
}
