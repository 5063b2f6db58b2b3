#include "SharingRequests.h"

#include <cstring>

#include "RecordText.h"

namespace standin {
namespace {

TavmoClientWindowShares simulatedShares() {
    TavmoClientWindowShares shares{};
    shares.requestType = TAVMO_CLIENT_SHARES_LIST;
    setText(shares.remoteAppName[1], "Slides - Sam Ortiz");
    setText(shares.remoteAppUri[1], "share:sam.ortiz@conference.example/1");
    setText(shares.remoteAppName[2], "Whiteboard - Kim Lee");
    setText(shares.remoteAppUri[2], "share:kim.lee@conference.example/1");
    shares.numApp = 2;
    shares.currApp = 1;
    setText(shares.eventUri, "share:conference.example/events");
    return shares;
}

bool sharesTerminated(const TavmoClientWindowShares& shares) {
    auto terminated = [](const char* field) {
        return std::memchr(field, '\0', TAVMO_CLIENT_SHARE_TEXT_BYTES) != nullptr;
    };
    for (int slot = 0; slot < TAVMO_CLIENT_SHARES_SLOTS; ++slot)
        if (!terminated(shares.remoteAppName[slot]) || !terminated(shares.remoteAppUri[slot])) return false;
    return terminated(shares.eventUri);
}

struct SimulatedWindow {
    const char* title;
    const char* application;  // empty: a slot the host skips
    uint32_t id;
};

constexpr SimulatedWindow kWindows[] = {
    {"Quarterly report - Editor", "Editor", 0x1A2B},
    {"Hidden tool window", "", 0x1A2C},
    {"Inbox - Mail", "Mail", 0x2C0041},
    {"Terminal", "Terminal", 0x3E00A7},
};

struct SimulatedDesktop {
    const char* name;
    const char* device;
    TavmoClientVideoRect rect;
};

constexpr SimulatedDesktop kDesktops[] = {
    {"Display 1", "\\\\.\\DISPLAY1", {0, 0, 1920, 1080}},
    {"Display 2", "\\\\.\\DISPLAY2", {1920, 0, 1280, 1024}},
};

}  // namespace

int32_t getWindowShares(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientWindowShares)) return kRequestBadRecord;
    const TavmoClientWindowShares shares = context.state.windowShares.value_or(simulatedShares());
    std::memcpy(record, &shares, sizeof shares);
    return kRequestDone;
}

int32_t setWindowShares(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientWindowShares)) return kRequestBadRecord;
    TavmoClientWindowShares shares;
    std::memcpy(&shares, record, sizeof shares);
    if (shares.requestType < TAVMO_CLIENT_SHARES_LIST || shares.requestType > TAVMO_CLIENT_SHARES_ADD ||
        shares.numApp < 0 || shares.numApp >= TAVMO_CLIENT_SHARES_SLOTS || !sharesTerminated(shares))
        return kRequestBadRecord;
    context.state.windowShares = shares;
    return kRequestDone;
}

int32_t getWindowsAndDesktops(RequestContext&, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientWindowsAndDesktops)) return kRequestBadRecord;
    TavmoClientWindowsAndDesktops listing{};
    for (const SimulatedWindow& window : kWindows) {
        const uint32_t slot = listing.numApplicationWindows++;
        setText(listing.appWindowName[slot], window.title);
        setText(listing.appWindowAppName[slot], window.application);
        listing.appWindowId[slot] = window.id;
    }
    for (const SimulatedDesktop& desktop : kDesktops) {
        const uint32_t slot = listing.numSystemDesktops++;
        setText(listing.sysDesktopName[slot], desktop.name);
        setText(listing.sysDesktopDevice[slot], desktop.device);
        listing.sysDesktopRect[slot] = desktop.rect;
    }
    std::memcpy(record, &listing, sizeof listing);
    return kRequestDone;
}

}  // namespace standin
