// The audio and video devices of the simulated machine: the built-in ones,
// until a scenario plugs in or pulls out others.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// Device kinds as the device events and tests number them.
inline constexpr int32_t kDeviceSpeaker = 1;
inline constexpr int32_t kDeviceMicrophone = 2;
inline constexpr int32_t kDeviceCamera = 3;

struct MachineDevices {
    std::vector<std::string> speakers;
    std::vector<std::string> microphones;
    std::vector<std::string> cameras;

    // Null for a kind the machine has no list of.
    std::vector<std::string>* ofType(int32_t deviceType) {
        switch (deviceType) {
            case kDeviceSpeaker: return &speakers;
            case kDeviceMicrophone: return &microphones;
            case kDeviceCamera: return &cameras;
            default: return nullptr;
        }
    }
};

inline MachineDevices builtInDevices() {
    return MachineDevices{{"Built-in Speakers", "Headset Earpiece"},
                          {"Built-in Microphone", "Headset Microphone"},
                          {"Integrated Camera", "Document Camera"}};
}

}  // namespace standin
