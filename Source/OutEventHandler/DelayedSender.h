// Event messages written a while after they were translated, each from a
// short-lived thread of its own, so that the event thread goes on meanwhile.
#pragma once

#include <chrono>
#include <cstdint>

#include "Json.h"

// Writes `message` under the sender name "DelayOutEvent" once `delay` has
// passed, unless the delayed events are dropped first. `code` names the
// event in the log.
void sendDelayed(Json::Value message, std::chrono::milliseconds delay, int32_t code);

// Drops every delayed message still waiting and returns once their threads
// have ended, so that none outlives the objects it writes through. Called
// when the input has ended, after which the writer would drop them anyway.
void dropDelayedEvents();
