// The hidden window is where the library draws the video; the page sizes it.
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

WindowFrame windowFrame() {
    WindowFrame frame;
    frame.frameWidth = GetSystemMetrics(SM_CXFRAME);
    frame.frameHeight = GetSystemMetrics(SM_CYFRAME);
    frame.menuHeight = GetSystemMetrics(SM_CYMENU);
    return frame;
}

void placeVideoWindow(void* window, int32_t width, int32_t height) {
    if (!window) return;
    HWND handle = static_cast<HWND>(window);
    MoveWindow(handle, 0, 0, width, height, TRUE);
    HRGN region = CreateRectRgn(0, 0, width, height);
    if (!region) return;
    // The system owns the region once it is set; a region it refused is ours.
    if (!SetWindowRgn(handle, region, TRUE)) DeleteObject(region);
}

}  // namespace platform
