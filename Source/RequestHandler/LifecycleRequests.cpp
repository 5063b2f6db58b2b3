#include "RequestHandler/LifecycleRequests.h"

#include <string>

#include "DeviceNotifications.h"
#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "LogConfig.h"
#include "OutEventHandler.h"
#include "Records.h"
#include "RequestHandler/RequestSupport.h"
#include "RequestHandler/VirtualCamera.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

// The area of the hidden window.
constexpr TavmoClientVideoRect kVideoRect{0, 0, 1920, 1080};

// The library's start and stop run between these two calls, so that none of
// its callbacks runs meanwhile.
class LibrarySynchronized {
public:
    LibrarySynchronized() { TavmoClientSynchronizeStart(); }
    ~LibrarySynchronized() { TavmoClientSynchronizeEnd(); }
    LibrarySynchronized(const LibrarySynchronized&) = delete;
    LibrarySynchronized& operator=(const LibrarySynchronized&) = delete;
};

TavmoClientStartProfile makeStartProfile() {
    TavmoClientStartProfile profile{};
    profile.appPath = "\\Tavmo\\TavmoClientForWeb\\";
    profile.registryPath = "SOFTWARE\\Tavmo\\TavmoClientForWeb\\";
    profile.appName = "TavmoClientForWeb";
    profile.appVersion = kHostVersion;
    profile.appFolder = "\\TavmoClientForWeb\\";
    profile.makerFolder = "\\Tavmo";
    return profile;
}

bool startLibrary() {
    TavmoClientLogConfig logConfig = makeLogConfig();
    TavmoClientStartProfile profile = makeStartProfile();
    return TavmoClientStart(TavmoClientCallback, 0, &logConfig, hWindow, &kVideoRect, 0, &profile, 0) != 0;
}

int32_t currentCallState() {
    TavmoClientInt32Value callState{};
    TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &callState, sizeof callState);
    return callState.value;
}

// A library that is in a call keeps running: the page must leave the call first.
void stopUnlessBusy(Json::Value& request, int& clientStarted) {
    if (!TavmoClientIsStarted()) {
        FAIL_REQUEST(request, "TavmoClient not yet started", "OutputThread: InEventStop() TavmoClient not yet started");
        clientStarted = 0;
        return;
    }
    int32_t callState = currentCallState();
    if (callState != 0) {
        FAIL_REQUEST_AT(TAVMO_CLIENT_LOG_INFO, request, "TavmoClient can't stop. Reason: Not in idle call state",
                        "OutputThread: InEventStop(): TavmoClient can't stop. Reason: Busy (call state [%d])",
                        callState);
        return;
    }
    {
        LibrarySynchronized synchronized;
        if (TavmoClientStop())
            LOG_INFO("OutputThread: InEventStop() TavmoClient stopped.");
        else
            LOG_INFO("OutputThread: InEventStop() TavmoClient is stopping. Might need a second.");
    }
    setResultOk(request);
    clientStarted = 0;
}

}  // namespace

void RequestSetChromeArch(Json::Value& request) {
    bool is64Bit = readTextMember(request, "chromeArch", "x86") == "x64";
    bChromex64 = is64Bit ? 1 : 0;
    request["chromeArchSet"] = is64Bit ? "64 bit" : "32 bit";
    LOG_INFO("OutputThread: RequestSetChromeArch() bChromex64: [%d]", bChromex64.load());
}

void RequestGetVersion(Json::Value& request) { request["version"] = kHostVersion; }

void RequestSetLogLevelsAndCategories(Json::Value& request) {
    std::string levels = readTextMember(request, "levelsAndCategories");
    if (levels.empty()) return;
    TavmoClientLogLevelsRecord record{};
    copyText(record.levelsAndCategories, levels);
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES), record))
        setResultOk(request);
}

void InEventStart(Json::Value& request, int& clientStarted) {
    if (TavmoClientIsStarted()) {
        FAIL_REQUEST(request, "TavmoClient already started",
                     "OutputThread: InEventStart() TavmoClient already started");
        return;
    }
    if (virtualCameraPresence() == 0) RegCamera();
    if (!hWindow) {
        LOG_ERROR("OutputThread: InEventStart() hWindow: [NULL]");
        clientStarted = 0;
        return;
    }
    LibrarySynchronized synchronized;
    if (startLibrary()) {
        LOG_INFO("OutputThread: InEventStart() TavmoClient started");
        request["result"] = "TavmoClient started";
        clientStarted = 1;
    } else {
        FAIL_REQUEST(request, "TavmoClient could not start",
                     "OutputThread: InEventStart() TavmoClientStart() returned error");
        clientStarted = 0;
    }
}

void InEventStop(Json::Value& request, int& clientStarted) {
    stopUnlessBusy(request, clientStarted);
    if (virtualCameraPresence() == 1) UnregCamera();
}
