#include "SyncLock.h"

namespace standin {

void SyncLock::lock() {
    const auto self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(mutex_);
    released_.wait(guard, [&] { return availableTo(self); });
    owner_ = self;
    ++depth_;
}

void SyncLock::unlock() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (depth_ == 0 || owner_ != std::this_thread::get_id()) return;
        if (--depth_ != 0) return;
        owner_ = std::thread::id();
    }
    released_.notify_all();
}

bool SyncLock::lockUnlessCancelled() {
    const auto self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(mutex_);
    released_.wait(guard, [&] { return cancelled_ || availableTo(self); });
    if (cancelled_) return false;
    owner_ = self;
    ++depth_;
    return true;
}

void SyncLock::cancel() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        cancelled_ = true;
    }
    released_.notify_all();
}

void SyncLock::allowWaiting() {
    std::lock_guard<std::mutex> guard(mutex_);
    cancelled_ = false;
}

}  // namespace standin
