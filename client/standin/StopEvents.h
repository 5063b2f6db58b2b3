// What the library reports when the host stops it. The events are raised
// before TavmoClientStop returns, so a test can see how the host treats events
// that arrive while it is shutting down.
#pragma once

#include <cstdint>
#include <vector>

#include "LibraryState.h"

namespace standin {

struct RaisedEvent {
    int32_t code = 0;
    std::vector<unsigned char> block;
};

// A conference still running ends with the library: the call state goes
// back to idle, reported as Disconnecting, conference left, Idle. The caller
// holds the state's mutex and raises the events once it has released it.
std::vector<RaisedEvent> conferenceEndAtStop(LibraryState& state);

}  // namespace standin
