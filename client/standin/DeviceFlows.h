// Devices as the simulated client reports them:
//
// - plugged in: 202100 (added), 601 (the kind's list changed), 100
//   (ChangesToAudioVideoDevices);
// - pulled out: 202100 (removed), 601, 100; when it was the selected device
//   the selection moves to the kind's first device, reported as below with
//   message SelectedDeviceLostMsg;
// - a new selection: 202110 (selected, the new name), 602 (the previous and
//   the new name), 603, 100 (DeviceSelectionChangedMsg);
// - device tests: 2830 with the device, the action and success.
#pragma once

#include <cstdint>
#include <string>

#include "LibraryState.h"
#include "Script.h"

namespace standin {

// changeType of the device events.
inline constexpr int32_t kDeviceAdded = 1;
inline constexpr int32_t kDeviceRemoved = 2;
inline constexpr int32_t kDeviceSelected = 3;

enum class SelectionCause { Chosen, Lost };

void reportDeviceListChange(Script& script, int32_t deviceType, const std::string& name, int32_t changeType);
void reportSelectionChange(Script& script, int32_t deviceType, const std::string& previous, const std::string& next,
                           SelectionCause cause);

// False when the machine already has a device of that kind and name.
bool plugDevice(LibraryState& state, Script& script, int32_t deviceType, const std::string& name);

// The in-events; each false when the record is not the one it takes.
bool testDevice(Script& script, int32_t deviceType, const void* record, uint32_t size);
bool startSpeakerTest(LibraryState& state, Script& script, const void* record, uint32_t size);
void stopSpeakerTest(LibraryState& state, Script& script);

}  // namespace standin
