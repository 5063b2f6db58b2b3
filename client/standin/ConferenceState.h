// What the simulated conference remembers between in-events: kept for the
// library's life, back to these values at each Initialize.
#pragma once

#include <cstdlib>
#include <memory>

namespace standin {

struct FreeWithCRuntime {
    void operator()(void* buffer) const { std::free(buffer); }
};

struct ConferenceState {
    // The sound of the running speaker test: the host allocated it, the
    // library owns it from the moment it accepted the test and frees it when
    // the test stops, when another one starts, or at Uninitialize.
    std::unique_ptr<void, FreeWithCRuntime> speakerSound;
};

}  // namespace standin
