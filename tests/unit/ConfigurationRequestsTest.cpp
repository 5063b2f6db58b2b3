// The configuration record at the layout's offsets, in both directions.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "HostFixture.h"
#include "PageMessages.h"
#include "RecordImage.h"

namespace {

constexpr std::size_t kRecordSize = 22816;

struct Word {
    const char* key;
    std::size_t offset;
};

// Read and set.
const Word kWords[] = {
    {"currentMicrophone", 7716},
    {"currentSpeaker", 15404},
    {"currentCamera", 19252},
    {"enableFeccEndpoint", 19256},
    {"enableFeccController", 19260},
    {"mediaLowPort", 22704},
    {"mediaHighPort", 22708},
    {"proxySettings", 22712},
    {"enableLogging", 22720},
    {"enableAutoAnswer", 22724},
    {"enableForceProxy", 22728},
    {"enableLogWindow", 22732},
    {"enableEntryTone", 22736},
    {"enableEchoDetection", 22740},
    {"enableEchoCancellation", 22744},
    {"enableFullScreenVideo", 22748},
    {"showToolbarInFullScreenVideo", 22752},
    {"enableAudioAGC", 22756},
    {"enableAutoStart", 22760},
    {"enableAutoLogIn", 22764},
    {"enableShowConfParticipantName", 22768},
    {"enableMuteMicrophoneOnJoin", 22772},
    {"enableHideCameraOnJoin", 22776},
    {"enableMuteSpeakerOnJoin", 22780},
    {"enableEulaAgreed", 22784},
    {"enableRendering", 22788},
    {"enableBackgrounding", 22792},
    {"enablePersonalRoomForSchedulingMeeting", 22796},
    {"enableFullDisplaySharing", 22800},
    {"selfViewLoopbackPolicy", 22804},
};
const Word kSetOnlyWords[] = {{"enableLowBackgroundTimeout", 22808}, {"allowLetterBoxVideoScaling", 22812}};

struct Text {
    const char* key;
    std::size_t offset;
    std::size_t width;
};

const Text kTexts[] = {
    {"userID", 20368, 64},
    {"password", 20432, 64},
    {"serverAddress", 20496, 257},
    {"serverPort", 20753, 6},
    {"webProxyAddress", 21022, 257},
    {"webProxyPort", 21279, 6},
    {"webProxyUsername", 21285, 64},
    {"webProxyPassword", 21349, 64},
    {"portalAddress", 21676, 64},
    {"ringtoneDeviceName", 21740, 64},
    {"verifyCertPortalAcct", 21804, 385},
    {"webProxyScriptUrl", 22189, 257},
};
// The library's own: reported, never set.
const Text kGetOnlyTexts[] = {
    {"tavmoProxyAddress", 20759, 257}, {"tavmoProxyPort", 21016, 6},        {"webProxyIeAddress", 21413, 257},
    {"webProxyIePort", 21670, 6},      {"webProxyIeScriptUrl", 22446, 257},
};

constexpr std::size_t kMicrophones = 0, kMicrophoneDevices = 3840, kVoiceProcessing = 7680, kMicrophoneCount = 7712;
constexpr std::size_t kSpeakers = 7720, kSpeakerReserved = 11560, kSpeakerCount = 15400;
constexpr std::size_t kCameras = 15408, kCameraCount = 19248;
constexpr std::size_t kProxies = 19264, kProxyCount = 20360, kCurrentProxy = 20364;
constexpr std::size_t kVideoPreference = 22716;

class Configuration : public HostFixture {
protected:
    Json::Value setRequest(const std::string& members) {
        return parsed(R"({"type":"RequestSetConfiguration","_direction":1)" + (members.empty() ? "" : "," + members) +
                      "}");
    }
    // Sends a set request and returns the record the library received.
    std::vector<unsigned char> sentRecord(const Json::Value& request) {
        answer(request);
        EXPECT_EQ(fake::library().requests.size(), 1u);
        if (fake::library().requests.empty()) return {};
        EXPECT_EQ(fake::library().requests[0].code, TAVMO_CLIENT_REQUEST_SET_CONFIGURATION);
        return fake::library().requests[0].record;
    }
    std::string getReply(const RecordImage& record) {
        fake::library().requestAnswers[TAVMO_CLIENT_REQUEST_GET_CONFIGURATION] = record.answer();
        return answer(std::string(R"({"type":"RequestGetConfiguration","_direction":1})"));
    }
};

// Set: each word alone lands at its offset and nowhere else.

class SetWord : public Configuration, public ::testing::WithParamInterface<Word> {};

TEST_P(SetWord, LandsAtItsOffset) {
    Json::Value request = setRequest(std::string("\"") + GetParam().key + "\":\"-7\"");
    EXPECT_TRUE(sameBytes(sentRecord(request), RecordImage(kRecordSize).word(GetParam().offset, 0xFFFFFFF9u)));
    EXPECT_EQ(writtenBodies().back(), replyTo(request, parsed(R"({"result":"ok"})")));
}

INSTANTIATE_TEST_SUITE_P(Words, SetWord, ::testing::ValuesIn(kWords));
INSTANTIATE_TEST_SUITE_P(SetOnlyWords, SetWord, ::testing::ValuesIn(kSetOnlyWords));

// Set: each text alone; one that would fill its field is cut by a byte so
// that the library always finds the terminator inside the field.

class SetText : public Configuration, public ::testing::WithParamInterface<Text> {};

TEST_P(SetText, LandsAtItsOffsetCutToKeepItsTerminator) {
    const std::string full(GetParam().width, 'x');
    Json::Value request = setRequest(std::string("\"") + GetParam().key + "\":\"" + full + "\"");
    EXPECT_TRUE(sameBytes(sentRecord(request), RecordImage(kRecordSize).text(GetParam().offset, full.substr(1))));
}

INSTANTIATE_TEST_SUITE_P(Texts, SetText, ::testing::ValuesIn(kTexts));

// Set: how lists, counts and the video preference combine.

struct SetCase {
    const char* name;
    std::string members;
    std::function<void(RecordImage&)> expect;
};

class SetRecord : public Configuration, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetRecord, SendsExactly) {
    RecordImage expected(kRecordSize);
    GetParam().expect(expected);
    Json::Value request = setRequest(GetParam().members);
    EXPECT_TRUE(sameBytes(sentRecord(request), expected));
    EXPECT_EQ(writtenBodies().back(), replyTo(request, parsed(R"({"result":"ok"})")))
        << "the request's own members come back unchanged";
}

const SetCase kSetCases[] = {
    {"NothingSendsZeros", "", [](RecordImage&) {}},
    {"CountAboveCapacityIsCapped", R"("numberMicrophones":40)", [](RecordImage& r) { r.word(kMicrophoneCount, 30); }},
    {"NegativeCountIsCapped", R"("numberSpeakers":-1)", [](RecordImage& r) { r.word(kSpeakerCount, 30); }},
    {"NullCountIsCapped", R"("numberCameras":null)", [](RecordImage& r) { r.word(kCameraCount, 30); }},
    {"ListSetsItsCount", R"("microphones":["a","b","c"])",
     [](RecordImage& r) { r.word(kMicrophoneCount, 3).text(kMicrophones, "a").text(128, "b").text(256, "c"); }},
    {"CountVisitedAfterTheListsReplacesTheirs", R"("microphones":["a","b","c"],"numberMicrophones":2)",
     [](RecordImage& r) { r.word(kMicrophoneCount, 2).text(kMicrophones, "a").text(128, "b").text(256, "c"); }},
    {"FirstListOfACountDecidesForTheOthers",
     R"("microphonePhyDeviceName":["p0","p1"],"microphones":["a","b","c"],"microphoneVoiceProcessingSupport":[1,1,1])",
     [](RecordImage& r) {
         r.word(kMicrophoneCount, 2).text(kMicrophoneDevices, "p0").text(kMicrophoneDevices + 128, "p1");
         r.byte(kVoiceProcessing, 1).byte(kVoiceProcessing + 1, 1);
         r.text(kMicrophones, "a").text(128, "b");
     }},
    {"CountBeforeItsListLeavesMissingSlotsZero", R"("numberSpeakers":3,"speakers":["only"])",
     [](RecordImage& r) { r.word(kSpeakerCount, 3).text(kSpeakers, "only"); }},
    {"CountAfterItsListKeepsEveryName", R"("cameras":["c0","c1","c2","c3"],"numberCameras":1)",
     [](RecordImage& r) {
         r.word(kCameraCount, 1).text(kCameras, "c0").text(kCameras + 128, "c1");
         r.text(kCameras + 256, "c2").text(kCameras + 384, "c3");
     }},
    {"ListLongerThanCapacityStopsAtIt",
     R"("speakers":["0","1","2","3","4","5","6","7","8","9","10","11","12","13","14","15","16","17","18","19","20","21","22","23","24","25","26","27","28","29","30","31"])",
     [](RecordImage& r) {
         r.word(kSpeakerCount, 30);
         for (int i = 0; i < 30; ++i) r.text(kSpeakers + 128 * i, std::to_string(i));
     }},
    {"NullNamesLeaveTheirSlotsZero", R"("cameras":[null,"c1"])",
     [](RecordImage& r) { r.word(kCameraCount, 2).text(kCameras + 128, "c1"); }},
    {"FlagsTakeTheJsonTruth", R"("microphoneVoiceProcessingSupport":[true,0,2,null,0.5,false])",
     [](RecordImage& r) {
         r.word(kMicrophoneCount, 6).byte(kVoiceProcessing, 1).byte(kVoiceProcessing + 2, 1);
         r.byte(kVoiceProcessing + 4, 1);
     }},
    {"NameThatWouldFillItsSlotIsCut", R"("cameras":[")" + std::string(128, 'n') + R"("])",
     [](RecordImage& r) { r.word(kCameraCount, 1).text(kCameras, std::string(127, 'n')); }},
    {"NonArrayListWithoutCountSetsNothing", R"("speakers":"loud")", [](RecordImage&) {}},
    {"UnknownVideoPreferenceIsZero", R"("videoPreferences":"Sharpest","enableLogging":1)",
     [](RecordImage& r) { r.word(22720, 1); }},
    {"NumberAsVideoPreferenceIsItsTextAndNoName", R"("videoPreferences":20)", [](RecordImage&) {}},
    {"VideoPreferenceByName", R"("videoPreferences":"1080p30")", [](RecordImage& r) { r.word(kVideoPreference, 20); }},
    {"LibraryOwnedKeysAreIgnored",
     R"("tavmoProxies":[1],"numberTavmoProxies":5,"currentTavmoProxy":2,"tavmoProxyAddress":7,"tavmoProxyPort":[],)"
     R"("webProxyIeAddress":{},"webProxyIePort":null,"webProxyIeScriptUrl":true,"_id":9,"_tabId":"t")",
     [](RecordImage&) {}},
    {"UnknownKeyIsSkipped", R"("colour":"blue","mediaLowPort":5000)", [](RecordImage& r) { r.word(22704, 5000); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, SetRecord, ::testing::ValuesIn(kSetCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct VideoPreference {
    uint32_t code;
    const char* name;
};

const VideoPreference kVideoPreferences[] = {
    {0, "BestQuality"},    {1, "BestFramerate"},   {2, "BestResolution"},  {3, "LimitedBandwidth"},
    {4, "Advanced360p30"}, {10, "Advanced450p30"}, {11, "Advanced720p15"}, {12, "Advanced720p30"},
    {20, "1080p30"},       {22, "Advanced360p15"},
};

class VideoPreferenceName : public Configuration, public ::testing::WithParamInterface<VideoPreference> {};

TEST_P(VideoPreferenceName, TravelsBothWays) {
    const std::string name = GetParam().name;
    EXPECT_TRUE(sameBytes(sentRecord(setRequest("\"videoPreferences\":\"" + name + "\"")),
                          RecordImage(kRecordSize).word(kVideoPreference, GetParam().code)));
    std::string reply = getReply(RecordImage(kRecordSize).word(kVideoPreference, GetParam().code));
    EXPECT_NE(reply.find("\"videoPreferences\":\"" + name + "\""), std::string::npos) << reply;
}

INSTANTIATE_TEST_SUITE_P(Codes, VideoPreferenceName, ::testing::ValuesIn(kVideoPreferences));

TEST_F(Configuration, CodesWithoutANameGiveNoVideoPreference) {
    for (uint32_t code : {5u, 9u, 13u, 19u, 21u, 23u, 0xFFFFFFFFu}) {
        std::string reply = getReply(RecordImage(kRecordSize).word(kVideoPreference, code));
        EXPECT_EQ(reply.find("videoPreferences"), std::string::npos) << code;
    }
}

TEST_F(Configuration, UnknownKeyIsLoggedOnlyOnce) {
    sentRecord(setRequest(R"("colour":"blue","_id":3,"_tabId":4)"));
    EXPECT_EQ(fake::logTexts(1),
              std::vector<std::string>{"OutputThread: RequestSetConfiguration() Found unknown key: [colour]"});
}

// Set: a value that cannot be converted fails the whole request.

struct FailingSet {
    const char* members;
    const char* key;
};

class SetFails : public Configuration, public ::testing::WithParamInterface<FailingSet> {};

TEST_P(SetFails, SendsNothing) {
    Json::Value request = setRequest(GetParam().members);
    EXPECT_EQ(answer(request), replyTo(request, parsed(R"({"error":"unknown Exception"})")));
    EXPECT_TRUE(fake::library().requests.empty());
    EXPECT_TRUE(fake::logged(
        std::string("OutputThread: RequestSetConfiguration() Unknown Exception at key: [") + GetParam().key + "]", 1));
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, SetFails,
    ::testing::Values(FailingSet{R"("userID":12345)", "userID"}, FailingSet{R"("password":null)", "password"},
                      FailingSet{R"("serverPort":["443"])", "serverPort"},
                      FailingSet{R"("mediaLowPort":1,"microphones":["a",2])", "microphones"},
                      FailingSet{R"("microphoneVoiceProcessingSupport":["yes"])", "microphoneVoiceProcessingSupport"},
                      FailingSet{R"("microphoneVoiceProcessingSupport":[[1]])", "microphoneVoiceProcessingSupport"},
                      FailingSet{R"("numberSpeakers":2,"speakers":"loud")", "speakers"},
                      FailingSet{R"("numberSpeakers":1,"speakers":{"0":"s"})", "speakers"},
                      FailingSet{R"("videoPreferences":["BestQuality"])", "videoPreferences"},
                      FailingSet{R"("videoPreferences":{})", "videoPreferences"}));

// Get: every field of the table from one record.

TEST_F(Configuration, GetReportsEveryFieldAtItsOffset) {
    RecordImage record(kRecordSize);
    Json::Value expected(Json::objectValue);

    record.word(kMicrophoneCount, 3);
    record.text(kMicrophones, "Mic A").text(kMicrophones + 256, std::string(127, 'm'));
    record.text(kMicrophones + 384, "beyond the count");
    record.text(kMicrophoneDevices, "p0").text(kMicrophoneDevices + 128, "p1").text(kMicrophoneDevices + 256, "p2");
    record.byte(kVoiceProcessing, 1).byte(kVoiceProcessing + 2, 0x80).byte(kVoiceProcessing + 3, 1);
    expected["numberMicrophones"] = 3u;
    expected["microphones"] = parsed(R"(["Mic A",""])");
    expected["microphones"].append(std::string(127, 'm'));
    expected["microphonePhyDeviceName"] = parsed(R"(["p0","p1","p2"])");
    expected["microphoneVoiceProcessingSupport"] = parsed("[true,false,true]");

    record.word(kSpeakerCount, 1).text(kSpeakers, "Speaker").text(kSpeakerReserved, "not the page's");
    expected["numberSpeakers"] = 1u;
    expected["speakers"] = parsed(R"(["Speaker"])");
    record.word(kCameraCount, 2).text(kCameras, "Cam 1").text(kCameras + 128, "Cam 2");
    expected["numberCameras"] = 2u;
    expected["cameras"] = parsed(R"(["Cam 1","Cam 2"])");
    record.word(kProxyCount, 2).text(kProxies, "Direct").text(kProxies + 137, "proxy.example");
    record.word(kCurrentProxy, 4000000001u);
    expected["numberTavmoProxies"] = 2u;
    expected["tavmoProxies"] = parsed(R"(["Direct","proxy.example"])");
    expected["currentTavmoProxy"] = 4000000001u;

    uint32_t value = 4000000000u;
    for (const Word& word : kWords) {
        record.word(word.offset, value);
        expected[word.key] = value++;
    }
    for (const Word& word : kSetOnlyWords) record.word(word.offset, 1);
    auto reportText = [&](const Text& field) {
        const std::string text = (std::string(field.key) + ".value").substr(0, field.width - 1);
        record.text(field.offset, text);
        expected[field.key] = text;
    };
    for (const Text& field : kTexts) reportText(field);
    for (const Text& field : kGetOnlyTexts) reportText(field);
    // A port that fills its field reads up to the field's end, not into the next.
    record.text(20753, "123456");
    expected["serverPort"] = "123456";
    record.word(kVideoPreference, 11);
    expected["videoPreferences"] = "Advanced720p15";

    Json::Value request = parsed(R"({"type":"RequestGetConfiguration","_direction":1})");
    EXPECT_EQ(getReply(record), replyTo(request, expected));
    EXPECT_TRUE(sameBytes(fake::library().requests.at(0).record, RecordImage(kRecordSize)))
        << "the request goes out zero-filled";
}

// Get: counts the library reports beyond a list's capacity stay inside it.

struct Overflow {
    std::size_t countOffset;
    uint32_t count;
    const char* list;
    std::size_t lastSlot;  // offset of the list's last slot
    Json::ArrayIndex capacity;
};

class GetOverflow : public Configuration, public ::testing::WithParamInterface<Overflow> {};

TEST_P(GetOverflow, ListStopsAtCapacity) {
    RecordImage record(kRecordSize);
    record.word(GetParam().countOffset, GetParam().count).text(GetParam().lastSlot, "last");
    Json::Value reply = parsed(getReply(record));
    const Json::Value& list = reply[GetParam().list];
    ASSERT_EQ(list.size(), GetParam().capacity);
    EXPECT_EQ(list[GetParam().capacity - 1].asString(), "last");
}

INSTANTIATE_TEST_SUITE_P(Counts, GetOverflow,
                         ::testing::Values(Overflow{kMicrophoneCount, 31, "microphones", kMicrophones + 29 * 128, 30},
                                           Overflow{kMicrophoneCount, 0xFFFFFFFFu, "microphonePhyDeviceName",
                                                    kMicrophoneDevices + 29 * 128, 30},
                                           Overflow{kSpeakerCount, 1000, "speakers", kSpeakers + 29 * 128, 30},
                                           Overflow{kCameraCount, 0x80000000u, "cameras", kCameras + 29 * 128, 30},
                                           Overflow{kProxyCount, 9, "tavmoProxies", kProxies + 7 * 137, 8}));

}  // namespace
