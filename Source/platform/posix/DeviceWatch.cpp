// The hidden window's POSIX counterpart: a wake-up pipe for the main thread
// and a monitor of video4linux devices (DeviceMonitor.h) in place of device
// notifications.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/Platform.h"
#include "platform/posix/DeviceMonitor.h"

namespace platform {

namespace {

int wakePipe[2] = {-1, -1};
// Stands in for the window handle that the library is given at start.
int hiddenWindow = 0;
DeviceChangeHandler deviceChangeHandler = nullptr;

void drainWakePipe() {
    char buffer[64];
    while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

void* createHiddenWindow(DeviceChangeHandler onDeviceChange) {
    deviceChangeHandler = onDeviceChange;
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) return nullptr;
    return &hiddenWindow;
}

void waitForMessages(std::chrono::milliseconds timeout) {
    pollfd fds[2] = {{wakePipe[0], POLLIN, 0}, {devicemonitor::descriptor(), POLLIN, 0}};
    if (::poll(fds, 2, static_cast<int>(timeout.count())) > 0 && (fds[0].revents & POLLIN)) drainWakePipe();
}

void wakeMainThread() {
    if (wakePipe[1] >= 0) {
        char byte = 1;
        (void)!::write(wakePipe[1], &byte, 1);
    }
}

void pumpMessages() { devicemonitor::handleChanges(deviceChangeHandler); }

}  // namespace platform
