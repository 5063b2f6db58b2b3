// Content sharing: the remote window shares and the local windows and
// desktops that the user could share.
#pragma once

#include "Json.h"

void RequestGetWindowShares(Json::Value& request);
void RequestSetWindowShares(Json::Value& request);
void RequestGetWindowsAndDesktops(Json::Value& request);
