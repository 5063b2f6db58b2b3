#include "SimulatedDesktop.h"

#include <algorithm>
#include <memory>

#include "RecordText.h"

namespace standin {
namespace {

constexpr uint32_t kVisibleWindowStyle = 0x14CF0000;
constexpr uint32_t kHiddenWindowStyle = 0x04C00000;
constexpr uint32_t kWindowEdge = 0x00000100;
constexpr uint32_t kToolWindow = 0x00000080;
constexpr uint32_t kFirstDocumentId = 0x500000;

}  // namespace

std::vector<DesktopWindow> openWindows(uint32_t extraWindows) {
    std::vector<DesktopWindow> windows = {
        {"Quarterly report - Editor", "Editor", 0x1A2B, {0, 0, 1280, 900}},
        {"Hidden tool window", "", 0x1A2C, {-32000, -32000, 160, 28}},
        {"Inbox - Mail", "Mail", 0x2C0041, {200, 100, 1024, 768}},
        {"Terminal", "Terminal", 0x3E00A7, {1940, 40, 800, 600}},
    };
    for (uint32_t n = 1; n <= extraWindows; ++n) {
        const int32_t offset = static_cast<int32_t>(n % 40) * 16;
        windows.push_back({"Document " + std::to_string(n) + " - Editor",
                           "Editor",
                           kFirstDocumentId + 2 * n,
                           {offset, offset, 960, 720}});
    }
    return windows;
}

std::vector<Block> windowListMessages(uint32_t requestId, const std::vector<DesktopWindow>& windows) {
    const std::size_t capacity = TAVMO_CLIENT_WINDOW_LIST_CAPACITY;
    const std::size_t messages = std::max<std::size_t>(1, (windows.size() + capacity - 1) / capacity);
    std::vector<Block> records;
    for (std::size_t message = 0; message < messages; ++message) {
        // About 100 KB: too large for the stack of a library thread.
        auto list = std::make_unique<TavmoClientWindowList>();
        list->requestId = requestId;
        list->totalResponseMessages = static_cast<uint32_t>(messages);
        list->thisMessageNumberInSequance = static_cast<uint32_t>(message + 1);
        list->totalNumApplicationWindows = static_cast<uint32_t>(windows.size());
        const std::size_t first = message * capacity;
        const std::size_t count = std::min(capacity, windows.size() - std::min(first, windows.size()));
        for (std::size_t i = 0; i < count; ++i) {
            const DesktopWindow& window = windows[first + i];
            const bool owned = !window.application.empty();
            list->style[i] = owned ? kVisibleWindowStyle : kHiddenWindowStyle;
            list->exStyle[i] = owned ? kWindowEdge : kToolWindow;
            setText(list->className[i], (owned ? window.application : std::string("Tool")) + "Window");
            list->windowId[i] = window.id;
            setText(list->title[i], window.title);
            setText(list->ownerName[i], window.application);
            list->rect[i] = window.rect;
        }
        list->numOfRecordsInThisMessage = static_cast<int32_t>(count);
        records.push_back(blockOf(*list));
    }
    return records;
}

}  // namespace standin
