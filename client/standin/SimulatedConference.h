// The people of the simulated conference and the room they meet in, as every
// answer about the conference names them.
#pragma once

#include <cstddef>
#include <iterator>

namespace standin {

struct SimulatedParticipant {
    const char* name;
    const char* uri;
    const char* entityId;
    const char* extension;
    // The source name of their camera.
    const char* camera;
    // Whether the far end lets us steer its camera.
    bool cameraControl;
};

inline constexpr SimulatedParticipant kConferenceParticipants[] = {
    {"Alex Moreau", "alex.moreau@conference.example", "1001", "4101", "Alex's Webcam", true},
    {"Sam Ortiz", "sam.ortiz@conference.example", "1002", "4102", "Sam's Camera", false},
    {"Kim Lee", "kim.lee@conference.example", "1003", "4103", "Kim's Room Camera", true},
};
inline constexpr std::size_t kParticipantCount = std::size(kConferenceParticipants);

// Alex runs the room: he calls, answers chat and mutes everybody for a moment.
inline constexpr std::size_t kModerator = 0;
// Sam shares slides.
inline constexpr std::size_t kPresenter = 1;
// Kim mutes her microphone and leaves early.
inline constexpr std::size_t kEarlyLeaver = 2;

inline constexpr const char* kUserId = "standin.user@tavmo.invalid";
inline constexpr const char* kUserDisplayName = "Stand-in User";
inline constexpr const char* kUserEntityId = "1000";

inline constexpr const char* kRoomName = "Stand-in conference room";
inline constexpr const char* kRoomUrl = "https://portal.standin.invalid/join/StandInRoom";
inline constexpr const char* kConferenceId = "standin-conference-0001";
inline constexpr const char* kVideoServer = "vm.standin.invalid";
// What the presenter shares.
inline constexpr const char* kSharedSlides = "Slides";

// What the portal accepts when no scenario names accounts: any user name.
inline constexpr const char* kPortalPassword = "standin";

}  // namespace standin
