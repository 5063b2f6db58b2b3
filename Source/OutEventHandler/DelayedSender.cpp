#include "OutEventHandler/DelayedSender.h"

#include <condition_variable>
#include <iterator>
#include <list>
#include <mutex>
#include <thread>
#include <utility>

#include "Log.h"
#include "TavmoAgent.h"

namespace {

constexpr const char* kLogSource = logsource::kOutEventHandler;

struct DelayedThread {
    std::thread thread;
    bool done = false;
};

struct DelayedThreads {
    std::mutex mutex;
    std::condition_variable dropping;
    bool dropRequested = false;
    std::list<DelayedThread> threads;
};

// Never destroyed: a thread that is still waiting when the process ends must
// not find its bookkeeping gone.
DelayedThreads& delayed() {
    static DelayedThreads* const instance = new DelayedThreads;
    return *instance;
}

// Takes the threads that have finished; the caller joins them outside the lock.
std::list<DelayedThread> takeFinished(DelayedThreads& state) {
    std::list<DelayedThread> finished;
    for (auto it = state.threads.begin(); it != state.threads.end();) {
        auto next = std::next(it);
        if (it->done) finished.splice(finished.end(), state.threads, it);
        it = next;
    }
    return finished;
}

void joinAll(std::list<DelayedThread>& threads) {
    for (DelayedThread& entry : threads) entry.thread.join();
}

void DelayOutEvent(Json::Value message, std::chrono::milliseconds delay, int32_t code, DelayedThread* self) {
    DelayedThreads& state = delayed();
    bool dropped = false;
    {
        std::unique_lock<std::mutex> lock(state.mutex);
        dropped = state.dropping.wait_for(lock, delay, [&state] { return state.dropRequested; });
    }
    if (dropped) {
        LOG_INFO("DelayOutEventThread Dropping outEvent: [%d], the input has ended", code);
    } else {
        LOG_INFO("DelayOutEventThread Sending outEvent: [%d]", code);
        TavmoAgent::sendMessage("DelayOutEvent", std::move(message));
    }
    std::lock_guard<std::mutex> lock(state.mutex);
    self->done = true;
}

}  // namespace

void sendDelayed(Json::Value message, std::chrono::milliseconds delay, int32_t code) {
    DelayedThreads& state = delayed();
    std::list<DelayedThread> finished;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        finished = takeFinished(state);
        DelayedThread& entry = state.threads.emplace_back();
        entry.thread = std::thread(DelayOutEvent, std::move(message), delay, code, &entry);
    }
    joinAll(finished);
}

void dropDelayedEvents() {
    DelayedThreads& state = delayed();
    std::list<DelayedThread> threads;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.dropRequested = true;
        threads.swap(state.threads);
    }
    state.dropping.notify_all();
    joinAll(threads);
    std::lock_guard<std::mutex> lock(state.mutex);
    state.dropRequested = false;
}
