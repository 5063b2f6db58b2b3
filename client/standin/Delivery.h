// The library's own threads, the only ones that ever call the host's callback:
// the host's calls merely queue events here, so no callback can run inside a
// host call. The delivery thread makes each call under the sync lock; the
// scenario's burst threads call directly (see Scenario.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "Scenario.h"
#include "SyncLock.h"
#include "TavmoClient.h"

namespace standin {

struct CallbackTarget {
    TavmoClientCallbackFn callback = nullptr;
    uint32_t userWord = 0;
};

class Delivery {
public:
    // The scenario's raises are timed from construction.
    Delivery(SyncLock& sync, CallbackTarget target, const Scenario& scenario);
    ~Delivery();

    Delivery(const Delivery&) = delete;
    Delivery& operator=(const Delivery&) = delete;

    void setTarget(CallbackTarget target);

    // Queues LOGIC_STARTED. Delivering the first one starts the bursts.
    void postStarted();

    // Raises an event at once from a new library thread and returns when the
    // callback has returned. It does not take the sync lock: the host holds
    // it around the calls that raise such events (TavmoClientStop).
    void raiseNow(int32_t code, const std::vector<unsigned char>& block);

    // Queues an out-event behind those already due; an empty block is raised
    // as a null pointer with size 0.
    void post(int32_t code, std::vector<unsigned char> block);

    // Joins every thread: no callback runs once it returns. Must not be called
    // from one of the library's threads, which cannot join themselves; those
    // use requestStop() instead.
    void shutdown();
    void requestStop();

    static bool onLibraryThread();

private:
    using Clock = std::chrono::steady_clock;
    using Key = std::pair<Clock::time_point, uint64_t>;

    struct Item {
        int32_t code = 0;
        std::vector<unsigned char> block;
        bool startsBursts = false;
    };

    // Callers hold mutex_ once the delivery thread runs.
    void enqueue(Clock::time_point due, Item item);
    void run();
    void deliver(const Item& item, const CallbackTarget& target);
    void runBurst(const Burst& burst, uint32_t index, CallbackTarget target);

    SyncLock& sync_;
    const std::vector<Burst> bursts_;

    std::mutex mutex_;
    std::condition_variable changed_;
    // Ordered by due time, then by queueing order.
    std::map<Key, Item> items_;
    uint64_t queued_ = 0;
    CallbackTarget target_;
    bool stopping_ = false;

    std::atomic<bool> burstsStopping_{false};
    // Touched only by the delivery thread until it has been joined.
    bool burstsStarted_ = false;
    std::vector<std::thread> burstThreads_;

    std::thread thread_;
};

}  // namespace standin
