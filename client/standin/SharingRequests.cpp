#include "SharingRequests.h"

#include <cstring>
#include <string>

#include "RecordText.h"
#include "SimulatedConference.h"
#include "SimulatedDesktop.h"

namespace standin {
namespace {

// The shares of the participants who share now, numbered from slot 1.
TavmoClientWindowShares conferenceShares(const ConferenceView& view) {
    TavmoClientWindowShares shares{};
    shares.requestType = TAVMO_CLIENT_SHARES_LIST;
    for (std::size_t i = 0; i < kParticipantCount; ++i) {
        if (!view.participants[i].sharing) continue;
        const SimulatedParticipant& who = kConferenceParticipants[i];
        const int32_t slot = ++shares.numApp;
        setText(shares.remoteAppName[slot], std::string(kSharedSlides) + " - " + who.name);
        setText(shares.remoteAppUri[slot], std::string("share:") + who.uri + "/1");
    }
    shares.currApp = shares.numApp > 0 ? 1 : 0;
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

}  // namespace

int32_t getWindowShares(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientWindowShares)) return kRequestBadRecord;
    const TavmoClientWindowShares shares =
        context.state.windowShares.value_or(conferenceShares(context.state.conference.reported));
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

int32_t getWindowsAndDesktops(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientWindowsAndDesktops)) return kRequestBadRecord;
    TavmoClientWindowsAndDesktops listing{};
    for (const DesktopWindow& window : openWindows(context.state.scenario.extraWindows)) {
        if (listing.numApplicationWindows == TAVMO_CLIENT_APP_WINDOWS) break;
        const uint32_t slot = listing.numApplicationWindows++;
        setText(listing.appWindowName[slot], window.title);
        setText(listing.appWindowAppName[slot], window.application);
        listing.appWindowId[slot] = window.id;
    }
    for (const SimulatedDesktopScreen& desktop : kDesktops) {
        const uint32_t slot = listing.numSystemDesktops++;
        setText(listing.sysDesktopName[slot], desktop.name);
        setText(listing.sysDesktopDevice[slot], desktop.device);
        listing.sysDesktopRect[slot] = desktop.rect;
    }
    std::memcpy(record, &listing, sizeof listing);
    return kRequestDone;
}

}  // namespace standin
