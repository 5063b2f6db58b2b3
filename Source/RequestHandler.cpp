#include "RequestHandler.h"

#include <string>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "Redaction.h"
#include "RequestHandler/CommandInEvents.h"
#include "RequestHandler/ConfigurationRequests.h"
#include "RequestHandler/LifecycleRequests.h"
#include "RequestHandler/PayloadInEvents.h"
#include "RequestHandler/RequestSupport.h"
#include "RequestHandler/SharingRequests.h"
#include "RequestHandler/SignInEvents.h"
#include "RequestHandler/StatisticsRequests.h"
#include "RequestHandler/StatusRequests.h"
#include "RequestHandler/VirtualCamera.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

// A handler takes the request it answers; the lifecycle and camera-status
// handlers take OutputThread's clientStarted too, which they read or change.
struct DispatchRow {
    using Handler = void (*)(Json::Value& request);
    using ClientStartedHandler = void (*)(Json::Value& request, int& clientStarted);

    constexpr DispatchRow(const char* type, Handler handler) : type(type), handler(handler) {}
    constexpr DispatchRow(const char* type, ClientStartedHandler handler) : type(type), clientStartedHandler(handler) {}

    void call(Json::Value& request, int& clientStarted) const {
        if (clientStartedHandler)
            clientStartedHandler(request, clientStarted);
        else
            handler(request);
    }

    const char* type;
    Handler handler = nullptr;
    ClientStartedHandler clientStartedHandler = nullptr;
};

// Compared in this order, exactly and case-sensitively.
constexpr DispatchRow kDispatchTable[] = {
    {"RequestSetChromeArch", RequestSetChromeArch},
    {"RequestGetVersion", RequestGetVersion},
    {"RequestSetLogLevelsAndCategories", RequestSetLogLevelsAndCategories},
    {"RequestGetCallState", RequestGetCallState},
    {"RequestGetMutedAudioOut", RequestGetMutedAudioOut},
    {"RequestGetMutedAudioIn", RequestGetMutedAudioIn},
    {"RequestGetMutedVideo", RequestGetMutedVideo},
    {"RequestGetMutedServerAudioIn", RequestGetMutedServerAudioIn},
    {"RequestGetMutedServerVideo", RequestGetMutedServerVideo},
    {"RequestGetVolumeAudioIn", RequestGetVolumeAudioIn},
    {"RequestSetVolumeAudioIn", RequestSetVolumeAudioIn},
    {"RequestGetVolumeAudioOut", RequestGetVolumeAudioOut},
    {"RequestSetVolumeAudioOut", RequestSetVolumeAudioOut},
    {"RequestGetEID", RequestGetEID},
    {"RequestGetLID", RequestGetLID},
    {"RequestGetAudioEnergyInfo", RequestGetAudioEnergyInfo},
    {"RequestGetNumParticipants", RequestGetNumParticipants},
    {"RequestGetParticipantNameAt", RequestGetParticipantNameAt},
    {"RequestGetParticipantStatisticsAt", RequestGetParticipantStatisticsAt},
    {"RequestGetConfiguration", RequestGetConfiguration},
    {"RequestGetSendMaxKbps", RequestGetSendMaxKbps},
    {"RequestSetSendMaxKbps", RequestSetSendMaxKbps},
    {"RequestGetReceiveMaxKbps", RequestGetReceiveMaxKbps},
    {"RequestSetReceiveMaxKbps", RequestSetReceiveMaxKbps},
    {"RequestSetLabel", RequestSetLabel},
    {"RequestGetEchoRecommendation", RequestGetEchoRecommendation},
    {"RequestCheckRecommended", RequestCheckRecommended},
    {"RequestGetCurrentUser", RequestGetCurrentUser},
    {"RequestGetParticipantsLimit", RequestGetParticipantsLimit},
    {"RequestSetConfiguration", RequestSetConfiguration},
    {"RequestGetWebProxySettingsValid", RequestGetWebProxySettingsValid},
    {"RequestGetInvitingUser", RequestGetInvitingUser},
    {"RequestGetCurrentSessionTavmoRouter", RequestGetCurrentSessionTavmoRouter},
    {"RequestGetFeccList", RequestGetFeccList},
    {"RequestGetEncodeResolution", RequestGetEncodeResolution},
    {"RequestGetVideoFrameRateInfo", RequestGetVideoFrameRateInfo},
    {"RequestGetMediaInfo", RequestGetMediaInfo},
    {"RequestGetRateShaperInfo", RequestGetRateShaperInfo},
    {"RequestGetCurrentCpuUtilization", RequestGetCurrentCpuUtilization},
    {"RequestGetEndpointStatus", RequestGetEndpointStatus},
    {"RequestGetCurrentSessionDisplayInfo", RequestGetCurrentSessionDisplayInfo},
    {"RequestGetConferenceInfo", RequestGetConferenceInfo},
    {"RequestGetParticipants", RequestGetParticipants},
    {"RequestGetWindowShares", RequestGetWindowShares},
    {"RequestGetWindowsAndDesktops", RequestGetWindowsAndDesktops},
    {"RequestGetPreviewMode", RequestGetPreviewMode},
    {"RequestSetWindowShares", RequestSetWindowShares},
    {"RequestGetConnectivityInfo", RequestGetConnectivityInfo},
    {"RequestSetWebProxyCredentials", RequestSetWebProxyCredentials},
    {"RequestGetBandwidthInfo", RequestGetBandwidthInfo},
    {"RequestSetCameraResolution", RequestSetCameraResolution},
    {"RequestGetLayout", RequestGetLayout},
    {"RequestGetCameraStatus", RequestGetCameraStatus},
    {"RequestEnableAppShare", RequestEnableAppShare},
    {"RequestSetDomain", RequestSetDomain},
    {"InEventStart", InEventStart},
    {"InEventStop", InEventStop},
    {"InEventResize", InEventResize},
    {"InEventParticipantsLimit", InEventParticipantsLimit},
    {"InEventToggleShare", InEventToggleShare},
    {"InEventLayout", InEventLayout},
    {"InEventLeave", InEventLeave},
    {"InEventCancel", InEventCancel},
    {"InEventShare", InEventShare},
    {"InEventUnshare", InEventUnshare},
    {"InEventGroupChat", InEventGroupChat},
    {"InEventPrivateChat", InEventPrivateChat},
    {"InEventMuteAudioIn", InEventMuteAudioIn},
    {"InEventMuteAudioOut", InEventMuteAudioOut},
    {"InEventMuteVideo", InEventMuteVideo},
    {"InEventSignIn", InEventSignIn},
    {"InEventLoginCancel", InEventLoginCancel},
    {"InEventLogin", InEventLogin},
    {"InEventSignoff", InEventSignOff},
    {"InEventSetEchoDetection", InEventSetEchoDetection},
    {"InEventSetEchoCancellation", InEventSetEchoCancellation},
    {"InEventSetAGC", InEventSetAGC},
    {"InEventSetFreezeImage", InEventSetFreezeImage},
    {"InEventPrecallTestCamera", InEventPrecallTestCamera},
    {"InEventPrecallTestMicrophone", InEventPrecallTestMicrophone},
    {"InEventAnswer", InEventAnswer},
    {"InEventDecline", InEventDecline},
    {"InEventSetDisplayName", InEventSetDisplayName},
    {"InEventResetDisplayName", InEventResetDisplayName},
    {"InEventPinParticipant", InEventPinParticipant},
    {"InEventControlCamera", InEventControlCamera},
    {"InEventSetSendBandwidthLimit", InEventSetSendBandwidthLimit},
    {"InEventSetOffline", InEventSetOffline},
    {"InEventControlConferenceRoomSettings", InEventControlConferenceRoomSettings},
    {"InEventStartPrecallTestSpeaker", InEventStartPrecallTestSpeaker},
    {"InEventStopPrecallTestSpeaker", InEventStopPrecallTestSpeaker},
    {"InEventPlayDtmfTone", InEventPlayDtmfTone},
    {"InEventGetWindowsExt", InEventGetWindowsExt},
    {"EventPreview", EventPreview},
    {"PrivateInEventVcsoapGuestLink", PrivateInEventVcsoapGuestLink},
    {"PrivateInEventStartMyMeeting", PrivateInEventStartMyMeeting},
    {"PrivateInEventLayout", PrivateInEventLayout},
};

const DispatchRow* findRow(const std::string& type) {
    for (const DispatchRow& row : kDispatchTable)
        if (type == row.type) return &row;
    return nullptr;
}

bool directionIsValid(const Json::Value& request) {
    const Json::Value* direction = findMember(request, "_direction");
    return direction && readLenientInt(*direction) == 1;
}

}  // namespace

std::vector<std::string> requestTypes() {
    std::vector<std::string> types;
    for (const DispatchRow& row : kDispatchTable) types.emplace_back(row.type);
    return types;
}

void handleRequest(Json::Value& request, int& clientStarted) {
    if (hostState.load() == HostRunning && !directionIsValid(request)) {
        FAIL_REQUEST(request, "No or invalid direction", "OutputThread: handleRequest() No or invalid direction");
        return;
    }
    if (request.isMember("type") && !request["type"].isString()) {
        FAIL_REQUEST(request, "Type is not a string", "OutputThread: handleRequest() Type is not a string");
        return;
    }
    request.removeMember("error");
    std::string type = request.isMember("type") ? request["type"].asString() : std::string();
    const std::string loggedType = textForLog(type);
    LOG_INFO("OutputThread: handleRequest() Processing Request: [%s]", loggedType.c_str());
    const DispatchRow* row = findRow(type);
    if (!row) {
        FAIL_REQUEST(request, "unknown request", "OutputThread: handleRequest() Unknown request: [%s]",
                     loggedType.c_str());
        return;
    }
    try {
        row->call(request, clientStarted);
    } catch (...) {
        FAIL_REQUEST(request, "unknown error",
                     "OutputThread: handleRequest() Unknown Exception while processing request: [%s]",
                     loggedType.c_str());
    }
}
