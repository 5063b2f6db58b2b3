// Every request type the dispatcher knows, against a library that refuses
// everything: each handler answers with its own error text and nothing else,
// whatever the library left in the record, and logs the refusal at level 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "HostState.h"
#include "HostThreads.h"
#include "RegistrationTools.h"
#include "RequestHandler.h"
#include "RequestHandler/WebsiteApproval.h"
#include "ScratchFolder.h"

namespace {

constexpr int32_t kRefusalCode = 7;
constexpr int32_t kNoCode = -1;

struct Refusal {
    std::string type;
    std::string members;     // the request's own members, as JSON text without braces
    std::string error;       // empty: the handler does not depend on the library
    std::string logLine;     // at level 1
    int32_t code = kNoCode;  // the request, private or in-event code the library refused
    bool websiteApproved = false;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.type; }

std::string libraryError(const char* constant) { return std::string("TavmoClient error: ") + constant; }

Refusal refusedRequest(const char* type, const char* members, int32_t code, const char* constant) {
    return {type, members, libraryError(constant),
            std::string("OutputThread: ") + type + "() " + constant + ": [" + std::to_string(kRefusalCode) + "]", code};
}

Refusal refusedInEvent(const char* type, const char* handler, const char* members, int32_t code, const char* constant) {
    return {type, members, libraryError(constant), std::string("OutputThread: ") + handler + "() " + constant, code};
}

// The handler's own name is its type's unless the two differ.
#define REQUEST(type, members, constant) refusedRequest(type, members, constant, #constant)
#define IN_EVENT(type, members, constant) refusedInEvent(type, type, members, constant, #constant)
#define IN_EVENT_OF(type, handler, members, constant) refusedInEvent(type, handler, members, constant, #constant)

Refusal notUsingTheLibrary(const char* type, const char* members = "") { return {type, members, "", "", kNoCode}; }

const char* const kNotApproved = "OutputThread: PromptForUserApproval(): [] domain is not approved by enduser";
const char* const kApprovalRefusal = "TavmoClient Can not get the Domain approval from enduser";

Refusal approvalRefused(const char* type) {
    return {type, "", kApprovalRefusal, kNotApproved, TAVMO_CLIENT_REQUEST_PRIVATE};
}

Refusal approvedThenRefused(Refusal refusal) {
    refusal.websiteApproved = true;
    return refusal;
}

std::vector<Refusal> everyRefusal() {
    return {
        notUsingTheLibrary("RequestSetChromeArch", R"("chromeArch":"x64")"),
        notUsingTheLibrary("RequestGetVersion"),
        REQUEST("RequestSetLogLevelsAndCategories", R"("levelsAndCategories":"ALL")",
                TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES),
        REQUEST("RequestGetCallState", "", TAVMO_CLIENT_REQUEST_GET_CALL_STATE),
        REQUEST("RequestGetMutedAudioOut", "", TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT),
        REQUEST("RequestGetMutedAudioIn", "", TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN),
        REQUEST("RequestGetMutedVideo", "", TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO),
        REQUEST("RequestGetMutedServerAudioIn", "", TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN),
        REQUEST("RequestGetMutedServerVideo", "", TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO),
        REQUEST("RequestGetVolumeAudioIn", "", TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN),
        REQUEST("RequestSetVolumeAudioIn", R"("volume":40)", TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN),
        REQUEST("RequestGetVolumeAudioOut", "", TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT),
        REQUEST("RequestSetVolumeAudioOut", R"("volume":40)", TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT),
        REQUEST("RequestGetEID", "", TAVMO_CLIENT_REQUEST_GET_EID),
        REQUEST("RequestGetLID", "", TAVMO_CLIENT_REQUEST_GET_LID),
        REQUEST("RequestGetAudioEnergyInfo", "", TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO),
        REQUEST("RequestGetNumParticipants", "", TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS),
        REQUEST("RequestGetParticipantNameAt", R"("index":1)", TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT),
        REQUEST("RequestGetParticipantStatisticsAt", R"("index":1)",
                TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT),
        REQUEST("RequestGetConfiguration", "", TAVMO_CLIENT_REQUEST_GET_CONFIGURATION),
        REQUEST("RequestGetSendMaxKbps", "", TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS),
        REQUEST("RequestSetSendMaxKbps", R"("value":512)", TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS),
        REQUEST("RequestGetReceiveMaxKbps", "", TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS),
        REQUEST("RequestSetReceiveMaxKbps", R"("value":512)", TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS),
        REQUEST("RequestSetLabel", R"("labelText":"Room 4")", TAVMO_CLIENT_REQUEST_SET_LABEL),
        REQUEST("RequestGetEchoRecommendation", "", TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION),
        REQUEST("RequestCheckRecommended", "", TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED),
        REQUEST("RequestGetCurrentUser", "", TAVMO_CLIENT_REQUEST_GET_CURRENT_USER),
        REQUEST("RequestGetParticipantsLimit", "", TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT),
        REQUEST("RequestSetConfiguration", R"("serverAddress":"portal.example.org")",
                TAVMO_CLIENT_REQUEST_SET_CONFIGURATION),
        REQUEST("RequestGetWebProxySettingsValid", "", TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID),
        REQUEST("RequestGetInvitingUser", "", TAVMO_CLIENT_REQUEST_GET_INVITING_USER),
        REQUEST("RequestGetCurrentSessionTavmoRouter", "", TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER),
        REQUEST("RequestGetFeccList", "", TAVMO_CLIENT_REQUEST_GET_FECC_LIST),
        REQUEST("RequestGetEncodeResolution", "", TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION),
        REQUEST("RequestGetVideoFrameRateInfo", "", TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO),
        REQUEST("RequestGetMediaInfo", "", TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO),
        REQUEST("RequestGetRateShaperInfo", "", TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO),
        REQUEST("RequestGetCurrentCpuUtilization", "", TAVMO_CLIENT_REQUEST_GET_CURRENT_CPU_UTIL),
        REQUEST("RequestGetEndpointStatus", "", TAVMO_CLIENT_REQUEST_GET_ENDPOINT_STATUS),
        REQUEST("RequestGetCurrentSessionDisplayInfo", "", TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO),
        REQUEST("RequestGetConferenceInfo", "", TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO),
        REQUEST("RequestGetParticipants", "", TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST),
        REQUEST("RequestGetWindowShares", "", TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES),
        REQUEST("RequestGetWindowsAndDesktops", "", TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS),
        REQUEST("RequestGetPreviewMode", "", TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE),
        REQUEST("RequestSetWindowShares", R"("requestType":"1","numApp":1)", TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES),
        REQUEST("RequestGetConnectivityInfo", "", TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO),
        REQUEST("RequestSetWebProxyCredentials", R"("username":"ann","password":"x","persist":true)",
                TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD),
        REQUEST("RequestGetBandwidthInfo", "", TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO),
        REQUEST("RequestSetCameraResolution", R"("width":1280,"height":720)",
                TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER),
        REQUEST("RequestGetLayout", "", TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT),
        notUsingTheLibrary("RequestGetCameraStatus"),
        REQUEST("RequestEnableAppShare", R"("isEnable":1)", TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE),
        notUsingTheLibrary("RequestSetDomain", R"("domain":"meet.example.org")"),
        {"InEventStart", "", "TavmoClient could not start",
         "OutputThread: InEventStart() TavmoClientStart() returned error", kNoCode},
        {"InEventStop", "", "TavmoClient not yet started", "OutputThread: InEventStop() TavmoClient not yet started",
         kNoCode},
        IN_EVENT("InEventResize", R"("x":1,"y":2,"width":640,"height":480)", TAVMO_CLIENT_IN_EVENT_RESIZE),
        IN_EVENT("InEventParticipantsLimit", R"("maxNumParticipants":4)", TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT),
        notUsingTheLibrary("InEventToggleShare"),
        IN_EVENT("InEventLayout", R"("numPreferred":1)", TAVMO_CLIENT_IN_EVENT_LAYOUT),
        IN_EVENT("InEventLeave", "", TAVMO_CLIENT_IN_EVENT_LEAVE),
        IN_EVENT("InEventCancel", "", TAVMO_CLIENT_IN_EVENT_CANCEL),
        IN_EVENT("InEventShare", R"("shareType":"ApplicationWindow","window":"00a1")", TAVMO_CLIENT_IN_EVENT_SHARE),
        IN_EVENT("InEventUnshare", "", TAVMO_CLIENT_IN_EVENT_UNSHARE),
        IN_EVENT("InEventGroupChat", R"("message":"hello")", TAVMO_CLIENT_IN_EVENT_GROUP_CHAT),
        IN_EVENT("InEventPrivateChat", R"("message":"hello","uri":"sip:ann")", TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT),
        IN_EVENT("InEventMuteAudioIn", R"("willMute":true)", TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN),
        IN_EVENT("InEventMuteAudioOut", R"("willMute":true)", TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT),
        IN_EVENT("InEventMuteVideo", R"("willMute":true)", TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO),
        IN_EVENT("InEventSignIn",
                 R"("serverAddress":"portal.example.org","userName":"ann","emcpSecured":false,"guestLogin":false,)"
                 R"("showDialpad":false,"showStartmeeting":false)",
                 TAVMO_CLIENT_IN_EVENT_SIGN_IN),
        IN_EVENT("InEventLoginCancel", "", TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL),
        IN_EVENT("InEventLogin", R"("portalUri":"https://portal.example.org","userName":"ann","userPass":"x")",
                 TAVMO_CLIENT_IN_EVENT_LOGIN),
        IN_EVENT_OF("InEventSignoff", "InEventSignOff", "", TAVMO_CLIENT_IN_EVENT_SIGNOFF),
        IN_EVENT("InEventSetEchoDetection", R"("enable":true)", TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT),
        IN_EVENT("InEventSetEchoCancellation", R"("enable":true)", TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL),
        IN_EVENT("InEventSetAGC", R"("enable":true)", TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC),
        IN_EVENT("InEventSetFreezeImage", R"("freeze":true)", TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE),
        IN_EVENT("InEventPrecallTestCamera", R"("action":"DeviceTestStart")",
                 TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA),
        IN_EVENT("InEventPrecallTestMicrophone", R"("action":"DeviceTestStart")",
                 TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE),
        approvalRefused("InEventAnswer"),
        approvedThenRefused(IN_EVENT("InEventAnswer", "", TAVMO_CLIENT_IN_EVENT_ANSWER)),
        IN_EVENT("InEventDecline", "", TAVMO_CLIENT_IN_EVENT_DECLINE),
        IN_EVENT("InEventSetDisplayName", R"("uri":"sip:ann","displayName":"Ann")",
                 TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME),
        IN_EVENT("InEventResetDisplayName", R"("uri":"sip:ann")", TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME),
        IN_EVENT("InEventPinParticipant", R"("uri":"sip:ann","pinMode":"PinHigh")",
                 TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE),
        IN_EVENT("InEventControlCamera", R"("uri":"sip:ann","cameraCommand":"ZoomIn")",
                 TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA),
        IN_EVENT("InEventSetSendBandwidthLimit", R"("sendBandwidth":3,"layers":2)",
                 TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH),
        IN_EVENT("InEventSetOffline", R"("offline":true)", TAVMO_CLIENT_IN_EVENT_SET_OFFLINE),
        IN_EVENT("InEventControlConferenceRoomSettings", R"("requestId":3,"moderatorPin":"x")",
                 TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS),
        IN_EVENT("InEventStartPrecallTestSpeaker", R"("soundFileName":"")",
                 TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER),
        IN_EVENT("InEventStopPrecallTestSpeaker", "", TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER),
        IN_EVENT("InEventPlayDtmfTone", R"("tone":"5")", TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE),
        IN_EVENT("InEventGetWindowsExt", R"("requestId":9)", TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT),
        IN_EVENT("EventPreview", R"("previewMode":"PIP")", TAVMO_CLIENT_IN_EVENT_PREVIEW),
        approvalRefused("PrivateInEventVcsoapGuestLink"),
        approvedThenRefused(IN_EVENT("PrivateInEventVcsoapGuestLink",
                                     R"("portalUri":"https://portal.example.org","roomKey":"k","pin":"x")",
                                     TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP)),
        approvalRefused("PrivateInEventStartMyMeeting"),
        approvedThenRefused(
            IN_EVENT("PrivateInEventStartMyMeeting", "", TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING)),
        IN_EVENT("PrivateInEventLayout", R"("layout_num":2)", TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT),
    };
}

// Whatever the library writes into a record it refuses must not reach the page.
int32_t fillAndRefuse(void* record, uint32_t size) {
    if (record) std::memset(record, 'A', size);
    return kRefusalCode;
}

class RefusingLibrary : public HostFixture, public ::testing::WithParamInterface<Refusal> {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        hWindow = &window;
        // No installation: starting the library registers no camera.
        setenv("XDG_CONFIG_HOME", (scratch.path() + "/config").c_str(), 1);
        fake::Library& library = fake::library();
        library.anyRequestAnswer = [](int32_t, void* record, uint32_t size) { return fillAndRefuse(record, size); };
        library.anyPrivateAnswer = [](uint32_t, void* inner, uint32_t size) { return fillAndRefuse(inner, size); };
        library.anyEventAnswer = [](int32_t, void*, uint32_t) -> TavmoClientBool { return 0; };
        library.startResult = 0;
        library.stopResult = 0;
        if (GetParam().websiteApproved)
            library.privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [](void* record, uint32_t) {
                static_cast<TavmoClientApprovedDomainQuery*>(record)->approved = 1;
                return 0;
            };
    }

    // A file for the requests that name one.
    std::string soundFile() {
        std::string path = scratch.path() + "/ring.wav";
        std::ofstream(path, std::ios::binary) << "RIFF....WAVE";
        return path;
    }

    bool libraryWasAskedFor(int32_t code) {
        for (const fake::SentRecord& sent : fake::library().requests)
            if (sent.code == code ||
                (sent.code == TAVMO_CLIENT_REQUEST_PRIVATE && sent.privateCode == static_cast<uint32_t>(code)))
                return true;
        for (const fake::SentRecord& sent : fake::library().events)
            if (sent.code == code) return true;
        return false;
    }

    int window = 0;
    ScratchFolder scratch;
};

TEST_P(RefusingLibrary, AnswersWithTheHandlersOwnErrorOnly) {
    const Refusal& refusal = GetParam();
    Json::Value request;
    ASSERT_TRUE(json::parse("{" + refusal.members + "}", request));
    request["type"] = refusal.type;
    request["_direction"] = 1;
    if (request.isMember("soundFileName")) request["soundFileName"] = soundFile();

    handleRequestText(json::writeCompact(request), clientStarted);

    std::vector<std::string> bodies = writtenBodies();
    ASSERT_FALSE(bodies.empty());
    Json::Value reply;
    ASSERT_TRUE(json::parse(bodies.back(), reply)) << bodies.back();
    if (refusal.error.empty()) {
        EXPECT_FALSE(reply.isMember("error")) << bodies.back();
        EXPECT_EQ(fake::logTexts(1), std::vector<std::string>{});
        return;
    }
    Json::Value expected = request;
    expected["_direction"] = 2;
    expected["error"] = refusal.error;
    EXPECT_EQ(reply, expected) << bodies.back();
    std::vector<std::string> errors = fake::logTexts(1);
    EXPECT_NE(std::find(errors.begin(), errors.end(), refusal.logLine), errors.end())
        << refusal.logLine << "\nlogged: " << ::testing::PrintToString(errors);
    if (refusal.code != kNoCode) {
        EXPECT_TRUE(libraryWasAskedFor(refusal.code)) << refusal.code;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRequestType, RefusingLibrary, ::testing::ValuesIn(everyRefusal()), [](const auto& info) {
    return info.param.type + (info.param.websiteApproved ? "WhenApproved" : "");
});

TEST(RefusingLibraryTable, CoversEveryTypeOfTheDispatchTable) {
    std::set<std::string> tabled;
    for (const Refusal& refusal : everyRefusal()) tabled.insert(refusal.type);
    std::vector<std::string> dispatched = requestTypes();
    EXPECT_EQ(tabled, std::set<std::string>(dispatched.begin(), dispatched.end()));
    EXPECT_EQ(dispatched.size(), 97u);
}

}  // namespace
