#include "HostState.h"

std::atomic<int32_t> hostState{HostRunning};
std::atomic<int32_t> inConference{0};
std::atomic<int32_t> iCamera{0};
std::atomic<int32_t> bChromex64{0};
void* hWindow = nullptr;

namespace {
// Counted in text bytes; parsed, the queue holds some fifty times as much.
// A single longer request is still taken when the queue is empty.
constexpr std::size_t kMostQueuedBytes = kLongestRequest / 4;
}  // namespace

BlockingQueue<QueuedRequest> requestQueue(kMostQueuedRequests, kMostQueuedBytes);
BlockingQueue<EventQueueEntry> eventQueue;
