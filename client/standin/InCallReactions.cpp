#include "InCallReactions.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "OutEvents.h"
#include "PortalAnswers.h"
#include "RecordText.h"
#include "SimulatedConference.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr const char* kReplyPrefix = "Re: ";
constexpr int32_t kViscaCommand = 7;
constexpr int32_t kViscaResponse = 8;
constexpr const char* kViscaCompletion = "9041FF";
constexpr int32_t kCameraControlled = 0;
constexpr int32_t kCameraNotControllable = 1;
constexpr int32_t kSettingDone = 0;
constexpr int32_t kSettingUnknown = 1;
constexpr uint32_t kLeftButton = 1;
constexpr uint32_t kKeyA = 0x41;
constexpr int32_t kWheelNotch = -120;

// The participant in the planned call with that URI.
std::optional<std::size_t> presentParticipant(const ConferenceState& conference, std::string_view uri) {
    if (!conference.planned.inConference()) return std::nullopt;
    for (std::size_t who = 0; who < kParticipantCount; ++who) {
        if (conference.planned.participants[who].present && uri == kConferenceParticipants[who].uri) return who;
    }
    return std::nullopt;
}

std::optional<std::size_t> knownParticipant(std::string_view uri) {
    for (std::size_t who = 0; who < kParticipantCount; ++who) {
        if (uri == kConferenceParticipants[who].uri) return who;
    }
    return std::nullopt;
}

void reply(const ConferenceState& conference, Script& script, int32_t code, std::size_t who, std::string_view message) {
    TavmoClientChatEvent event{};
    setText(event.uri, kConferenceParticipants[who].uri);
    setText(event.displayName, shownName(conference, who));
    setText(event.message, kReplyPrefix + std::string(message));
    script.raise(code, event);
}

void inEventStatus(Script& script, int32_t inEvent, bool done) {
    TavmoClientEventStatusEvent event{};
    event.eventID = inEvent;
    event.eventStatus = done ? 1 : 0;
    script.raise(out::kInEventStatus, event);
}

void limits(const LibraryState& state, Script& script) {
    TavmoClientLimitsEvent event{};
    event.bandwithLimit = state.status.sendBandwidth;
    event.cpuLimit = kCpuParticipantsLimit;
    event.userLimit = state.status.participantsLimit;
    script.raise(out::kLimits, event);
}

void mouse(Script& script, int32_t code, uint32_t button, int32_t wheel) {
    TavmoClientMouseEvent event{};
    event.button = button;
    event.count = button != 0 ? 1 : 0;
    event.xPos = 320;
    event.yPos = 200;
    event.scrollDeltaY = wheel;
    script.raise(code, event);
}

void key(Script& script, int32_t code) {
    TavmoClientKeyEvent event{};
    event.key = kKeyA;
    event.count = 1;
    script.raise(code, event);
}

// The portal operation of a room setting; false for a setting it has none for.
bool roomOperation(LibraryState& state, Script& script, const TavmoClientRoomSettingsInEvent& settings) {
    auto answer = [&](Block block) { script.raiseBlock(TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, std::move(block)); };
    switch (settings.roomSettingId) {
        case 1: answer(portal::withResult(portal::kLockRoom, portal::kSuccess)); return true;
        case 2: answer(portal::withResult(portal::kUnlockRoom, portal::kSuccess)); return true;
        case 3: answer(portal::withServerResult(portal::kControlAudioAll, portal::kSuccess)); return true;
        case 4: answer(portal::withServerResult(portal::kPrivacyControlAll, portal::kSuccess)); return true;
        case 5: answer(portal::scheduledRoom()); return true;
        case 6:
            state.conference.planned.recording = true;
            answer(portal::withResult(portal::kStartRecording, portal::kSuccess));
            answer(portal::recordingId());
            return true;
        case 7: {
            answer(portal::inviteContent());
            TavmoClientUriEvent uri{};
            setText(uri.URI, kRoomUrl);
            script.raise(out::kInvitationUri, uri);
            return true;
        }
        case 8:
            answer(portal::withUrl(portal::kModeratorUrl, std::string(kRoomUrl) + "?moderator=1",
                                   !fieldText(settings.moderatorPin).empty()));
            return true;
        case 9: answer(portal::roomAccessOptions()); return true;
        default: return false;
    }
}

}  // namespace

bool mute(LibraryState& state, Script& script, int32_t inEvent, const void* record, uint32_t size) {
    TavmoClientFlagValue flag;
    if (!take(record, size, flag)) return false;
    const bool muted = flag.value != 0;
    TavmoClientMuteEvent event{};
    event.isMuted = muted ? 1 : 0;
    switch (inEvent) {
        case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN:
            state.status.mutedAudioIn = muted;
            script.raise(TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN, event);
            return true;
        case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT:
            state.status.mutedAudioOut = muted;
            script.raise(TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT, event);
            return true;
        case TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO:
            state.status.mutedVideo = muted;
            script.raise(TAVMO_CLIENT_OUT_EVENT_MUTED_VIDEO, event);
            return true;
        default: return false;
    }
}

bool groupChat(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientGroupChatInEvent chat;
    if (!take(record, size, chat) || !terminated(chat.message)) return false;
    const std::vector<std::size_t> present = state.conference.planned.present();
    if (!state.conference.planned.inConference() || present.empty()) return true;
    const bool moderatorThere = state.conference.planned.participants[kModerator].present;
    reply(state.conference, script, out::kGroupChat, moderatorThere ? kModerator : present.front(),
          fieldText(chat.message));
    return true;
}

bool privateChat(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientPrivateChatInEvent chat;
    if (!take(record, size, chat) || !terminated(chat.uri) || !terminated(chat.message)) return false;
    if (const auto who = presentParticipant(state.conference, fieldText(chat.uri)))
        reply(state.conference, script, out::kPrivateChat, *who, fieldText(chat.message));
    return true;
}

bool share(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientShareInEvent request;
    if (!take(record, size, request) || !terminated(request.desktopDevice)) return false;
    if (!state.conference.planned.inConference()) return true;
    TavmoClientWindowEvent window{};
    window.window =
        request.shareKind == TAVMO_CLIENT_SHARE_APPLICATION_WINDOW ? static_cast<uint32_t>(request.window) : 0;
    script.raise(out::kControlledWindow, window);
    mouse(script, out::kMouseMove, 0, 0);
    mouse(script, out::kMouseDown, kLeftButton, 0);
    mouse(script, out::kMouseUp, kLeftButton, 0);
    mouse(script, out::kMouseWheel, 0, kWheelNotch);
    key(script, out::kKeyDown);
    key(script, out::kKeyUp);
    return true;
}

bool pinParticipant(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientPinParticipantInEvent pin;
    if (!take(record, size, pin) || !terminated(pin.uri)) return false;
    TavmoClientVideoModeEvent event{};
    setText(event.uri, fieldText(pin.uri));
    event.videoMode = pin.videoMode;
    event.isSet = presentParticipant(state.conference, fieldText(pin.uri)) ? 1 : 0;
    script.raise(out::kParticipantVideoMode, event);
    return true;
}

bool controlCamera(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientControlCameraInEvent command;
    if (!take(record, size, command) || !terminated(command.uri) || !terminated(command.commandId) ||
        !terminated(command.commandData)) {
        return false;
    }
    const auto who = presentParticipant(state.conference, fieldText(command.uri));
    if (who && kConferenceParticipants[*who].cameraControl && command.cameraCommand == kViscaCommand) {
        TavmoClientCameraControlEvent answer{};
        setText(answer.srcParticipantID, kConferenceParticipants[*who].uri);
        answer.cameraCommand = kViscaResponse;
        setText(answer.commandId, fieldText(command.commandId));
        setText(answer.commandData, kViscaCompletion);
        script.raise(out::kCameraControlCommand, answer);
        return true;
    }
    const bool controlled = who && kConferenceParticipants[*who].cameraControl;
    TavmoClientCameraControlStatusEvent status{};
    status.statusCode = controlled ? kCameraControlled : kCameraNotControllable;
    if (controlled) setText(status.curFeccUri, kConferenceParticipants[*who].uri);
    script.raise(out::kCameraControlStatus, status);
    return true;
}

bool changeRoomSettings(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientRoomSettingsInEvent settings;
    if (!take(record, size, settings) || !terminated(settings.moderatorPin)) return false;
    const bool done = roomOperation(state, script, settings);
    TavmoClientControlResultEvent result{};
    result.requestId = static_cast<uint32_t>(settings.requestId);
    result.command = settings.roomSettingId;
    result.result = done ? kSettingDone : kSettingUnknown;
    script.raise(out::kRoomSettingsResult, result);
    return true;
}

bool setDisplayName(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientSetDisplayNameInEvent name;
    if (!take(record, size, name) || !terminated(name.uri) || !terminated(name.displayName)) return false;
    const bool known = knownParticipant(fieldText(name.uri)).has_value();
    if (known)
        state.conference.displayNames[std::string(fieldText(name.uri))] = std::string(fieldText(name.displayName));
    inEventStatus(script, TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME, known);
    return true;
}

bool resetDisplayName(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientResetDisplayNameInEvent name;
    if (!take(record, size, name) || !terminated(name.uri)) return false;
    const bool known = knownParticipant(fieldText(name.uri)).has_value();
    state.conference.displayNames.erase(std::string(fieldText(name.uri)));
    inEventStatus(script, TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME, known);
    return true;
}

bool chooseLayout(Script& script, const void* record, uint32_t size) {
    TavmoClientInt32Value preferred;
    if (!take(record, size, preferred)) return false;
    script.raiseEmpty(out::kLayoutChanged);
    return true;
}

bool setPrivateLayout(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientLayoutInEvent layout;
    if (!take(record, size, layout)) return false;
    state.status.layout = TavmoClientLayout{
        static_cast<uint32_t>(layout.layoutNum), static_cast<uint32_t>(layout.participantsLimitManual),
        static_cast<uint32_t>(layout.participantsLimitRender), static_cast<uint32_t>(layout.participantsLimitSafe),
        static_cast<uint32_t>(layout.layoutWide)};
    TavmoClientControlResultEvent result{};
    result.command = layout.layoutNum;
    result.result = kSettingDone;
    script.raise(out::kControlResult, result);
    return true;
}

bool limitParticipants(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientInt32Value limit;
    if (!take(record, size, limit)) return false;
    state.status.participantsLimit = limit.value;
    limits(state, script);
    TavmoClientCountEvent shown{};
    shown.count = std::min(limit.value, static_cast<int32_t>(state.conference.planned.present().size()));
    script.raise(out::kParticipantsShown, shown);
    return true;
}

bool limitSendBandwidth(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientSendBandwidthInEvent bandwidth;
    if (!take(record, size, bandwidth)) return false;
    state.status.sendBandwidth = bandwidth.sendBandwidth;
    limits(state, script);
    return true;
}

bool choosePreview(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientPreviewInEvent preview;
    if (!take(record, size, preview)) return false;
    state.status.previewMode = preview.previewMode;
    TavmoClientPreviewModeEvent event{};
    event.previewMode = preview.previewMode;
    script.raise(out::kPreviewModeChanged, event);
    return true;
}

bool resizeVideo(Script& script, const void* record, uint32_t size) {
    TavmoClientResizeInEvent resize;
    if (!take(record, size, resize)) return false;
    TavmoClientSizeEvent event{};
    event.width = static_cast<uint32_t>(std::max(resize.outerWidth, 0));
    event.height = static_cast<uint32_t>(std::max(resize.outerHeight, 0));
    script.raise(out::kVideoAreaSize, event);
    return true;
}

bool acknowledge(Script& script, int32_t inEvent, const void* record, uint32_t size, uint32_t recordSize) {
    if (size != recordSize || (recordSize != 0 && !record)) return false;
    inEventStatus(script, inEvent, true);
    return true;
}

}  // namespace standin
