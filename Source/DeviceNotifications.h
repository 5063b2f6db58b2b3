#pragma once

enum class DeviceChange { Arrival, RemoveComplete };

// Called by the platform's message handling, on the main thread, for every
// arrival or removal of a video capture device.
void onVideoDeviceChange(DeviceChange change, const char* deviceName);
