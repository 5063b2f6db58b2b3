#include "StopEvents.h"

#include "TavmoClient.h"

namespace standin {
namespace {

RaisedEvent callStateEvent(int32_t callState) {
    TavmoClientCallStateEvent event{};
    event.callState = callState;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&event);
    return RaisedEvent{TAVMO_CLIENT_OUT_EVENT_CALL_STATE, {bytes, bytes + sizeof event}};
}

}  // namespace

std::vector<RaisedEvent> conferenceEndAtStop(LibraryState& state) {
    if (!state.started || state.callState == TAVMO_CLIENT_CALL_STATE_IDLE) return {};
    state.callState = TAVMO_CLIENT_CALL_STATE_IDLE;
    return {callStateEvent(TAVMO_CLIENT_CALL_STATE_DISCONNECTING),
            RaisedEvent{TAVMO_CLIENT_OUT_EVENT_CONFERENCE_LEFT, {}}, callStateEvent(TAVMO_CLIENT_CALL_STATE_IDLE)};
}

}  // namespace standin
