// How calls go in the simulated client. Every event below comes one timeline
// step after the one before it (see Delivery.h); docs/STAND-IN.md lists the
// sequences as the page sees them.
#pragma once

#include <cstdint>
#include <vector>

#include "Delivery.h"
#include "LibraryState.h"
#include "Script.h"

namespace standin {

enum class JoinRoute { OwnMeeting, GuestLink, AnsweredCall };

// Joining, the conference entered and active, the three participants with
// their microphones and cameras, InConference; then the conference's first
// moments: the presenter shares, the moderator speaks and mutes every
// microphone for a while, one participant mutes and leaves.
void joinConference(LibraryState& state, Script& script, JoinRoute route);

// Disconnecting, conference left, Idle; a ringing call is declined instead.
void leaveConference(LibraryState& state, Script& script);

// The moderator calls: the invitation, then Ringing; during a call only the
// invitation, marked as arriving on a call.
void ringIncomingCall(LibraryState& state, Script& script);
void answerCall(LibraryState& state, Script& script);
// Idle, then the invitation's end.
void declineCall(LibraryState& state, Script& script);

// A call still running when the library stops ends with it, reported as
// Disconnecting, conference left, Idle; nothing survives a stop.
std::vector<TimelineStep> conferenceEndAtStop(LibraryState& state);

// The scenario's initial call state; in a conference everybody is there.
void assumeCall(ConferenceState& conference, int32_t callState);

// What the delivery thread records once an event has told of a change.
void reportConference(ConferenceState& conference, const ConferenceView& view);

}  // namespace standin
