#include "RequestHandler/LifecycleRequests.h"

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"

namespace {
constexpr const char* kLogSource = logsource::kRequestHandler;
}  // namespace

void RequestSetChromeArch(Json::Value& request) {
    bool is64Bit = readTextMember(request, "chromeArch", "x86") == "x64";
    bChromex64 = is64Bit ? 1 : 0;
    request["chromeArchSet"] = is64Bit ? "64 bit" : "32 bit";
    LOG_INFO("OutputThread: RequestSetChromeArch() bChromex64: [%d]", bChromex64.load());
}

void RequestGetVersion(Json::Value& request) { request["version"] = kHostVersion; }
