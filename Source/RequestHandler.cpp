#include "RequestHandler.h"

#include <cstring>
#include <string>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "Redaction.h"
#include "RequestHandler/CommandInEvents.h"
#include "RequestHandler/ConfigurationRequests.h"
#include "RequestHandler/LifecycleRequests.h"
#include "RequestHandler/PayloadInEvents.h"
#include "RequestHandler/SharingRequests.h"
#include "RequestHandler/SignInEvents.h"
#include "RequestHandler/StatisticsRequests.h"
#include "RequestHandler/StatusRequests.h"
#include "RequestHandler/VirtualCamera.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

using Handler = void (*)(Json::Value& request, int& clientStarted);

// Most handlers do not need OutputThread's clientStarted.
template <void (*handler)(Json::Value&)>
void withoutClientStarted(Json::Value& request, int&) {
    handler(request);
}

struct DispatchRow {
    const char* type;
    Handler handler;
};

// Compared in this order, exactly and case-sensitively.
constexpr DispatchRow kDispatchTable[] = {
    {"RequestSetChromeArch", withoutClientStarted<RequestSetChromeArch>},
    {"RequestGetVersion", withoutClientStarted<RequestGetVersion>},
    {"RequestSetLogLevelsAndCategories", withoutClientStarted<RequestSetLogLevelsAndCategories>},
    {"RequestGetCallState", withoutClientStarted<RequestGetCallState>},
    {"RequestGetMutedAudioOut", withoutClientStarted<RequestGetMutedAudioOut>},
    {"RequestGetMutedAudioIn", withoutClientStarted<RequestGetMutedAudioIn>},
    {"RequestGetMutedVideo", withoutClientStarted<RequestGetMutedVideo>},
    {"RequestGetMutedServerAudioIn", withoutClientStarted<RequestGetMutedServerAudioIn>},
    {"RequestGetMutedServerVideo", withoutClientStarted<RequestGetMutedServerVideo>},
    {"RequestGetVolumeAudioIn", withoutClientStarted<RequestGetVolumeAudioIn>},
    {"RequestSetVolumeAudioIn", withoutClientStarted<RequestSetVolumeAudioIn>},
    {"RequestGetVolumeAudioOut", withoutClientStarted<RequestGetVolumeAudioOut>},
    {"RequestSetVolumeAudioOut", withoutClientStarted<RequestSetVolumeAudioOut>},
    {"RequestGetEID", withoutClientStarted<RequestGetEID>},
    {"RequestGetLID", withoutClientStarted<RequestGetLID>},
    {"RequestGetAudioEnergyInfo", withoutClientStarted<RequestGetAudioEnergyInfo>},
    {"RequestGetNumParticipants", withoutClientStarted<RequestGetNumParticipants>},
    {"RequestGetParticipantNameAt", withoutClientStarted<RequestGetParticipantNameAt>},
    {"RequestGetParticipantStatisticsAt", withoutClientStarted<RequestGetParticipantStatisticsAt>},
    {"RequestGetConfiguration", withoutClientStarted<RequestGetConfiguration>},
    {"RequestGetSendMaxKbps", withoutClientStarted<RequestGetSendMaxKbps>},
    {"RequestSetSendMaxKbps", withoutClientStarted<RequestSetSendMaxKbps>},
    {"RequestGetReceiveMaxKbps", withoutClientStarted<RequestGetReceiveMaxKbps>},
    {"RequestSetReceiveMaxKbps", withoutClientStarted<RequestSetReceiveMaxKbps>},
    {"RequestSetLabel", withoutClientStarted<RequestSetLabel>},
    {"RequestGetEchoRecommendation", withoutClientStarted<RequestGetEchoRecommendation>},
    {"RequestCheckRecommended", withoutClientStarted<RequestCheckRecommended>},
    {"RequestGetCurrentUser", withoutClientStarted<RequestGetCurrentUser>},
    {"RequestGetParticipantsLimit", withoutClientStarted<RequestGetParticipantsLimit>},
    {"RequestSetConfiguration", withoutClientStarted<RequestSetConfiguration>},
    {"RequestGetWebProxySettingsValid", withoutClientStarted<RequestGetWebProxySettingsValid>},
    {"RequestGetInvitingUser", withoutClientStarted<RequestGetInvitingUser>},
    {"RequestGetCurrentSessionTavmoRouter", withoutClientStarted<RequestGetCurrentSessionTavmoRouter>},
    {"RequestGetFeccList", withoutClientStarted<RequestGetFeccList>},
    {"RequestGetEncodeResolution", withoutClientStarted<RequestGetEncodeResolution>},
    {"RequestGetVideoFrameRateInfo", withoutClientStarted<RequestGetVideoFrameRateInfo>},
    {"RequestGetMediaInfo", withoutClientStarted<RequestGetMediaInfo>},
    {"RequestGetRateShaperInfo", withoutClientStarted<RequestGetRateShaperInfo>},
    {"RequestGetCurrentCpuUtilization", withoutClientStarted<RequestGetCurrentCpuUtilization>},
    {"RequestGetEndpointStatus", withoutClientStarted<RequestGetEndpointStatus>},
    {"RequestGetCurrentSessionDisplayInfo", withoutClientStarted<RequestGetCurrentSessionDisplayInfo>},
    {"RequestGetConferenceInfo", withoutClientStarted<RequestGetConferenceInfo>},
    {"RequestGetParticipants", withoutClientStarted<RequestGetParticipants>},
    {"RequestGetWindowShares", withoutClientStarted<RequestGetWindowShares>},
    {"RequestGetWindowsAndDesktops", withoutClientStarted<RequestGetWindowsAndDesktops>},
    {"RequestGetPreviewMode", withoutClientStarted<RequestGetPreviewMode>},
    {"RequestSetWindowShares", withoutClientStarted<RequestSetWindowShares>},
    {"RequestGetConnectivityInfo", withoutClientStarted<RequestGetConnectivityInfo>},
    {"RequestSetWebProxyCredentials", withoutClientStarted<RequestSetWebProxyCredentials>},
    {"RequestGetBandwidthInfo", withoutClientStarted<RequestGetBandwidthInfo>},
    {"RequestSetCameraResolution", withoutClientStarted<RequestSetCameraResolution>},
    {"RequestGetLayout", withoutClientStarted<RequestGetLayout>},
    {"RequestGetCameraStatus", RequestGetCameraStatus},
    {"RequestEnableAppShare", withoutClientStarted<RequestEnableAppShare>},
    {"RequestSetDomain", withoutClientStarted<RequestSetDomain>},
    {"InEventStart", InEventStart},
    {"InEventStop", InEventStop},
    {"InEventResize", withoutClientStarted<InEventResize>},
    {"InEventParticipantsLimit", withoutClientStarted<InEventParticipantsLimit>},
    {"InEventToggleShare", withoutClientStarted<InEventToggleShare>},
    {"InEventLayout", withoutClientStarted<InEventLayout>},
    {"InEventLeave", withoutClientStarted<InEventLeave>},
    {"InEventCancel", withoutClientStarted<InEventCancel>},
    {"InEventShare", withoutClientStarted<InEventShare>},
    {"InEventUnshare", withoutClientStarted<InEventUnshare>},
    {"InEventGroupChat", withoutClientStarted<InEventGroupChat>},
    {"InEventPrivateChat", withoutClientStarted<InEventPrivateChat>},
    {"InEventMuteAudioIn", withoutClientStarted<InEventMuteAudioIn>},
    {"InEventMuteAudioOut", withoutClientStarted<InEventMuteAudioOut>},
    {"InEventMuteVideo", withoutClientStarted<InEventMuteVideo>},
    {"InEventSignIn", withoutClientStarted<InEventSignIn>},
    {"InEventLoginCancel", withoutClientStarted<InEventLoginCancel>},
    {"InEventLogin", withoutClientStarted<InEventLogin>},
    {"InEventSignoff", withoutClientStarted<InEventSignOff>},
    {"InEventSetEchoDetection", withoutClientStarted<InEventSetEchoDetection>},
    {"InEventSetEchoCancellation", withoutClientStarted<InEventSetEchoCancellation>},
    {"InEventSetAGC", withoutClientStarted<InEventSetAGC>},
    {"InEventSetFreezeImage", withoutClientStarted<InEventSetFreezeImage>},
    {"InEventPrecallTestCamera", withoutClientStarted<InEventPrecallTestCamera>},
    {"InEventPrecallTestMicrophone", withoutClientStarted<InEventPrecallTestMicrophone>},
    {"InEventAnswer", withoutClientStarted<InEventAnswer>},
    {"InEventDecline", withoutClientStarted<InEventDecline>},
    {"InEventSetDisplayName", withoutClientStarted<InEventSetDisplayName>},
    {"InEventResetDisplayName", withoutClientStarted<InEventResetDisplayName>},
    {"InEventPinParticipant", withoutClientStarted<InEventPinParticipant>},
    {"InEventControlCamera", withoutClientStarted<InEventControlCamera>},
    {"InEventSetSendBandwidthLimit", withoutClientStarted<InEventSetSendBandwidthLimit>},
    {"InEventSetOffline", withoutClientStarted<InEventSetOffline>},
    {"InEventControlConferenceRoomSettings", withoutClientStarted<InEventControlConferenceRoomSettings>},
    {"InEventStartPrecallTestSpeaker", withoutClientStarted<InEventStartPrecallTestSpeaker>},
    {"InEventStopPrecallTestSpeaker", withoutClientStarted<InEventStopPrecallTestSpeaker>},
    {"InEventPlayDtmfTone", withoutClientStarted<InEventPlayDtmfTone>},
    {"InEventGetWindowsExt", withoutClientStarted<InEventGetWindowsExt>},
    {"EventPreview", withoutClientStarted<EventPreview>},
    {"PrivateInEventVcsoapGuestLink", withoutClientStarted<PrivateInEventVcsoapGuestLink>},
    {"PrivateInEventStartMyMeeting", withoutClientStarted<PrivateInEventStartMyMeeting>},
    {"PrivateInEventLayout", withoutClientStarted<PrivateInEventLayout>},
};

Handler findHandler(const std::string& type) {
    for (const DispatchRow& row : kDispatchTable)
        if (type == row.type) return row.handler;
    return nullptr;
}

bool directionIsValid(const Json::Value& request) {
    const Json::Value* direction = request.find("_direction", "_direction" + std::strlen("_direction"));
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
        request["error"] = "No or invalid direction";
        LOG_ERROR("OutputThread: handleRequest() No or invalid direction");
        return;
    }
    if (request.isMember("type") && !request["type"].isString()) {
        request["error"] = "Type is not a string";
        LOG_ERROR("OutputThread: handleRequest() Type is not a string");
        return;
    }
    request.removeMember("error");
    std::string type = request.isMember("type") ? request["type"].asString() : std::string();
    const std::string loggedType = textForLog(type);
    LOG_INFO("OutputThread: handleRequest() Processing Request: [%s]", loggedType.c_str());
    Handler handler = findHandler(type);
    if (!handler) {
        LOG_ERROR("OutputThread: handleRequest() Unknown request: [%s]", loggedType.c_str());
        request["error"] = "unknown request";
        return;
    }
    try {
        handler(request, clientStarted);
    } catch (...) {
        LOG_ERROR("OutputThread: handleRequest() Unknown Exception while processing request: [%s]", loggedType.c_str());
        request["error"] = "unknown error";
    }
}
