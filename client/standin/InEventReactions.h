// How the simulated client answers the in-events it accepts: through events
// on its timeline (see Delivery.h), never from inside the host's call. The
// flows live with their family: PortalFlows.h, MeetingFlows.h,
// InCallReactions.h, DeviceFlows.h; docs/STAND-IN.md lists them for pages.
#pragma once

#include <cstdint>

#include "LibraryState.h"
#include "Scenario.h"
#include "Script.h"

namespace standin {

// Checks the record an in-event carries and reacts to it. False for a code
// that is no in-event, and when the record is not the one the in-event takes;
// the in-event is then refused and the buffers the record points to stay with
// the host. The caller holds the state's mutex.
bool reactToInEvent(LibraryState& state, Script& script, int32_t code, void* record, uint32_t size);

// What the library does when something happens to it from outside.
void reactToHappening(LibraryState& state, Script& script, const Happening& happening);

}  // namespace standin
