#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "InEventTestSupport.h"
#include "PageMessages.h"
#include "RequestHandler/CommandInEvents.h"

namespace inevent_test {
namespace {

struct SentCase {
    std::string request;
    int32_t code;
    Bytes record;
    const char* logged;  // the level-1 line, or null for none
};

class CommandSent : public InEventTest, public ::testing::WithParamInterface<SentCase> {};

TEST_P(CommandSent, SendsTheRecordAndAnswersOk) {
    const SentCase& c = GetParam();
    EXPECT_EQ(answer(c.request), okReply(c.request));
    std::vector<fake::SentRecord> sent = events();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].code, c.code);
    EXPECT_EQ(sent[0].record, c.record);
    EXPECT_EQ(fake::logTexts(TAVMO_CLIENT_LOG_ERROR),
              c.logged ? std::vector<std::string>{c.logged} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandSent,
    ::testing::Values(
        SentCase{request("InEventLeave"), 201, {}, nullptr}, SentCase{request("InEventCancel"), 200, {}, nullptr},
        SentCase{request("InEventUnshare"), 601, {}, nullptr},
        SentCase{request("InEventLoginCancel"), 1601, {}, nullptr},
        SentCase{request("InEventSignoff"), 1603, {}, nullptr}, SentCase{request("InEventDecline"), 301, {}, nullptr},
        SentCase{request("InEventStopPrecallTestSpeaker"), 3248, {}, nullptr},
        SentCase{request("InEventMuteAudioIn", R"("willMute":0)"), 500, {0}, nullptr},
        SentCase{request("InEventMuteAudioOut", R"("willMute":2.5)"), 501, {1}, nullptr},
        SentCase{request("InEventMuteVideo", R"("willMute":null)"), 502, {0}, nullptr},
        SentCase{request("InEventSetEchoDetection", R"("enable":true)"), 1100, {1}, nullptr},
        SentCase{request("InEventSetEchoCancellation", R"("enable":-1)"), 1101, {1}, nullptr},
        SentCase{request("InEventSetAGC"), 1200, {0}, nullptr},
        SentCase{request("InEventSetFreezeImage", R"("freeze":true)"), 1701, {1}, nullptr},
        SentCase{request("InEventSetOffline", R"("offline":1)"), 1700, {1}, nullptr},
        SentCase{request("InEventParticipantsLimit", R"("maxNumParticipants":8)"), 900, int32Record(8), nullptr},
        SentCase{request("InEventParticipantsLimit", R"("maxNumParticipants":"5")"), 900, int32Record(5), nullptr},
        SentCase{request("InEventParticipantsLimit", R"("maxNumParticipants":9)"), 900, int32Record(8),
                 "OutputThread: InEventParticipantsLimit() Invalid maxNumParticipants: [9], setting it to [8]"},
        SentCase{request("InEventParticipantsLimit", R"("maxNumParticipants":-1)"), 900, int32Record(8),
                 "OutputThread: InEventParticipantsLimit() Invalid maxNumParticipants: [-1], setting it to [8]"},
        SentCase{request("InEventLayout"), 901, int32Record(0), nullptr},
        SentCase{request("InEventLayout", R"("numPreferred":2)"), 901, int32Record(1),
                 "OutputThread: InEventLayout() Invalid numPreferred: [2], setting it to [1]"},
        SentCase{request("InEventPrecallTestCamera", R"("action":"DeviceTestStart")"), 3245, int32Record(1), nullptr},
        SentCase{request("InEventPrecallTestMicrophone", R"("action":"deviceteststart")"), 3246, int32Record(2),
                 nullptr},
        SentCase{request("InEventPrecallTestMicrophone"), 3246, int32Record(2), nullptr},
        SentCase{request("InEventSetSendBandwidthLimit"), 1502, RecordBuilder(8).int32(0, 6).int32(4, 1), nullptr},
        SentCase{request("InEventSetSendBandwidthLimit", R"("sendBandwidth":[1],"layers":"3x")"), 1502,
                 RecordBuilder(8).int32(0, INT32_MIN).int32(4, 3), nullptr},
        SentCase{request("EventPreview", R"("previewMode":"Dock")"), 400, RecordBuilder(8).int32(0, 2), nullptr},
        SentCase{request("EventPreview", R"("previewMode":"PIP")"), 400, RecordBuilder(8).int32(0, 1), nullptr},
        SentCase{request("EventPreview", R"("previewMode":"pip")"), 400, RecordBuilder(8), nullptr},
        SentCase{request("PrivateInEventLayout", R"("layout_num":3,"participants_limit_manual":4,)"
                                                 R"("participants_limit_render":-5,"participants_limit_safe":"6",)"
                                                 R"("layout_wide":7.5)"),
                 200100, RecordBuilder(20).int32(0, 3).int32(4, 4).int32(8, -5).int32(12, 6).int32(16, 8), nullptr},
        // Without a window frame the library gets the requested size.
        SentCase{request("InEventResize", R"("x":10,"y":-20,"width":640,"height":360)"), 800,
                 RecordBuilder(16).int32(0, 10).int32(4, -20).int32(8, 640).int32(12, 360), nullptr}));

struct RefusalCase {
    std::string request;
    int32_t code;
    const char* logged;
    const char* constant;
};

class InEventRefused : public InEventTest, public ::testing::WithParamInterface<RefusalCase> {};

// Anything but exactly 1 is a refusal.
TEST_P(InEventRefused, IsLoggedByHandlerAndConstantAndAnswered) {
    const RefusalCase& c = GetParam();
    for (int result : {0, 2}) {
        fake::reset();
        refuse(c.code, static_cast<TavmoClientBool>(result));
        EXPECT_EQ(answer(c.request), errorReply(c.request, std::string("TavmoClient error: ") + c.constant));
        EXPECT_EQ(fake::logTexts(TAVMO_CLIENT_LOG_ERROR),
                  std::vector<std::string>{std::string("OutputThread: ") + c.logged + "() " + c.constant});
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFamilies, InEventRefused,
    ::testing::Values(RefusalCase{request("InEventLeave"), 201, "InEventLeave", "TAVMO_CLIENT_IN_EVENT_LEAVE"},
                      RefusalCase{request("InEventSignoff"), 1603, "InEventSignOff", "TAVMO_CLIENT_IN_EVENT_SIGNOFF"},
                      RefusalCase{request("PrivateInEventLayout"), 200100, "PrivateInEventLayout",
                                  "TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT"},
                      RefusalCase{request("InEventLogin"), 1600, "InEventLogin", "TAVMO_CLIENT_IN_EVENT_LOGIN"},
                      RefusalCase{request("InEventPlayDtmfTone"), 1301, "InEventPlayDtmfTone",
                                  "TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE"}));

class CommandBadInput : public InEventTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(CommandBadInput, IsAnUnknownErrorAndSendsNothing) {
    EXPECT_EQ(answer(GetParam()), errorReply(GetParam(), "unknown error"));
    EXPECT_TRUE(events().empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandBadInput,
                         ::testing::Values(request("InEventMuteAudioIn"),
                                           request("InEventMuteVideo", R"("willMute":"true")"),
                                           request("InEventSetAGC", R"("enable":[true])"),
                                           request("InEventPrecallTestCamera", R"("action":1)"),
                                           request("EventPreview", R"("previewMode":{})")));

TEST_F(InEventTest, ToggleShareIsAnsweredWithNeitherResultNorError) {
    EXPECT_EQ(answer(request("InEventToggleShare", R"("_id":4)")),
              "{\"_direction\":2,\"_id\":4,\"type\":\"InEventToggleShare\"}\n");
    EXPECT_TRUE(events().empty());
}

// A size near the end of the range wraps as 32-bit arithmetic does.
TEST(ResizeRecord, AddsTheFrameOnBothSidesAndTheMenuBar) {
    const platform::WindowFrame frame{4, 4, 20};
    TavmoClientResizeInEvent record = resizeRecord(7, 9, 640, 360, frame);
    EXPECT_EQ(std::vector<int32_t>({record.x, record.y, record.outerWidth, record.outerHeight}),
              std::vector<int32_t>({7, 9, 648, 388}));
    record = resizeRecord(0, 0, INT32_MAX, INT32_MAX, frame);
    EXPECT_EQ(record.outerWidth, INT32_MIN + 7);
    EXPECT_EQ(record.outerHeight, INT32_MIN + 27);
}

TEST_F(InEventTest, WindowListHandsTheRequestIdOverInABufferOfItsOwn) {
    Bytes kept;
    acceptTakingOver(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT, sizeof(int32_t), kept);
    const std::string list = request("InEventGetWindowsExt", R"("requestId":"77")");
    EXPECT_EQ(answer(list), okReply(list));
    EXPECT_EQ(kept, int32Record(77));
}

// The leak check of the sanitizer build fails the suite unless the host
// frees the buffer that the library refused.
TEST_F(InEventTest, RefusedWindowListIsAnswered) {
    refuse(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT);
    const std::string list = request("InEventGetWindowsExt", R"("requestId":5)");
    EXPECT_EQ(answer(list), errorReply(list, "TavmoClient error: TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT"));
}

}  // namespace
}  // namespace inevent_test
