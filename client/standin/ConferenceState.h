// What the simulated conference remembers between in-events: kept for the
// library's life, back to these values at each Initialize.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SimulatedConference.h"
#include "TavmoClient.h"

namespace standin {

// The call states the library's header leaves unnamed.
inline constexpr int32_t kCallStateRinging = 1;
inline constexpr int32_t kCallStateCalling = 2;

struct FreeWithCRuntime {
    void operator()(void* buffer) const { std::free(buffer); }
};

struct Presence {
    bool present = false;
    bool audio = false;
    bool video = false;
    bool sharing = false;

    bool operator==(const Presence& other) const {
        return present == other.present && audio == other.audio && video == other.video && sharing == other.sharing;
    }
};

// The call as the library's events describe it.
struct ConferenceView {
    // 0 is idle.
    int32_t callState = 0;
    std::array<Presence, kParticipantCount> participants{};
    // The moderator has muted every microphone.
    bool serverMutedAudio = false;
    bool recording = false;

    bool inConference() const;

    // The participants in the call, in the order they joined it.
    std::vector<std::size_t> present() const {
        std::vector<std::size_t> indexes;
        for (std::size_t i = 0; i < kParticipantCount; ++i)
            if (participants[i].present) indexes.push_back(i);
        return indexes;
    }

    bool operator==(const ConferenceView& other) const {
        return callState == other.callState && participants == other.participants &&
               serverMutedAudio == other.serverMutedAudio && recording == other.recording;
    }
};

inline bool ConferenceView::inConference() const { return callState == TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE; }

struct ConferenceState {
    // The call once every event scheduled so far is out: how the next
    // in-event is answered depends on it.
    ConferenceView planned;
    // The call as the events delivered so far told it: what requests answer.
    ConferenceView reported;
    // When `reported` last entered the conference; the media figures grow
    // from here.
    std::chrono::steady_clock::time_point joinedAt;
    // Signed in or logged in to the portal (planned).
    bool signedIn = false;
    // Display names the page gave participants, by URI.
    std::map<std::string, std::string> displayNames;
    // The sound of the running speaker test: the host allocated it, the
    // library owns it from the moment it accepted the test and frees it when
    // the test stops, when another one starts, or at Uninitialize.
    std::unique_ptr<void, FreeWithCRuntime> speakerSound;
};

// The name the conference shows for a participant: the page's own, if it
// gave one.
inline std::string shownName(const ConferenceState& conference, std::size_t participant) {
    const SimulatedParticipant& who = kConferenceParticipants[participant];
    const auto given = conference.displayNames.find(who.uri);
    return given != conference.displayNames.end() ? given->second : who.name;
}

}  // namespace standin
