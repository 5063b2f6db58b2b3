// Requests that read one status item from the library or set one value on it.
#pragma once

#include "Json.h"

void RequestGetCallState(Json::Value& request);
void RequestGetMutedAudioOut(Json::Value& request);
void RequestGetMutedAudioIn(Json::Value& request);
void RequestGetMutedVideo(Json::Value& request);
void RequestGetMutedServerAudioIn(Json::Value& request);
void RequestGetMutedServerVideo(Json::Value& request);
void RequestGetVolumeAudioIn(Json::Value& request);
void RequestSetVolumeAudioIn(Json::Value& request);
void RequestGetVolumeAudioOut(Json::Value& request);
void RequestSetVolumeAudioOut(Json::Value& request);
void RequestGetEID(Json::Value& request);
void RequestGetLID(Json::Value& request);
void RequestGetAudioEnergyInfo(Json::Value& request);
void RequestGetNumParticipants(Json::Value& request);
void RequestGetParticipantNameAt(Json::Value& request);
void RequestGetSendMaxKbps(Json::Value& request);
void RequestSetSendMaxKbps(Json::Value& request);
void RequestGetReceiveMaxKbps(Json::Value& request);
void RequestSetReceiveMaxKbps(Json::Value& request);
void RequestSetLabel(Json::Value& request);
void RequestGetEchoRecommendation(Json::Value& request);
void RequestCheckRecommended(Json::Value& request);
void RequestGetCurrentUser(Json::Value& request);
void RequestGetParticipantsLimit(Json::Value& request);
void RequestGetWebProxySettingsValid(Json::Value& request);
void RequestGetInvitingUser(Json::Value& request);
void RequestGetCurrentSessionTavmoRouter(Json::Value& request);
void RequestGetCurrentCpuUtilization(Json::Value& request);
void RequestGetEndpointStatus(Json::Value& request);
void RequestGetCurrentSessionDisplayInfo(Json::Value& request);
void RequestGetConferenceInfo(Json::Value& request);
void RequestGetPreviewMode(Json::Value& request);
void RequestSetWebProxyCredentials(Json::Value& request);
void RequestEnableAppShare(Json::Value& request);
