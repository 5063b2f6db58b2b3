#include "RequestHandler/CommandInEvents.h"

#include <cstdlib>
#include <new>
#include <string>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "RequestHandler/InEventSupport.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;
constexpr uint32_t kMostParticipants = 8;

void sendFlag(Json::Value& request, const char* handler, int32_t code, const char* constantName, bool flag) {
    TavmoClientFlagValue record{};
    record.value = flag ? 1 : 0;
    answerInEvent(request, handler, code, constantName, record);
}

void sendInt32(Json::Value& request, const char* handler, int32_t code, const char* constantName, int32_t value) {
    TavmoClientInt32Value record{};
    record.value = value;
    answerInEvent(request, handler, code, constantName, record);
}

void sendMute(Json::Value& request, const char* handler, int32_t code, const char* constantName) {
    sendFlag(request, handler, code, constantName, readFlagMember(request, "willMute"));
}

void sendDeviceTest(Json::Value& request, const char* handler, int32_t code, const char* constantName) {
    bool start = readChoiceMember(request, "action", "DeviceTestStop") == "DeviceTestStart";
    sendInt32(request, handler, code, constantName,
              start ? TAVMO_CLIENT_DEVICE_TEST_START : TAVMO_CLIENT_DEVICE_TEST_STOP);
}

int32_t previewMode(const std::string& name) {
    if (name == "PIP") return TAVMO_CLIENT_PREVIEW_PIP;
    if (name == "Dock") return TAVMO_CLIENT_PREVIEW_DOCK;
    return TAVMO_CLIENT_PREVIEW_NONE;
}

// Wraps around as 32-bit arithmetic does instead of overflowing.
int32_t addWrapping(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

void InEventLeave(Json::Value& request) { answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_LEAVE)); }

void InEventCancel(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_CANCEL));
}

void InEventUnshare(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_UNSHARE));
}

void InEventLoginCancel(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL));
}

void InEventSignOff(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SIGNOFF));
}

// Answering joins the caller's conference: the website must be approved first.
void InEventAnswer(Json::Value& request) {
    if (!PromptForUserApproval(request)) return;
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_ANSWER));
}

void InEventDecline(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_DECLINE));
}

void InEventStopPrecallTestSpeaker(Json::Value& request) {
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER));
}

void PrivateInEventStartMyMeeting(Json::Value& request) {
    if (!PromptForUserApproval(request)) return;
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING));
}

void InEventMuteAudioIn(Json::Value& request) {
    sendMute(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN));
}

void InEventMuteAudioOut(Json::Value& request) {
    sendMute(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT));
}

void InEventMuteVideo(Json::Value& request) {
    sendMute(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO));
}

void InEventSetEchoDetection(Json::Value& request) {
    sendFlag(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT),
             readFlagMemberOr(request, "enable", false));
}

void InEventSetEchoCancellation(Json::Value& request) {
    sendFlag(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL),
             readFlagMemberOr(request, "enable", false));
}

void InEventSetAGC(Json::Value& request) {
    sendFlag(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC),
             readFlagMemberOr(request, "enable", false));
}

void InEventSetFreezeImage(Json::Value& request) {
    sendFlag(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE),
             readFlagMemberOr(request, "freeze", false));
}

void InEventSetOffline(Json::Value& request) {
    sendFlag(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_OFFLINE),
             readFlagMemberOr(request, "offline", false));
}

TavmoClientResizeInEvent resizeRecord(int32_t x, int32_t y, int32_t width, int32_t height,
                                      const platform::WindowFrame& frame) {
    TavmoClientResizeInEvent record{};
    record.x = x;
    record.y = y;
    record.outerWidth = addWrapping(width, addWrapping(frame.frameWidth, frame.frameWidth));
    record.outerHeight =
        addWrapping(height, addWrapping(addWrapping(frame.frameHeight, frame.frameHeight), frame.menuHeight));
    return record;
}

void InEventResize(Json::Value& request) {
    int32_t x = readIntMember(request, "x", 0);
    int32_t y = readIntMember(request, "y", 0);
    int32_t width = readIntMember(request, "width", 0);
    int32_t height = readIntMember(request, "height", 0);
    TavmoClientResizeInEvent record = resizeRecord(x, y, width, height, platform::windowFrame());
    platform::placeVideoWindow(hWindow, width, height);
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_RESIZE), record);
}

// Compared as unsigned, so that negative and unreadable values are too many.
void InEventParticipantsLimit(Json::Value& request) {
    int32_t limit = readIntMember(request, "maxNumParticipants", 0);
    if (static_cast<uint32_t>(limit) > kMostParticipants) {
        LOG_ERROR("OutputThread: InEventParticipantsLimit() Invalid maxNumParticipants: [%d], setting it to [8]",
                  limit);
        limit = kMostParticipants;
    }
    sendInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT), limit);
}

void InEventLayout(Json::Value& request) {
    int32_t preferred = readIntMember(request, "numPreferred", 0);
    if (preferred != 0 && preferred != 1) {
        LOG_ERROR("OutputThread: InEventLayout() Invalid numPreferred: [%d], setting it to [1]", preferred);
        preferred = 1;
    }
    sendInt32(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_LAYOUT), preferred);
}

void InEventPrecallTestCamera(Json::Value& request) {
    sendDeviceTest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA));
}

void InEventPrecallTestMicrophone(Json::Value& request) {
    sendDeviceTest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE));
}

void InEventSetSendBandwidthLimit(Json::Value& request) {
    TavmoClientSendBandwidthInEvent record{};
    record.sendBandwidth = readIntMember(request, "sendBandwidth", 6);
    record.layers = readIntMember(request, "layers", 1);
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH), record);
}

void EventPreview(Json::Value& request) {
    TavmoClientPreviewInEvent record{};
    record.previewMode = previewMode(readChoiceMember(request, "previewMode", "None"));
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_PREVIEW), record);
}

void InEventGetWindowsExt(Json::Value& request) {
    LibraryBuffer requestId(std::malloc(sizeof(int32_t)));
    if (!requestId) throw std::bad_alloc();
    *static_cast<int32_t*>(requestId.get()) = readIntMember(request, "requestId", 0);
    TavmoClientGetWindowsExtInEvent record{};
    record.requestId = static_cast<int32_t*>(requestId.get());
    answerInEventHandingOver(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT), record,
                             requestId);
}

void PrivateInEventLayout(Json::Value& request) {
    TavmoClientLayoutInEvent record{};
    record.layoutNum = readIntMember(request, "layout_num", 0);
    record.participantsLimitManual = readIntMember(request, "participants_limit_manual", 0);
    record.participantsLimitRender = readIntMember(request, "participants_limit_render", 0);
    record.participantsLimitSafe = readIntMember(request, "participants_limit_safe", 0);
    record.layoutWide = readIntMember(request, "layout_wide", 0);
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT), record);
}

// The page still sends it, but the library has nothing to toggle: accepted
// and answered without a result.
void InEventToggleShare(Json::Value&) {}
