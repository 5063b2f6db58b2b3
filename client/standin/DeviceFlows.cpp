#include "DeviceFlows.h"

#include <algorithm>

#include "RecordText.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr int32_t kOutEventDeviceKind = TAVMO_CLIENT_OUT_EVENT_DEVICES_CHANGED;
constexpr int32_t kOutEventDeviceChange = TAVMO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED;
constexpr int32_t kOutEventDevice = TAVMO_CLIENT_OUT_EVENT_DEVICE;
constexpr int32_t kOutEventDeviceTest = TAVMO_CLIENT_OUT_EVENT_DEVICE_TEST_STATUS;
constexpr int32_t kOutEventDeviceNotice = TAVMO_CLIENT_PRIVATE_OUT_EVENT_DEVICE_NOTICE;
constexpr int32_t kOutEventSelectedDeviceNotice = TAVMO_CLIENT_PRIVATE_OUT_EVENT_SELECTED_DEVICE_NOTICE;

// Library message types.
constexpr int32_t kDevicesChanged = 0;
constexpr int32_t kSelectedDeviceLost = 95;
constexpr int32_t kDeviceSelectionChanged = 96;

constexpr int32_t kDeviceTestSucceeded = 1;

void notice(Script& script, int32_t code, int32_t deviceType, int32_t changeType, const std::string& name) {
    TavmoClientDeviceNoticeEvent event{};
    event.deviceType = deviceType;
    event.changeType = changeType;
    setText(event.deviceName, name);
    script.raise(code, event);
}

void message(Script& script, int32_t messageType, int32_t deviceType) {
    TavmoClientMessageEvent event{};
    event.messageType = messageType;
    event.messageCode[0] = static_cast<uint32_t>(deviceType);
    script.raise(TAVMO_CLIENT_OUT_EVENT_MESSAGE, event);
}

void deviceOnly(Script& script, int32_t code, int32_t deviceType) {
    TavmoClientDeviceEvent event{};
    event.deviceType = deviceType;
    script.raise(code, event);
}

void reportDeviceTest(Script& script, int32_t deviceType, int32_t action) {
    TavmoClientDeviceTestEvent event{};
    event.deviceType = deviceType;
    event.action = action;
    event.result = kDeviceTestSucceeded;
    script.raise(kOutEventDeviceTest, event);
}

}  // namespace

void reportDeviceListChange(Script& script, int32_t deviceType, const std::string& name, int32_t changeType) {
    notice(script, kOutEventDeviceNotice, deviceType, changeType, name);
    deviceOnly(script, kOutEventDeviceKind, deviceType);
    message(script, kDevicesChanged, deviceType);
}

void reportSelectionChange(Script& script, int32_t deviceType, const std::string& previous, const std::string& next,
                           SelectionCause cause) {
    notice(script, kOutEventSelectedDeviceNotice, deviceType, kDeviceSelected, next);
    TavmoClientDeviceChangeEvent change{};
    change.deviceType = deviceType;
    change.changeType = kDeviceSelected;
    setText(change.prevDeviceName, previous);
    setText(change.newDeviceName, next);
    script.raise(kOutEventDeviceChange, change);
    deviceOnly(script, kOutEventDevice, deviceType);
    message(script, cause == SelectionCause::Lost ? kSelectedDeviceLost : kDeviceSelectionChanged, deviceType);
}

bool plugDevice(LibraryState& state, Script& script, int32_t deviceType, const std::string& name) {
    std::vector<std::string>* names = state.devices.ofType(deviceType);
    if (!names || std::find(names->begin(), names->end(), name) != names->end()) return false;
    names->push_back(name);
    reportDeviceListChange(script, deviceType, name, kDeviceAdded);
    return true;
}

bool testDevice(Script& script, int32_t deviceType, const void* record, uint32_t size) {
    TavmoClientInt32Value action;
    if (!take(record, size, action)) return false;
    if (action.value == TAVMO_CLIENT_DEVICE_TEST_START || action.value == TAVMO_CLIENT_DEVICE_TEST_STOP)
        reportDeviceTest(script, deviceType, action.value);
    return true;
}

bool startSpeakerTest(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientSpeakerTestInEvent test;
    if (!take(record, size, test) || !test.sound) return false;
    state.conference.speakerSound.reset(test.sound);
    reportDeviceTest(script, kDeviceSpeaker, TAVMO_CLIENT_DEVICE_TEST_START);
    return true;
}

void stopSpeakerTest(LibraryState& state, Script& script) {
    if (!state.conference.speakerSound) return;
    state.conference.speakerSound.reset();
    reportDeviceTest(script, kDeviceSpeaker, TAVMO_CLIENT_DEVICE_TEST_STOP);
}

}  // namespace standin
