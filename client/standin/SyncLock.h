// The lock behind TavmoClientSynchronizeStart/End. The delivery thread holds it
// around every callback, so the host can bracket a state change against
// callbacks. It is hand-made rather than a std::recursive_mutex because the
// delivery thread's wait must be cancellable: a host that uninitializes while
// holding the lock would otherwise wait forever for the delivery thread to end.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace standin {

class SyncLock {
public:
    // Recursive for the owning thread.
    void lock();

    // Ignores an unlock from a thread that does not hold the lock, so a host
    // that ends a bracket twice does not corrupt the count.
    void unlock();

    // Like lock(), but gives up and returns false once cancel() has been
    // called (and until allowWaiting() is called again).
    bool lockUnlessCancelled();

    void cancel();
    void allowWaiting();

private:
    bool availableTo(std::thread::id self) const { return depth_ == 0 || owner_ == self; }

    std::mutex mutex_;
    std::condition_variable released_;
    std::thread::id owner_;
    uint64_t depth_ = 0;
    bool cancelled_ = false;
};

}  // namespace standin
