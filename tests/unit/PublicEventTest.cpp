// Public events: each case builds the library's block from its record and
// compares the message the page receives, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "EventRecords.h"
#include "HostFixture.h"
#include "HostState.h"
#include "OutEventHandler.h"
#include "Records.h"

namespace {

class PublicEvents : public HostFixture {
protected:
    // The one message the event produced.
    std::string translate(int32_t code, const Block& block) {
        OnOutEvent(code, block);
        std::vector<std::string> bodies = writtenBodies();
        EXPECT_EQ(bodies.size(), 1u) << "one message per event";
        return bodies.empty() ? std::string() : bodies.front();
    }
};

std::string eventMessage(int32_t code, const std::string& params) {
    return "{\"_direction\":2,\"code\":" + std::to_string(code) + ",\"params\":" + params + "}\n";
}

struct PublicCase {
    const char* name;
    int32_t code;
    Block block;
    const char* params;
};

class PublicEventCases : public PublicEvents, public ::testing::WithParamInterface<PublicCase> {};

TEST_P(PublicEventCases, WritesItsMessage) {
    EXPECT_EQ(translate(GetParam().code, GetParam().block), eventMessage(GetParam().code, GetParam().params));
}

std::string caseName(const ::testing::TestParamInfo<PublicCase>& info) { return info.param.name; }

template <typename Record, typename Fill>
Block record(Fill fill) {
    Record value{};
    fill(value);
    return blockOf(value);
}

INSTANTIATE_TEST_SUITE_P(
    Events, PublicEventCases,
    ::testing::Values(
        PublicCase{"LibraryMessage", 100, record<TavmoClientMessageEvent>([](auto& e) {
                       e.messageType = 17;
                       e.messageCode[0] = 7;
                       e.messageCode[2] = 0xFFFFFFFF;
                   }),
                   R"({"messageCode":[7,0,4294967295],"messageType":"ConfStatusHotkey"})"},
        PublicCase{"LibraryMessageOfUnknownType", 100,
                   record<TavmoClientMessageEvent>([](auto& e) { e.messageType = -1; }),
                   R"({"messageCode":[0,0,0],"messageType":"UnknownMessage"})"},
        PublicCase{"LibraryMessageWithoutCodes", 100, Block{105, 0, 0, 0},
                   R"({"messageCode":[0,0,0],"messageType":"NoMessage"})"},
        PublicCase{
            "SignIn", 300, record<TavmoClientSignInEvent>([](auto& e) {
                e.reserved = 0xFFFFFFFF;
                e.guestLogin = 1;
                e.showStartmeeting = 2;
                e.signinType = -3;
                e.signinSecured = 1;
            }),
            R"({"guestLogin":true,"showDialpad":false,"showStartmeeting":true,"signinSecured":true,"signinType":-3})"},
        PublicCase{"NoData", 400, Block{}, "null"},
        PublicCase{"DeviceKindAudioIn", 601, record<TavmoClientDeviceEvent>([](auto& e) { e.deviceType = 2; }),
                   R"({"deviceType":"AudioIn"})"},
        PublicCase{"DeviceKindRingTone", 601, record<TavmoClientDeviceEvent>([](auto& e) { e.deviceType = 4; }),
                   R"({"deviceType":"RingTone"})"},
        PublicCase{"DeviceKindUnknown", 601, record<TavmoClientDeviceEvent>([](auto& e) { e.deviceType = 7; }), "null"},
        PublicCase{"DeviceChange", 602, record<TavmoClientDeviceChangeEvent>([](auto& e) {
                       e.deviceType = 3;
                       e.changeType = -1;
                       copyText(e.prevDeviceName, "Cam A");
                       copyText(e.newDeviceName, "Cam B");
                   }),
                   R"({"changeType":-1,"deviceType":3,"newDeviceName":"Cam B","prevDeviceName":"Cam A"})"},
        PublicCase{"Device", 603, record<TavmoClientDeviceEvent>([](auto& e) { e.deviceType = 9; }),
                   R"({"deviceType":9})"},
        PublicCase{"ParticipantCount", 1202, record<TavmoClientCountEvent>([](auto& e) { e.count = -5; }),
                   R"({"participantCount":-5})"},
        PublicCase{"ParticipantSource", 1211, record<TavmoClientParticipantSourceEvent>([](auto& e) {
                       e.sourceType = 2;
                       copyText(e.participantURI, "uri");
                       copyText(e.displayName, "Ann");
                       copyText(e.sourceName, "screen");
                   }),
                   R"({"displayName":"Ann","participantURI":"uri","sourceName":"screen","sourceType":2})"},
        PublicCase{"Invitation", 1300, record<TavmoClientInvitationEvent>([](auto& e) {
                       copyText(e.invitingUser, "bob");
                       e.onCallFlag = 1;
                   }),
                   R"({"invitingUser":"bob","onCallFlag":true})"},
        PublicCase{"PreviewMode", 1400, record<TavmoClientPreviewModeEvent>([](auto& e) { e.previewMode = 2; }),
                   R"({"previewMode":2})"},
        PublicCase{"Uri", 1601, record<TavmoClientUriEvent>([](auto& e) { copyText(e.URI, "sip:x"); }),
                   R"({"URI":"sip:x"})"},
        PublicCase{"Size", 1700, record<TavmoClientSizeEvent>([](auto& e) {
                       e.width = 640;
                       e.height = 360;
                   }),
                   R"({"height":360,"width":640})"},
        PublicCase{"Limits", 1800, record<TavmoClientLimitsEvent>([](auto& e) {
                       e.bandwithLimit = 1;
                       e.cpuLimit = -2;
                       e.userLimit = 3;
                   }),
                   R"({"bandwithLimit":1,"cpuLimit":-2,"userLimit":3})"},
        PublicCase{"Key", 2001, record<TavmoClientKeyEvent>([](auto& e) {
                       e.key = 65;
                       e.count = 2;
                   }),
                   R"({"count":2,"key":65})"},
        PublicCase{
            "Mouse", 2004, record<TavmoClientMouseEvent>([](auto& e) {
                e.button = 1;
                e.count = 2;
                e.xPos = -10;
                e.yPos = 20;
                e.shift = 1;
                e.alt = 3;
                e.scrollDeltaX = -1;
                e.scrollDeltaY = 2;
                e.scrollDeltaZ = -3;
            }),
            R"({"alt":true,"button":1,"command":false,"count":2,"ctrl":false,"scrollDeltaX":-1,"scrollDeltaY":2,"scrollDeltaZ":-3,"shift":true,"xPos":-10,"yPos":20})"},
        PublicCase{"Window", 2007, record<TavmoClientWindowEvent>([](auto& e) { e.window = 255; }),
                   R"({"window":"00000000000000FF"})"},
        PublicCase{"WindowHighestHandle", 2007, record<TavmoClientWindowEvent>([](auto& e) { e.window = 0xFFFFFFFF; }),
                   R"({"window":"00000000FFFFFFFF"})"},
        PublicCase{"Participants", 2100, record<TavmoClientCountEvent>([](auto& e) { e.count = 3; }),
                   R"({"numberParticipants":3})"},
        PublicCase{"CameraControl", 2101, record<TavmoClientCameraControlEvent>([](auto& e) {
                       copyText(e.srcParticipantID, "p1");
                       e.cameraCommand = 5;
                       copyText(e.commandId, "id");
                       copyText(e.commandData, "data");
                   }),
                   R"({"cameraCommand":5,"commandData":"data","commandId":"id","srcParticipantID":"p1"})"},
        PublicCase{"VideoMode", 2102, record<TavmoClientVideoModeEvent>([](auto& e) {
                       copyText(e.uri, "u");
                       e.videoMode = 2;
                       e.isSet = 1;
                   }),
                   R"({"isSet":true,"uri":"u","videoMode":2})"},
        PublicCase{"EventStatus", 2103, record<TavmoClientEventStatusEvent>([](auto& e) { e.eventID = 7; }),
                   R"({"eventID":7,"eventStatus":false})"},
        PublicCase{"CameraControlStatus", 2104, record<TavmoClientCameraControlStatusEvent>([](auto& e) {
                       e.statusCode = -1;
                       copyText(e.curFeccUri, "f");
                   }),
                   R"({"curFeccUri":"f","statusCode":-1})"},
        PublicCase{"MediaCommand", 2200, record<TavmoClientMediaCommandEvent>([](auto& e) {
                       e.mediaCommand = 1;
                       e.mediaType = 2;
                       e.mediaSource = 3;
                   }),
                   R"({"mediaCommand":1,"mediaSource":3,"mediaType":2})"},
        PublicCase{"Installer", 2306, record<TavmoClientInstallerEvent>([](auto& e) {
                       copyText(e.currentTag, "1.2");
                       copyText(e.installerUri, "https://i");
                   }),
                   R"({"currentTag":"1.2","error":0,"installerUri":"https://i"})"},
        PublicCase{"CallStateInConference", 2500, record<TavmoClientCallStateEvent>([](auto& e) { e.callState = 4; }),
                   R"({"callState":"InConference"})"},
        PublicCase{"CallStateDisconnecting", 2500, record<TavmoClientCallStateEvent>([](auto& e) { e.callState = 5; }),
                   R"({"callState":"Disconnecting"})"},
        PublicCase{"CallStateUnknownIsIdle", 2500, record<TavmoClientCallStateEvent>([](auto& e) { e.callState = 9; }),
                   R"({"callState":"Idle"})"},
        PublicCase{"CallStateNegativeIsIdle", 2500,
                   record<TavmoClientCallStateEvent>([](auto& e) { e.callState = -1; }), R"({"callState":"Idle"})"},
        PublicCase{"Chat", 2601, record<TavmoClientChatEvent>([](auto& e) {
                       copyText(e.uri, "u");
                       copyText(e.displayName, "d");
                       copyText(e.message, "hi");
                   }),
                   R"({"displayName":"d","message":"hi","uri":"u"})"},
        PublicCase{"PortalPrefix", 2710, record<TavmoClientPortalPrefixEvent>([](auto& e) {
                       e.result = -2;
                       copyText(e.portalPrefix, "pre");
                   }),
                   R"({"portalPrefix":"pre","result":-2})"},
        PublicCase{
            "FeatureStatus", 2715,
            blockWith(TavmoClientFeatureStatusEvent{2}, std::vector<TavmoClientFeatureStatus>{{5, 1, {}}, {6, -1, {}}}),
            R"({"featureCount":2,"featureStatus":[{"featureName":5,"isEnabled":1},{"featureName":6,"isEnabled":-1}]})"},
        PublicCase{"FeatureStatusWithoutFeatures", 2715, blockOf(TavmoClientFeatureStatusEvent{0}),
                   R"({"featureCount":0,"featureStatus":null})"},
        PublicCase{
            "FeatureStatusWithNegativeCount", 2715,
            blockWith(TavmoClientFeatureStatusEvent{0xFFFFFFFF}, std::vector<TavmoClientFeatureStatus>{{5, 1, {}}}),
            R"({"featureCount":4294967295,"featureStatus":null})"},
        PublicCase{
            "CpuUsage", 2720, record<TavmoClientCpuUsageEvent>([](auto& e) {
                e.currentCpuUsageStatus = 1;
                e.reducedToThirtyFps = 1;
                e.reducedToFifteenFps = 2;
                e.reducedToSevenFps = 3;
                e.reducedToThreeFourthResolution = 4;
                e.reducedToHalfResolution = 5;
                e.reducedNumberOfDecodeStreams = 6;
                e.reducedToHalfEncodeFps = 7;
                e.reducedToThreeFourthEncodeResolution = 8;
                e.reducedToHalfEncodeResolution = 9;
            }),
            R"({"cpuUsageActions":{"reducedNumberOfDecodeStreams":6,"reducedToFifteenFps":2,"reducedToHalfEncodeFps":7,"reducedToHalfEncodeResolution":9,"reducedToHalfResolution":5,"reducedToSevenFps":3,"reducedToThirtyFps":1,"reducedToThreeFourthEncodeResolution":8,"reducedToThreeFourthResolution":4},"currentCpuUsageStatus":1})"},
        PublicCase{"Stage", 2800, record<TavmoClientStageEvent>([](auto& e) { e.stage = 3; }), R"({"stage":3})"},
        PublicCase{"Presenter", 2802,
                   record<TavmoClientPresenterEvent>([](auto& e) { copyText(e.uriOfPresenter, "p"); }),
                   R"({"uriOfPresenter":"p"})"},
        PublicCase{
            "AudioFrame", 2810, record<TavmoClientAudioFrameEvent>([](auto& e) {
                copyText(e.participantURI, "a");
                e.sourceId = 1;
                e.viewPriority = 2;
                e.energy = -3;
                e.bps = 4;
                e.samplingRate = 5;
                e.channels = 6;
                e.samples = 7;
                copyText(e.data, "xyz");
            }),
            R"({"frame":{"bps":4,"channels":6,"data":"xyz","energy":-3,"samples":7,"samplingRate":5},"participantURI":"a","sourceId":1,"viewPriority":2})"},
        PublicCase{
            "VideoFrame", 2811, record<TavmoClientVideoFrameEvent>([](auto& e) {
                copyText(e.participantURI, "v");
                e.mediaType = -1;
                e.sourceId = 2;
                e.viewPriority = 3;
                e.reserved = 99;
                e.width = 4;
                e.height = 5;
                e.format = 6;
                e.size = 7;
                copyText(e.data, "d");
            }),
            R"({"frame":{"data":"d","format":6,"height":5,"size":7,"width":4},"mediaType":-1,"participantURI":"v","sourceId":2,"viewPriority":3})"},
        PublicCase{"RoomSettingsResult", 2820, record<TavmoClientControlResultEvent>([](auto& e) {
                       e.requestId = 0xFFFFFFFF;
                       e.command = -1;
                       e.result = 2;
                   }),
                   R"({"requestId":4294967295,"result":2,"roomSettingId":-1})"},
        PublicCase{"DeviceTestStatus", 2830, record<TavmoClientDeviceTestEvent>([](auto& e) {
                       e.deviceType = 3;
                       e.action = 1;
                       e.result = 2;
                   }),
                   R"({"action":"DeviceTestStart","deviceType":"Video","result":"DeviceTestFailed"})"},
        PublicCase{"DeviceTestStatusWithUnlistedValues", 2830, record<TavmoClientDeviceTestEvent>([](auto& e) {
                       e.action = 2;
                       e.result = 9;
                   }),
                   R"({"action":"DeviceTestStop"})"},
        PublicCase{"DeviceTestStatusWithNothingListed", 2830, blockOf(TavmoClientDeviceTestEvent{}), "null"},
        PublicCase{"ControlResult", 2855, record<TavmoClientControlResultEvent>([](auto& e) {
                       e.requestId = 1;
                       e.command = -2;
                       e.result = 3;
                   }),
                   R"({"controlCommand":-2,"requestId":1,"result":3})"},
        PublicCase{"NetworkInterfaces", 2860,
                   record<TavmoClientNetworkInterfacesEvent>([](auto& e) { e.numValidInterfaces = 0xFFFFFFFF; }),
                   R"({"numValidInterfaces":4294967295})"},
        PublicCase{"UnknownPublicCode", 1234, Block{1, 2, 3, 4}, "null"},
        PublicCase{"LowestPublicCode", 99, Block{1, 2, 3, 4}, "null"},
        PublicCase{"HighestPublicCode", 99999, Block{}, "null"}),
    caseName);

// Codes that share one layout give the same members.
struct SharedLayoutCase {
    std::vector<int32_t> codes;
    Block block;
    const char* params;
};

class SharedLayouts : public PublicEvents, public ::testing::WithParamInterface<SharedLayoutCase> {};

TEST_P(SharedLayouts, EveryCodeWritesTheSameMembers) {
    for (int32_t code : GetParam().codes) {
        OnOutEvent(code, GetParam().block);
        EXPECT_EQ(writtenBodies().back(), eventMessage(code, GetParam().params)) << code;
    }
    EXPECT_EQ(writtenBodies().size(), GetParam().codes.size());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SharedLayouts,
                         ::testing::Values(SharedLayoutCase{{1500, 1501, 1502, 1503, 1504},
                                                            record<TavmoClientMuteEvent>([](auto& e) {
                                                                e.isMuted = 1;
                                                                e.errorCode = 0xFFFFFFFF;
                                                            }),
                                                            R"({"errorCode":4294967295,"isMuted":true})"},
                                           SharedLayoutCase{{700, 800, 900, 1000},
                                                            record<TavmoClientProgressEvent>([](auto& e) {
                                                                e.numProgressSteps = 0xFFFFFFFF;
                                                                copyText(e.caption, "Step");
                                                            }),
                                                            R"({"caption":"Step","numProgressSteps":4294967295})"},
                                           SharedLayoutCase{{400, 901, 1100, 1201, 2303}, Block{1, 2, 3, 4}, "null"}));

// The log lines that some events add, with the values they show.
struct LoggedCase {
    int32_t code;
    Block block;
    const char* params;
    const char* logLine;
};

class LoggedEvents : public PublicEvents, public ::testing::WithParamInterface<LoggedCase> {};

TEST_P(LoggedEvents, WriteTheMessageAndLogTheirValues) {
    EXPECT_EQ(translate(GetParam().code, GetParam().block), eventMessage(GetParam().code, GetParam().params));
    EXPECT_TRUE(fake::logged(GetParam().logLine, 3)) << GetParam().logLine;
    EXPECT_TRUE(
        fake::logged("OutEventThread: OnOutEvent() Entering EVENT: [" + std::to_string(GetParam().code) + "]", 3));
}

INSTANTIATE_TEST_SUITE_P(
    Logs, LoggedEvents,
    ::testing::Values(
        LoggedCase{200, Block{}, "null",
                   "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED TavmoClient API Version: [Fake "
                   "1.0]"},
        LoggedCase{2300, record<TavmoClientLoginEvent>([](auto& e) {
                       e.error = 0xFFFFFFFF;
                       copyText(e.portalUri, "https://portal");
                       copyText(e.userName, "ann");
                   }),
                   R"({"error":4294967295,"portalUri":"https://portal","userName":"ann"})",
                   "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIN: portal: [https://portal] username: "
                   "[ann] error: [-1]"},
        LoggedCase{2302, record<TavmoClientLinkedEvent>([](auto& e) { e.error = -7; }), R"({"error":-7})",
                   "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LINKED: error: [-7]"},
        LoggedCase{2303, Block{}, "null", "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_SIGNED_IN"},
        LoggedCase{2304, record<TavmoClientSignedOutEvent>([](auto& e) {
                       e.cause = 2;
                       e.error = 3;
                       e.guestLogin = 5;
                   }),
                   R"({"cause":2,"error":3,"guestLogin":true})",
                   "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT: error: [3], cause: [2], "
                   "guestLogin: [5]"},
        LoggedCase{2305, record<TavmoClientRoomLinkEvent>([](auto& e) {
                       e.error = 1;
                       e.state = 2;
                       copyText(e.serverUri, "srv");
                   }),
                   R"({"error":1,"serverUri":"srv","state":2})",
                   "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_ROOM_LINK: state: [2] error: [1] serverUri: "
                   "[srv]"},
        LoggedCase{1234, Block{}, "null", "OutEventThread: OnOutEvent() Unknown EVENT: [1234]"}));

TEST_F(PublicEvents, LibraryVersionThatFillsItsBufferIsLoggedCutToTheBuffer) {
    fake::library().version = std::string(40, 'v');
    translate(200, Block{});
    EXPECT_TRUE(
        fake::logged("OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED TavmoClient API "
                     "Version: [" +
                         std::string(31, 'v') + "]",
                     3));
}

TEST_F(PublicEvents, ConferenceEventsSetAndClearTheConferenceFlag) {
    translate(1200, Block{});
    EXPECT_EQ(inConference.load(), 1);
    OnOutEvent(1203, Block{});
    EXPECT_EQ(inConference.load(), 0);
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{eventMessage(1200, "null"), eventMessage(1203, "null")}));
}

TEST_F(PublicEvents, PrivateCodesNeverReachThePublicTable) {
    for (int32_t code : {98, 100000, 200100, -1}) OnOutEvent(code, Block{1, 2, 3, 4});
    EXPECT_TRUE(fake::logged("OutEventThread: OnPrivateOutEvent() Entering EVENT: [200100]", 3));
    for (int32_t code : {98, 100000, 200100, -1})
        EXPECT_FALSE(fake::logged("OutEventThread: OnOutEvent() Entering EVENT: [" + std::to_string(code) + "]"));
    EXPECT_EQ(writtenBodies(), std::vector<std::string>{eventMessage(200100, "null")});
}

// The library decides how many bytes it delivers; reads never go past them.
TEST_F(PublicEvents, ShortBlockReadsAsZeroBeyondItsEnd) {
    EXPECT_EQ(translate(2101, Block{'a', 'b', 'c'}),
              eventMessage(2101, R"({"cameraCommand":0,"commandData":"","commandId":"","srcParticipantID":"abc"})"));
}

TEST_F(PublicEvents, TextThatFillsItsFieldEndsAtTheFieldsEnd) {
    TavmoClientDeviceChangeEvent event{};
    fillField(event.prevDeviceName, 'A');
    copyText(event.newDeviceName, "B");
    EXPECT_EQ(translate(602, blockOf(event)),
              eventMessage(602, R"({"changeType":0,"deviceType":0,"newDeviceName":"B","prevDeviceName":")" +
                                    std::string(128, 'A') + "\"}"));
}

TEST_F(PublicEvents, FeatureCountIsLimitedToTheFeaturesInTheBlock) {
    std::vector<TavmoClientFeatureStatus> two = {{5, 1, {}}, {6, 0, {}}};
    Block block = blockWith(TavmoClientFeatureStatusEvent{1000}, two);
    block.insert(block.end(), {7, 0, 0, 0});  // half a third entry
    EXPECT_EQ(translate(2715, block),
              eventMessage(2715, R"({"featureCount":1000,"featureStatus":[{"featureName":5,"isEnabled":1},)"
                                 R"({"featureName":6,"isEnabled":0}]})"));
}

}  // namespace
