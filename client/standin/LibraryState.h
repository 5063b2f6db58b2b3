// Everything the library remembers between calls, guarded by one mutex (see
// StandIn.cpp). Request handlers get it through RequestContext.
#pragma once

#include <cstdint>
#include <filesystem>

#include "Scenario.h"
#include "TavmoClient.h"

namespace standin {

struct LibraryState {
    bool initialized = false;
    bool started = false;
    // stop-stopping answers "still stopping" only to the first Stop.
    bool stopStoppingUsed = false;
    // 0 is idle.
    int32_t callState = 0;
    TavmoClientFeatureControl features{};
    std::filesystem::path dataDirectory;
    Scenario scenario;
    // The video size the host last gave the virtual camera.
    TavmoClientVirtualCameraSize virtualCameraSize{1920, 1080};
};

}  // namespace standin
