#include "RequestHandler/StatusRequests.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "JsonValues.h"
#include "Log.h"
#include "OutEventHandler/CodeNames.h"
#include "Records.h"
#include "RequestHandler/RequestSupport.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;
constexpr uint32_t kMaxVolume = 65535;

constexpr const char* kEndpointStatusNames[] = {"Inactive", "Registered", "Active"};
constexpr const char* kSessionDisplayContextNames[] = {"Conf", "OutCall", "InCall", "Idle"};
constexpr const char* kPreviewModeNames[] = {"None", "Pip", "Dock", "None", "Other"};

// The name of a library value, or `fallback` (null: no member at all) for a
// value outside the list.
template <std::size_t Count>
const char* nameOf(const char* const (&names)[Count], int32_t value, const char* fallback = nullptr) {
    return value >= 0 && static_cast<std::size_t>(value) < Count ? names[value] : fallback;
}

void setNamed(Json::Value& request, const char* key, const char* name) {
    if (name) request[key] = name;
}

void replyInt32(Json::Value& request, const char* handler, int32_t code, const char* constantName, const char* key) {
    TavmoClientInt32Value record{};
    if (sendRequest(request, handler, code, constantName, record)) request[key] = Json::Int(record.value);
}

void replyUInt32(Json::Value& request, const char* handler, int32_t code, const char* constantName, const char* key) {
    TavmoClientUInt32Value record{};
    if (sendRequest(request, handler, code, constantName, record)) request[key] = Json::UInt(record.value);
}

template <std::size_t Count>
void replyNamed(Json::Value& request, const char* handler, int32_t code, const char* constantName, const char* key,
                const char* const (&names)[Count]) {
    TavmoClientInt32Value record{};
    if (sendRequest(request, handler, code, constantName, record)) setNamed(request, key, nameOf(names, record.value));
}

// Unlike the library's other flags, only a byte of exactly 1 counts as muted.
void replyMuted(Json::Value& request, const char* handler, int32_t code, const char* constantName) {
    TavmoClientFlagValue record{};
    if (sendRequest(request, handler, code, constantName, record)) request["isMuted"] = record.value == 1;
}

template <typename Record, std::size_t Width>
void replyText(Json::Value& request, const char* handler, int32_t code, const char* constantName, const char* key,
               char (Record::*field)[Width]) {
    Record record{};
    if (sendRequest(request, handler, code, constantName, record)) request[key] = readText(record.*field);
}

void setInt32(Json::Value& request, const char* handler, int32_t code, const char* constantName, int32_t value) {
    TavmoClientInt32Value record{};
    record.value = value;
    if (sendRequest(request, handler, code, constantName, record)) setResultOk(request);
}

// Out of range, which includes every negative value and an unreadable one, is
// no error: the volume becomes the highest.
void setVolume(Json::Value& request, const char* handler, int32_t code, const char* constantName) {
    int32_t volume = readIntMember(request, "volume", kMaxVolume);
    TavmoClientUInt32Value record{};
    record.value = static_cast<uint32_t>(volume);
    if (record.value > kMaxVolume) {
        LOG_ERROR("OutputThread: %s() Invalid volume: [%d], setting it to [%u]", handler, volume, kMaxVolume);
        record.value = kMaxVolume;
    }
    if (sendRequest(request, handler, code, constantName, record)) setResultOk(request);
}

}  // namespace

void RequestGetCallState(Json::Value& request) {
    TavmoClientInt32Value record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CALL_STATE), record))
        setNamed(request, "callState", callStateName(record.value));
}

void RequestGetMutedAudioOut(Json::Value& request) {
    replyMuted(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT));
}

void RequestGetMutedAudioIn(Json::Value& request) {
    replyMuted(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN));
}

void RequestGetMutedVideo(Json::Value& request) {
    replyMuted(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO));
}

void RequestGetMutedServerAudioIn(Json::Value& request) {
    replyMuted(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN));
}

void RequestGetMutedServerVideo(Json::Value& request) {
    replyMuted(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO));
}

void RequestGetVolumeAudioIn(Json::Value& request) {
    replyInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN), "volume");
}

void RequestSetVolumeAudioIn(Json::Value& request) {
    setVolume(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN));
}

void RequestGetVolumeAudioOut(Json::Value& request) {
    replyInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT), "volume");
}

void RequestSetVolumeAudioOut(Json::Value& request) {
    setVolume(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT));
}

void RequestGetEID(Json::Value& request) {
    replyText(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_EID), "EID",
              &TavmoClientIdentifierRecord::identifier);
}

void RequestGetLID(Json::Value& request) {
    replyText(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_LID), "LID",
              &TavmoClientIdentifierRecord::identifier);
}

void RequestGetAudioEnergyInfo(Json::Value& request) {
    TavmoClientAudioEnergyRecord record{};
    if (!sendPrivateRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO),
                            &record, TAVMO_CLIENT_AUDIO_ENERGY_SIZE_FIELD))
        return;
    request["rendererEnergy"] = record.rendererEnergy;
    request["capturerEnergy"] = record.capturerEnergy;
}

void RequestGetNumParticipants(Json::Value& request) {
    replyUInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS), "numParticipants");
}

void RequestGetParticipantNameAt(Json::Value& request) {
    TavmoClientParticipantNameRecord record{};
    record.index = readIntMember(request, "index", 0);
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT), record)) return;
    request["result"] = record.found != 0;
    request["index"] = record.index;
    request["name"] = readText(record.name);
}

void RequestGetSendMaxKbps(Json::Value& request) {
    replyInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS), "value");
}

void RequestSetSendMaxKbps(Json::Value& request) {
    setInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS),
             readIntMember(request, "value", -1));
}

void RequestGetReceiveMaxKbps(Json::Value& request) {
    replyInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS), "value");
}

void RequestSetReceiveMaxKbps(Json::Value& request) {
    setInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS),
             readIntMember(request, "value", -1));
}

void RequestSetLabel(Json::Value& request) {
    TavmoClientLabelRecord record{};
    copyText(record.label, TAVMO_CLIENT_LABEL_MAX_BYTES + 1, readStringMember(request, "labelText"));
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_LABEL), record)) setResultOk(request);
}

void RequestGetEchoRecommendation(Json::Value& request) {
    TavmoClientEchoRecommendationRecord record{};
    record.speakerIndex = readIntMember(request, "speakerIndex", 0);
    record.microphoneIndex = readIntMember(request, "micIndex", 0);
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION), record)) return;
    request["speakerIndex"] = record.speakerIndex;
    request["micIndex"] = record.microphoneIndex;
    request["disableEcho"] = record.disableEcho != 0;
}

void RequestCheckRecommended(Json::Value& request) {
    TavmoClientRecommendedDeviceRecord record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED), record)) return;
    request["deviceIndex"] = record.deviceIndex;
    request["deviceType"] = record.deviceType;
    request["isRecommended"] = record.recommended != 0;
}

void RequestGetCurrentUser(Json::Value& request) {
    TavmoClientCurrentUserRecord record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CURRENT_USER), record)) return;
    request["currentUserID"] = readText(record.userId);
    request["currentUserDisplay"] = readText(record.displayName);
}

void RequestGetParticipantsLimit(Json::Value& request) {
    TavmoClientParticipantsLimitRecord record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT), record)) return;
    request["bandwidthLimited"] = record.bandwidthLimited;
    request["cpuLimited"] = record.cpuLimited;
    request["userLimited"] = record.userLimited;
}

void RequestGetWebProxySettingsValid(Json::Value& request) {
    TavmoClientFlagValue record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID), record))
        request["isValid"] = record.value != 0;
}

void RequestGetInvitingUser(Json::Value& request) {
    replyText(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_INVITING_USER), "invitingUser",
              &TavmoClientInvitingUserRecord::invitingUser);
}

void RequestGetCurrentSessionTavmoRouter(Json::Value& request) {
    replyText(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER), "routerAddress",
              &TavmoClientRouterRecord::routerAddress);
}

void RequestGetCurrentCpuUtilization(Json::Value& request) {
    replyUInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CURRENT_CPU_UTIL), "value");
}

void RequestGetEndpointStatus(Json::Value& request) {
    replyNamed(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_ENDPOINT_STATUS), "endpointStatus",
               kEndpointStatusNames);
}

void RequestGetCurrentSessionDisplayInfo(Json::Value& request) {
    TavmoClientSessionDisplayRecord record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO), record))
        return;
    request["sessionDisplayContext"] = nameOf(kSessionDisplayContextNames, record.context, "Conf");
    request["sessionDisplayText"] = readText(record.text);
}

void RequestGetConferenceInfo(Json::Value& request) {
    TavmoClientConferenceInfoRecord record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO), record)) return;
    request["recording"] = record.recording != 0;
    request["webcasting"] = record.webcasting != 0;
}

void RequestGetPreviewMode(Json::Value& request) {
    TavmoClientPreviewModeRecord record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE), record))
        request["previewMode"] = nameOf(kPreviewModeNames, record.mode, "None");
}

// Each text is cut so that it ends inside its field: a full-width user name
// would otherwise run on into the password.
void RequestSetWebProxyCredentials(Json::Value& request) {
    TavmoClientWebProxyCredentialsRecord record{};
    std::string userName = readTextMember(request, "username");
    std::string password = readTextMember(request, "password");
    record.persist = readFlagMember(request, "persist") ? 1 : 0;
    copyText(record.userName, userName.c_str());
    copyText(record.password, password.c_str());
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD), record))
        setResultOk(request);
}

void RequestEnableAppShare(Json::Value& request) {
    TavmoClientFlagValue record{};
    record.value = readIntMember(request, "isEnable", 0) != 0 ? 1 : 0;
    sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE), record);
}
