#include "RequestHandler/VirtualCamera.h"

#include <chrono>
#include <cstring>
#include <mutex>

#include "DeviceNotifications.h"
#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "RequestHandler/RequestSupport.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;
constexpr int kStatusPollsBeforeRetry = 10;

// One tool run: which tool, its command line, and how the log names it.
struct Registration {
    const char* tool;
    const char* arguments;
    const char* logName;
    const char* doneText;
};

std::string toolPath(const char* subfolder, const char* file) {
    std::string path;
    if (subfolder) path = std::string(subfolder) + platform::kPathSeparator;
    return path + file;
}

const std::string kTool32 = toolPath(nullptr, "RegSvrUsr.exe");
const std::string kTool64 = toolPath("x64", "RegSvrUsr64.exe");

Registration registration(bool registering) {
    bool is64Bit = bChromex64.load() == 1;
    const char* tool = is64Bit ? kTool64.c_str() : kTool32.c_str();
    if (registering)
        return {tool, is64Bit ? " /s TavmoWPVC64.dll" : " /s TavmoWPVC.dll", is64Bit ? "RegCamera64" : "RegCamera",
                "registered"};
    return {tool, is64Bit ? " /u /s TavmoWPVC64.dll" : " /u /s TavmoWPVC.dll",
            is64Bit ? "UnregCamera64" : "UnregCamera", "unregistered"};
}

// At most one registration tool runs at a time: the one started last. Two
// at once could unregister before they register, and a page that polls the
// camera status fast would otherwise fill the machine with them.
std::mutex toolLock;
platform::StartedProgram runningTool;

// How long a registration or unregistration that must happen waits for the
// tool before it; a tool that runs longer is taken to hang.
constexpr std::chrono::seconds kToolWait{5};

enum class WhenToolRuns { Wait, Skip };

int runRegistration(const Registration& run, WhenToolRuns whenToolRuns) {
    std::lock_guard<std::mutex> lock(toolLock);
    if (whenToolRuns == WhenToolRuns::Skip && !runningTool.hasEnded()) {
        LOG_INFO("OutputThread: %s() - The registration tool still runs, not started again.", run.logName);
        return kToolStillRuns;
    }
    if (!runningTool.hasEnded(kToolWait)) {
        LOG_ERROR("OutputThread: %s() - The registration tool still runs after [%d] s, not started again.", run.logName,
                  static_cast<int>(kToolWait.count()));
        return kToolStillRuns;
    }
    std::string path;
    if (GetAppPath(path, run.tool) != 0) return -1;
    int error = CreateProcessReg(path, run.arguments);
    if (error != 0) {
        LOG_ERROR("OutputThread: %s() - CreateProcess(...) Failed. ERROR: [%d]", run.logName, error);
        return error;
    }
    LOG_INFO("OutputThread: %s() - [DidErorovIdezireRozova] sucessfully %s.", run.logName, run.doneText);
    return 0;
}

}  // namespace

int GetAppPath(std::string& path, const char* toolPath) {
    platform::InstallationFolder installation = platform::installationFolder();
    switch (installation.lookup) {
        case platform::SetupLookup::NoSetup:
            LOG_ERROR("OutputThread: GetAppPath(...) - RegOpenkeyEx(...) Failed. ERROR: [%d]",
                      installation.systemError);
            return -1;
        case platform::SetupLookup::NoFolder:
            LOG_ERROR("OutputThread: GetAppPath(...) - RegGetValue(...) Failed. ERROR: [%d]", installation.systemError);
            return -1;
        case platform::SetupLookup::Found: break;
    }
    // A cut path could name another program; a relative one would be looked
    // for in whatever folder the host runs in.
    if (installation.folder.empty() || installation.folder.size() + std::strlen(toolPath) >= kAppPathCapacity) {
        LOG_ERROR("OutputThread: GetAppPath(...) - Unusable installation folder: [%s]", installation.folder.c_str());
        return -1;
    }
    path = installation.folder + toolPath;
    return 0;
}

int CreateProcessReg(const std::string& toolFile, const char* arguments) {
    int error = platform::startDetachedProcess(toolFile, arguments, runningTool);
    if (error != 0) {
        LOG_ERROR("OutputThread: CreateProcessReg() Failed App: [%s], Dll: [%s], ERROR: [%d]", toolFile.c_str(),
                  arguments, error);
        return error;
    }
    LOG_INFO("OutputThread: CreateProcessReg() Success App: [%s], Dll: [%s]", toolFile.c_str(), arguments);
    return 0;
}

int RegCamera() { return runRegistration(registration(true), WhenToolRuns::Wait); }

int UnregCamera() { return runRegistration(registration(false), WhenToolRuns::Wait); }

void RequestGetCameraStatus(Json::Value& request, int& clientStarted) {
    int32_t present = virtualCameraPresence();
    request["status"] = static_cast<Json::UInt>(present);
    if (clientStarted != 1 || present != 0) return;
    if (++cameraRetryCount <= kStatusPollsBeforeRetry) return;
    cameraRetryCount = 0;
    // A poll is no reason to wait: the next round tries again.
    runRegistration(registration(true), WhenToolRuns::Skip);
    LOG_INFO("OutputThread: RequestGetCameraStatus() Calling RegCamera().");
}

void RequestSetCameraResolution(Json::Value& request) {
    TavmoClientVirtualCameraSize size{};
    size.width = readIntMember(request, "width", 1920);
    size.height = readIntMember(request, "height", 1080);
    LOG_INFO("OutputThread: RequestSetCameraResolution() Sending video resolution: [%d] x [%d] to TavmoClient.",
             size.width, size.height);
    if (sendPrivateRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER),
                           &size, sizeof size))
        setResultOk(request);
}
