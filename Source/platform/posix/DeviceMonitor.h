// What the main thread's wait (DeviceWatch.cpp) needs from the device
// monitor, one of two files that CMake chooses: DeviceWatchUdev.cpp where
// libudev's header is found, DeviceWatchWithoutUdev.cpp elsewhere. Each also
// defines registerDeviceNotification and unregisterDeviceNotification.
#pragma once

#include "platform/Platform.h"

namespace platform::devicemonitor {

// The descriptor that is readable while device changes wait, or -1.
int descriptor();
// Takes every waiting change and hands it to `onChange` (when not null).
void handleChanges(DeviceChangeHandler onChange);

}  // namespace platform::devicemonitor
