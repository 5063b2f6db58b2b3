// The hidden window: it receives the device notifications of video capture
// devices, and its message queue is pumped by the main thread between waits.
#include <windows.h>
// After windows.h, which it needs.
#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <string>

// The platform's one seam to the core's facilities: its log, which is the
// library's (see Source/CMakeLists.txt).
#include "Log.h"
#include "platform/Platform.h"

namespace platform {

namespace {

constexpr const char* kLogSource = logsource::kMain;
constexpr const char* kWindowClass = "TavmoClientForWeb";
constexpr const char* kWindowTitle = "TavmoClientForWeb";
constexpr int kWindowWidth = 1920;
constexpr int kWindowHeight = 1080;
// The kernel-streaming video capture category (KSCATEGORY_VIDEO).
constexpr GUID kVideoCaptureCategory = {0x6994AD05, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "the filter record the system expects");

HDEVNOTIFY deviceNotification = nullptr;
DeviceChangeHandler deviceChangeHandler = nullptr;

// Auto-reset, so that a wake given before the main thread waits is kept for it.
HANDLE wakeEvent() {
    static const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return event;
}

// The name is read within the size the sender gave, never up to a terminator
// that may be missing.
void handleDeviceChange(WPARAM change, LPARAM details) {
    if (!deviceChangeHandler || (change != DBT_DEVICEARRIVAL && change != DBT_DEVICEREMOVECOMPLETE)) return;
    auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(details);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
    auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
    constexpr std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    std::string name;
    if (header->dbch_size > nameOffset) {
        const char* end = device->dbcc_name + (header->dbch_size - nameOffset);
        name.assign(device->dbcc_name, std::find(device->dbcc_name, end, '\0'));
    }
    deviceChangeHandler(change == DBT_DEVICEARRIVAL ? DeviceChange::Arrival : DeviceChange::RemoveComplete,
                        name.c_str());
}

LRESULT CALLBACK hiddenWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_CLOSE: DestroyWindow(window); return 0;
        case WM_DEVICECHANGE: handleDeviceChange(wParam, lParam); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void* createHiddenWindow(DeviceChangeHandler onDeviceChange) {
    deviceChangeHandler = onDeviceChange;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hiddenWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kWindowClass, kWindowTitle, WS_POPUP, 0, 0, kWindowWidth, kWindowHeight, nullptr, nullptr,
                           instance, nullptr);
}

bool registerDeviceNotification(void* window, uintptr_t& handle, int& systemError) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kVideoCaptureCategory;
    deviceNotification = RegisterDeviceNotificationA(static_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!deviceNotification) {
        systemError = static_cast<int>(GetLastError());
        return false;
    }
    handle = reinterpret_cast<uintptr_t>(deviceNotification);
    return true;
}

void unregisterDeviceNotification() {
    if (deviceNotification) UnregisterDeviceNotification(deviceNotification);
    deviceNotification = nullptr;
}

void waitForMessages(std::chrono::milliseconds timeout) {
    HANDLE event = wakeEvent();
    // MWMO_INPUTAVAILABLE: messages already queued count too, not only new ones.
    MsgWaitForMultipleObjectsEx(1, &event, static_cast<DWORD>(timeout.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void wakeMainThread() { SetEvent(wakeEvent()); }

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // A quit message ends this pass only: the end of input alone ends the host.
        if (message.message == WM_QUIT) return;
        LOG_INFO("MainThread: PeekMessage(...) message: [%d]", static_cast<int>(message.message));
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace platform
