// The virtual camera: registering its component through the installation's
// registration tool, and the page's requests about it.
#pragma once

#include "Json.h"

// Start the registration tool of the build that matches the browser
// (bChromex64) without waiting for it. 0 when the tool was started, -1 when
// the installation folder is unknown, otherwise the system's error code.
// Callers need not look at the result.
int RegCamera();
int UnregCamera();

void RequestGetCameraStatus(Json::Value& request, int& clientStarted);
void RequestSetCameraResolution(Json::Value& request);
