#include "Delivery.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace standin {
namespace {

thread_local bool tLibraryThread = false;

const void* blockData(const std::vector<unsigned char>& block) { return block.empty() ? nullptr : block.data(); }

}  // namespace

Delivery::Delivery(SyncLock& sync, CallbackTarget target, const Scenario& scenario, DeliveryHooks hooks)
    : sync_(sync), bursts_(scenario.bursts), hooks_(std::move(hooks)), target_(target) {
    const auto start = Clock::now();
    for (const auto& raise : scenario.raises) {
        Item item;
        item.code = raise.code;
        item.block = raise.block;
        enqueue(start + std::chrono::milliseconds(raise.delayMs), std::move(item));
    }
    // An earlier shutdown cancelled the lock's waiters; this thread must wait.
    sync_.allowWaiting();
    thread_ = std::thread([this] { run(); });
}

Delivery::~Delivery() { shutdown(); }

void Delivery::setTarget(CallbackTarget target) {
    std::lock_guard<std::mutex> guard(mutex_);
    target_ = target;
}

void Delivery::postStarted() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        timelineEnd_ = std::max(timelineEnd_, Clock::now());
        Item item;
        item.code = TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED;
        item.startsBursts = true;
        enqueue(timelineEnd_, std::move(item));
    }
    changed_.notify_one();
}

void Delivery::schedule(std::vector<TimelineStep> steps) {
    if (steps.empty()) return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        for (auto& step : steps) {
            Item item;
            item.code = step.code;
            item.block = std::move(step.block);
            item.view = std::move(step.view);
            item.pending = std::move(step.pending);
            item.conference = conference_;
            enqueue(nextStepTime(), std::move(item));
        }
    }
    changed_.notify_one();
}

void Delivery::scheduleHappening(const Happening& happening) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        Item item;
        item.happening = std::make_shared<const Happening>(happening);
        item.conference = conference_;
        enqueue(Clock::now() + std::chrono::milliseconds(happening.delayMs), std::move(item));
    }
    changed_.notify_one();
}

void Delivery::endConference() {
    std::lock_guard<std::mutex> guard(mutex_);
    const uint64_t ended = conference_++;
    for (auto item = items_.begin(); item != items_.end();) {
        item = item->second.conference == ended ? items_.erase(item) : std::next(item);
    }
    timelineEnd_ = Clock::time_point();
}

void Delivery::raiseNow(int32_t code, const std::vector<unsigned char>& block) {
    CallbackTarget target;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        target = target_;
    }
    if (!target.callback) return;
    std::thread raiser([&] {
        tLibraryThread = true;
        target.callback(code, blockData(block), static_cast<uint32_t>(block.size()), target.userWord);
    });
    raiser.join();
}

void Delivery::requestStop() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    burstsStopping_ = true;
    // The host may hold the sync lock while it uninitializes; the delivery
    // thread must not wait for it then.
    sync_.cancel();
}

void Delivery::shutdown() {
    requestStop();
    if (thread_.joinable()) thread_.join();
    for (auto& burst : burstThreads_) burst.join();
    burstThreads_.clear();
}

bool Delivery::onLibraryThread() { return tLibraryThread; }

void Delivery::enqueue(Clock::time_point due, Item item) { items_.emplace(Key(due, queued_++), std::move(item)); }

Delivery::Clock::time_point Delivery::nextStepTime() {
    timelineEnd_ = std::max(timelineEnd_, Clock::now()) + kStep;
    return timelineEnd_;
}

bool Delivery::current(const Item& item) const { return item.conference == 0 || item.conference == conference_; }

void Delivery::run() {
    tLibraryThread = true;
    std::unique_lock<std::mutex> guard(mutex_);
    while (!stopping_) {
        if (items_.empty()) {
            changed_.wait(guard);
            continue;
        }
        const auto due = items_.begin()->first.first;
        if (Clock::now() < due) {
            changed_.wait_until(guard, due);
            continue;
        }
        const Item item = std::move(items_.begin()->second);
        items_.erase(items_.begin());
        const CallbackTarget target = target_;
        guard.unlock();
        if (item.happening) {
            if (hooks_.happen && current(item)) hooks_.happen(*item.happening);
        } else {
            deliver(item, target);
        }
        guard.lock();
    }
}

void Delivery::deliver(const Item& item, const CallbackTarget& target) {
    if (!sync_.lockUnlessCancelled()) return;
    // The conference may have ended while this thread waited for the lock.
    if (!current(item)) {
        sync_.unlock();
        return;
    }
    if (item.view && hooks_.report) hooks_.report(*item.view);
    if (target.callback) {
        target.callback(item.code, blockData(item.block), static_cast<uint32_t>(item.block.size()), target.userWord);
    }
    sync_.unlock();

    if (!item.startsBursts || burstsStarted_ || !target.callback) return;
    burstsStarted_ = true;
    for (const auto& burst : bursts_) {
        for (uint32_t index = 0; index < burst.threads; ++index) {
            burstThreads_.emplace_back([this, &burst, index, target] { runBurst(burst, index, target); });
        }
    }
}

void Delivery::runBurst(const Burst& burst, uint32_t index, CallbackTarget target) {
    tLibraryThread = true;
    std::vector<unsigned char> block = burst.block;
    const bool stamped = block.size() >= 2 * sizeof(uint32_t);
    for (uint32_t sequence = 0; sequence < burst.count && !burstsStopping_; ++sequence) {
        if (stamped) {
            std::memcpy(block.data(), &index, sizeof index);
            std::memcpy(block.data() + sizeof index, &sequence, sizeof sequence);
        }
        target.callback(burst.code, blockData(block), static_cast<uint32_t>(block.size()), target.userWord);
    }
}

}  // namespace standin
