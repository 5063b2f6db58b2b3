// Event messages written a while after they were translated, by one timer
// thread, so that the event thread goes on meanwhile. However many wait,
// they cost no thread of their own.
#pragma once

#include <chrono>
#include <cstdint>

#include "Json.h"

// Writes `message` under the sender name "DelayOutEvent" once `delay` has
// passed, unless the delayed events are dropped first. `code` names the
// event in the log.
void sendDelayed(Json::Value message, std::chrono::milliseconds delay, int32_t code);

// Drops every delayed message still waiting and returns once the timer thread
// has ended, so that it does not outlive the objects it writes through. Called
// when the input has ended, after which the writer would drop them anyway.
void dropDelayedEvents();
