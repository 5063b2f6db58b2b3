// Process-wide state shared by the host's threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "BlockingQueue.h"
#include "EventQueueEntry.h"
#include "Json.h"

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

// How reading a request's text as JSON went.
enum class ParseOutcome { Object, NotAnObject, Failed };

// A request as InputThread hands it on: its text, for the log lines, and what
// parsing it gave, so that OutputThread only carries it out and answers. A
// body too long to keep is not handed on: a request marked tooLarge stands in
// its place, so that its error reply keeps its place among the replies.
struct QueuedRequest {
    std::string text;
    bool tooLarge = false;
    ParseOutcome outcome = ParseOutcome::NotAnObject;
    // The parsed object when outcome is Object.
    Json::Value request{};
};

// The longest request body the host reads into memory: twice what the
// browser takes from the host. Parsed, a text takes some fifty times its size.
inline constexpr std::size_t kLongestRequest = 2 * 1024 * 1024;

// The most requests that InputThread reads ahead of OutputThread.
inline constexpr std::size_t kMostQueuedRequests = 256;

// Requests from InputThread to OutputThread; closing it is the end of input.
// Bounded by the count and the text bytes of the requests it holds, so that a
// page that writes faster than the host answers is read more slowly.
extern BlockingQueue<QueuedRequest> requestQueue;
// Library events from the callback to OutEventThread; its lock also guards the
// change of hostState to HostExiting.
extern BlockingQueue<EventQueueEntry> eventQueue;

inline bool isDebugMode() { return hostState.load() == HostDebug; }
