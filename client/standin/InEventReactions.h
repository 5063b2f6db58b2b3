// How the simulated conference answers the in-events it accepts, through
// out-events raised on the delivery thread:
//
// - sign-in (100): SIGN_IN with the record's flags, then SIGNED_IN; without a
//   server address SIGNED_OUT with error 1.
// - login (1600): LOGIN with error 0 and SIGNED_IN for a known account (see
//   the scenario's portal-account; without any, every non-empty password),
//   otherwise LOGIN with error 1. Sign-off (1603): SIGNED_OUT.
// - guest link (201000, portal request 57): the portal's answer 200900 under
//   the same request id; a room key is needed to find the room.
// - own meeting (200200), while idle: call state Joining, conference entered,
//   call state InConference. Leave (201) or cancel (200), while not idle:
//   Disconnecting, conference left, Idle.
// - mute (500 to 502): the matching mute state 1500 to 1502.
// - group and private chat (2000, 2001): a participant echoes the message
//   back (2600, 2601).
// - window list (201600): one list (270002) under the request id.
// - device tests (3245 to 3248): a successful device test status (2830).
#pragma once

#include <cstdint>

#include "Delivery.h"
#include "LibraryState.h"

namespace standin {

// Checks the record an in-event carries and reacts to it. False when the
// record is not the one the in-event takes; the in-event is then refused and
// the buffers the record points to stay with the host. The caller holds the
// state's mutex.
bool reactToInEvent(LibraryState& state, Delivery& delivery, int32_t code, void* record, uint32_t size);

}  // namespace standin
