// The statistics records at the layout's offsets, turned into replies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "PageMessages.h"
#include "RecordImage.h"

namespace {

class Statistics : public HostFixture {
protected:
    std::string reply(int32_t code, const RecordImage& record, const std::string& type,
                      const std::string& members = "") {
        fake::library().requestAnswers[code] = record.answer();
        return answer(R"({"_direction":1,"type":")" + type + "\"" + members + "}");
    }
};

// Records of sixteen or fewer words, each under its key or not reported.

struct WordRecord {
    const char* type;
    int32_t code;
    std::vector<const char*> keys;  // by word; nullptr: not reported
};

const WordRecord kWordRecords[] = {
    {"RequestGetVideoFrameRateInfo",
     TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO,
     {"captureFrameRate", "encodeFrameRate", "sendFrameRate"}},
    {"RequestGetMediaInfo", TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO, {"numIFrames", "numFirs", "numNacks", "mediaRTT"}},
    {"RequestGetRateShaperInfo",
     TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO,
     {"delayVideoPriorytyNormal", "numPacketsVideoPriorytyNormal", "numFramesVideoPriorytyNormal",
      "numDroppedVideoPriorytyNormal", "delayVideoPriorutyRetransmit", "numPacketsVideoPriorutyRetransmit",
      "numFramesVideoPriorutyRetransmit", "numDroppedVideoPriorutyRetransmit", "delayAppPriorityNormal", nullptr,
      "numFramesAppPriorityNormal", "numDroppedAppPriorityNormal", "delayAppPriorityRetransmit",
      "numPacketsAppPriorityRetransmit", "numFramesAppPriorityRetransmit", "numDroppedAppPriorityRetransmit"}},
    {"RequestGetBandwidthInfo",
     TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO,
     {"AvailSendBwVideo", "AvailSendBwAudio", "AvailSendBwApplication", "AvailSendBwMax", "ActualSendBwVideo",
      "ActualSendBwAudio", "ActualSendBwApplication", nullptr, "AvailRecvBwVideo", "AvailRecvBwAudio",
      "AvailRecvBwApplication", "AvailRecvBwMax", "ActualRecvBwVideo", "ActualRecvBwAudio", "ActualRecvBwApplication",
      "ActualRecvBwMax"}},
};

class WordStatistics : public Statistics, public ::testing::WithParamInterface<WordRecord> {};

// Values from 4294967295 down, so that a word written as signed shows.
TEST_P(WordStatistics, EveryWordUnderItsKeyUnsigned) {
    const WordRecord& words = GetParam();
    RecordImage record(4 * words.keys.size());
    Json::Value expected = parsed(R"({"_direction":2,"type":")" + std::string(words.type) + "\"}");
    for (std::size_t i = 0; i < words.keys.size(); ++i) {
        const uint32_t value = 0xFFFFFFFFu - static_cast<uint32_t>(i);
        record.word(4 * i, value);
        if (words.keys[i]) expected[words.keys[i]] = value;
    }
    EXPECT_EQ(reply(words.code, record, words.type), json::writeCompact(expected));
    ASSERT_EQ(fake::library().requests.size(), 1u);
    EXPECT_TRUE(sameBytes(fake::library().requests[0].record, RecordImage(4 * words.keys.size())));
}

INSTANTIATE_TEST_SUITE_P(Records, WordStatistics, ::testing::ValuesIn(kWordRecords));

TEST_F(Statistics, ParticipantStatisticsAsksForTheIndexAndReportsEveryField) {
    RecordImage record(440);
    record.word(0, 9).byte(4, 1).text(8, "uri:kim").text(265, std::string(131, 'k'));
    record.word(396, 0xFFFFFFFFu).word(400, 2).word(404, 1280).word(408, 720);
    for (std::size_t i = 0; i < 7; ++i) record.word(412 + 4 * i, 0x80000000u + static_cast<uint32_t>(i));
    EXPECT_EQ(reply(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT, record, "RequestGetParticipantStatisticsAt",
                    R"(,"index":"3")"),
              R"({"_direction":2,"audioKBitsPerSecRecv":-2147483647,"firs":-2147483646,"index":9,)"
              R"("nacks":-2147483645,"name":")" +
                  std::string(131, 'k') +
                  R"(","result":true,"type":"RequestGetParticipantStatisticsAt",)"
                  R"("uri":"uri:kim","videoDecodedFrameRate":-2147483643,"videoDisplayedFrameRate":-2147483642,)"
                  R"("videoFrameRate":-2147483644,"videoKBitsPerSecRecv":-2147483648,)"
                  R"("videoResolution":{"height":720,"width":1280,"xPos":-1,"yPos":2}})"
                  "\n");
    EXPECT_TRUE(sameBytes(fake::library().requests.at(0).record, RecordImage(440).word(0, 3)));
}

struct IndexCase {
    const char* members;
    uint32_t sent;
};

class ParticipantIndex : public Statistics, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(ParticipantIndex, IsReadLeniently) {
    answer(R"({"_direction":1,"type":"RequestGetParticipantStatisticsAt")" + std::string(GetParam().members) + "}");
    EXPECT_TRUE(sameBytes(fake::library().requests.at(0).record, RecordImage(440).word(0, GetParam().sent)));
}

INSTANTIATE_TEST_SUITE_P(Indexes, ParticipantIndex,
                         ::testing::Values(IndexCase{"", 0}, IndexCase{R"(,"index":"3")", 3},
                                           IndexCase{R"(,"index":2.5)", 3}, IndexCase{R"(,"index":-1)", 0xFFFFFFFFu},
                                           IndexCase{R"(,"index":null)", 0x80000000u}));

TEST_F(Statistics, ParticipantNotFoundStillReportsEveryField) {
    Json::Value result =
        parsed(reply(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT, RecordImage(440).word(0, 4).byte(4, 0),
                     "RequestGetParticipantStatisticsAt", R"(,"index":4)"));
    EXPECT_FALSE(result["result"].asBool());
    EXPECT_EQ(result["index"].asInt(), 4);
    EXPECT_EQ(result["name"].asString(), "");
    EXPECT_TRUE(result.isMember("videoResolution") && result.isMember("videoDisplayedFrameRate"));
}

TEST_F(Statistics, ParticipantListKeepsEmptyNames) {
    RecordImage record(16392);
    record.word(0, 0xFFFFFFFFu).word(4, 3).text(8, "Alex").text(8 + 256, std::string(128, 'S'));
    record.text(8 + 384, "beyond the count");
    EXPECT_EQ(reply(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST, record, "RequestGetParticipants"),
              R"({"_direction":2,"name":["Alex","",")" + std::string(128, 'S') +
                  R"("],"numParticipants":3,"startIndex":4294967295,"type":"RequestGetParticipants"})"
                  "\n");
}

struct ListCount {
    uint32_t count;
    Json::ArrayIndex listed;
};

class ParticipantListCount : public Statistics, public ::testing::WithParamInterface<ListCount> {};

TEST_P(ParticipantListCount, StaysWithinTheSlots) {
    RecordImage record(16392);
    record.word(4, GetParam().count).text(8 + 127 * 128, "last");
    Json::Value result =
        parsed(reply(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST, record, "RequestGetParticipants"));
    EXPECT_EQ(result["numParticipants"].asUInt(), GetParam().count);
    ASSERT_TRUE(result["name"].isArray());
    ASSERT_EQ(result["name"].size(), GetParam().listed);
    if (GetParam().listed == 128) {
        EXPECT_EQ(result["name"][127].asString(), "last");
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, ParticipantListCount,
                         ::testing::Values(ListCount{0, 0}, ListCount{128, 128}, ListCount{129, 128},
                                           ListCount{0xFFFFFFFFu, 128}));

TEST_F(Statistics, CameraControlListSkipsEntriesWithoutAName) {
    RecordImage record(9272);
    record.text(0, "uri:a").text(257, "uri:b").text(514, "uri:c");
    record.text(6168, "Alex").text(6168 + 256, "Kim");
    record.text(9240, std::string(24, 'p')).word(9264, 3).word(9268, 0xFFFFFFFFu);
    EXPECT_EQ(reply(TAVMO_CLIENT_REQUEST_GET_FECC_LIST, record, "RequestGetFeccList"),
              R"({"_direction":2,"feccParticipantIndex":4294967295,"name":["Alex","Kim"],"numberParticipants":3,)"
              R"("privacyMode":")" +
                  std::string(24, 'p') +
                  R"(","type":"RequestGetFeccList","uri":["uri:a","uri:c"]})"
                  "\n");
}

TEST_F(Statistics, CameraControlCountStaysWithin24Slots) {
    RecordImage record(9272);
    record.word(9264, 1000);
    for (std::size_t i = 0; i < 24; ++i) record.text(6168 + 128 * i, "n" + std::to_string(i));
    Json::Value result = parsed(reply(TAVMO_CLIENT_REQUEST_GET_FECC_LIST, record, "RequestGetFeccList"));
    EXPECT_EQ(result["name"].size(), 24u);
    EXPECT_EQ(result["uri"].size(), 24u);
    EXPECT_EQ(result["name"][23].asString(), "n23");
}

TEST_F(Statistics, EncodeResolutionHasSignedPositionAndUnsignedSize) {
    RecordImage record(16);
    record.word(0, 0xFFFFFFFBu).word(4, 7).word(8, 0xFFFFFFFFu).word(12, 720);
    EXPECT_EQ(reply(TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION, record, "RequestGetEncodeResolution"),
              R"({"_direction":2,"rect":{"height":720,"width":4294967295,"xPos":-5,"yPos":7},)"
              R"("type":"RequestGetEncodeResolution"})"
              "\n");
}

TEST_F(Statistics, ConnectivityReportsEveryText) {
    RecordImage record(1204);
    record.text(0, std::string(192, 'a')).text(192, "443").byte(200, 0xFF).text(201, "vm-1");
    record.text(265, "user").text(455, "portal").text(583, "4.2").text(839, "site");
    record.text(879, "proxy").text(1007, "8443").byte(1015, 1).text(1016, "203.0.113.5");
    record.word(1064, 0xFFFFFFFEu).text(1068, "reverse").text(1196, "12345678");
    EXPECT_EQ(reply(TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO, record, "RequestGetConnectivityInfo"),
              R"({"_direction":2,"clientExternalIPAddress":"203.0.113.5","guestLogin":1,"locationTag":"site",)"
              R"("portalAddress":"portal","portalVersion":"4.2","proxyType":-2,"reverseProxyAddress":"reverse",)"
              R"("reverseProxyPort":"12345678","serverAddress":")" +
                  std::string(192, 'a') +
                  R"(","serverPort":"443","serverSecured":-1,"tavmoProxyAddress":"proxy","tavmoProxyPort":"8443",)"
                  R"("type":"RequestGetConnectivityInfo","userName":"user","vmIdentity":"vm-1"})"
                  "\n");
}

TEST_F(Statistics, LayoutIsAPrivateRequest) {
    fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT] = [](void* inner, uint32_t) {
        const uint32_t words[5] = {2, 4, 9, 6, 0xFFFFFFFFu};
        std::memcpy(inner, words, sizeof words);
        return 0;
    };
    EXPECT_EQ(answer(std::string(R"({"_direction":1,"type":"RequestGetLayout"})")),
              R"({"_direction":2,"layout_num":2,"layout_wide":4294967295,"participants_limit_manual":4,)"
              R"("participants_limit_render":9,"participants_limit_safe":6,"type":"RequestGetLayout"})"
              "\n");
    const fake::SentRecord& sent = fake::library().requests.at(0);
    EXPECT_EQ(sent.code, TAVMO_CLIENT_REQUEST_PRIVATE);
    EXPECT_EQ(sent.privateCode, uint32_t{TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT});
    EXPECT_EQ(sent.sizeField, 4u);
}

TEST_F(Statistics, RefusedLayoutNamesThePrivateConstant) {
    fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT] = [](void*, uint32_t) { return 3; };
    EXPECT_EQ(answer(std::string(R"({"_direction":1,"type":"RequestGetLayout"})")),
              R"({"_direction":2,"error":"TavmoClient error: TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT",)"
              R"("type":"RequestGetLayout"})"
              "\n");
    EXPECT_TRUE(fake::logged("OutputThread: RequestGetLayout() TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT: [3]", 1));
}

}  // namespace
