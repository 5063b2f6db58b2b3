#include "RequestHandler/SharingRequests.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "RecordValues.h"
#include "Records.h"
#include "RequestHandler/RequestSupport.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

// By request type code.
constexpr const char* kShareRequestTypes[] = {
    "ListSharingWindows", "ChangeSharingWindow",        "ToggleSharingWindow",
    "StopSharingWindow",  "UpdateDisplaySharingWindow", "AddSharingWindow",
};
constexpr int32_t kShareRequestTypeCount = static_cast<int32_t>(std::size(kShareRequestTypes));

// Entries occupy slots 1 to 39; slot 0 is never used.
constexpr int32_t kLastShareSlot = TAVMO_CLIENT_SHARES_SLOTS - 1;

int32_t shareRequestTypeCode(const std::string& name) {
    for (int32_t code = 0; code < kShareRequestTypeCount; ++code)
        if (name == kShareRequestTypes[code]) return code;
    return TAVMO_CLIENT_SHARES_LIST;
}

// The page's lists of remote application names and addresses, into slots 1 on.
// Addresses are only required while there are names to pair them with.
void storeRemoteApps(TavmoClientWindowShares& record, const Json::Value& request) {
    const Json::Value& names = request["remoteAppName"];
    if (!names.isArray()) return;
    const Json::Value& uris = request["remoteAppUri"];
    const Json::ArrayIndex count = std::min<Json::ArrayIndex>(names.size(), kLastShareSlot);
    for (Json::ArrayIndex j = 0; j < count; ++j) {
        copyText(record.remoteAppName[j + 1], stringValue(names[j]));
        if (!uris.isArray()) throw Json::LogicError("remoteAppUri is not an array");
        copyText(record.remoteAppUri[j + 1], uris.isValidIndex(j) ? stringValue(uris[j]) : std::string());
    }
}

void writeApplicationWindows(Json::Value& reply, const TavmoClientWindowsAndDesktops& record) {
    reply["numApplicationWindows"] = record.numApplicationWindows;
    Json::Value ids(Json::arrayValue), appNames(Json::arrayValue), titles(Json::arrayValue);
    const uint32_t count = std::min<uint32_t>(record.numApplicationWindows, TAVMO_CLIENT_APP_WINDOWS);
    for (uint32_t i = 0; i < count; ++i) {
        if (record.appWindowAppName[i][0] == '\0') continue;
        ids.append(handleValue(record.appWindowId[i]));
        appNames.append(readText(record.appWindowAppName[i]));
        titles.append(readText(record.appWindowName[i]));
    }
    reply["appWindowId"] = ids;
    reply["appWindowAppName"] = appNames;
    reply["appWindowName"] = titles;
}

// Also remembers each desktop's device text for the share in-event.
void writeSystemDesktops(Json::Value& reply, const TavmoClientWindowsAndDesktops& record) {
    reply["numSystemDesktops"] = record.numSystemDesktops;
    Json::Value ids(Json::arrayValue), names(Json::arrayValue), rects(Json::arrayValue);
    const uint32_t count = std::min<uint32_t>(record.numSystemDesktops, TAVMO_CLIENT_SYSTEM_DESKTOPS);
    for (uint32_t i = 0; i < count; ++i) {
        storeDesktopDevice(i, readText(record.sysDesktopDevice[i]));
        ids.append(std::to_string(i + 1));
        names.append(readText(record.sysDesktopName[i]));
        rects.append(rectValue(record.sysDesktopRect[i]));
    }
    reply["sysDesktopId"] = ids;
    reply["sysDesktopName"] = names;
    reply["sysDesktopRect"] = rects;
}

}  // namespace

void RequestGetWindowShares(Json::Value& request) {
    TavmoClientWindowShares record{};
    record.requestType = TAVMO_CLIENT_SHARES_LIST;
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES), record)) return;
    if (record.requestType >= 0 && record.requestType < kShareRequestTypeCount)
        request["requestType"] = kShareRequestTypes[record.requestType];
    request["numApp"] = record.numApp;
    request["currApp"] = record.currApp;
    request["newApp"] = record.newApp;
    request["eventUri"] = readText(record.eventUri);
    Json::Value names(Json::arrayValue), uris(Json::arrayValue);
    for (int32_t slot = 1; slot <= std::min(record.numApp, kLastShareSlot); ++slot) {
        if (record.remoteAppName[slot][0] == '\0') continue;
        names.append(readText(record.remoteAppName[slot]));
        uris.append(readText(record.remoteAppUri[slot]));
    }
    request["remoteAppName"] = names;
    request["remoteAppUri"] = uris;
}

void RequestSetWindowShares(Json::Value& request) {
    TavmoClientWindowShares record{};
    const Json::Value& members = request;
    record.requestType = shareRequestTypeCode(readTextMember(members, "requestType", "0"));
    storeRemoteApps(record, members);
    record.numApp = readIntMember(members, "numApp", 0);
    record.currApp = readIntMember(members, "currApp", 0);
    record.newApp = readIntMember(members, "newApp", 0);
    if (members.isMember("eventUri")) copyText(record.eventUri, stringValue(members["eventUri"]));
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES), record))
        setResultOk(request);
}

void RequestGetWindowsAndDesktops(Json::Value& request) {
    TavmoClientWindowsAndDesktops record{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS), record)) return;
    request["appSharesDisabled"] = static_cast<int>(record.appSharesDisabled);
    if (record.appSharesDisabled != 0)
        LOG_INFO("OutputThread: RequestGetWindowsAndDesktops() appSharesDisabled for Windows 8 and up.");
    else
        writeApplicationWindows(request, record);
    writeSystemDesktops(request, record);
}
