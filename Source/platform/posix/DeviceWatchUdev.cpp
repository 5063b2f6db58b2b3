// The device monitor through udev: add and remove events of the video4linux
// subsystem.
#include <dlfcn.h>
#include <fcntl.h>
#include <libudev.h>

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"
#include "platform/posix/DeviceMonitor.h"

namespace platform {

namespace {

// libudev is opened when the watch is set up, which the main thread does
// beside the workers: linked to the host, it would be loaded and relocated
// before main, on the way to the first reply. A machine without it has no
// watch, as one whose udev refuses the monitor.
struct Udev {
    decltype(&::udev_new) newContext;
    decltype(&::udev_unref) unrefContext;
    decltype(&::udev_monitor_new_from_netlink) newMonitor;
    decltype(&::udev_monitor_filter_add_match_subsystem_devtype) matchSubsystem;
    decltype(&::udev_monitor_enable_receiving) enableReceiving;
    decltype(&::udev_monitor_get_fd) monitorFd;
    decltype(&::udev_monitor_receive_device) receiveDevice;
    decltype(&::udev_monitor_unref) unrefMonitor;
    decltype(&::udev_device_get_action) action;
    decltype(&::udev_device_get_sysattr_value) sysattrValue;
    decltype(&::udev_device_unref) unrefDevice;
};

template <typename Function>
bool bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// Opened once and kept: the monitor's functions are used until the end.
const Udev* openUdev() {
    static const Udev* const opened = []() -> const Udev* {
        static Udev udev;
        void* library = ::dlopen("libudev.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        bool complete = bind(library, "udev_new", udev.newContext) && bind(library, "udev_unref", udev.unrefContext) &&
                        bind(library, "udev_monitor_new_from_netlink", udev.newMonitor) &&
                        bind(library, "udev_monitor_filter_add_match_subsystem_devtype", udev.matchSubsystem) &&
                        bind(library, "udev_monitor_enable_receiving", udev.enableReceiving) &&
                        bind(library, "udev_monitor_get_fd", udev.monitorFd) &&
                        bind(library, "udev_monitor_receive_device", udev.receiveDevice) &&
                        bind(library, "udev_monitor_unref", udev.unrefMonitor) &&
                        bind(library, "udev_device_get_action", udev.action) &&
                        bind(library, "udev_device_get_sysattr_value", udev.sysattrValue) &&
                        bind(library, "udev_device_unref", udev.unrefDevice);
        return complete ? &udev : nullptr;
    }();
    return opened;
}

const Udev* udevLibrary = nullptr;
udev* udevContext = nullptr;
udev_monitor* videoMonitor = nullptr;

}  // namespace

namespace devicemonitor {

int descriptor() { return videoMonitor ? udevLibrary->monitorFd(videoMonitor) : -1; }

void handleChanges(DeviceChangeHandler onChange) {
    while (videoMonitor) {
        udev_device* device = udevLibrary->receiveDevice(videoMonitor);
        if (!device) return;
        const char* action = udevLibrary->action(device);
        const char* name = udevLibrary->sysattrValue(device, "name");
        if (onChange && action && std::strcmp(action, "add") == 0) onChange(DeviceChange::Arrival, name ? name : "");
        if (onChange && action && std::strcmp(action, "remove") == 0)
            onChange(DeviceChange::RemoveComplete, name ? name : "");
        udevLibrary->unrefDevice(device);
    }
}

}  // namespace devicemonitor

bool registerDeviceNotification(void*, uintptr_t& handle, int& systemError) {
    udevLibrary = openUdev();
    if (!udevLibrary) {
        systemError = ELIBACC;
        return false;
    }
    udevContext = udevLibrary->newContext();
    if (udevContext) videoMonitor = udevLibrary->newMonitor(udevContext, "udev");
    if (videoMonitor && udevLibrary->matchSubsystem(videoMonitor, "video4linux", nullptr) >= 0 &&
        udevLibrary->enableReceiving(videoMonitor) >= 0) {
        int fd = udevLibrary->monitorFd(videoMonitor);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        handle = reinterpret_cast<uintptr_t>(videoMonitor);
        return true;
    }
    systemError = errno ? errno : ENODEV;
    unregisterDeviceNotification();
    return false;
}

void unregisterDeviceNotification() {
    if (videoMonitor) udevLibrary->unrefMonitor(videoMonitor);
    if (udevContext) udevLibrary->unrefContext(udevContext);
    videoMonitor = nullptr;
    udevContext = nullptr;
}

}  // namespace platform
