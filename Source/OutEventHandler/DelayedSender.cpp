#include "OutEventHandler/DelayedSender.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "HostState.h"
#include "Log.h"
#include "TavmoAgent.h"

namespace {

constexpr const char* kLogSource = logsource::kOutEventHandler;

using Clock = DelayedEvents::Clock;

void send(DelayedEvent event) {
    LOG_INFO("DelayOutEventThread Sending outEvent: [%d]", event.code);
    TavmoAgent::sendMessage("DelayOutEvent", std::move(event.message));
}

void DelayOutEvent() {
    DelayedEvents& state = delayedEvents();
    std::unique_lock<std::mutex> lock(state.mutex);
    while (!state.dropping) {
        if (state.waiting.empty()) {
            state.changed.wait(lock);
            continue;
        }
        auto first = state.waiting.begin();
        if (Clock::now() < first->first.first) {
            state.changed.wait_until(lock, first->first.first);
            continue;
        }
        DelayedEvent event = std::move(first->second);
        state.waiting.erase(first);
        lock.unlock();
        send(std::move(event));
        lock.lock();
    }
}

}  // namespace

void sendDelayed(Json::Value message, std::chrono::milliseconds delay, int32_t code) {
    DelayedEvents& state = delayedEvents();
    std::unique_lock<std::mutex> lock(state.mutex);
    auto key = std::make_pair(Clock::now() + delay, state.handedOver++);
    state.waiting.emplace(key, DelayedEvent{std::move(message), code});
    if (!state.timer.joinable()) {
        try {
            state.timer = std::thread(DelayOutEvent);
        } catch (const std::system_error& error) {
            // Without a timer nothing else is waiting: this message goes out
            // now rather than never.
            DelayedEvent event = std::move(state.waiting.at(key));
            state.waiting.erase(key);
            lock.unlock();
            LOG_ERROR("DelayOutEventThread can't be started ERROR: [%d], outEvent: [%d] is sent without delay",
                      error.code().value(), code);
            send(std::move(event));
            return;
        }
    }
    lock.unlock();
    state.changed.notify_one();
}

void dropDelayedEvents() {
    DelayedEvents& state = delayedEvents();
    std::thread timer;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.dropping = true;
        timer.swap(state.timer);
    }
    state.changed.notify_all();
    if (timer.joinable()) timer.join();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (const auto& [due, event] : state.waiting)
        LOG_INFO("DelayOutEventThread Dropping outEvent: [%d], the input has ended", event.code);
    state.waiting.clear();
    state.dropping = false;
}
