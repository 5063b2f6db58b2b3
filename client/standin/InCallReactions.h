// How the simulated conference answers what the page does during a call, and
// the settings that read back. Each function is false when the record is not
// the one its in-event takes; the in-event is then refused.
#pragma once

#include <cstdint>

#include "LibraryState.h"
#include "Script.h"

namespace standin {

// Mute in-events: the state the mute queries answer, and its mute event.
bool mute(LibraryState& state, Script& script, int32_t inEvent, const void* record, uint32_t size);

// Someone present answers: the moderator in the group, the addressed
// participant in private; nobody outside a call.
bool groupChat(LibraryState& state, Script& script, const void* record, uint32_t size);
bool privateChat(LibraryState& state, Script& script, const void* record, uint32_t size);

// During a call the moderator takes control of the shared window for a
// moment: the window, then mouse and key input on it.
bool share(LibraryState& state, Script& script, const void* record, uint32_t size);

bool pinParticipant(LibraryState& state, Script& script, const void* record, uint32_t size);
bool controlCamera(LibraryState& state, Script& script, const void* record, uint32_t size);
// The room setting picks a portal operation, answered by the portal and then
// by the setting's result.
bool changeRoomSettings(LibraryState& state, Script& script, const void* record, uint32_t size);
bool setDisplayName(LibraryState& state, Script& script, const void* record, uint32_t size);
bool resetDisplayName(LibraryState& state, Script& script, const void* record, uint32_t size);

bool chooseLayout(Script& script, const void* record, uint32_t size);
bool setPrivateLayout(LibraryState& state, Script& script, const void* record, uint32_t size);
bool limitParticipants(LibraryState& state, Script& script, const void* record, uint32_t size);
bool limitSendBandwidth(LibraryState& state, Script& script, const void* record, uint32_t size);
bool choosePreview(LibraryState& state, Script& script, const void* record, uint32_t size);
bool resizeVideo(Script& script, const void* record, uint32_t size);

// In-events with nothing else to show are acknowledged with their status.
bool acknowledge(Script& script, int32_t inEvent, const void* record, uint32_t size, uint32_t recordSize);

}  // namespace standin
