// What the status requests set and read back: kept for the library's life,
// back to these values at each Initialize.
#pragma once

#include <cstdint>
#include <string>

#include "TavmoClient.h"

namespace standin {

inline constexpr uint32_t kMaxVolume = 65535;
// How many participants the simulated machine's CPU could show.
inline constexpr int32_t kCpuParticipantsLimit = 6;

struct StatusState {
    uint32_t volumeAudioIn = 52428;
    uint32_t volumeAudioOut = 52428;
    bool mutedAudioIn = false;
    bool mutedAudioOut = false;
    bool mutedVideo = false;
    // -1 leaves the rate to the library.
    int32_t sendMaxKbps = -1;
    int32_t receiveMaxKbps = -1;
    std::string label;
    std::string proxyUserName;
    std::string proxyPassword;
    bool proxyPersist = false;
    bool appShareEnabled = false;
    // What the layout, limit, bandwidth and self-view in-events set.
    TavmoClientLayout layout{1, 4, 9, 6, 0};
    int32_t participantsLimit = 8;
    int32_t sendBandwidth = 6;
    int32_t previewMode = TAVMO_CLIENT_PREVIEW_PIP;
};

}  // namespace standin
