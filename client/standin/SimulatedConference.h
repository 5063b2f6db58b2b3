// The people of the simulated conference, as every answer about the
// conference names them.
#pragma once

namespace standin {

struct SimulatedParticipant {
    const char* name;
    const char* uri;
    // Whether the far end lets us steer its camera.
    bool cameraControl;
};

inline constexpr SimulatedParticipant kConferenceParticipants[] = {
    {"Alex Moreau", "alex.moreau@conference.example", true},
    {"Sam Ortiz", "sam.ortiz@conference.example", false},
    {"Kim Lee", "kim.lee@conference.example", true},
};

}  // namespace standin
