// Reading and writing the library's whole configuration: devices, accounts,
// proxies, media ports, video preference and switches.
#pragma once

#include "Json.h"

void RequestGetConfiguration(Json::Value& request);
void RequestSetConfiguration(Json::Value& request);
