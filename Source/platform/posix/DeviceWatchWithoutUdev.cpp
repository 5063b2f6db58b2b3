// Built where libudev's header is missing: the host runs without a device
// watch, as on a machine whose udev refuses the monitor.
#include <cerrno>

#include "platform/Platform.h"
#include "platform/posix/DeviceMonitor.h"

namespace platform {

namespace devicemonitor {
int descriptor() { return -1; }
void handleChanges(DeviceChangeHandler) {}
}  // namespace devicemonitor

bool registerDeviceNotification(void*, uintptr_t& handle, int& systemError) {
    handle = 0;
    systemError = ENOSYS;
    return false;
}

void unregisterDeviceNotification() {}

}  // namespace platform
