// Process-wide state shared by the host's threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "BlockingQueue.h"
#include "EventQueueEntry.h"

enum HostStateValue : int32_t {
    HostRunning = 0,
    HostDebug = 1,
    HostInputEnded = -2,
    HostExiting = -1,
};

extern std::atomic<int32_t> hostState;
// 1 between the library's conference-joined and conference-left events.
extern std::atomic<int32_t> inConference;
// 1 while the virtual camera device is present.
extern std::atomic<int32_t> iCamera;
// 1 when the page declared a 64-bit browser.
extern std::atomic<int32_t> bChromex64;
// The hidden window handed to the library at start; null if it could not be made.
extern void* hWindow;

// Request texts from InputThread to OutputThread; closing it is the end of input.
extern BlockingQueue<std::string> requestQueue;
// Library events from the callback to OutEventThread; its lock also guards the
// change of hostState to HostExiting.
extern BlockingQueue<EventQueueEntry> eventQueue;

inline bool isDebugMode() { return hostState.load() == HostDebug; }
