// The library's own threads, the only ones that ever call the host's callback:
// the host's calls merely queue events here, so no callback can run inside a
// host call. The delivery thread makes each call under the sync lock; the
// scenario's burst threads call directly (see Scenario.cpp).
//
// The simulated conference raises its events on one timeline: each reaction's
// events follow everything scheduled before them, a fixed step apart, so the
// order of events depends only on the order of the in-events.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "ConferenceState.h"
#include "Scenario.h"
#include "SyncLock.h"
#include "TavmoClient.h"

namespace standin {

struct CallbackTarget {
    TavmoClientCallbackFn callback = nullptr;
    uint32_t userWord = 0;
};

struct TimelineStep {
    int32_t code = 0;
    std::vector<unsigned char> block;
    // The conference once this event is out.
    std::shared_ptr<const ConferenceView> view;
    // Kept until the step is out or dropped: a weak pointer to it tells
    // whether steps of its kind still wait.
    std::shared_ptr<const void> pending;
};

struct DeliveryHooks {
    // Called on the delivery thread, under the sync lock, just before the
    // callback of a step that carries a view.
    std::function<void(const ConferenceView&)> report;
    // Called on the delivery thread, without the sync lock, when a happening
    // is due.
    std::function<void(const Happening&)> happen;
};

class Delivery {
public:
    static constexpr std::chrono::milliseconds kStep{20};

    // The scenario's raises are timed from construction.
    Delivery(SyncLock& sync, CallbackTarget target, const Scenario& scenario, DeliveryHooks hooks = {});
    ~Delivery();

    Delivery(const Delivery&) = delete;
    Delivery& operator=(const Delivery&) = delete;

    void setTarget(CallbackTarget target);

    // Queues LOGIC_STARTED behind the timeline. Delivering the first one
    // starts the bursts.
    void postStarted();

    // Raises an event at once from a new library thread and returns when the
    // callback has returned. It does not take the sync lock: the host holds
    // it around the calls that raise such events (TavmoClientStop).
    void raiseNow(int32_t code, const std::vector<unsigned char>& block);

    // Puts the steps on the timeline, the first one kStep after the last step
    // scheduled (or after now), each next one kStep later. An empty block is
    // raised as a null pointer with size 0.
    void schedule(std::vector<TimelineStep> steps);

    // Runs the happening hook the happening's delay from now.
    void scheduleHappening(const Happening& happening);

    // Drops every step and happening not yet out: the conference is over.
    void endConference();

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
        std::shared_ptr<const ConferenceView> view;
        // Set for a happening, which runs the happening hook instead of a callback.
        std::shared_ptr<const Happening> happening;
        // The conference the item belongs to; 0 for items that outlive it.
        uint64_t conference = 0;
        std::shared_ptr<const void> pending;
    };

    // Callers hold mutex_ once the delivery thread runs.
    void enqueue(Clock::time_point due, Item item);
    Clock::time_point nextStepTime();
    bool current(const Item& item) const;
    void run();
    void deliver(const Item& item, const CallbackTarget& target);
    void runBurst(const Burst& burst, uint32_t index, CallbackTarget target);

    SyncLock& sync_;
    const std::vector<Burst> bursts_;
    const DeliveryHooks hooks_;

    std::mutex mutex_;
    std::condition_variable changed_;
    // Ordered by due time, then by queueing order.
    std::map<Key, Item> items_;
    uint64_t queued_ = 0;
    CallbackTarget target_;
    bool stopping_ = false;
    // When the last step scheduled is due.
    Clock::time_point timelineEnd_;
    std::atomic<uint64_t> conference_{1};

    std::atomic<bool> burstsStopping_{false};
    // Touched only by the delivery thread until it has been joined.
    bool burstsStarted_ = false;
    std::vector<std::thread> burstThreads_;

    std::thread thread_;
};

}  // namespace standin
