// Portal answers (private event 200900): each case builds the answer record
// and compares the message the page receives. Expected texts are written in
// any member order and brought into the writer's order before comparing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EventRecords.h"
#include "HostFixture.h"
#include "OutEventHandler.h"
#include "Records.h"
#include "Utf16.h"

namespace {

constexpr int32_t kPortal = TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP;

std::string canonical(const std::string& text) {
    Json::Value value;
    EXPECT_TRUE(json::parse(text, value)) << text;
    return json::writeCompact(value);
}

// The message for an answer: the header members, then `members`.
std::string answerMessage(uint32_t typeRequest, const std::string& members) {
    std::string params = R"({"typeRequest":)" + std::to_string(typeRequest) +
                         R"(,"error":3,"httpStatusCode":200,"requestId":42)" + (members.empty() ? "" : ",") + members +
                         "}";
    return canonical(R"({"_direction":2,"code":200900,"params":)" + params + "}");
}

TavmoClientPortalHeader header(uint32_t typeRequest) { return TavmoClientPortalHeader{typeRequest, 3, 200, 42}; }

template <typename Answer, typename Fill>
Block portalAnswer(uint32_t typeRequest, Fill fill) {
    Answer value{};
    value.header = header(typeRequest);
    fill(value);
    return blockOf(value);
}

class PortalAnswers : public HostFixture {
protected:
    std::string translate(const Block& block) {
        OnPrivateOutEvent(kPortal, block);
        std::vector<std::string> bodies = writtenBodies();
        EXPECT_EQ(bodies.size(), 1u);
        return bodies.empty() ? std::string() : bodies.front();
    }

    Json::Value translatedParams(const Block& block) {
        Json::Value message;
        EXPECT_TRUE(json::parse(translate(block), message));
        return message["params"];
    }
};

struct AnswerCase {
    const char* name;
    uint32_t typeRequest;
    Block block;
    std::string members;
};

class AnswerCases : public PortalAnswers, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerCases, WritesItsMembers) {
    EXPECT_EQ(translate(GetParam().block), answerMessage(GetParam().typeRequest, GetParam().members));
}

std::string caseName(const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; }

TavmoClientEntity sampleEntity(const char* id) {
    TavmoClientEntity entity{};
    copyText(entity.entityID, id);
    copyText(entity.participantID, "p1");
    entity.entityType = 2;
    copyText(entity.ownerID, "o1");
    copyText(entity.displayName, "Ann");
    copyText(entity.extension, "100");
    copyText(entity.emailAddress, "a@x");
    copyText(entity.tenant, "t");
    copyText(entity.language, "en");
    entity.memberStatus = 3;
    entity.memberMode = 4;
    entity.canCallDirect = 1;
    entity.roomStatus = 5;
    copyText(entity.roomURL, "https://r");
    entity.isRoomLocked = 1;
    entity.hasPIN = -1;
    copyText(entity.roomPIN, "1234");
    copyText(entity.moderatorPIN, "99");
    entity.canControl = 1;
    entity.audio = 1;
    entity.video = 2;
    return entity;
}

std::string flatEntity(const char* id) {
    return std::string(R"({"entityID":")") + id +
           R"(","participantID":"p1","entityType":2,"ownerID":"o1","displayName":"Ann","extension":"100",)"
           R"("emailAddress":"a@x","tenant":"t","language":"en","memberStatus":3,"memberMode":4,"canCallDirect":1,)"
           R"("canJoinMeeting":0,"roomStatus":5,"roomURL":"https://r","isRoomLocked":1,"hasPIN":-1,"roomPIN":"1234",)"
           R"("hasModeratorPIN":0,"moderatorPIN":"99","canControl":1,"isInMyContacts":0,"audio":1,"video":2,)"
           R"("appShare":0,"roomMode":null})";
}

std::string nestedEntity(const char* id) {
    return std::string(R"({"entityID":")") + id +
           R"(","participantID":"p1","entityType":2,"ownerID":"o1","displayName":"Ann","extension":"100",)"
           R"("emailAddress":"a@x","tenant":"t","language":"en","memberStatus":3,"memberMode":4,)"
           R"("canCallDirect":true,"canJoinMeeting":false,"roomStatus":5,"canControl":true,"isInMyContacts":false,)"
           R"("audio":true,"video":true,"appShare":false,"roomMode":{"roomURL":"https://r","isRoomLocked":true,)"
           R"("hasPIN":true,"roomPIN":"1234","hasModeratorPIN":false,"moderatorPIN":"99"}})";
}

TavmoClientParticipant sampleParticipant(const char* id) {
    TavmoClientParticipant participant{};
    participant.account = sampleEntity(id);
    copyText(participant.uri, "sip:ann");
    participant.isGuestParticipant = 1;
    return participant;
}

std::string participantJson(const char* id) {
    return R"({"uri":"sip:ann","isGuestParticipant":true,"account":)" + nestedEntity(id) + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, AnswerCases,
    ::testing::Values(
        AnswerCase{"NamedResultUnknown", 80,
                   portalAnswer<TavmoClientPortalResultAnswer>(80, [](auto& a) { a.result = 7; }),
                   R"("type":"OutEventPrivacyOnClientAll","result":"UnknownErrorValue")"},
        AnswerCase{"ResultAt20", 77,
                   portalAnswer<TavmoClientPortalServerResultAnswer>(77,
                                                                     [](auto& a) {
                                                                         a.reserved = 1004;
                                                                         a.result = 1000;
                                                                     }),
                   R"("type":"OutEventControlAudioServerAll","result":"Success")"},
        AnswerCase{"OtherResultAt20", 79,
                   portalAnswer<TavmoClientPortalServerResultAnswer>(79, [](auto& a) { a.result = 1021; }),
                   R"("type":"OutEventPrivacyControlServerAll","result":"RoomIsFull")"},
        AnswerCase{
            "NegativePlainResult", 67,
            portalAnswer<TavmoClientPortalResultAnswer>(67, [](auto& a) { a.result = static_cast<uint32_t>(-5); }),
            R"("type":"OutEventStopConferenceRecording","result":-5)"},
        AnswerCase{"ResultAndFault", 5,
                   portalAnswer<TavmoClientPortalJoinAnswer>(5,
                                                             [](auto& a) {
                                                                 a.result = 1004;
                                                                 a.fault = 6;
                                                             }),
                   R"("type":"OutEventJoinConference","result":"WrongPIN","fault":"WrongPin")"},
        AnswerCase{"WebcastUrl", 45,
                   portalAnswer<TavmoClientPortalUrlAnswer>(45,
                                                            [](auto& a) {
                                                                a.result = 1000;
                                                                copyText(a.url, "https://w");
                                                                a.hasPin = 1;
                                                            }),
                   R"("type":"OutEventGetWebcastUrl","result":"Success","webcastURL":"https://w","hasPin":true)"},
        AnswerCase{"ModeratorUrl", 62,
                   portalAnswer<TavmoClientPortalUrlAnswer>(62,
                                                            [](auto& a) {
                                                                a.result = 1001;
                                                                copyText(a.url, "https://m");
                                                            }),
                   R"("type":"OutEventGetModeratorURL","result":"Failure","moderatorURL":"https://m","hasPin":false)"},
        AnswerCase{
            "ClientVersion", 1,
            portalAnswer<TavmoClientPortalClientVersionAnswer>(1,
                                                               [](auto& a) {
                                                                   a.userInitiated = 1;
                                                                   copyText(a.currentTag, "1.3.7");
                                                                   copyText(a.installerUri, "https://i");
                                                               }),
            R"("type":"OutEventClientVersion","userInitiated":true,"currentTag":"1.3.7","installerUri":"https://i")"},
        AnswerCase{"AccessKey", 4,
                   portalAnswer<TavmoClientPortalAccessKeyAnswer>(4, [](auto& a) { copyText(a.accessKey, "BAK1"); }),
                   R"("type":"OutEventBrowserAccessKey","BAK":"BAK1")"},
        AnswerCase{"Participant", 24,
                   blockWith(
                       [] {
                           TavmoClientPortalParticipantsAnswer a{header(24), 9, 1, 1000, 1};
                           return a;
                       }(),
                       std::vector<TavmoClientParticipant>{sampleParticipant("e1")}),
                   R"("type":"OutEventGetParticipants","total":9,"start":1,"result":"Success","numEntries":1,)"
                   R"("participantData":)" +
                       participantJson("e1")},
        AnswerCase{"ParticipantsNone", 74, blockOf(TavmoClientPortalParticipantsAnswer{header(74), 0, 0, 1000, 0}),
                   R"("type":"OutEventGetParticipantsEx","total":0,"start":0,"result":"Success","numEntries":0,)"
                   R"("participantData":[])"},
        AnswerCase{"Participants", 74,
                   blockWith(TavmoClientPortalParticipantsAnswer{header(74), 2, 0, 1000, 2},
                             std::vector<TavmoClientParticipant>{sampleParticipant("e1"), sampleParticipant("e2")}),
                   R"("type":"OutEventGetParticipantsEx","total":2,"start":0,"result":"Success","numEntries":2,)"
                   R"("participantData":[)" +
                       participantJson("e1") + "," + participantJson("e2") + "]"},
        AnswerCase{"Search", 12,
                   blockWith(TavmoClientPortalSearchAnswer{header(12), 5, 0, 2, 1000},
                             std::vector<TavmoClientEntity>{sampleEntity("e1"), sampleEntity("e2")}),
                   R"("type":"OutEventSearch","total":5,"start":0,"numEntries":2,"result":1000,"accountData":[)" +
                       flatEntity("e1") + "," + flatEntity("e2") + "]"},
        AnswerCase{"ScheduledRoom", 50,
                   portalAnswer<TavmoClientPortalScheduledRoomAnswer>(50,
                                                                      [](auto& a) {
                                                                          a.result = 1000;
                                                                          copyText(a.roomExtn, "4711");
                                                                          copyText(a.roomPin, "1234");
                                                                          copyText(a.invite, "Join us");
                                                                          copyText(a.subject, "Weekly");
                                                                          copyText(a.roomURL, "https://r");
                                                                      }),
                   R"("type":"OutEventCreateScheduledRoom","result":"Success","roomExtn":"4711","roomPin":"1234",)"
                   R"("invite":"Join us","subject":"Weekly","roomURL":"https://r")"},
        AnswerCase{"InviteContent", 51,
                   portalAnswer<TavmoClientPortalInviteAnswer>(51,
                                                               [](auto& a) {
                                                                   a.result = 1018;
                                                                   copyText(a.invite, "Join");
                                                                   copyText(a.subject, "Subj");
                                                               }),
                   R"("type":"OutEventGetInviteContent","result":"AccessRestricted","invite":"Join","subject":"Subj")"},
        AnswerCase{
            "PortalFeatures", 54,
            blockWith(TavmoClientPortalFeaturesAnswer{header(54), 1000, 3},
                      std::vector<TavmoClientFeatureStatus>{{1, 1, {}}, {2, 0, {}}, {3, -1, {}}}),
            R"("type":"OutEventGetPortalFeatures","result":"Success","featureCount":3,"features":[)"
            R"({"featureName":1,"isEnabled":1},{"featureName":2,"isEnabled":0},{"featureName":3,"isEnabled":-1}])"},
        AnswerCase{"PortalFeaturesAnonymous", 55,
                   blockWith(TavmoClientPortalFeaturesAnswer{header(55), 1001, 1},
                             std::vector<TavmoClientFeatureStatus>{{8, 1, {}}}),
                   R"("type":"OutEventGetPortalFeaturesAnonymous","result":"Failure","featureCount":1,)"
                   R"("features":[{"featureName":8,"isEnabled":1}])"},
        AnswerCase{"PortalFeaturesNone", 54, blockOf(TavmoClientPortalFeaturesAnswer{header(54), 1000, 0}),
                   R"("type":"OutEventGetPortalFeatures","result":"Success","featureCount":0,"features":[])"},
        AnswerCase{"GuestLink", 57,
                   portalAnswer<TavmoClientPortalGuestLinkAnswer>(57,
                                                                  [](auto& a) {
                                                                      a.guestID = 12;
                                                                      a.isLocked = 0;
                                                                      a.hasPin = 1;
                                                                      copyText(a.vmaddress, "vm");
                                                                      copyText(a.proxyaddress, "proxy");
                                                                      copyText(a.loctag, "loc");
                                                                      copyText(a.un, "guest");
                                                                      copyText(a.pak, "pak");
                                                                      copyText(a.portal, "https://p");
                                                                      copyText(a.portalVersion, "3.1");
                                                                      a.proxyType = 2;
                                                                      copyText(a.reverseProxyAddress, "rp");
                                                                      copyText(a.clientExternalIPAddress, "10.0.0.1");
                                                                      a.result = 1000;
                                                                      a.fault = 6;
                                                                  }),
                   R"("type":"PrivateOutEventVcsoapGuestLink","guestID":12,"isLocked":false,"hasPin":true,)"
                   R"("vmaddress":"vm","proxyaddress":"proxy","loctag":"loc","un":"guest","pak":"pak",)"
                   R"("portal":"https://p","portalVersion":"3.1","proxyType":2,"reverseProxyAddress":"rp",)"
                   R"("clientExternalIPAddress":"10.0.0.1","fault":"WrongPin","result":1000)"},
        AnswerCase{"LoginBanner", 61,
                   blockWith(
                       [] {
                           TavmoClientPortalBannerAnswer a{};
                           a.header = header(61);
                           copyText(a.loginBanner, "Hello");
                           copyText(a.welcomeBanner, "Welcome");
                           copyText(a.passwordExpiration, "never");
                           a.numEntries = 2;
                           a.result = 1000;
                           return a;
                       }(),
                       std::vector<TavmoClientLoginHistoryEntry>{{"ok", "10.0.0.1", "monday"}, {"fail", "::1", "tue"}}),
                   R"("type":"OutEventLoginWelcomeBanner","loginBanner":"Hello","welcomeBanner":"Welcome",)"
                   R"("passwordExpiration":"never","numEntries":2,"result":"Success","loginHistory":[)"
                   R"({"result":"ok","ipAddress":"10.0.0.1","timeOfResult":"monday"},)"
                   R"({"result":"fail","ipAddress":"::1","timeOfResult":"tue"}])"},
        AnswerCase{"LoginBannerWithoutHistory", 61,
                   portalAnswer<TavmoClientPortalBannerAnswer>(61, [](auto& a) { a.result = 1000; }),
                   R"("type":"OutEventLoginWelcomeBanner","loginBanner":"","welcomeBanner":"",)"
                   R"("passwordExpiration":"","numEntries":0,"result":"Success","loginHistory":[])"},
        AnswerCase{"RoomAccessOptions", 63,
                   portalAnswer<TavmoClientPortalRoomAccessAnswer>(63,
                                                                   [](auto& a) {
                                                                       a.result = 1000;
                                                                       a.accessOptionCount = 4;
                                                                       copyText(a.roomURL, "https://r");
                                                                       copyText(a.extension, "100");
                                                                       copyText(a.pin, "1234");
                                                                       copyText(a.dialInNumber, "+1 555");
                                                                   }),
                   R"("type":"OutEventGetRoomAccessOptions","result":"Success","accessOptionCount":4,)"
                   R"("roomURL":"https://r","extension":"100","pin":"1234","dialInNumber":"+1 555")"},
        AnswerCase{"RecordingId", 68,
                   portalAnswer<TavmoClientPortalRecordingAnswer>(68,
                                                                  [](auto& a) {
                                                                      a.result = 1000;
                                                                      a.recorderID = -1;
                                                                      copyText(a.recorderName, "rec");
                                                                      a.recorderPaused = 1;
                                                                  }),
                   R"("type":"OutEventGetConferenceRecordingID","result":"Success","recorderID":-1,)"
                   R"("recorderName":"rec","recorderPaused":true,"webCast":false)"},
        AnswerCase{"RecordingPrefixesUnderTheLoginHistoryKey", 69,
                   blockWith(TavmoClientPortalRecordingPrefixesAnswer{header(69), 1000, 1},
                             std::vector<TavmoClientRecordingPrefix>{{"pre", "desc"}}),
                   R"("type":"OutEventGetConferenceRecordingPrefixes","result":"Success","profileCount":1,)"
                   R"("loginHistory":[{"prefix":"pre","description":"desc"}])"},
        AnswerCase{"GuestLinkIsNotElevenWhichAddsNothing", 11,
                   portalAnswer<TavmoClientPortalResultAnswer>(11, [](auto& a) { a.result = 1000; }), ""},
        AnswerCase{"TypeZeroAddsNothing", 0, blockOf(header(0)), ""},
        AnswerCase{"TypeThreeAddsNothing", 3, blockOf(header(3)), ""},
        AnswerCase{"TypeEightyOneAddsNothing", 81, blockOf(header(81)), ""}),
    caseName);

// Shapes B, E and G: every member of the family writes the same members
// under its own "type" (and key).
struct FamilyMember {
    uint32_t typeRequest;
    const char* type;
    const char* key = nullptr;
};

class ResultFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(ResultFamily, WritesTheResultName) {
    Block block = portalAnswer<TavmoClientPortalResultAnswer>(GetParam().typeRequest, [](auto& a) { a.result = 1004; });
    EXPECT_EQ(translate(block), answerMessage(GetParam().typeRequest, std::string(R"("type":")") + GetParam().type +
                                                                          R"(","result":"WrongPIN")"));
}

INSTANTIATE_TEST_SUITE_P(
    ShapeB, ResultFamily,
    ::testing::Values(FamilyMember{6, "OutEventJoinConferenceByName"}, FamilyMember{7, "OutEventStartMyConference"},
                      FamilyMember{9, "OutEventSoapLogOut"}, FamilyMember{18, "OutEventDirectCall"},
                      FamilyMember{19, "OutEventDirectCallByName"}, FamilyMember{21, "OutEventAddToMyContacts"},
                      FamilyMember{22, "OutEventRemoveFromMyContacts"}, FamilyMember{23, "OutEventInviteToConference"},
                      FamilyMember{26, "OutEventDeleteRoom"}, FamilyMember{27, "OutEventCreateRoomPin"},
                      FamilyMember{28, "OutEventRemoveRoomPin"}, FamilyMember{33, "OutEventDropParticipant"},
                      FamilyMember{35, "OutEventMuteAudio"}, FamilyMember{36, "OutEventUnmuteAudio"},
                      FamilyMember{37, "OutEventStartVideo"}, FamilyMember{38, "OutEventStopVideo"},
                      FamilyMember{40, "OutEventCreateRoomUrl"}, FamilyMember{41, "OutEventRemoveRoomUrl"},
                      FamilyMember{42, "OutEventUpdatePassword"}, FamilyMember{43, "OutEventCreateWebcastUrl"},
                      FamilyMember{44, "OutEventRemoveWebcastUrl"}, FamilyMember{46, "OutEventCreateWebcastPin"},
                      FamilyMember{47, "OutEventRemoveWebcastPin"}, FamilyMember{48, "OutEventCreateModeratorPin"},
                      FamilyMember{49, "OutEventRemoveModeratorPin"},
                      FamilyMember{64, "OutEventStartConferenceRecording"},
                      FamilyMember{72, "OutEventSetEndpointDetails"},
                      FamilyMember{73, "OutEventLogoutAllOtherSessions"}, FamilyMember{76, "OutEventDropAll"},
                      FamilyMember{78, "OutEventMuteAudioClientAll"}, FamilyMember{80, "OutEventPrivacyOnClientAll"}));

class TypeOnlyFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(TypeOnlyFamily, WritesOnlyTheType) {
    Block block = portalAnswer<TavmoClientPortalResultAnswer>(GetParam().typeRequest, [](auto& a) { a.result = 1000; });
    EXPECT_EQ(translate(block),
              answerMessage(GetParam().typeRequest, std::string(R"("type":")") + GetParam().type + "\""));
}

INSTANTIATE_TEST_SUITE_P(
    ShapeA, TypeOnlyFamily,
    ::testing::Values(FamilyMember{8, "OutEventSoapLogin"}, FamilyMember{13, "SearchByEntityId"},
                      FamilyMember{14, "SearchByMyEntityId"}, FamilyMember{15, "GetEntityByEntityId"},
                      FamilyMember{16, "SearchMyContact"}, FamilyMember{17, "SearchMyContactEntityId"},
                      FamilyMember{29, "LockCurrentActiveRoom"}, FamilyMember{31, "UnlockCurrentActiveRoom"},
                      FamilyMember{34, "PortalVersion"}, FamilyMember{60, "GuestClientVersionOnServer"},
                      FamilyMember{71, "LectureClearRaiseHand"}));

class PlainResultFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(PlainResultFamily, WritesTheResultAsANumber) {
    Block block = portalAnswer<TavmoClientPortalResultAnswer>(GetParam().typeRequest, [](auto& a) { a.result = 1004; });
    EXPECT_EQ(translate(block), answerMessage(GetParam().typeRequest,
                                              std::string(R"("type":")") + GetParam().type + R"(","result":1004)"));
}

INSTANTIATE_TEST_SUITE_P(ShapeC, PlainResultFamily,
                         ::testing::Values(FamilyMember{30, "OutEventLockRoom"}, FamilyMember{32, "OutEventUnlockRoom"},
                                           FamilyMember{65, "OutEventPauseConferenceRecording"},
                                           FamilyMember{66, "OutEventResumeConferenceRecording"},
                                           FamilyMember{67, "OutEventStopConferenceRecording"}));

class FaultFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(FaultFamily, WritesResultAndFaultNames) {
    Block block = blockOf(TavmoClientPortalJoinAnswer{header(GetParam().typeRequest), 1017, 7});
    EXPECT_EQ(translate(block),
              answerMessage(GetParam().typeRequest,
                            std::string(R"("type":")") + GetParam().type +
                                R"(","result":"ResourceNotAvailable","fault":"ResourcesNotAvailable")"));
}

INSTANTIATE_TEST_SUITE_P(ShapeD, FaultFamily,
                         ::testing::Values(FamilyMember{5, "OutEventJoinConference"},
                                           FamilyMember{56, "OutEventJoinIpcConference"},
                                           FamilyMember{58, "OutEventJoinWithRoomKey"}));

class TextFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(TextFamily, WritesTheTextUnderItsKey) {
    Block block = portalAnswer<TavmoClientPortalTextAnswer>(GetParam().typeRequest, [](auto& a) {
        a.result = 1000;
        copyText(a.text, "value");
    });
    EXPECT_EQ(translate(block),
              answerMessage(GetParam().typeRequest, std::string(R"("type":")") + GetParam().type +
                                                        R"(","result":"Success",")" + GetParam().key + R"(":"value")"));
}

INSTANTIATE_TEST_SUITE_P(ShapeE, TextFamily,
                         ::testing::Values(FamilyMember{39, "OutEventGetUserName", "realUserName"},
                                           FamilyMember{52, "OutEventGetConferenceID", "conferenceID"},
                                           FamilyMember{53, "OutEventGenerateAuthToken", "authToken"},
                                           FamilyMember{70, "OutEventGetPortalPrefix", "portalPrefix"},
                                           FamilyMember{75, "OutEventGetChangePasswordHtmlUrlWithToken",
                                                        "changePasswordHtmlUrl"}));

class AccountFamily : public PortalAnswers, public ::testing::WithParamInterface<FamilyMember> {};

TEST_P(AccountFamily, WritesTheAccountInFlatForm) {
    Block block = portalAnswer<TavmoClientPortalAccountAnswer>(GetParam().typeRequest, [](auto& a) {
        a.result = 1011;
        a.account = sampleEntity("e9");
    });
    EXPECT_EQ(translate(block), answerMessage(GetParam().typeRequest,
                                              std::string(R"("type":")") + GetParam().type +
                                                  R"(","result":"UserNotFound","accountData":)" + flatEntity("e9")));
}

INSTANTIATE_TEST_SUITE_P(ShapeG, AccountFamily,
                         ::testing::Values(FamilyMember{10, "OutEventLinkEndpoint"},
                                           FamilyMember{20, "OutEventMyAccount"},
                                           FamilyMember{25, "OutEventCreateRoom"},
                                           FamilyMember{59, "OutEventGetEntityByRoomKey"}));

TEST_F(PortalAnswers, HeaderIsLoggedWithTheAnswersType) {
    translate(blockOf(header(57)));
    EXPECT_TRUE(fake::logged(
        "OutEventThread: OnPrivateOutEvent() TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP: typeRequest: [57]", 3));
}

TEST_F(PortalAnswers, EmptyBlockGivesAZeroHeaderAndNoAnswer) {
    EXPECT_EQ(translate(Block{}),
              canonical(R"({"_direction":2,"code":200900,"params":{"typeRequest":0,"error":0,"httpStatusCode":0,)"
                        R"("requestId":0}})"));
}

TEST_F(PortalAnswers, FileDownloadConvertsItsPathToUtf8) {
    TavmoClientPortalFileDownloadAnswer download{};
    download.header = header(2);
    download.stateDownload = 3;
    double progress = 0.5;
    std::memcpy(download.progrDownload, &progress, sizeof progress);
    const char16_t path[] = u"C:\\Temp\\\u00e9\U0001F600.exe";
    std::memcpy(download.installerPathW, path, sizeof path);
    EXPECT_EQ(translate(blockOf(download)),
              answerMessage(2,
                            "\"type\":\"OutEventFileDownload\",\"stateDownload\":3,\"progrDownload\":0.5,"
                            "\"installerPathW\":\"C:\\\\Temp\\\\\xC3\xA9\xF0\x9F\x98\x80.exe\""));
}

// The counts of an answer's lists come from the library; the entries read
// are only those the delivered block holds.
struct OverstatedCount {
    const char* name;
    Block block;
    const char* listKey;
    unsigned entriesInBlock;
};

class OverstatedCounts : public PortalAnswers, public ::testing::WithParamInterface<OverstatedCount> {};

TEST_P(OverstatedCounts, ReadOnlyTheEntriesTheBlockHolds) {
    Block block = GetParam().block;
    block.insert(block.end(), 7, 'x');  // less than any entry
    Json::Value params = translatedParams(block);
    ASSERT_TRUE(params[GetParam().listKey].isArray());
    EXPECT_EQ(params[GetParam().listKey].size(), GetParam().entriesInBlock);
}

std::string overstatedName(const ::testing::TestParamInfo<OverstatedCount>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Mends, OverstatedCounts,
    ::testing::Values(OverstatedCount{"Search",
                                      blockWith(TavmoClientPortalSearchAnswer{header(12), 0, 0, 1000, 0},
                                                std::vector<TavmoClientEntity>{sampleEntity("a"), sampleEntity("b")}),
                                      "accountData", 2},
                      OverstatedCount{"Participants",
                                      blockWith(TavmoClientPortalParticipantsAnswer{header(74), 0, 0, 0, 1000},
                                                std::vector<TavmoClientParticipant>{sampleParticipant("a"),
                                                                                    sampleParticipant("b")}),
                                      "participantData", 2},
                      OverstatedCount{"Features",
                                      blockWith(TavmoClientPortalFeaturesAnswer{header(54), 0, 1000},
                                                std::vector<TavmoClientFeatureStatus>{{1, 1, {}}, {2, 1, {}}}),
                                      "features", 2},
                      OverstatedCount{"LoginHistory",
                                      blockWith(
                                          [] {
                                              TavmoClientPortalBannerAnswer a{};
                                              a.header = header(61);
                                              a.numEntries = 1000;
                                              return a;
                                          }(),
                                          std::vector<TavmoClientLoginHistoryEntry>{{"ok", "ip", "t"}}),
                                      "loginHistory", 1},
                      OverstatedCount{"RecordingPrefixes",
                                      blockWith(TavmoClientPortalRecordingPrefixesAnswer{header(69), 0, 1000},
                                                std::vector<TavmoClientRecordingPrefix>{{"a", "b"}, {"c", "d"}}),
                                      "loginHistory", 2},
                      OverstatedCount{"NegativeCount",
                                      blockWith(TavmoClientPortalRecordingPrefixesAnswer{header(69), 0, -1},
                                                std::vector<TavmoClientRecordingPrefix>{{"a", "b"}}),
                                      "loginHistory", 0}),
    overstatedName);

TEST_F(PortalAnswers, ParticipantBeyondAShortBlockReadsAsEmpty) {
    Json::Value params = translatedParams(blockOf(TavmoClientPortalParticipantsAnswer{header(24), 1, 0, 1000, 1}));
    EXPECT_EQ(params["participantData"]["uri"].asString(), "");
    EXPECT_EQ(params["participantData"]["account"]["roomMode"]["hasPIN"], Json::Value(false));
}

TEST_F(PortalAnswers, GuestLinkTextThatFillsItsFieldEndsAtTheNextField) {
    TavmoClientPortalGuestLinkAnswer link{};
    link.header = header(57);
    fillField(link.vmaddress, 'v');
    copyText(link.proxyaddress, "proxy");
    fillField(link.clientExternalIPAddress, 'c');
    link.result = 1000;
    Json::Value params = translatedParams(blockOf(link));
    EXPECT_EQ(params["vmaddress"].asString(), std::string(260, 'v'));
    EXPECT_EQ(params["proxyaddress"].asString(), "proxy");
    EXPECT_EQ(params["clientExternalIPAddress"].asString(), std::string(51, 'c'));
    EXPECT_EQ(params["result"].asInt(), 1000);
}

struct Utf16Case {
    const char* name;
    std::u16string text;
    std::size_t count;
    std::string utf8;
};

class Utf16Conversion : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16Conversion, GivesUtf8) {
    EXPECT_EQ(utf16ToUtf8(std::u16string_view(GetParam().text.data(), GetParam().count)), GetParam().utf8);
}

std::string utf16Name(const ::testing::TestParamInfo<Utf16Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16Conversion,
    ::testing::Values(Utf16Case{"Ascii", u"abc", 4, "abc"}, Utf16Case{"TwoBytes", u"\u00e9", 2, "\xC3\xA9"},
                      Utf16Case{"ThreeBytes", u"\u20ac", 2, "\xE2\x82\xAC"},
                      Utf16Case{"SurrogatePair", u"\U0001F600", 3, "\xF0\x9F\x98\x80"},
                      Utf16Case{"StopsAtZero", std::u16string(u"ab\0cd", 5), 5, "ab"},
                      Utf16Case{"StopsAtTheFieldsEnd", u"abcdef", 3, "abc"},
                      Utf16Case{"LoneHighSurrogate", std::u16string(1, u'\xD800') + u"a", 3,
                                "\xEF\xBF\xBD"
                                "a"},
                      Utf16Case{"LoneLowSurrogate", std::u16string(1, u'\xDC00'), 2, "\xEF\xBF\xBD"},
                      Utf16Case{"PairCutByTheFieldsEnd", u"\U0001F600", 1, "\xEF\xBF\xBD"}),
    utf16Name);

}  // namespace
