#pragma once

#include <cstdint>

#include "platform/Platform.h"

// The hidden window's device handler (platform::createHiddenWindow), on the
// main thread, for every arrival or removal of a video capture device.
void onVideoDeviceChange(platform::DeviceChange change, const char* deviceName);

// The device watch starts beside the workers, off the way to the first
// reply. Whatever depends on what it sees (the virtual camera's presence, and
// the registration tools, which every request runs only after reading it)
// waits until it runs, so that no change after the page's first request is
// missed, as none was when the watch started before the workers.
// The main thread, before it starts the workers:
void deviceWatchStarting();
// The main thread, once the watch runs or could not be started:
void deviceWatchSettled();
// The virtual camera's presence (iCamera), once the watch is settled.
int32_t virtualCameraPresence();
