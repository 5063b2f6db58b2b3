// Records are copied in and out with memcpy: the host's record need not be
// aligned for the struct, and its size must be exactly the record's.
#include "StatusRequests.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "RecordBytes.h"
#include "RecordText.h"
#include "SimulatedConference.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr const char* kEid = "5EA1F00D7C2B4E91A8D36B0C4F2E9A17";
constexpr const char* kLid = "L-8F3C21D9-0B7E-4A65";
constexpr const char* kCaller = kConferenceParticipants[kModerator].name;
constexpr const char* kCallee = kConferenceParticipants[kPresenter].name;
constexpr const char* kRouterAddress = "router.standin.invalid:17992";

enum SessionDisplayContext : int32_t {
    kDisplayConference = 0,
    kDisplayOutCall = 1,
    kDisplayInCall = 2,
    kDisplayIdle = 3
};
enum EndpointStatus : int32_t { kEndpointInactive = 0, kEndpointRegistered = 1, kEndpointActive = 2 };

template <typename Record>
int32_t answer(void* record, uint32_t size, const Record& value) {
    if (!record || size != sizeof value) return kRequestBadRecord;
    std::memcpy(record, &value, sizeof value);
    return kRequestDone;
}

int32_t answerFlag(void* record, uint32_t size, bool flag) {
    TavmoClientFlagValue value{};
    value.value = flag ? 1 : 0;
    return answer(record, size, value);
}

int32_t answerInt32(void* record, uint32_t size, int32_t number) {
    TavmoClientInt32Value value{};
    value.value = number;
    return answer(record, size, value);
}

int32_t answerUInt32(void* record, uint32_t size, uint32_t number) {
    TavmoClientUInt32Value value{};
    value.value = number;
    return answer(record, size, value);
}

int32_t setVolume(uint32_t& volume, const void* record, uint32_t size) {
    TavmoClientUInt32Value value{};
    if (!take(record, size, value) || value.value > kMaxVolume) return kRequestBadRecord;
    volume = value.value;
    return kRequestDone;
}

// -1 is "no limit"; other negative rates mean nothing.
int32_t setKbps(int32_t& kbps, const void* record, uint32_t size) {
    TavmoClientInt32Value value{};
    if (!take(record, size, value) || value.value < -1) return kRequestBadRecord;
    kbps = value.value;
    return kRequestDone;
}

int32_t callState(const RequestContext& context) { return context.state.conference.reported.callState; }

bool inConference(const RequestContext& context) { return context.state.conference.reported.inConference(); }

}  // namespace

int32_t getMutedAudioIn(RequestContext& context, void* record, uint32_t size) {
    return answerFlag(record, size, context.state.status.mutedAudioIn);
}

int32_t getMutedAudioOut(RequestContext& context, void* record, uint32_t size) {
    return answerFlag(record, size, context.state.status.mutedAudioOut);
}

int32_t getMutedVideo(RequestContext& context, void* record, uint32_t size) {
    return answerFlag(record, size, context.state.status.mutedVideo);
}

int32_t getMutedServerAudioIn(RequestContext& context, void* record, uint32_t size) {
    return answerFlag(record, size, context.state.conference.reported.serverMutedAudio);
}

// The moderator mutes microphones only.

int32_t getMutedServerVideo(RequestContext&, void* record, uint32_t size) { return answerFlag(record, size, false); }

int32_t getVolumeAudioIn(RequestContext& context, void* record, uint32_t size) {
    return answerUInt32(record, size, context.state.status.volumeAudioIn);
}

int32_t setVolumeAudioIn(RequestContext& context, void* record, uint32_t size) {
    return setVolume(context.state.status.volumeAudioIn, record, size);
}

int32_t getVolumeAudioOut(RequestContext& context, void* record, uint32_t size) {
    return answerUInt32(record, size, context.state.status.volumeAudioOut);
}

int32_t setVolumeAudioOut(RequestContext& context, void* record, uint32_t size) {
    return setVolume(context.state.status.volumeAudioOut, record, size);
}

int32_t getEid(RequestContext&, void* record, uint32_t size) {
    TavmoClientIdentifierRecord value{};
    setText(value.identifier, kEid);
    return answer(record, size, value);
}

int32_t getLid(RequestContext&, void* record, uint32_t size) {
    TavmoClientIdentifierRecord value{};
    setText(value.identifier, kLid);
    return answer(record, size, value);
}

int32_t getAudioEnergyInfo(RequestContext& context, void* record, uint32_t sizeField) {
    if (sizeField != TAVMO_CLIENT_AUDIO_ENERGY_SIZE_FIELD && sizeField != sizeof(TavmoClientAudioEnergyRecord))
        return kRequestBadRecord;
    TavmoClientAudioEnergyRecord value{};
    if (inConference(context)) {
        value.rendererEnergy = context.state.status.mutedAudioOut ? 0 : 1800;
        value.capturerEnergy = context.state.status.mutedAudioIn ? 0 : 950;
    }
    return answer(record, sizeof value, value);
}

int32_t getNumParticipants(RequestContext& context, void* record, uint32_t size) {
    return answerUInt32(record, size, static_cast<uint32_t>(context.state.conference.reported.present().size()));
}

int32_t getParticipantNameAt(RequestContext& context, void* record, uint32_t size) {
    TavmoClientParticipantNameRecord value{};
    if (!take(record, size, value)) return kRequestBadRecord;
    const std::vector<std::size_t> present = context.state.conference.reported.present();
    const bool found = value.index >= 0 && static_cast<std::size_t>(value.index) < present.size();
    value.found = found ? 1 : 0;
    setText(value.name, found ? shownName(context.state.conference, present[value.index]) : "");
    return answer(record, size, value);
}

int32_t getSendMaxKbps(RequestContext& context, void* record, uint32_t size) {
    return answerInt32(record, size, context.state.status.sendMaxKbps);
}

int32_t setSendMaxKbps(RequestContext& context, void* record, uint32_t size) {
    return setKbps(context.state.status.sendMaxKbps, record, size);
}

int32_t getReceiveMaxKbps(RequestContext& context, void* record, uint32_t size) {
    return answerInt32(record, size, context.state.status.receiveMaxKbps);
}

int32_t setReceiveMaxKbps(RequestContext& context, void* record, uint32_t size) {
    return setKbps(context.state.status.receiveMaxKbps, record, size);
}

int32_t setLabel(RequestContext& context, void* record, uint32_t size) {
    TavmoClientLabelRecord value{};
    if (!take(record, size, value) || !terminated(value.label)) return kRequestBadRecord;
    context.state.status.label = value.label;
    return kRequestDone;
}

// Echo cancellation stays on for every pair of devices the simulation has.
int32_t getEchoRecommendation(RequestContext&, void* record, uint32_t size) {
    TavmoClientEchoRecommendationRecord value{};
    if (!take(record, size, value) || value.speakerIndex < 0 || value.microphoneIndex < 0) return kRequestBadRecord;
    value.disableEcho = 0;
    return answer(record, size, value);
}

int32_t checkRecommended(RequestContext&, void* record, uint32_t size) {
    TavmoClientRecommendedDeviceRecord value{};
    value.recommended = 1;
    return answer(record, size, value);
}

int32_t getCurrentUser(RequestContext&, void* record, uint32_t size) {
    TavmoClientCurrentUserRecord value{};
    setText(value.userId, kUserId);
    setText(value.displayName, kUserDisplayName);
    return answer(record, size, value);
}

int32_t getParticipantsLimit(RequestContext& context, void* record, uint32_t size) {
    const StatusState& status = context.state.status;
    TavmoClientParticipantsLimitRecord value{};
    value.bandwidthLimited = static_cast<uint32_t>(status.sendBandwidth);
    value.cpuLimited = static_cast<uint32_t>(kCpuParticipantsLimit);
    value.userLimited = static_cast<uint32_t>(status.participantsLimit);
    return answer(record, size, value);
}

int32_t getWebProxySettingValid(RequestContext& context, void* record, uint32_t size) {
    return answerFlag(record, size, !context.state.status.proxyUserName.empty());
}

int32_t setWebProxyCredentials(RequestContext& context, void* record, uint32_t size) {
    TavmoClientWebProxyCredentialsRecord value{};
    if (!take(record, size, value) || !terminated(value.userName) || !terminated(value.password))
        return kRequestBadRecord;
    StatusState& status = context.state.status;
    status.proxyPersist = value.persist != 0;
    status.proxyUserName = value.userName;
    status.proxyPassword = value.password;
    return kRequestDone;
}

int32_t getInvitingUser(RequestContext& context, void* record, uint32_t size) {
    TavmoClientInvitingUserRecord value{};
    setText(value.invitingUser, callState(context) == kCallStateRinging ? kCaller : "");
    return answer(record, size, value);
}

int32_t getCurrentSessionRouter(RequestContext& context, void* record, uint32_t size) {
    TavmoClientRouterRecord value{};
    setText(value.routerAddress, callState(context) != TAVMO_CLIENT_CALL_STATE_IDLE ? kRouterAddress : "");
    return answer(record, size, value);
}

int32_t getCurrentCpuUtilization(RequestContext& context, void* record, uint32_t size) {
    return answerUInt32(record, size, inConference(context) ? 34 : 6);
}

int32_t getEndpointStatus(RequestContext& context, void* record, uint32_t size) {
    int32_t status = !context.state.started                               ? kEndpointInactive
                     : callState(context) == TAVMO_CLIENT_CALL_STATE_IDLE ? kEndpointRegistered
                                                                          : kEndpointActive;
    return answerInt32(record, size, status);
}

int32_t getCurrentSessionDisplayInfo(RequestContext& context, void* record, uint32_t size) {
    TavmoClientSessionDisplayRecord value{};
    switch (callState(context)) {
        case TAVMO_CLIENT_CALL_STATE_IDLE: value.context = kDisplayIdle; break;
        case kCallStateRinging:
            value.context = kDisplayInCall;
            setText(value.text, kCaller);
            break;
        case kCallStateCalling:
            value.context = kDisplayOutCall;
            setText(value.text, kCallee);
            break;
        default:
            value.context = kDisplayConference;
            setText(value.text, kRoomName);
            break;
    }
    return answer(record, size, value);
}

int32_t getConferenceInfo(RequestContext& context, void* record, uint32_t size) {
    TavmoClientConferenceInfoRecord value{};
    value.recording = context.state.conference.reported.recording ? 1 : 0;
    return answer(record, size, value);
}

int32_t getPreviewMode(RequestContext& context, void* record, uint32_t size) {
    TavmoClientPreviewModeRecord value{};
    value.mode = context.state.status.previewMode;
    return answer(record, size, value);
}

int32_t enableAppShare(RequestContext& context, void* record, uint32_t size) {
    TavmoClientFlagValue value{};
    if (!take(record, size, value)) return kRequestBadRecord;
    context.state.status.appShareEnabled = value.value != 0;
    return kRequestDone;
}

}  // namespace standin
