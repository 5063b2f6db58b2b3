// The windows and desktops of the simulated machine: what the share listing
// (102200) offers and what the window list in-event (201600) reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RecordBytes.h"
#include "TavmoClient.h"

namespace standin {

struct DesktopWindow {
    std::string title;
    // Empty for a window no application owns, which is not offered for sharing.
    std::string application;
    uint32_t id = 0;
    TavmoClientWindowRect rect{};
};

struct SimulatedDesktopScreen {
    const char* name;
    const char* device;
    TavmoClientVideoRect rect;
};

inline constexpr SimulatedDesktopScreen kDesktops[] = {
    {"Display 1", "\\\\.\\DISPLAY1", {0, 0, 1920, 1080}},
    {"Display 2", "\\\\.\\DISPLAY2", {1920, 0, 1280, 1024}},
};

// The machine's own four windows, then `extraWindows` editor documents.
std::vector<DesktopWindow> openWindows(uint32_t extraWindows);

// The window list as out-event 270002 records: up to 128 windows each, as
// many records as the list needs (one even for no window), all under the
// page's request id.
std::vector<Block> windowListMessages(uint32_t requestId, const std::vector<DesktopWindow>& windows);

}  // namespace standin
