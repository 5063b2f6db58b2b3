// Every handler checks the record's address and size before touching it:
// the host's size is the only bound the library has, and a host fault must
// come back as an error code, never as a read or write past the record.
#include "Requests.h"

#include <cstring>
#include <string>

#include "ApprovedDomains.h"
#include "ConfigurationRequests.h"
#include "SharingRequests.h"
#include "StatisticsRequests.h"
#include "StatusRequests.h"
#include "VirtualCameraRequests.h"

namespace standin {
namespace {

using Handler = int32_t (*)(RequestContext& context, void* record, uint32_t size);

// Inner record of the approved-domain query: the domain text, then the
// answer in the byte after it.
constexpr uint32_t kDomainTextBytes = 257;
constexpr uint32_t kDomainQueryBytes = kDomainTextBytes + 1;

// The text must end inside the record.
bool terminatedText(const void* record, uint32_t capacity, std::string& text) {
    const auto* bytes = static_cast<const char*>(record);
    const void* end = std::memchr(bytes, '\0', capacity);
    if (!end) return false;
    text.assign(bytes, static_cast<const char*>(end));
    return true;
}

int32_t getCallState(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(int32_t)) return kRequestBadRecord;
    std::memcpy(record, &context.state.conference.reported.callState, sizeof(int32_t));
    return kRequestDone;
}

int32_t setLogLevels(RequestContext& context, void* record, uint32_t size) {
    std::string levels;
    if (!record || size != sizeof(TavmoClientLogLevelsRecord)) return kRequestBadRecord;
    if (!terminatedText(record, size, levels)) return kRequestBadRecord;
    context.logger.setLevels(levels);
    return kRequestDone;
}

int32_t getApprovedDomain(RequestContext& context, void* record, uint32_t size) {
    std::string domain;
    if (!record || size != kDomainQueryBytes) return kRequestBadRecord;
    if (!terminatedText(record, kDomainTextBytes, domain)) return kRequestBadRecord;
    bool approved = domainListed(context.state.dataDirectory, domain);
    for (const auto& listed : context.state.scenario.approvedDomains) {
        approved = approved || sameDomain(listed, domain);
    }
    static_cast<unsigned char*>(record)[kDomainTextBytes] = approved ? 1 : 0;
    return kRequestDone;
}

int32_t saveApprovedDomain(RequestContext& context, void* record, uint32_t size) {
    std::string domain;
    if (!record || size != kDomainTextBytes) return kRequestBadRecord;
    if (!terminatedText(record, kDomainTextBytes, domain) || !storableDomain(domain)) return kRequestBadRecord;
    return saveDomain(context.state.dataDirectory, domain) ? kRequestDone : kRequestStorageFailed;
}

struct PrivateEntry {
    uint32_t privateCode;
    Handler handler;
};

constexpr PrivateEntry kPrivateRequests[] = {
    {TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN, getApprovedDomain},
    {TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN, saveApprovedDomain},
    {TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO, getAudioEnergyInfo},
    {TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT, getLayout},
    {TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER, setVirtualCameraBuffer},
};

int32_t privateRequest(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientPrivateRequest)) return kRequestBadRecord;
    // The host's record need not be aligned for the struct.
    TavmoClientPrivateRequest wrapper;
    std::memcpy(&wrapper, record, sizeof wrapper);

    const auto& refused = context.state.scenario.refusedPrivateRequests;
    const auto refusal = refused.find(wrapper.privateCode);
    if (refusal != refused.end()) return refusal->second;

    for (const auto& entry : kPrivateRequests) {
        if (entry.privateCode == wrapper.privateCode) return entry.handler(context, wrapper.record, wrapper.sizeField);
    }
    return kRequestUnknown;
}

struct Entry {
    int32_t code;
    Handler handler;
};

constexpr Entry kRequests[] = {
    {TAVMO_CLIENT_REQUEST_GET_CALL_STATE, getCallState},
    {TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, setLogLevels},
    {TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN, getMutedAudioIn},
    {TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT, getMutedAudioOut},
    {TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO, getMutedVideo},
    {TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN, getMutedServerAudioIn},
    {TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO, getMutedServerVideo},
    {TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN, getVolumeAudioIn},
    {TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN, setVolumeAudioIn},
    {TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT, getVolumeAudioOut},
    {TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT, setVolumeAudioOut},
    {TAVMO_CLIENT_REQUEST_GET_EID, getEid},
    {TAVMO_CLIENT_REQUEST_GET_LID, getLid},
    {TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS, getNumParticipants},
    {TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT, getParticipantNameAt},
    {TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS, getSendMaxKbps},
    {TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS, setSendMaxKbps},
    {TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS, getReceiveMaxKbps},
    {TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS, setReceiveMaxKbps},
    {TAVMO_CLIENT_REQUEST_SET_LABEL, setLabel},
    {TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION, getEchoRecommendation},
    {TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED, checkRecommended},
    {TAVMO_CLIENT_REQUEST_GET_CURRENT_USER, getCurrentUser},
    {TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT, getParticipantsLimit},
    {TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID, getWebProxySettingValid},
    {TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, setWebProxyCredentials},
    {TAVMO_CLIENT_REQUEST_GET_INVITING_USER, getInvitingUser},
    {TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER, getCurrentSessionRouter},
    {TAVMO_CLIENT_REQUEST_GET_CURRENT_CPU_UTIL, getCurrentCpuUtilization},
    {TAVMO_CLIENT_REQUEST_GET_ENDPOINT_STATUS, getEndpointStatus},
    {TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO, getCurrentSessionDisplayInfo},
    {TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO, getConferenceInfo},
    {TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE, getPreviewMode},
    {TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE, enableAppShare},
    {TAVMO_CLIENT_REQUEST_GET_CONFIGURATION, getConfiguration},
    {TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, setConfiguration},
    {TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES, getWindowShares},
    {TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES, setWindowShares},
    {TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS, getWindowsAndDesktops},
    {TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT, getParticipantStatistics},
    {TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST, getParticipantList},
    {TAVMO_CLIENT_REQUEST_GET_FECC_LIST, getFeccList},
    {TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION, getEncodeResolution},
    {TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO, getFrameRates},
    {TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO, getMediaCounters},
    {TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO, getRateShaper},
    {TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO, getBandwidth},
    {TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO, getConnectivity},
    {TAVMO_CLIENT_REQUEST_PRIVATE, privateRequest},
};

}  // namespace

int32_t handleRequest(RequestContext& context, int32_t code, void* record, uint32_t size) {
    if (!context.state.initialized) return kRequestNotInitialized;

    const auto& refused = context.state.scenario.refusedRequests;
    const auto refusal = refused.find(code);
    if (refusal != refused.end()) return refusal->second;

    for (const auto& entry : kRequests) {
        if (entry.code == code) return entry.handler(context, record, size);
    }
    return kRequestUnknown;
}

}  // namespace standin
