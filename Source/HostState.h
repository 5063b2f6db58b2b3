// Process-wide state shared by the host's threads.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

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

// The website the page named last; empty until it names one.
extern std::string currentDomain;

// Status requests that found the camera absent while the library was started,
// since the last registration they caused.
extern int cameraRetryCount;

// The desktops as the page last received them: the device text of each, by
// the index that the share in-event names; empty at start. Only the output
// thread uses it, so it takes no lock.
inline constexpr std::size_t kDesktopTableSize = 16;
// Entries are only ever overwritten, never cleared, by a new listing.
void storeDesktopDevice(std::size_t index, const std::string& device);
// Empty for a desktop never listed and for an index outside the table.
std::string desktopDevice(std::size_t index);

// The log directory as makeLogConfig() (LogConfig.h) last built it, under its
// lock; empty until then. The library keeps pointers to the text.
extern std::mutex libraryLogDirectoryLock;
extern std::string libraryLogDirectory;

// The event messages waiting to be written later (OutEventHandler/DelayedSender.h):
// one timer thread writes them in the order of their due times and, for the
// same time, in the order they were handed over. It runs from the first
// delayed message until they are dropped.
struct DelayedEvent {
    Json::Value message;
    int32_t code = 0;
};
struct DelayedEvents {
    using Clock = std::chrono::steady_clock;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::pair<Clock::time_point, uint64_t>, DelayedEvent> waiting;
    uint64_t handedOver = 0;
    bool dropping = false;
    std::thread timer;
};
// Never destroyed: a timer still running when the process ends must not find
// its state gone.
DelayedEvents& delayedEvents();

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

// Puts everything above back to how start-up finds it, the device watch
// settled, for the unit tests and the fuzzers: drops the delayed messages
// (their timer ended), empties and reopens the queues. Only while no other
// thread of the host runs.
void resetHostState();
