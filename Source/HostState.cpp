#include "HostState.h"

std::atomic<int32_t> hostState{HostRunning};
std::atomic<int32_t> inConference{0};
std::atomic<int32_t> iCamera{0};
std::atomic<int32_t> bChromex64{0};
void* hWindow = nullptr;

namespace {
constexpr std::size_t kMostQueuedRequests = 1024;
constexpr std::size_t kMostQueuedBytes = 8 * kLongestRequest;
}  // namespace

BlockingQueue<QueuedRequest> requestQueue(kMostQueuedRequests, kMostQueuedBytes);
BlockingQueue<EventQueueEntry> eventQueue;
