// The hidden window's POSIX counterpart: a wake-up pipe for the main thread
// and a udev monitor of video4linux devices in place of device notifications.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#if defined(TAVMO_HAVE_LIBUDEV)
#include <libudev.h>
#endif

#include "DeviceNotifications.h"
#include "platform/Platform.h"

namespace platform {

namespace {

int wakePipe[2] = {-1, -1};
// Stands in for the window handle that the library is given at start.
int hiddenWindow = 0;

#if defined(TAVMO_HAVE_LIBUDEV)
udev* udevContext = nullptr;
udev_monitor* videoMonitor = nullptr;
#endif

int monitorFd() {
#if defined(TAVMO_HAVE_LIBUDEV)
    return videoMonitor ? udev_monitor_get_fd(videoMonitor) : -1;
#else
    return -1;
#endif
}

void drainWakePipe() {
    char buffer[64];
    while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

void handleDeviceEvents() {
#if defined(TAVMO_HAVE_LIBUDEV)
    while (videoMonitor) {
        udev_device* device = udev_monitor_receive_device(videoMonitor);
        if (!device) return;
        const char* action = udev_device_get_action(device);
        const char* name = udev_device_get_sysattr_value(device, "name");
        if (action && std::strcmp(action, "add") == 0) onVideoDeviceChange(DeviceChange::Arrival, name ? name : "");
        if (action && std::strcmp(action, "remove") == 0)
            onVideoDeviceChange(DeviceChange::RemoveComplete, name ? name : "");
        udev_device_unref(device);
    }
#endif
}

}  // namespace

void* createHiddenWindow() {
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) return nullptr;
    return &hiddenWindow;
}

bool registerDeviceNotification(void*, uintptr_t& handle, int& systemError) {
#if defined(TAVMO_HAVE_LIBUDEV)
    udevContext = udev_new();
    if (udevContext) videoMonitor = udev_monitor_new_from_netlink(udevContext, "udev");
    if (videoMonitor && udev_monitor_filter_add_match_subsystem_devtype(videoMonitor, "video4linux", nullptr) >= 0 &&
        udev_monitor_enable_receiving(videoMonitor) >= 0) {
        int fd = udev_monitor_get_fd(videoMonitor);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        handle = reinterpret_cast<uintptr_t>(videoMonitor);
        return true;
    }
    systemError = errno ? errno : ENODEV;
    unregisterDeviceNotification();
    return false;
#else
    handle = 0;
    systemError = ENOSYS;
    return false;
#endif
}

void unregisterDeviceNotification() {
#if defined(TAVMO_HAVE_LIBUDEV)
    if (videoMonitor) udev_monitor_unref(videoMonitor);
    if (udevContext) udev_unref(udevContext);
    videoMonitor = nullptr;
    udevContext = nullptr;
#endif
}

void waitForMessages(std::chrono::milliseconds timeout) {
    pollfd fds[2] = {{wakePipe[0], POLLIN, 0}, {monitorFd(), POLLIN, 0}};
    if (::poll(fds, 2, static_cast<int>(timeout.count())) > 0 && (fds[0].revents & POLLIN)) drainWakePipe();
}

void wakeMainThread() {
    if (wakePipe[1] >= 0) {
        char byte = 1;
        (void)!::write(wakePipe[1], &byte, 1);
    }
}

void pumpMessages() { handleDeviceEvents(); }

}  // namespace platform
