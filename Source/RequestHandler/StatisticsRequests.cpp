#include "RequestHandler/StatisticsRequests.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "JsonValues.h"
#include "RecordValues.h"
#include "Records.h"
#include "RequestHandler/RequestSupport.h"

namespace {

// A 32-bit word of a record and the reply key it is written under; signed
// words become signed JSON integers, unsigned ones unsigned.
template <typename Record, typename Word>
struct WordKey {
    const char* key;
    Word Record::*word;
};

template <typename Record, typename Word, std::size_t Count>
void writeWords(Json::Value& reply, const Record& record, const WordKey<Record, Word> (&keys)[Count]) {
    for (const auto& entry : keys) reply[entry.key] = record.*entry.word;
}

struct TextKey {
    const char* key;
    std::size_t offset;
    std::size_t width;
};

template <typename Record, std::size_t Count>
void writeTexts(Json::Value& reply, const Record& record, const TextKey (&keys)[Count]) {
    const auto* bytes = reinterpret_cast<const char*>(&record);
    for (const TextKey& entry : keys) reply[entry.key] = readText(bytes + entry.offset, entry.width);
}

using Statistics = TavmoClientParticipantStatistics;
constexpr WordKey<Statistics, int32_t> kStatisticsKeys[] = {
    {"videoKBitsPerSecRecv", &Statistics::videoKBitsPerSecRecv},
    {"audioKBitsPerSecRecv", &Statistics::audioKBitsPerSecRecv},
    {"firs", &Statistics::firs},
    {"nacks", &Statistics::nacks},
    {"videoFrameRate", &Statistics::videoFrameRate},
    {"videoDecodedFrameRate", &Statistics::videoDecodedFrameRate},
    {"videoDisplayedFrameRate", &Statistics::videoDisplayedFrameRate},
};

using FrameRates = TavmoClientFrameRates;
constexpr WordKey<FrameRates, uint32_t> kFrameRateKeys[] = {
    {"captureFrameRate", &FrameRates::captureFrameRate},
    {"encodeFrameRate", &FrameRates::encodeFrameRate},
    {"sendFrameRate", &FrameRates::sendFrameRate},
};

using MediaCounters = TavmoClientMediaCounters;
constexpr WordKey<MediaCounters, uint32_t> kMediaCounterKeys[] = {
    {"numIFrames", &MediaCounters::numIFrames},
    {"numFirs", &MediaCounters::numFirs},
    {"numNacks", &MediaCounters::numNacks},
    {"mediaRTT", &MediaCounters::mediaRTT},
};

// The page reads these keys spelled exactly so. The packet count of normal
// priority application data is not reported.
using RateShaper = TavmoClientRateShaper;
constexpr WordKey<RateShaper, uint32_t> kRateShaperKeys[] = {
    {"delayVideoPriorytyNormal", &RateShaper::delayVideoPriorityNormal},
    {"numPacketsVideoPriorytyNormal", &RateShaper::numPacketsVideoPriorityNormal},
    {"numFramesVideoPriorytyNormal", &RateShaper::numFramesVideoPriorityNormal},
    {"numDroppedVideoPriorytyNormal", &RateShaper::numDroppedVideoPriorityNormal},
    {"delayVideoPriorutyRetransmit", &RateShaper::delayVideoPriorityRetransmit},
    {"numPacketsVideoPriorutyRetransmit", &RateShaper::numPacketsVideoPriorityRetransmit},
    {"numFramesVideoPriorutyRetransmit", &RateShaper::numFramesVideoPriorityRetransmit},
    {"numDroppedVideoPriorutyRetransmit", &RateShaper::numDroppedVideoPriorityRetransmit},
    {"delayAppPriorityNormal", &RateShaper::delayAppPriorityNormal},
    {"numFramesAppPriorityNormal", &RateShaper::numFramesAppPriorityNormal},
    {"numDroppedAppPriorityNormal", &RateShaper::numDroppedAppPriorityNormal},
    {"delayAppPriorityRetransmit", &RateShaper::delayAppPriorityRetransmit},
    {"numPacketsAppPriorityRetransmit", &RateShaper::numPacketsAppPriorityRetransmit},
    {"numFramesAppPriorityRetransmit", &RateShaper::numFramesAppPriorityRetransmit},
    {"numDroppedAppPriorityRetransmit", &RateShaper::numDroppedAppPriorityRetransmit},
};

// The actual maximum send bandwidth is not reported.
using Bandwidth = TavmoClientBandwidth;
constexpr WordKey<Bandwidth, uint32_t> kBandwidthKeys[] = {
    {"AvailSendBwVideo", &Bandwidth::availSendBwVideo},
    {"AvailSendBwAudio", &Bandwidth::availSendBwAudio},
    {"AvailSendBwApplication", &Bandwidth::availSendBwApplication},
    {"AvailSendBwMax", &Bandwidth::availSendBwMax},
    {"ActualSendBwVideo", &Bandwidth::actualSendBwVideo},
    {"ActualSendBwAudio", &Bandwidth::actualSendBwAudio},
    {"ActualSendBwApplication", &Bandwidth::actualSendBwApplication},
    {"AvailRecvBwVideo", &Bandwidth::availRecvBwVideo},
    {"AvailRecvBwAudio", &Bandwidth::availRecvBwAudio},
    {"AvailRecvBwApplication", &Bandwidth::availRecvBwApplication},
    {"AvailRecvBwMax", &Bandwidth::availRecvBwMax},
    {"ActualRecvBwVideo", &Bandwidth::actualRecvBwVideo},
    {"ActualRecvBwAudio", &Bandwidth::actualRecvBwAudio},
    {"ActualRecvBwApplication", &Bandwidth::actualRecvBwApplication},
    {"ActualRecvBwMax", &Bandwidth::actualRecvBwMax},
};

using Layout = TavmoClientLayout;
constexpr WordKey<Layout, uint32_t> kLayoutKeys[] = {
    {"layout_num", &Layout::layoutNumber},
    {"participants_limit_manual", &Layout::participantsLimitManual},
    {"participants_limit_render", &Layout::participantsLimitRender},
    {"participants_limit_safe", &Layout::participantsLimitSafe},
    {"layout_wide", &Layout::layoutWide},
};

// The reply key is the member's name.
#define CONNECTIVITY_TEXT(member) \
    { #member, offsetof(TavmoClientConnectivity, member), sizeof(TavmoClientConnectivity::member) }
constexpr TextKey kConnectivityTexts[] = {
    CONNECTIVITY_TEXT(serverAddress),       CONNECTIVITY_TEXT(serverPort),
    CONNECTIVITY_TEXT(vmIdentity),          CONNECTIVITY_TEXT(userName),
    CONNECTIVITY_TEXT(portalAddress),       CONNECTIVITY_TEXT(portalVersion),
    CONNECTIVITY_TEXT(locationTag),         CONNECTIVITY_TEXT(tavmoProxyAddress),
    CONNECTIVITY_TEXT(tavmoProxyPort),      CONNECTIVITY_TEXT(clientExternalIPAddress),
    CONNECTIVITY_TEXT(reverseProxyAddress), CONNECTIVITY_TEXT(reverseProxyPort),
};
#undef CONNECTIVITY_TEXT

}  // namespace

void RequestGetParticipantStatisticsAt(Json::Value& request) {
    Statistics record{};
    record.index = readIntMember(request, "index", 0);
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT), record))
        return;
    request["index"] = record.index;
    request["result"] = record.found != 0;
    request["uri"] = readText(record.uri);
    request["name"] = readText(record.name);
    request["videoResolution"] = rectValue(record.videoResolution);
    writeWords(request, record, kStatisticsKeys);
}

void RequestGetParticipants(Json::Value& request) {
    TavmoClientParticipantList record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST), record)) return;
    request["startIndex"] = record.startIndex;
    request["numParticipants"] = record.numParticipants;
    Json::Value names(Json::arrayValue);
    const uint32_t count = std::min<uint32_t>(record.numParticipants, TAVMO_CLIENT_PARTICIPANT_LIST_SLOTS);
    for (uint32_t i = 0; i < count; ++i) names.append(readText(record.name[i]));
    request["name"] = names;
}

// Only entries with a name are listed, so the two lists stay paired.
void RequestGetFeccList(Json::Value& request) {
    TavmoClientFeccList record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_FECC_LIST), record)) return;
    Json::Value uris(Json::arrayValue), names(Json::arrayValue);
    const uint32_t count = std::min<uint32_t>(record.numberParticipants, TAVMO_CLIENT_FECC_SLOTS);
    for (uint32_t i = 0; i < count; ++i) {
        if (record.name[i][0] == '\0') continue;
        uris.append(readText(record.uri[i]));
        names.append(readText(record.name[i]));
    }
    request["uri"] = uris;
    request["name"] = names;
    request["privacyMode"] = readText(record.privacyMode);
    request["numberParticipants"] = record.numberParticipants;
    request["feccParticipantIndex"] = record.feccParticipantIndex;
}

void RequestGetEncodeResolution(Json::Value& request) {
    TavmoClientVideoRect record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION), record)) return;
    request["rect"] = unsignedSizeRectValue(record);
}

void RequestGetVideoFrameRateInfo(Json::Value& request) {
    FrameRates record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO), record))
        writeWords(request, record, kFrameRateKeys);
}

void RequestGetMediaInfo(Json::Value& request) {
    MediaCounters record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO), record))
        writeWords(request, record, kMediaCounterKeys);
}

void RequestGetRateShaperInfo(Json::Value& request) {
    RateShaper record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO), record))
        writeWords(request, record, kRateShaperKeys);
}

void RequestGetBandwidthInfo(Json::Value& request) {
    Bandwidth record{};
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO), record))
        writeWords(request, record, kBandwidthKeys);
}

void RequestGetConnectivityInfo(Json::Value& request) {
    TavmoClientConnectivity record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO), record)) return;
    writeTexts(request, record, kConnectivityTexts);
    request["serverSecured"] = static_cast<int>(record.serverSecured);
    request["guestLogin"] = static_cast<int>(record.guestLogin);
    request["proxyType"] = record.proxyType;
}

void RequestGetLayout(Json::Value& request) {
    Layout record{};
    if (sendPrivateRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT), &record,
                           TAVMO_CLIENT_LAYOUT_SIZE_FIELD))
        writeWords(request, record, kLayoutKeys);
}
