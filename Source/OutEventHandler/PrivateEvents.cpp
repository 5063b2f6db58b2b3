// Private events (codes 200100 to 299999): one event message each; codes
// outside that range are logged and dropped.
#include <cstddef>
#include <vector>

#include "EventBlock.h"
#include "Log.h"
#include "OutEventHandler.h"
#include "OutEventHandler/EventTable.h"
#include "OutEventHandler/EventValues.h"
#include "OutEventHandler/PortalAnswers.h"

namespace {

constexpr const char* kLogSource = logsource::kOutEventHandler;

void portalAnswer(const EventBlock& block, Json::Value& params) {
    auto header = block.read<TavmoClientPortalHeader>();
    LOG_INFO("OutEventThread: OnPrivateOutEvent() TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP: typeRequest: [%d]",
             static_cast<int>(header.typeRequest));
    params["typeRequest"] = Json::UInt(header.typeRequest);
    params["error"] = Json::UInt(header.error);
    params["httpStatusCode"] = Json::UInt(header.httpStatusCode);
    params["requestId"] = Json::UInt(header.requestId);
    BuildPortalAnswer(block, params);
}

void webProxy(const EventBlock& block, Json::Value& params) {
    params["webProxyURL"] = block.textFrom(offsetof(TavmoClientWebProxyEvent, webProxyURL));
}

void notice(const EventBlock& block, Json::Value& params) {
    params["message"] = block.textFrom(offsetof(TavmoClientNoticeEvent, message));
}

void roomKey(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientRoomKeyEvent>();
    params["hasPin"] = boolValue(event.hasPin);
    params["portalUri"] = textValue(event.portalUri);
    params["roomKey"] = block.textFrom(offsetof(TavmoClientRoomKeyEvent, roomKey));
}

void tokenStatus(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientTokenStatusEvent>();
    params["status"] = boolValue(event.status);
    params["useToken"] = boolValue(event.useToken);
}

void reason(const EventBlock& block, Json::Value& params) {
    params["reason"] = Json::Int(block.read<TavmoClientReasonEvent>().reason);
}

void loginNotice(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientLoginNoticeEvent>();
    params["loginType"] = Json::Int(event.loginType);
    params["portalUri"] = textValue(event.portalUri);
    params["userName"] = textValue(event.userName);
    params["guestLogin"] = boolValue(event.guestLogin);
}

void deviceNotice(const EventBlock& block, Json::Value& params) {
    auto event = block.read<TavmoClientDeviceNoticeEvent>();
    params["deviceType"] = Json::Int(event.deviceType);
    params["changeType"] = Json::Int(event.changeType);
    params["deviceName"] = block.textFrom(offsetof(TavmoClientDeviceNoticeEvent, deviceName));
}

// Each array stays null when the part carries no window.
void windowList(const EventBlock& block, Json::Value& params) {
    auto list = block.read<TavmoClientWindowList>();
    params["requestId"] = Json::UInt(list.requestId);
    params["totalResponseMessages"] = Json::UInt(list.totalResponseMessages);
    params["thisMessageNumberInSequance"] = Json::UInt(list.thisMessageNumberInSequance);
    params["totalNumApplicationWindows"] = Json::UInt(list.totalNumApplicationWindows);
    params["numOfRecordsInThisMessage"] = Json::UInt(static_cast<uint32_t>(list.numOfRecordsInThisMessage));

    Json::Value styles, exStyles, parents, classNames, windowIds, titles, owners, rectangles;
    std::size_t count = block.entriesThatFit<TavmoClientWindowRect>(
        list.numOfRecordsInThisMessage, offsetof(TavmoClientWindowList, rect), TAVMO_CLIENT_WINDOW_LIST_CAPACITY);
    for (std::size_t i = 0; i < count; ++i) {
        styles.append(Json::UInt(list.style[i]));
        exStyles.append(Json::UInt(list.exStyle[i]));
        parents.append(handleValue(list.parentHandle[i]));
        classNames.append(textValue(list.className[i]));
        windowIds.append(handleValue(list.windowId[i]));
        titles.append(textValue(list.title[i]));
        owners.append(textValue(list.ownerName[i]));
        rectangles.append(rectValue(list.rect[i]));
    }
    Json::Value win32;
    win32["dwStyle"] = styles;
    win32["dwExStyle"] = exStyles;
    win32["parentHandle"] = parents;
    win32["WindowClassName"] = classNames;
    params["Win32"] = win32;
    params["windowID"] = windowIds;
    params["WindowName"] = titles;
    params["WindowOwnerName"] = owners;
    params["windowRect"] = rectangles;
}

constexpr EventRow kPrivateEvents[] = {
    {200400, TAVMO_CLIENT_PRIVATE_OUT_EVENT_OFFLINE, noParams},
    {200600, TAVMO_CLIENT_PRIVATE_OUT_EVENT_ONLINE, noParams},
    {200900, TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, portalAnswer},
    {201200, TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY, webProxy},
    {201300, TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_NEEDS_CREDENTIALS, noParams},
    {201400, TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_CREDENTIALS_USED, noParams},
    {201600, TAVMO_CLIENT_PRIVATE_OUT_EVENT_NOTICE, notice},
    {201700, TAVMO_CLIENT_PRIVATE_OUT_EVENT_ROOM_KEY, roomKey},
    {201900, TAVMO_CLIENT_PRIVATE_OUT_EVENT_TOKEN_STATUS, tokenStatus},
    {202000, TAVMO_CLIENT_PRIVATE_OUT_EVENT_SIGNED_OFF, reason},
    {202001, TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_NOTICE, loginNotice},
    {202002, TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_REFUSED, reason},
    {202100, TAVMO_CLIENT_PRIVATE_OUT_EVENT_DEVICE_NOTICE, deviceNotice},
    {202110, TAVMO_CLIENT_PRIVATE_OUT_EVENT_SELECTED_DEVICE_NOTICE, deviceNotice},
    {270002, TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, windowList},
};

constexpr EventTable kPrivateTable(kPrivateEvents, "OnPrivateOutEvent");

}  // namespace

std::vector<int32_t> privateEventCodes() { return kPrivateTable.codes(); }

void OnPrivateOutEvent(int32_t code, const std::vector<unsigned char>& bytes) {
    if (code < TAVMO_CLIENT_PRIVATE_EVENT_FIRST || code > TAVMO_CLIENT_PRIVATE_EVENT_LAST) {
        LOG_ERROR("OutEventThread: OnPrivateOutEvent() Unknown EVENT: [%d]", code);
        return;
    }
    kPrivateTable.translateAndSend(code, bytes);
}
