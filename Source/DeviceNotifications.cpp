#include "DeviceNotifications.h"

#include <condition_variable>
#include <cstring>
#include <mutex>

#include "HostState.h"
#include "Log.h"

namespace {
constexpr const char* kLogSource = logsource::kMain;
constexpr const char* kVirtualCameraName = "DidErorovIdezireRozova";

std::mutex watchMutex;
std::condition_variable watchSettledSignal;
// Settled unless the main thread is starting the watch: code that runs
// without the host's start-up finds the presence at once.
bool watchSettled = true;
}  // namespace

void deviceWatchStarting() {
    std::lock_guard<std::mutex> lock(watchMutex);
    watchSettled = false;
}

void deviceWatchSettled() {
    {
        std::lock_guard<std::mutex> lock(watchMutex);
        watchSettled = true;
    }
    watchSettledSignal.notify_all();
}

int32_t virtualCameraPresence() {
    std::unique_lock<std::mutex> lock(watchMutex);
    watchSettledSignal.wait(lock, [] { return watchSettled; });
    return iCamera.load();
}

void onVideoDeviceChange(platform::DeviceChange change, const char* deviceName) {
    bool isVirtualCamera = deviceName && std::strcmp(deviceName, kVirtualCameraName) == 0;
    if (change == platform::DeviceChange::Arrival) {
        if (isVirtualCamera) iCamera = 1;
        LOG_INFO("MainThread: TavmoClientForWeb received DBT_DEVICEARRIVAL Camera: [%s], iCamera: [%d]",
                 deviceName ? deviceName : "", iCamera.load());
    } else {
        if (isVirtualCamera) iCamera = 0;
        LOG_INFO("MainThread: TavmoClientForWeb received DBT_DEVICEREMOVECOMPLETE Camera: [%s], iCamera: [%d]",
                 deviceName ? deviceName : "", iCamera.load());
    }
}
