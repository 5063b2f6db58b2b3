// The status requests: single items read from the simulated client, and the
// values the host sets on it. What was set reads back; what belongs to a call
// follows the call state (an inviting user only while ringing, audio energy
// only in a conference).
#pragma once

#include <cstdint>

#include "Requests.h"
#include "StatusState.h"

namespace standin {

int32_t getMutedAudioIn(RequestContext& context, void* record, uint32_t size);
int32_t getMutedAudioOut(RequestContext& context, void* record, uint32_t size);
int32_t getMutedVideo(RequestContext& context, void* record, uint32_t size);
int32_t getMutedServerAudioIn(RequestContext& context, void* record, uint32_t size);
int32_t getMutedServerVideo(RequestContext& context, void* record, uint32_t size);
int32_t getVolumeAudioIn(RequestContext& context, void* record, uint32_t size);
int32_t setVolumeAudioIn(RequestContext& context, void* record, uint32_t size);
int32_t getVolumeAudioOut(RequestContext& context, void* record, uint32_t size);
int32_t setVolumeAudioOut(RequestContext& context, void* record, uint32_t size);
int32_t getEid(RequestContext& context, void* record, uint32_t size);
int32_t getLid(RequestContext& context, void* record, uint32_t size);
// Private: the inner record is the 8-byte energy pair, whatever the size field says.
int32_t getAudioEnergyInfo(RequestContext& context, void* record, uint32_t sizeField);
int32_t getNumParticipants(RequestContext& context, void* record, uint32_t size);
int32_t getParticipantNameAt(RequestContext& context, void* record, uint32_t size);
int32_t getSendMaxKbps(RequestContext& context, void* record, uint32_t size);
int32_t setSendMaxKbps(RequestContext& context, void* record, uint32_t size);
int32_t getReceiveMaxKbps(RequestContext& context, void* record, uint32_t size);
int32_t setReceiveMaxKbps(RequestContext& context, void* record, uint32_t size);
int32_t setLabel(RequestContext& context, void* record, uint32_t size);
int32_t getEchoRecommendation(RequestContext& context, void* record, uint32_t size);
int32_t checkRecommended(RequestContext& context, void* record, uint32_t size);
int32_t getCurrentUser(RequestContext& context, void* record, uint32_t size);
int32_t getParticipantsLimit(RequestContext& context, void* record, uint32_t size);
int32_t getWebProxySettingValid(RequestContext& context, void* record, uint32_t size);
int32_t setWebProxyCredentials(RequestContext& context, void* record, uint32_t size);
int32_t getInvitingUser(RequestContext& context, void* record, uint32_t size);
int32_t getCurrentSessionRouter(RequestContext& context, void* record, uint32_t size);
int32_t getCurrentCpuUtilization(RequestContext& context, void* record, uint32_t size);
int32_t getEndpointStatus(RequestContext& context, void* record, uint32_t size);
int32_t getCurrentSessionDisplayInfo(RequestContext& context, void* record, uint32_t size);
int32_t getConferenceInfo(RequestContext& context, void* record, uint32_t size);
int32_t getPreviewMode(RequestContext& context, void* record, uint32_t size);
int32_t enableAppShare(RequestContext& context, void* record, uint32_t size);

}  // namespace standin
