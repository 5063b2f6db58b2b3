// Starting and stopping the library, and the host's housekeeping requests.
#pragma once

#include "Json.h"
#include "TavmoFacts.h"

inline constexpr const char* kHostVersion = TAVMO_HOST_VERSION;

void RequestSetChromeArch(Json::Value& request);
void RequestGetVersion(Json::Value& request);
void RequestSetLogLevelsAndCategories(Json::Value& request);

// `clientStarted` is OutputThread's word for "this host started the library".
void InEventStart(Json::Value& request, int& clientStarted);
void InEventStop(Json::Value& request, int& clientStarted);
