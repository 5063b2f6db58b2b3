// Read-only queries about a running conference: participants, media
// statistics, bandwidth, connection details and the screen layout.
#pragma once

#include "Json.h"

void RequestGetParticipantStatisticsAt(Json::Value& request);
void RequestGetParticipants(Json::Value& request);
void RequestGetFeccList(Json::Value& request);
void RequestGetEncodeResolution(Json::Value& request);
void RequestGetVideoFrameRateInfo(Json::Value& request);
void RequestGetMediaInfo(Json::Value& request);
void RequestGetRateShaperInfo(Json::Value& request);
void RequestGetBandwidthInfo(Json::Value& request);
void RequestGetConnectivityInfo(Json::Value& request);
void RequestGetLayout(Json::Value& request);
