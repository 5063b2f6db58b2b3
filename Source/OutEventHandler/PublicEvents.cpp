// Public events (codes 99 to 99999): one event message each. Every other code
// is handed to the private translator.
#include <cstddef>
#include <string>
#include <vector>

#include "EventBlock.h"
#include "HostState.h"
#include "Log.h"
#include "OutEventHandler.h"
#include "OutEventHandler/CodeNames.h"
#include "OutEventHandler/EventTable.h"
#include "OutEventHandler/EventValues.h"
#include "Redaction.h"

namespace {

constexpr const char* kLogSource = logsource::kOutEventHandler;

void libraryMessage(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientMessageEvent>();
    params["messageType"] = messageTypeName(static_cast<uint32_t>(event.messageType));
    Json::Value codes(Json::arrayValue);
    for (uint32_t code : event.messageCode) codes.append(Json::UInt(code));
    params["messageCode"] = codes;
}

void logicStarted(const EventBlock&, Json::Value&) {
    char version[32] = {};
    TavmoClientGetVersion(version, sizeof version);
    LOG_INFO("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED TavmoClient API Version: [%s]",
             readText(version).c_str());
}

void signIn(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientSignInEvent>();
    params["guestLogin"] = boolValue(event.guestLogin);
    params["showDialpad"] = boolValue(event.showDialpad);
    params["showStartmeeting"] = boolValue(event.showStartmeeting);
    params["signinType"] = Json::Int(event.signinType);
    params["signinSecured"] = boolValue(event.signinSecured);
}

void deviceKind(const EventBlock& block, Json::Value& params) {
    if (const char* name = deviceTypeName(block.read<TavmoClientDeviceEvent>().deviceType)) params["deviceType"] = name;
}

void deviceChange(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientDeviceChangeEvent>();
    params["deviceType"] = Json::Int(event.deviceType);
    params["changeType"] = Json::Int(event.changeType);
    params["prevDeviceName"] = textValue(event.prevDeviceName);
    params["newDeviceName"] = block.textFrom(offsetof(TavmoClientDeviceChangeEvent, newDeviceName));
}

void device(const EventBlock& block, Json::Value& params) {
    params["deviceType"] = Json::Int(block.read<TavmoClientDeviceEvent>().deviceType);
}

void progress(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientProgressEvent>();
    params["numProgressSteps"] = Json::UInt(event.numProgressSteps);
    params["caption"] = block.textFrom(offsetof(TavmoClientProgressEvent, caption));
}

void conferenceEntered(const EventBlock&, Json::Value&) { inConference = 1; }

void conferenceLeft(const EventBlock&, Json::Value&) { inConference = 0; }

void participantCount(const EventBlock& block, Json::Value& params) {
    params["participantCount"] = Json::Int(block.read<TavmoClientCountEvent>().count);
}

void participantSource(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientParticipantSourceEvent>();
    params["sourceType"] = Json::Int(event.sourceType);
    params["participantURI"] = textValue(event.participantURI);
    params["displayName"] = textValue(event.displayName);
    params["sourceName"] = block.textFrom(offsetof(TavmoClientParticipantSourceEvent, sourceName));
}

void invitation(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientInvitationEvent>();
    params["invitingUser"] = textValue(event.invitingUser);
    params["onCallFlag"] = boolValue(event.onCallFlag);
}

void previewMode(const EventBlock& block, Json::Value& params) {
    params["previewMode"] = Json::Int(block.read<TavmoClientPreviewModeEvent>().previewMode);
}

void muteState(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientMuteEvent>();
    params["isMuted"] = boolValue(event.isMuted);
    params["errorCode"] = Json::UInt(event.errorCode);
}

void uri(const EventBlock& block, Json::Value& params) {
    params["URI"] = block.textFrom(offsetof(TavmoClientUriEvent, URI));
}

void videoSize(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientSizeEvent>();
    params["width"] = Json::UInt(event.width);
    params["height"] = Json::UInt(event.height);
}

void limits(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientLimitsEvent>();
    params["bandwithLimit"] = Json::Int(event.bandwithLimit);
    params["cpuLimit"] = Json::Int(event.cpuLimit);
    params["userLimit"] = Json::Int(event.userLimit);
}

void key(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientKeyEvent>();
    params["key"] = Json::UInt(event.key);
    params["count"] = Json::UInt(event.count);
}

void mouse(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientMouseEvent>();
    params["button"] = Json::UInt(event.button);
    params["count"] = Json::UInt(event.count);
    params["xPos"] = Json::Int(event.xPos);
    params["yPos"] = Json::Int(event.yPos);
    params["shift"] = boolValue(event.shift);
    params["ctrl"] = boolValue(event.ctrl);
    params["alt"] = boolValue(event.alt);
    params["command"] = boolValue(event.command);
    params["scrollDeltaX"] = Json::Int(event.scrollDeltaX);
    params["scrollDeltaY"] = Json::Int(event.scrollDeltaY);
    params["scrollDeltaZ"] = Json::Int(event.scrollDeltaZ);
}

void window(const EventBlock& block, Json::Value& params) {
    params["window"] = handleValue(block.read<TavmoClientWindowEvent>().window);
}

void participants(const EventBlock& block, Json::Value& params) {
    params["numberParticipants"] = Json::Int(block.read<TavmoClientCountEvent>().count);
}

void cameraControl(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientCameraControlEvent>();
    params["srcParticipantID"] = textValue(event.srcParticipantID);
    params["cameraCommand"] = Json::Int(event.cameraCommand);
    params["commandId"] = textValue(event.commandId);
    params["commandData"] = block.textFrom(offsetof(TavmoClientCameraControlEvent, commandData));
}

void videoMode(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientVideoModeEvent>();
    params["uri"] = textValue(event.uri);
    params["videoMode"] = Json::Int(event.videoMode);
    params["isSet"] = boolValue(event.isSet);
}

void eventStatus(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientEventStatusEvent>();
    params["eventID"] = Json::Int(event.eventID);
    params["eventStatus"] = boolValue(event.eventStatus);
}

void cameraControlStatus(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientCameraControlStatusEvent>();
    params["statusCode"] = Json::Int(event.statusCode);
    params["curFeccUri"] = block.textFrom(offsetof(TavmoClientCameraControlStatusEvent, curFeccUri));
}

void mediaCommand(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientMediaCommandEvent>();
    params["mediaCommand"] = Json::Int(event.mediaCommand);
    params["mediaType"] = Json::Int(event.mediaType);
    params["mediaSource"] = Json::Int(event.mediaSource);
}

void login(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientLoginEvent>();
    std::string userName = block.textFrom(offsetof(TavmoClientLoginEvent, userName));
    params["error"] = Json::UInt(event.error);
    params["portalUri"] = textValue(event.portalUri);
    params["userName"] = userName;
    LOG_INFO("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIN: portal: [%s] username: [%s] error: [%d]",
             textForLog(readText(event.portalUri)).c_str(), textForLog(userName).c_str(),
             static_cast<int>(event.error));
}

void linked(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientLinkedEvent>();
    params["error"] = Json::Int(event.error);
    LOG_INFO("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LINKED: error: [%d]", event.error);
}

void signedIn(const EventBlock&, Json::Value&) {
    LOG_INFO("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_SIGNED_IN");
}

void signedOut(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientSignedOutEvent>();
    params["cause"] = Json::Int(event.cause);
    params["error"] = Json::Int(event.error);
    params["guestLogin"] = boolValue(event.guestLogin);
    LOG_INFO(
        "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT: error: [%d], cause: [%d], guestLogin: [%d]",
        event.error, event.cause, static_cast<int>(event.guestLogin));
}

void roomLink(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientRoomLinkEvent>();
    std::string serverUri = block.textFrom(offsetof(TavmoClientRoomLinkEvent, serverUri));
    params["error"] = Json::Int(event.error);
    params["state"] = Json::Int(event.state);
    params["serverUri"] = serverUri;
    LOG_INFO("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_ROOM_LINK: state: [%d] error: [%d] serverUri: [%s]",
             event.state, event.error, textForLog(serverUri).c_str());
}

void installer(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientInstallerEvent>();
    params["error"] = Json::Int(event.error);
    params["currentTag"] = textValue(event.currentTag);
    params["installerUri"] = block.textFrom(offsetof(TavmoClientInstallerEvent, installerUri));
}

void callState(const EventBlock& block, Json::Value& params) {
    const char* name = callStateName(block.read<TavmoClientCallStateEvent>().callState);
    params["callState"] = name ? name : "Idle";
}

void chat(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientChatEvent>();
    params["uri"] = textValue(event.uri);
    params["displayName"] = textValue(event.displayName);
    params["message"] = block.textFrom(offsetof(TavmoClientChatEvent, message));
}

void portalPrefix(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientPortalPrefixEvent>();
    params["result"] = Json::Int(event.result);
    params["portalPrefix"] = block.textFrom(offsetof(TavmoClientPortalPrefixEvent, portalPrefix));
}

void featureStatus(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientFeatureStatusEvent>();
    params["featureCount"] = Json::UInt(event.featureCount);
    Json::Value features;
    std::size_t count =
        block.entriesThatFit<TavmoClientFeatureStatus>(static_cast<int32_t>(event.featureCount), sizeof event);
    for (std::size_t i = 0; i < count; ++i) {
        auto feature = block.entry<TavmoClientFeatureStatus>(sizeof event, i);
        Json::Value entry;
        entry["featureName"] = Json::Int(feature.featureName);
        entry["isEnabled"] = intFlagValue(feature.isEnabled);
        features.append(entry);
    }
    params["featureStatus"] = features;
}

void cpuUsage(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientCpuUsageEvent>();
    params["currentCpuUsageStatus"] = Json::Int(event.currentCpuUsageStatus);
    Json::Value actions;
    actions["reducedToThirtyFps"] = Json::UInt(event.reducedToThirtyFps);
    actions["reducedToFifteenFps"] = Json::UInt(event.reducedToFifteenFps);
    actions["reducedToSevenFps"] = Json::UInt(event.reducedToSevenFps);
    actions["reducedToThreeFourthResolution"] = Json::UInt(event.reducedToThreeFourthResolution);
    actions["reducedToHalfResolution"] = Json::UInt(event.reducedToHalfResolution);
    actions["reducedNumberOfDecodeStreams"] = Json::UInt(event.reducedNumberOfDecodeStreams);
    actions["reducedToHalfEncodeFps"] = Json::UInt(event.reducedToHalfEncodeFps);
    actions["reducedToThreeFourthEncodeResolution"] = Json::UInt(event.reducedToThreeFourthEncodeResolution);
    actions["reducedToHalfEncodeResolution"] = Json::UInt(event.reducedToHalfEncodeResolution);
    params["cpuUsageActions"] = actions;
}

void stage(const EventBlock& block, Json::Value& params) {
    params["stage"] = Json::Int(block.read<TavmoClientStageEvent>().stage);
}

void presenter(const EventBlock& block, Json::Value& params) {
    params["uriOfPresenter"] = block.textFrom(offsetof(TavmoClientPresenterEvent, uriOfPresenter));
}

void audioFrame(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientAudioFrameEvent>();
    params["participantURI"] = textValue(event.participantURI);
    params["sourceId"] = Json::UInt(event.sourceId);
    params["viewPriority"] = Json::UInt(event.viewPriority);
    Json::Value frame;
    frame["energy"] = Json::Int(event.energy);
    frame["bps"] = Json::UInt(event.bps);
    frame["samplingRate"] = Json::UInt(event.samplingRate);
    frame["channels"] = Json::UInt(event.channels);
    frame["samples"] = Json::UInt(event.samples);
    frame["data"] = block.textFrom(offsetof(TavmoClientAudioFrameEvent, data));
    params["frame"] = frame;
}

void videoFrame(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientVideoFrameEvent>();
    params["participantURI"] = textValue(event.participantURI);
    params["mediaType"] = Json::Int(event.mediaType);
    params["sourceId"] = Json::UInt(event.sourceId);
    params["viewPriority"] = Json::UInt(event.viewPriority);
    Json::Value frame;
    frame["width"] = Json::UInt(event.width);
    frame["height"] = Json::UInt(event.height);
    frame["format"] = Json::UInt(event.format);
    frame["size"] = Json::UInt(event.size);
    frame["data"] = block.textFrom(offsetof(TavmoClientVideoFrameEvent, data));
    params["frame"] = frame;
}

void roomSettingsResult(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientControlResultEvent>();
    params["requestId"] = Json::UInt(event.requestId);
    params["roomSettingId"] = Json::Int(event.command);
    params["result"] = Json::Int(event.result);
}

void deviceTestStatus(const EventBlock& block, Json::Value& params) {
    static constexpr const char* kActions[] = {"DeviceTestStart", "DeviceTestStop"};
    static constexpr const char* kResults[] = {"DeviceTestSuccess", "DeviceTestFailed"};
    auto event = block.read<TavmoClientDeviceTestEvent>();
    if (const char* name = deviceTypeName(event.deviceType)) params["deviceType"] = name;
    if (event.action == 1 || event.action == 2) params["action"] = kActions[event.action - 1];
    if (event.result == 1 || event.result == 2) params["result"] = kResults[event.result - 1];
}

void controlResult(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientControlResultEvent>();
    params["requestId"] = Json::UInt(event.requestId);
    params["controlCommand"] = Json::Int(event.command);
    params["result"] = Json::Int(event.result);
}

void networkInterfaces(const EventBlock& block, Json::Value& params) {
    params["numValidInterfaces"] = Json::UInt(block.read<TavmoClientNetworkInterfacesEvent>().numValidInterfaces);
}

constexpr EventRow kPublicEvents[] = {
    {100, TAVMO_CLIENT_OUT_EVENT_MESSAGE, libraryMessage},
    {200, TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED, logicStarted},
    {300, TAVMO_CLIENT_OUT_EVENT_SIGN_IN, signIn},
    {400, TAVMO_CLIENT_OUT_EVENT_LOGIN_CANCELLED, noParams},
    {601, TAVMO_CLIENT_OUT_EVENT_DEVICES_CHANGED, deviceKind},
    {602, TAVMO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED, deviceChange},
    {603, TAVMO_CLIENT_OUT_EVENT_DEVICE, device},
    {700, TAVMO_CLIENT_OUT_EVENT_JOIN_PROGRESS, progress},
    {800, TAVMO_CLIENT_OUT_EVENT_PROGRESS_800, progress},
    {900, TAVMO_CLIENT_OUT_EVENT_PROGRESS_900, progress},
    {901, TAVMO_CLIENT_OUT_EVENT_LAYOUT_CHANGED, noParams},
    {1000, TAVMO_CLIENT_OUT_EVENT_PROGRESS_1000, progress},
    {1100, TAVMO_CLIENT_OUT_EVENT_INVITATION_OVER, noParams},
    {1200, TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ENTERED, conferenceEntered},
    {1201, TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE, noParams},
    {1202, TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_COUNT, participantCount},
    {1203, TAVMO_CLIENT_OUT_EVENT_CONFERENCE_LEFT, conferenceLeft},
    {1210, TAVMO_CLIENT_OUT_EVENT_SOURCE_ADDED, participantSource},
    {1211, TAVMO_CLIENT_OUT_EVENT_SOURCE_REMOVED, participantSource},
    {1300, TAVMO_CLIENT_OUT_EVENT_INVITATION, invitation},
    {1400, TAVMO_CLIENT_OUT_EVENT_PREVIEW_MODE, previewMode},
    {1500, TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN, muteState},
    {1501, TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT, muteState},
    {1502, TAVMO_CLIENT_OUT_EVENT_MUTED_VIDEO, muteState},
    {1503, TAVMO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN, muteState},
    {1504, TAVMO_CLIENT_OUT_EVENT_MUTED_SERVER_VIDEO, muteState},
    {1600, TAVMO_CLIENT_OUT_EVENT_DELAYED_URI, uri, Delivery::Delayed},
    {1601, TAVMO_CLIENT_OUT_EVENT_JOINED_URI, uri},
    {1700, TAVMO_CLIENT_OUT_EVENT_VIDEO_AREA_SIZE, videoSize},
    {1800, TAVMO_CLIENT_OUT_EVENT_LIMITS, limits},
    {2000, TAVMO_CLIENT_OUT_EVENT_KEY_DOWN, key},
    {2001, TAVMO_CLIENT_OUT_EVENT_KEY_UP, key},
    {2002, TAVMO_CLIENT_OUT_EVENT_MOUSE_DOWN, mouse},
    {2003, TAVMO_CLIENT_OUT_EVENT_MOUSE_UP, mouse},
    {2004, TAVMO_CLIENT_OUT_EVENT_MOUSE_MOVE, mouse},
    {2005, TAVMO_CLIENT_OUT_EVENT_MOUSE_WHEEL, mouse},
    {2007, TAVMO_CLIENT_OUT_EVENT_CONTROLLED_WINDOW, window},
    {2100, TAVMO_CLIENT_OUT_EVENT_PARTICIPANTS_SHOWN, participants},
    {2101, TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_COMMAND, cameraControl},
    {2102, TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_VIDEO_MODE, videoMode},
    {2103, TAVMO_CLIENT_OUT_EVENT_IN_EVENT_STATUS, eventStatus},
    {2104, TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_STATUS, cameraControlStatus},
    {2200, TAVMO_CLIENT_OUT_EVENT_MEDIA_COMMAND, mediaCommand},
    {2300, TAVMO_CLIENT_OUT_EVENT_LOGIN, login},
    {2302, TAVMO_CLIENT_OUT_EVENT_LINKED, linked},
    {2303, TAVMO_CLIENT_OUT_EVENT_SIGNED_IN, signedIn},
    {2304, TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT, signedOut},
    {2305, TAVMO_CLIENT_OUT_EVENT_ROOM_LINK, roomLink},
    {2306, TAVMO_CLIENT_OUT_EVENT_INSTALLER_INFORMATION, installer},
    {2500, TAVMO_CLIENT_OUT_EVENT_CALL_STATE, callState},
    {2600, TAVMO_CLIENT_OUT_EVENT_CHAT_MESSAGE, chat},
    {2601, TAVMO_CLIENT_OUT_EVENT_PRIVATE_CHAT_MESSAGE, chat},
    {2710, TAVMO_CLIENT_OUT_EVENT_PORTAL_PREFIX, portalPrefix},
    {2715, TAVMO_CLIENT_OUT_EVENT_FEATURE_STATUS, featureStatus},
    {2720, TAVMO_CLIENT_OUT_EVENT_CPU_USAGE, cpuUsage},
    {2800, TAVMO_CLIENT_OUT_EVENT_STAGE, stage},
    {2802, TAVMO_CLIENT_OUT_EVENT_PRESENTER, presenter},
    {2810, TAVMO_CLIENT_OUT_EVENT_AUDIO_FRAME, audioFrame},
    {2811, TAVMO_CLIENT_OUT_EVENT_VIDEO_FRAME, videoFrame},
    {2820, TAVMO_CLIENT_OUT_EVENT_ROOM_SETTINGS_RESULT, roomSettingsResult},
    {2830, TAVMO_CLIENT_OUT_EVENT_DEVICE_TEST_STATUS, deviceTestStatus},
    {2855, TAVMO_CLIENT_OUT_EVENT_CONTROL_RESULT, controlResult},
    {2860, TAVMO_CLIENT_OUT_EVENT_NETWORK_INTERFACES, networkInterfaces},
};

constexpr EventTable kPublicTable(kPublicEvents, "OnOutEvent");

}  // namespace

std::vector<int32_t> publicEventCodes() { return kPublicTable.codes(); }

void OnOutEvent(int32_t code, const std::vector<unsigned char>& bytes) {
    if (code < TAVMO_CLIENT_PUBLIC_EVENT_FIRST || code > TAVMO_CLIENT_PUBLIC_EVENT_LAST) {
        OnPrivateOutEvent(code, bytes);
        return;
    }
    kPublicTable.translateAndSend(code, bytes);
}
