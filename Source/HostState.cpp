#include "HostState.h"

std::atomic<int32_t> hostState{HostRunning};
std::atomic<int32_t> inConference{0};
std::atomic<int32_t> iCamera{0};
std::atomic<int32_t> bChromex64{0};
void* hWindow = nullptr;

BlockingQueue<std::string> requestQueue;
BlockingQueue<EventQueueEntry> eventQueue;
