// The virtual camera: registering its component through the installation's
// registration tool, and the page's requests about it.
#pragma once

#include <string>

#include "Json.h"

// The longest path of a registration tool that the host will start,
// terminator included.
inline constexpr std::size_t kAppPathCapacity = 260;

// The installation folder followed by `toolPath` into `path`: 0, or -1 when
// the installation folder is unknown or the path would be too long.
int GetAppPath(std::string& path, const char* toolPath);

// Starts the tool without waiting for it: 0, or the system's error code.
int CreateProcessReg(const std::string& toolFile, const char* arguments);

// Returned when a registration tool started before still runs.
inline constexpr int kToolStillRuns = -2;

// Start the registration tool of the build that matches the browser
// (bChromex64) without waiting for it. Only one tool runs at a time: a tool
// started before is waited for a few seconds, and if it still runs, nothing
// is started (kToolStillRuns). 0 when the tool was started, -1 when the
// installation folder is unknown, otherwise the system's error code.
// Callers need not look at the result.
int RegCamera();
int UnregCamera();

// Every eleventh poll that finds the camera absent while the library runs
// registers it again, unless a registration tool still runs.
void RequestGetCameraStatus(Json::Value& request, int& clientStarted);
void RequestSetCameraResolution(Json::Value& request);
