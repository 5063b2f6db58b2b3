#include "InEventReactions.h"

#include <iterator>
#include <memory>

#include "ConfigurationRequests.h"
#include "DeviceFlows.h"
#include "InCallReactions.h"
#include "MeetingFlows.h"
#include "PortalFlows.h"
#include "SimulatedDesktop.h"
#include "TavmoClient.h"

namespace standin {
namespace {

// A page that asks faster than the lists go out must not pile them up: a
// list is some hundred kilobytes.
constexpr std::size_t kMostPendingWindowLists = 16;

void forgetDeliveredWindowLists(LibraryState& state) {
    auto& pending = state.pendingWindowLists;
    for (auto list = pending.begin(); list != pending.end();)
        list = list->second.expired() ? pending.erase(list) : std::next(list);
}

// The request id is read and its int32 freed at once: the list is made here
// and now. A list still on its way for the same id answers this request too;
// beyond the most pending lists the in-event is refused, and the host keeps
// (and frees) the request id.
bool listWindows(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientGetWindowsExtInEvent windows;
    if (!take(record, size, windows) || !windows.requestId) return false;
    const auto id = static_cast<uint32_t>(*windows.requestId);
    forgetDeliveredWindowLists(state);
    const bool onItsWay = state.pendingWindowLists.count(id) != 0;
    if (!onItsWay && state.pendingWindowLists.size() >= kMostPendingWindowLists) return false;
    std::unique_ptr<int32_t, FreeWithCRuntime> requestId(windows.requestId);
    if (onItsWay) return true;
    auto pending = std::make_shared<const uint32_t>(id);
    state.pendingWindowLists[id] = pending;
    for (Block& message : windowListMessages(id, openWindows(state.scenario.extraWindows)))
        script.raiseBlock(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, std::move(message), pending);
    return true;
}

bool startMyMeeting(LibraryState& state, Script& script) {
    if (state.conference.planned.callState == TAVMO_CLIENT_CALL_STATE_IDLE)
        joinConference(state, script, JoinRoute::OwnMeeting);
    return true;
}

}  // namespace

bool reactToInEvent(LibraryState& state, Script& script, int32_t code, void* record, uint32_t size) {
    switch (code) {
        case TAVMO_CLIENT_IN_EVENT_SIGN_IN: return signIn(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_LOGIN: return login(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL: cancelLogin(script); return true;
        case TAVMO_CLIENT_IN_EVENT_SIGNOFF: signOff(state, script); return true;
        case TAVMO_CLIENT_IN_EVENT_SET_OFFLINE: return setOffline(script, record, size);
        case TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP: return guestLink(state, script, record, size);
        case TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING: return startMyMeeting(state, script);
        case TAVMO_CLIENT_IN_EVENT_LEAVE:
        case TAVMO_CLIENT_IN_EVENT_CANCEL: leaveConference(state, script); return true;
        case TAVMO_CLIENT_IN_EVENT_ANSWER: answerCall(state, script); return true;
        case TAVMO_CLIENT_IN_EVENT_DECLINE: declineCall(state, script); return true;
        case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN:
        case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT:
        case TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO: return mute(state, script, code, record, size);
        case TAVMO_CLIENT_IN_EVENT_GROUP_CHAT: return groupChat(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT: return privateChat(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_SHARE: return share(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_UNSHARE: return acknowledge(script, code, record, size, 0);
        case TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE: return pinParticipant(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA: return controlCamera(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS:
            return changeRoomSettings(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME: return setDisplayName(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME: return resetDisplayName(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_LAYOUT: return chooseLayout(script, record, size);
        case TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT: return setPrivateLayout(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT: return limitParticipants(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH: return limitSendBandwidth(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_PREVIEW: return choosePreview(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_RESIZE: return resizeVideo(script, record, size);
        case TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT:
        case TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL:
        case TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC:
        case TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE:
            return acknowledge(script, code, record, size, sizeof(TavmoClientFlagValue));
        case TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE:
            return acknowledge(script, code, record, size, sizeof(TavmoClientDialToneInEvent));
        case TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT: return listWindows(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA: return testDevice(script, kDeviceCamera, record, size);
        case TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE: return testDevice(script, kDeviceMicrophone, record, size);
        case TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER: return startSpeakerTest(state, script, record, size);
        case TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER: stopSpeakerTest(state, script); return true;
        default: return false;
    }
}

void reactToHappening(LibraryState& state, Script& script, const Happening& happening) {
    switch (happening.kind) {
        case Happening::Kind::IncomingCall: ringIncomingCall(state, script); break;
        case Happening::Kind::DevicePlugged:
            plugDevice(state, script, happening.deviceType, happening.deviceName);
            break;
        case Happening::Kind::DeviceUnplugged:
            unplugDevice(state, script, happening.deviceType, happening.deviceName);
            break;
    }
}

}  // namespace standin
