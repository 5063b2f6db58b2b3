// Everything the library remembers between calls, guarded by one mutex (see
// StandIn.cpp). Request handlers get it through RequestContext.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "ConferenceState.h"
#include "Devices.h"
#include "Scenario.h"
#include "StatusState.h"
#include "TavmoClient.h"

namespace standin {

struct LibraryState {
    bool initialized = false;
    bool started = false;
    // stop-stopping answers "still stopping" only to the first Stop.
    bool stopStoppingUsed = false;
    TavmoClientFeatureControl features{};
    std::filesystem::path dataDirectory;
    Scenario scenario;
    ConferenceState conference;
    StatusState status;
    // The video size the host last gave the virtual camera.
    TavmoClientVirtualCameraSize virtualCameraSize{1920, 1080};
    MachineDevices devices = builtInDevices();
    // The share selection the host last set; the simulated one until then.
    std::optional<TavmoClientWindowShares> windowShares;
    // The window lists not yet delivered, by request id; expired once out.
    std::map<uint32_t, std::weak_ptr<const void>> pendingWindowLists;
};

}  // namespace standin
