#include "HostState.h"

#include "DeviceNotifications.h"
#include "OutEventHandler/DelayedSender.h"

std::atomic<int32_t> hostState{HostRunning};
std::atomic<int32_t> inConference{0};
std::atomic<int32_t> iCamera{0};
std::atomic<int32_t> bChromex64{0};
void* hWindow = nullptr;
std::string currentDomain;
int cameraRetryCount = 0;
std::mutex libraryLogDirectoryLock;
std::string libraryLogDirectory;

namespace {
// Counted in text bytes; parsed, the queue holds some fifty times as much.
// A single longer request is still taken when the queue is empty.
constexpr std::size_t kMostQueuedBytes = kLongestRequest / 4;

// Through storeDesktopDevice() and desktopDevice(), which keep to its bounds.
std::array<std::string, kDesktopTableSize> desktopTable;
}  // namespace

void storeDesktopDevice(std::size_t index, const std::string& device) {
    if (index < kDesktopTableSize) desktopTable[index] = device;
}

std::string desktopDevice(std::size_t index) { return index < kDesktopTableSize ? desktopTable[index] : std::string(); }

DelayedEvents& delayedEvents() {
    static DelayedEvents* const instance = new DelayedEvents;
    return *instance;
}

BlockingQueue<QueuedRequest> requestQueue(kMostQueuedRequests, kMostQueuedBytes);
BlockingQueue<EventQueueEntry> eventQueue;

void resetHostState() {
    dropDelayedEvents();
    {
        DelayedEvents& delayed = delayedEvents();
        std::lock_guard<std::mutex> lock(delayed.mutex);
        delayed.handedOver = 0;
    }
    hostState = HostRunning;
    inConference = 0;
    iCamera = 0;
    deviceWatchSettled();
    bChromex64 = 0;
    hWindow = nullptr;
    currentDomain.clear();
    cameraRetryCount = 0;
    desktopTable.fill(std::string());
    {
        std::lock_guard<std::mutex> lock(libraryLogDirectoryLock);
        libraryLogDirectory.clear();
    }
    requestQueue.reset();
    eventQueue.reset();
}
