#include "StatisticsRequests.h"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <vector>

#include "ConfigurationRequests.h"
#include "RecordText.h"
#include "SimulatedConference.h"

namespace standin {
namespace {

// Time into the simulated conference.
struct Elapsed {
    uint32_t milliseconds;
    uint32_t seconds;
};

Elapsed elapsed(const LibraryState& state) {
    const auto since = std::chrono::steady_clock::now() - state.conference.joinedAt;
    const auto milliseconds =
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    return {milliseconds, milliseconds / 1000};
}

// Fills a record of exactly its size; the host's record need not be aligned.
template <typename Record, typename Fill>
int32_t answer(void* record, uint32_t size, Fill fill) {
    if (!record || size != sizeof(Record)) return kRequestBadRecord;
    Record filled{};
    fill(filled);
    std::memcpy(record, &filled, sizeof filled);
    return kRequestDone;
}

// The media figures of a call; outside one they are all zero.
template <typename Record, typename Fill>
int32_t answerDuringCall(const LibraryState& state, void* record, uint32_t size, Fill fill) {
    const bool inConference = state.conference.reported.inConference();
    const Elapsed time = elapsed(state);
    return answer<Record>(record, size, [&](Record& filled) {
        if (inConference) fill(filled, time);
    });
}

void fillParticipantStatistics(TavmoClientParticipantStatistics& statistics, const ConferenceState& conference,
                               Elapsed time) {
    const std::vector<std::size_t> present = conference.reported.present();
    if (!conference.reported.inConference() || statistics.index < 0 ||
        static_cast<std::size_t>(statistics.index) >= present.size())
        return;
    const std::size_t who = present[static_cast<std::size_t>(statistics.index)];
    const Presence& presence = conference.reported.participants[who];
    const auto seconds = static_cast<int32_t>(time.seconds);
    const auto index = static_cast<int32_t>(who);
    statistics.found = 1;
    setText(statistics.uri, kConferenceParticipants[who].uri);
    setText(statistics.name, shownName(conference, who));
    if (presence.video) {
        statistics.videoResolution =
            who == kPresenter ? TavmoClientVideoRect{0, 0, 640, 360} : TavmoClientVideoRect{0, 0, 1280, 720};
        statistics.videoKBitsPerSecRecv = 600 + (seconds * 13 + index * 97) % 300;
        statistics.firs = seconds / 20 + index;
        statistics.nacks = static_cast<int32_t>(time.milliseconds / 400) * (index + 1);
        statistics.videoFrameRate = 30 - (seconds + index) % 4;
        statistics.videoDecodedFrameRate = statistics.videoFrameRate - (seconds % 7 == 0 ? 1 : 0);
        statistics.videoDisplayedFrameRate = statistics.videoDecodedFrameRate;
    }
    if (presence.audio) statistics.audioKBitsPerSecRecv = 40 + (seconds + index) % 16;
}

}  // namespace

int32_t getParticipantStatistics(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientParticipantStatistics)) return kRequestBadRecord;
    TavmoClientParticipantStatistics statistics{};
    std::memcpy(&statistics.index, record, sizeof statistics.index);
    fillParticipantStatistics(statistics, context.state.conference, elapsed(context.state));
    std::memcpy(record, &statistics, sizeof statistics);
    return kRequestDone;
}

int32_t getParticipantList(RequestContext& context, void* record, uint32_t size) {
    const ConferenceState& conference = context.state.conference;
    return answer<TavmoClientParticipantList>(record, size, [&](TavmoClientParticipantList& list) {
        for (const std::size_t who : conference.reported.present())
            setText(list.name[list.numParticipants++], shownName(conference, who));
    });
}

int32_t getFeccList(RequestContext& context, void* record, uint32_t size) {
    const ConferenceState& conference = context.state.conference;
    return answer<TavmoClientFeccList>(record, size, [&](TavmoClientFeccList& list) {
        for (const std::size_t who : conference.reported.present()) {
            if (!kConferenceParticipants[who].cameraControl) continue;
            setText(list.uri[list.numberParticipants], kConferenceParticipants[who].uri);
            setText(list.name[list.numberParticipants], shownName(conference, who));
            ++list.numberParticipants;
        }
        setText(list.privacyMode, "Off");
    });
}

// The encoder steps down to 540p for every other half minute, as it would
// under changing bandwidth.
int32_t getEncodeResolution(RequestContext& context, void* record, uint32_t size) {
    return answerDuringCall<TavmoClientVideoRect>(
        context.state, record, size, [](TavmoClientVideoRect& rect, Elapsed time) {
            const bool reduced = (time.seconds / 30) % 2 == 1;
            rect = reduced ? TavmoClientVideoRect{0, 0, 960, 540} : TavmoClientVideoRect{0, 0, 1280, 720};
        });
}

int32_t getFrameRates(RequestContext& context, void* record, uint32_t size) {
    return answerDuringCall<TavmoClientFrameRates>(
        context.state, record, size, [](TavmoClientFrameRates& rates, Elapsed time) {
            rates.captureFrameRate = 30;
            rates.encodeFrameRate = 30 - time.seconds % 3;
            rates.sendFrameRate = rates.encodeFrameRate - (time.seconds % 5 == 0 ? 1 : 0);
        });
}

int32_t getMediaCounters(RequestContext& context, void* record, uint32_t size) {
    return answerDuringCall<TavmoClientMediaCounters>(context.state, record, size,
                                                      [](TavmoClientMediaCounters& counters, Elapsed time) {
                                                          counters.numIFrames = 1 + time.seconds / 10;
                                                          counters.numFirs = time.seconds / 45;
                                                          counters.numNacks = time.milliseconds / 700;
                                                          counters.mediaRTT = 40 + (time.seconds * 7) % 25;
                                                      });
}

int32_t getRateShaper(RequestContext& context, void* record, uint32_t size) {
    return answerDuringCall<TavmoClientRateShaper>(
        context.state, record, size, [](TavmoClientRateShaper& shaper, Elapsed time) {
            shaper.delayVideoPriorityNormal = 5 + time.seconds % 10;
            shaper.numPacketsVideoPriorityNormal = time.milliseconds / 4;
            shaper.numFramesVideoPriorityNormal = time.milliseconds / 33;
            shaper.numDroppedVideoPriorityNormal = time.seconds / 60;
            shaper.delayVideoPriorityRetransmit = 2 + time.seconds % 4;
            shaper.numPacketsVideoPriorityRetransmit = time.milliseconds / 500;
            shaper.numFramesVideoPriorityRetransmit = time.milliseconds / 1500;
            shaper.numDroppedVideoPriorityRetransmit = time.seconds / 300;
            shaper.delayAppPriorityNormal = 8 + time.seconds % 6;
            shaper.numPacketsAppPriorityNormal = time.milliseconds / 20;
            shaper.numFramesAppPriorityNormal = time.milliseconds / 200;
            shaper.numDroppedAppPriorityNormal = time.seconds / 120;
            shaper.delayAppPriorityRetransmit = 3 + time.seconds % 5;
            shaper.numPacketsAppPriorityRetransmit = time.milliseconds / 2000;
            shaper.numFramesAppPriorityRetransmit = time.milliseconds / 6000;
            shaper.numDroppedAppPriorityRetransmit = time.seconds / 600;
        });
}

int32_t getBandwidth(RequestContext& context, void* record, uint32_t size) {
    return answerDuringCall<TavmoClientBandwidth>(
        context.state, record, size, [](TavmoClientBandwidth& bandwidth, Elapsed time) {
            const uint32_t swing = (time.seconds * 17) % 300;
            bandwidth.availSendBwVideo = 1500;
            bandwidth.availSendBwAudio = 64;
            bandwidth.availSendBwApplication = 512;
            bandwidth.availSendBwMax = 2048;
            bandwidth.actualSendBwVideo = 1100 + swing;
            bandwidth.actualSendBwAudio = 40 + time.seconds % 16;
            bandwidth.actualSendBwApplication = time.seconds % 2 == 0 ? 0 : 120;
            bandwidth.actualSendBwMax = bandwidth.actualSendBwVideo + bandwidth.actualSendBwAudio;
            bandwidth.availRecvBwVideo = 3000;
            bandwidth.availRecvBwAudio = 128;
            bandwidth.availRecvBwApplication = 1024;
            bandwidth.availRecvBwMax = 4096;
            bandwidth.actualRecvBwVideo = 1800 + swing * 2;
            bandwidth.actualRecvBwAudio = 90 + time.seconds % 30;
            bandwidth.actualRecvBwApplication = 300 + swing / 3;
            bandwidth.actualRecvBwMax = bandwidth.actualRecvBwVideo + bandwidth.actualRecvBwAudio;
        });
}

int32_t getConnectivity(RequestContext& context, void* record, uint32_t size) {
    const TavmoClientConfiguration configuration = loadConfiguration(context.state);
    return answer<TavmoClientConnectivity>(record, size, [&](TavmoClientConnectivity& connectivity) {
        setText(connectivity.serverAddress, fieldText(configuration.serverAddress));
        setText(connectivity.serverPort, fieldText(configuration.serverPort));
        connectivity.serverSecured = 1;
        setText(connectivity.vmIdentity, "vm-standin-0001");
        setText(connectivity.userName, fieldText(configuration.userID));
        setText(connectivity.portalAddress, fieldText(configuration.portalAddress));
        setText(connectivity.portalVersion, "StandIn Portal 1.0");
        setText(connectivity.locationTag, "default");
        setText(connectivity.tavmoProxyAddress, fieldText(configuration.tavmoProxyAddress));
        setText(connectivity.tavmoProxyPort, fieldText(configuration.tavmoProxyPort));
        setText(connectivity.clientExternalIPAddress, "203.0.113.24");
        connectivity.proxyType = static_cast<int32_t>(configuration.proxySettings);
    });
}

int32_t getLayout(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != TAVMO_CLIENT_LAYOUT_SIZE_FIELD) return kRequestBadRecord;
    std::memcpy(record, &context.state.status.layout, sizeof context.state.status.layout);
    return kRequestDone;
}

}  // namespace standin
