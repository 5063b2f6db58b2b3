#include "DeviceNotifications.h"

#include <cstring>

#include "HostState.h"
#include "Log.h"

namespace {
constexpr const char* kLogSource = logsource::kMain;
constexpr const char* kVirtualCameraName = "DidErorovIdezireRozova";
}  // namespace

void onVideoDeviceChange(DeviceChange change, const char* deviceName) {
    bool isVirtualCamera = deviceName && std::strcmp(deviceName, kVirtualCameraName) == 0;
    if (change == DeviceChange::Arrival) {
        if (isVirtualCamera) iCamera = 1;
        LOG_INFO("MainThread: TavmoClientForWeb received DBT_DEVICEARRIVAL Camera: [%s], iCamera: [%d]",
                 deviceName ? deviceName : "", iCamera.load());
    } else {
        if (isVirtualCamera) iCamera = 0;
        LOG_INFO("MainThread: TavmoClientForWeb received DBT_DEVICEREMOVECOMPLETE Camera: [%s], iCamera: [%d]",
                 deviceName ? deviceName : "", iCamera.load());
    }
}
