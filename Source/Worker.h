// A worker thread whose end the main thread can wait for with a time limit.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class Worker {
public:
    // Runs `body` on a new thread; `onEnd` runs on that thread when the body
    // has returned (the main thread uses it to wake up).
    Worker(std::function<void()> body, std::function<void()> onEnd = {}) {
        thread_ = std::thread([this, body = std::move(body), onEnd = std::move(onEnd)] {
            body();
            {
                std::lock_guard<std::mutex> lock(mutex_);
                ended_ = true;
            }
            endedChanged_.notify_all();
            if (onEnd) onEnd();
        });
    }

    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    ~Worker() {
        if (thread_.joinable()) thread_.join();
    }

    bool held() const { return thread_.joinable(); }

    bool ended() {
        std::lock_guard<std::mutex> lock(mutex_);
        return ended_;
    }

    // Waits up to `timeout` for the thread to end; joins it when it did.
    bool waitFor(std::chrono::milliseconds timeout) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!endedChanged_.wait_for(lock, timeout, [this] { return ended_; })) return false;
        }
        thread_.join();
        return true;
    }

    // Hands the thread's native handle to `act`, while the thread is held.
    template <typename Act>
    void withHandle(Act act) {
        act(thread_.native_handle());
    }

    // Gives up on a thread that did not end in time: `terminate` gets its
    // native handle while the thread is still attached (detaching gives up the
    // system's handle on some platforms). The thread may still run, so the
    // Worker must outlive the process's use of it.
    template <typename Terminate>
    void abandon(Terminate terminate) {
        terminate(thread_.native_handle());
        thread_.detach();
    }

private:
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
    std::thread thread_;
};
