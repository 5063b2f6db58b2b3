// A queue between threads whose consumer takes everything queued at each wake.
// Closing it ends the consumer: a closed queue answers Closed even when items
// are still queued, and those items are dropped. It may be bounded: a producer
// that pushes with pushWhenRoom then waits while the queue is full, so that a
// fast producer is slowed down to the consumer's pace instead of being held in
// memory without limit.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

template <typename T>
class BlockingQueue {
public:
    enum class Wait { Taken, Closed };

    // Full while it holds `mostItems` items, or `mostBytes` bytes by the sizes
    // given to pushWhenRoom. An empty queue takes any one item.
    explicit BlockingQueue(std::size_t mostItems = std::numeric_limits<std::size_t>::max(),
                           std::size_t mostBytes = std::numeric_limits<std::size_t>::max())
        : mostItems_(mostItems), mostBytes_(mostBytes) {}

    // Appends the item unless `refuse()`, evaluated under the queue's lock,
    // says no. Returns the item's sequence number (from 1), or 0 if refused.
    template <typename Refuse>
    uint64_t pushUnless(T item, Refuse refuse) {
        uint64_t sequence = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (refuse()) return 0;
            items_.push_back(std::move(item));
            sequence = ++pushed_;
        }
        queued_.notify_one();
        return sequence;
    }

    uint64_t push(T item) {
        return pushUnless(std::move(item), [] { return false; });
    }

    // Waits until the queue has room for an item of `bytes` bytes, or is
    // closed. A sole producer can so wait before it makes a costly item.
    void waitForRoom(std::size_t bytes) {
        std::unique_lock<std::mutex> lock(mutex_);
        roomMade_.wait(lock, [&] { return closed_ || hasRoomFor(bytes); });
    }

    // Appends an item of `bytes` bytes once the queue has room for it.
    // Returns its sequence number, or 0 if the queue was closed meanwhile.
    uint64_t pushWhenRoom(T item, std::size_t bytes) {
        uint64_t sequence = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            roomMade_.wait(lock, [&] { return closed_ || hasRoomFor(bytes); });
            if (closed_) return 0;
            items_.push_back(std::move(item));
            queuedBytes_ += bytes;
            sequence = ++pushed_;
        }
        queued_.notify_one();
        return sequence;
    }

    // Blocks until something is queued or the queue is closed, then moves
    // every queued item into `batch` (oldest first).
    Wait waitAndTakeAll(std::vector<T>& batch) {
        batch.clear();
        std::unique_lock<std::mutex> lock(mutex_);
        queued_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (closed_) return Wait::Closed;
        batch.swap(items_);
        queuedBytes_ = 0;
        lock.unlock();
        roomMade_.notify_all();
        return Wait::Taken;
    }

    void close() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
        }
        queued_.notify_all();
        roomMade_.notify_all();
        handledChanged_.notify_all();
    }

    // Runs `action` while holding the queue's lock, so that it cannot fall
    // between a producer's check and its append.
    template <typename Action>
    void underLock(Action action) {
        std::lock_guard<std::mutex> lock(mutex_);
        action();
    }

    // The consumer reports that it has dealt with `count` more items.
    void markHandled(uint64_t count) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handled_ += count;
        }
        handledChanged_.notify_all();
    }

    // Waits until the item with sequence number `sequence` has been handled.
    bool waitHandled(uint64_t sequence, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return handledChanged_.wait_for(lock, timeout, [&] { return closed_ || handled_ >= sequence; }) &&
               handled_ >= sequence;
    }

    // Back to the state at start-up; only for a process that runs the host
    // more than once (tests).
    void reset() {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.clear();
        closed_ = false;
        queuedBytes_ = 0;
        pushed_ = 0;
        handled_ = 0;
    }

private:
    bool hasRoomFor(std::size_t bytes) const {
        return items_.empty() ||
               (items_.size() < mostItems_ && bytes <= mostBytes_ && queuedBytes_ <= mostBytes_ - bytes);
    }

    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable handledChanged_;
    std::condition_variable roomMade_;
    const std::size_t mostItems_;
    const std::size_t mostBytes_;
    std::vector<T> items_;
    std::size_t queuedBytes_ = 0;
    bool closed_ = false;
    uint64_t pushed_ = 0;
    uint64_t handled_ = 0;
};
