// The simulated conference through the library's C interface: which events
// each in-event brings, in which order, and what the requests answer once
// the events have told of a change.
//
// Events come on one timeline, so an in-event whose answer is known (the
// layout in-event, answered with 901) marks the end of everything asked
// before it; settle() waits for that mark instead of for any time.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

constexpr int32_t kLayoutChanged = 901;

template <typename Event>
Event as(const RecordedEvent& event) {
    Event value{};
    EXPECT_GE(event.block.size(), sizeof value) << "event " << event.code;
    std::memcpy(&value, event.block.data(), std::min(event.block.size(), sizeof value));
    return value;
}

// An event as the expectations below name it: the code, and for call states
// and portal answers also the state or the answer's type.
std::string label(const RecordedEvent& event) {
    if (event.code == TAVMO_CLIENT_OUT_EVENT_CALL_STATE)
        return "2500:" + std::to_string(as<TavmoClientCallStateEvent>(event).callState);
    if (event.code == TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP)
        return "200900:" + std::to_string(as<TavmoClientPortalHeader>(event).typeRequest);
    return std::to_string(event.code);
}

std::vector<std::string> labels(const std::vector<RecordedEvent>& events) {
    std::vector<std::string> result;
    for (const auto& event : events) result.push_back(label(event));
    return result;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// From Joining to InConference: the portal's answer to the route's join goes
// where the route has one.
std::vector<std::string> joinSequence(const std::string& joinAnswer) {
    std::vector<std::string> sequence = {"2500:3", "700"};
    if (!joinAnswer.empty()) sequence.push_back(joinAnswer);
    for (const char* step :
         {"1200", "1201", "1210", "1210", "1202", "1210", "1210", "1202", "1210", "1210", "1202", "2500:4", "1601"})
        sequence.push_back(step);
    return sequence;
}

const std::vector<std::string> kConferenceLife = {"1210", "2802", "2800", "2811", "2810", "2720", "201600", "2200",
                                                  "1503", "1211", "1211", "1202", "2720", "2200", "1503"};

const std::vector<std::string> kLeaving = {"2500:5", "1203", "2500:0"};

class ConferenceTest : public StandInTest {
protected:
    void startLibrary(const std::string& scenario = "") {
        ASSERT_EQ(initialize(scenario), 1);
        startAgain();
    }

    // Starts and passes over LOGIC_STARTED; what a scenario makes happen
    // after the start follows it.
    void startAgain() {
        ASSERT_EQ(start(), 1);
        const auto events = recorder_.waitUntil([this](const std::vector<RecordedEvent>& all) {
            return std::any_of(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end(),
                               [](const RecordedEvent& e) { return e.code == TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED; });
        });
        seen_ = static_cast<size_t>(std::find_if(events.begin() + static_cast<std::ptrdiff_t>(seen_), events.end(),
                                                 [](const RecordedEvent& e) {
                                                     return e.code == TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED;
                                                 }) -
                                    events.begin()) +
                1;
    }

    template <typename Record>
    TavmoClientBool send(int32_t code, Record record) {
        return TavmoClientSendEvent(code, &record, sizeof record);
    }
    TavmoClientBool sendBare(int32_t code) { return TavmoClientSendEvent(code, nullptr, 0); }
    TavmoClientBool sendFlag(int32_t code, bool flag) {
        TavmoClientFlagValue value{};
        value.value = flag ? 1 : 0;
        return send(code, value);
    }

    // The events raised since the last settle, once all of them are out.
    std::vector<RecordedEvent> settle() {
        TavmoClientInt32Value preferred{};
        EXPECT_EQ(send(TAVMO_CLIENT_IN_EVENT_LAYOUT, preferred), 1);
        const size_t from = seen_;
        const auto events = recorder_.waitUntil([from](const std::vector<RecordedEvent>& all) {
            return std::any_of(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(),
                               [](const RecordedEvent& e) { return e.code == kLayoutChanged; });
        });
        auto mark = std::find_if(events.begin() + static_cast<std::ptrdiff_t>(from), events.end(),
                                 [](const RecordedEvent& e) { return e.code == kLayoutChanged; });
        seen_ = static_cast<size_t>(mark - events.begin()) + 1;
        return std::vector<RecordedEvent>(events.begin() + static_cast<std::ptrdiff_t>(from), mark);
    }

    std::vector<std::string> settledLabels() { return labels(settle()); }

    template <typename Record>
    Record request(int32_t code, Record record = {}) {
        EXPECT_EQ(TavmoClientSendRequest(code, &record, sizeof record), 0) << code;
        return record;
    }
    int32_t callState() { return request<TavmoClientInt32Value>(TAVMO_CLIENT_REQUEST_GET_CALL_STATE).value; }
    uint32_t participantCount() {
        return request<TavmoClientUInt32Value>(TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS).value;
    }

    void joinOwnMeeting() {
        ASSERT_EQ(sendBare(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING), 1);
        settle();
    }

    size_t seen_ = 0;
};

TavmoClientPortalRequestInEvent guestLink(int32_t requestId, const std::string& roomKey) {
    TavmoClientPortalRequestInEvent link{};
    link.typeRequest = TAVMO_CLIENT_PORTAL_GUEST_LINK;
    link.requestId = requestId;
    std::strcpy(link.portalUri, "https://portal.example");
    roomKey.copy(link.roomKey, sizeof link.roomKey - 1);
    std::strcpy(link.guestName, "Visitor");
    return link;
}

TEST_F(ConferenceTest, OwnMeetingJoinsAndLivesInAFixedOrder) {
    startLibrary();
    ASSERT_EQ(sendBare(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING), 1);
    EXPECT_EQ(settledLabels(), joined(joined(joinSequence("200900:7"), {"200900:74", "200900:52"}), kConferenceLife));
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE);
    EXPECT_EQ(participantCount(), 2u) << "one participant left early";

    ASSERT_EQ(sendBare(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING), 1);
    EXPECT_TRUE(settle().empty()) << "already in the meeting";
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_LEAVE), 1);
    EXPECT_EQ(settledLabels(), kLeaving);
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IDLE);
    EXPECT_EQ(participantCount(), 0u);
}

TEST_F(ConferenceTest, GuestLinkIsResolvedUnderItsRequestIdAndJoined) {
    startLibrary();
    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, guestLink(31, "R00m")), 1);
    const auto events = settle();
    EXPECT_EQ(labels(events),
              joined(joined(joined({"201700", "200900:57", "202001", "2305", "200900:55"}, joinSequence("200900:58")),
                            {"200900:24"}),
                     kConferenceLife));
    const auto answer = as<TavmoClientPortalGuestLinkAnswer>(events[1]);
    EXPECT_EQ(answer.header.requestId, 31u);
    EXPECT_EQ(answer.result, 1000);
    EXPECT_STREQ(answer.un, "Visitor");
    EXPECT_STREQ(answer.portal, "https://portal.example");
}

TEST_F(ConferenceTest, GuestLinkWithoutARoomKeyFindsNoRoom) {
    startLibrary();
    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, guestLink(8, "")), 1);
    const auto events = settle();
    ASSERT_EQ(labels(events), std::vector<std::string>{"200900:57"});
    const auto answer = as<TavmoClientPortalGuestLinkAnswer>(events[0]);
    EXPECT_EQ(answer.header.requestId, 8u);
    EXPECT_EQ(answer.result, 1026);
    EXPECT_EQ(answer.fault, 1u);
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IDLE);
}

TEST_F(ConferenceTest, IncomingCallRingsAndIsAnsweredOrDeclined) {
    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer ? "answered" : "declined");
        startLibrary("incoming-call 0\n");
        const auto ringing =
            recorder_.waitUntil([this](const std::vector<RecordedEvent>& all) { return all.size() >= seen_ + 2; });
        EXPECT_EQ(labels({ringing.begin() + static_cast<std::ptrdiff_t>(seen_), ringing.end()}),
                  (std::vector<std::string>{"1300", "2500:1"}));
        EXPECT_STREQ(as<TavmoClientInvitationEvent>(ringing[seen_]).invitingUser, "Alex Moreau");
        EXPECT_EQ(as<TavmoClientInvitationEvent>(ringing[seen_]).onCallFlag, 0);
        EXPECT_STREQ(request<TavmoClientInvitingUserRecord>(TAVMO_CLIENT_REQUEST_GET_INVITING_USER).invitingUser,
                     "Alex Moreau");
        seen_ += 2;
        ASSERT_EQ(sendBare(answer ? TAVMO_CLIENT_IN_EVENT_ANSWER : TAVMO_CLIENT_IN_EVENT_DECLINE), 1);
        const std::vector<std::string> declined = {"2500:0", "1100"};
        EXPECT_EQ(settledLabels(), answer ? joined(joinSequence(""), kConferenceLife) : declined);
        EXPECT_EQ(callState(), answer ? TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE : TAVMO_CLIENT_CALL_STATE_IDLE);
        TavmoClientUninitialize();
        recorder_.reset();
        seen_ = 0;
    }
}

TEST_F(ConferenceTest, CallDuringACallOnlyInvites) {
    startLibrary("call-state 4\nincoming-call 0\n");
    const auto events = recorder_.waitForCode(1300);
    EXPECT_EQ(as<TavmoClientInvitationEvent>(events.back()).onCallFlag, 1);
    EXPECT_EQ(settledLabels(), std::vector<std::string>{"1300"});
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE);
}

struct LeaveCase {
    const char* name;
    std::string scenario;
    int32_t inEvent;
    std::vector<std::string> expected;
};

class LeaveTest : public ConferenceTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveTest, EndsWhatThereIsToEnd) {
    const LeaveCase& c = GetParam();
    startLibrary(c.scenario);
    if (c.scenario.find("incoming-call") != std::string::npos) {
        recorder_.waitUntil([this](const std::vector<RecordedEvent>& all) { return all.size() >= seen_ + 2; });
        seen_ += 2;
    }
    ASSERT_EQ(sendBare(c.inEvent), 1);
    EXPECT_EQ(settledLabels(), c.expected);
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IDLE);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeaveTest,
    ::testing::Values(LeaveCase{"LeaveWhileIdle", "", TAVMO_CLIENT_IN_EVENT_LEAVE, {}},
                      LeaveCase{"CancelACall", "call-state 4\n", TAVMO_CLIENT_IN_EVENT_CANCEL, kLeaving},
                      LeaveCase{"LeaveWhileJoining", "call-state 3\n", TAVMO_CLIENT_IN_EVENT_LEAVE, kLeaving},
                      LeaveCase{
                          "CancelARingingCall", "incoming-call 0\n", TAVMO_CLIENT_IN_EVENT_CANCEL, {"2500:0", "1100"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A request made from inside a callback sees what the events so far told,
// never what is still to come.
TEST_F(ConferenceTest, RequestsAnswerWhatTheDeliveredEventsTold) {
    static std::atomic<int> mismatches{0};
    static std::atomic<int> checked{0};
    mismatches = 0;
    checked = 0;
    recorder_.setHook([](const RecordedEvent& event) {
        TavmoClientInt32Value state{};
        TavmoClientUInt32Value count{};
        TavmoClientFlagValue muted{};
        TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state);
        TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS, &count, sizeof count);
        TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN, &muted, sizeof muted);
        bool agrees = true;
        if (event.code == TAVMO_CLIENT_OUT_EVENT_CALL_STATE)
            agrees = state.value == as<TavmoClientCallStateEvent>(event).callState;
        else if (event.code == 1202)
            agrees = static_cast<int32_t>(count.value) == as<TavmoClientCountEvent>(event).count;
        else if (event.code == 1503)
            agrees = muted.value == as<TavmoClientMuteEvent>(event).isMuted;
        else
            return;
        ++checked;
        if (!agrees) ++mismatches;
    });
    startLibrary();
    joinOwnMeeting();
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_LEAVE), 1);
    settle();
    // Four call states, four participant counts, two server mutes.
    EXPECT_EQ(checked, 10);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(ConferenceTest, ALaterInEventIsAnsweredAfterEverythingBeforeIt) {
    startLibrary();
    ASSERT_EQ(sendBare(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING), 1);
    TavmoClientGroupChatInEvent chat{};
    std::strcpy(chat.message, "hello, room");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_GROUP_CHAT, chat), 1);
    const auto events = settle();
    ASSERT_FALSE(events.empty());
    ASSERT_EQ(events.back().code, 2600) << "the answer follows the whole join";
    const auto answer = as<TavmoClientChatEvent>(events.back());
    EXPECT_STREQ(answer.displayName, "Alex Moreau");
    EXPECT_STREQ(answer.uri, "alex.moreau@conference.example");
    EXPECT_STREQ(answer.message, "Re: hello, room");
}

TEST_F(ConferenceTest, ChatIsAnsweredOnlyByThoseInTheCall) {
    struct Case {
        const char* uri;
        bool answered;
    };
    startLibrary();
    TavmoClientGroupChatInEvent group{};
    std::strcpy(group.message, "anybody?");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_GROUP_CHAT, group), 1);
    EXPECT_TRUE(settle().empty()) << "nobody outside a call";
    joinOwnMeeting();
    for (const Case& c : {Case{"sam.ortiz@conference.example", true}, Case{"kim.lee@conference.example", false},
                          Case{"nobody@conference.example", false}}) {
        TavmoClientPrivateChatInEvent chat{};
        std::strcpy(chat.uri, c.uri);
        std::strcpy(chat.message, "psst");
        ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT, chat), 1);
        const auto events = settle();
        ASSERT_EQ(events.size(), c.answered ? 1u : 0u) << c.uri;
        if (!c.answered) continue;
        EXPECT_EQ(events[0].code, 2601);
        EXPECT_STREQ(as<TavmoClientChatEvent>(events[0]).uri, c.uri);
        EXPECT_STREQ(as<TavmoClientChatEvent>(events[0]).message, "Re: psst");
    }
}

TEST_F(ConferenceTest, StopEndsTheCallBeforeItReturnsAndARestartBeginsAfresh) {
    startLibrary();
    TavmoClientLoginInEvent login{};
    std::strcpy(login.userName, "ann");
    std::strcpy(login.userPass, "standin");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_LOGIN, login), 1);
    joinOwnMeeting();
    const size_t before = recorder_.snapshot().size();
    ASSERT_EQ(TavmoClientStop(), 1);
    const auto afterStop = recorder_.snapshot();
    EXPECT_EQ(labels({afterStop.begin() + static_cast<std::ptrdiff_t>(before), afterStop.end()}), kLeaving);
    EXPECT_EQ(callState(), TAVMO_CLIENT_CALL_STATE_IDLE);
    EXPECT_EQ(participantCount(), 0u);

    seen_ = afterStop.size();
    startAgain();
    EXPECT_EQ(seen_, afterStop.size() + 1) << "LOGIC_STARTED comes first";
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_SIGNOFF), 1);
    EXPECT_EQ(settledLabels(), std::vector<std::string>{"2304"}) << "the login did not survive the stop";
    EXPECT_EQ(TavmoClientStop(), 1);
    EXPECT_EQ(recorder_.snapshot().size(), seen_) << "an idle library stops without events";
}

struct LoginCase {
    const char* name;
    std::string scenario;
    const char* user;
    const char* password;
    bool loggedIn;
};

class LoginTest : public ConferenceTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginTest, OnlyTheRightPasswordLogsIn) {
    const LoginCase& c = GetParam();
    startLibrary(c.scenario);
    TavmoClientLoginInEvent login{};
    std::strcpy(login.portalUri, "https://portal.example");
    std::strcpy(login.userName, c.user);
    std::strcpy(login.userPass, c.password);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_LOGIN, login), 1);
    const auto events = settle();
    const std::vector<std::string> success = {"202001",    "200900:8",  "2300", "201900",    "200900:20",
                                              "200900:61", "200900:54", "2715", "200900:70", "2710",
                                              "200900:12", "200900:69", "2303"};
    const std::vector<std::string> refused = {"2300", "202002"};
    EXPECT_EQ(labels(events), c.loggedIn ? success : refused);
    const auto outcome = std::find_if(events.begin(), events.end(), [](const auto& e) { return e.code == 2300; });
    ASSERT_NE(outcome, events.end());
    EXPECT_EQ(as<TavmoClientLoginEvent>(*outcome).error, c.loggedIn ? 0u : 1u);
    EXPECT_STREQ(as<TavmoClientLoginEvent>(*outcome).userName, c.user);

    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_SIGNOFF), 1);
    const std::vector<std::string> loggedOff = {"200900:9", "202000", "2304"};
    const std::vector<std::string> signedOut = {"2304"};
    EXPECT_EQ(settledLabels(), c.loggedIn ? loggedOff : signedOut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginTest,
    ::testing::Values(
        LoginCase{"AnyUserWithTheDefaultPassword", "", "ann", "standin", true},
        LoginCase{"WrongPassword", "", "ann", "guess", false},
        LoginCase{"DefaultPasswordIsCaseSensitive", "", "ann", "Standin", false},
        LoginCase{"ListedAccount", "portal-account ann s3cret\n", "ann", "s3cret", true},
        LoginCase{"ListedAccountsReplaceTheDefault", "portal-account ann s3cret\n", "bob", "standin", false},
        LoginCase{"AnotherUsersPassword", "portal-account ann a\nportal-account bob b\n", "ann", "b", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConferenceTest, SignInNeedsAServerAndReportsAConfiguredWebProxy) {
    startLibrary();
    TavmoClientSignInInEvent signIn{};
    signIn.showDialpad = 1;
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SIGN_IN, signIn), 1);
    auto events = settle();
    ASSERT_EQ(labels(events), std::vector<std::string>{"2304"});
    EXPECT_EQ(as<TavmoClientSignedOutEvent>(events[0]).error, 1);

    const std::vector<std::string> signedIn = {"2860",     "300",  "2302",     "200900:10", "200900:1",
                                               "200900:2", "2306", "200900:4", "2303"};
    std::strcpy(signIn.serverAddress, "srv.example");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SIGN_IN, signIn), 1);
    events = settle();
    EXPECT_EQ(labels(events), signedIn);
    EXPECT_EQ(as<TavmoClientSignInEvent>(events[1]).showDialpad, 1);

    // A web proxy in the configuration comes in, asking for credentials until
    // it has them.
    TavmoClientConfiguration configuration = request<TavmoClientConfiguration>(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION);
    std::strcpy(configuration.webProxyAddress, "proxy.example");
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, &configuration, sizeof configuration), 0);
    for (const bool credentials : {false, true}) {
        if (credentials) {
            TavmoClientWebProxyCredentialsRecord record{};
            std::strcpy(record.userName, "proxy-user");
            request(TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, record);
        }
        ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SIGN_IN, signIn), 1);
        events = settle();
        std::vector<std::string> expected = signedIn;
        expected.insert(expected.begin() + 2, {"201200", credentials ? "201400" : "201300"});
        EXPECT_EQ(labels(events), expected);
        EXPECT_STREQ(as<TavmoClientWebProxyEvent>(events[2]).webProxyURL, "http://proxy.example:8080");
    }
}

struct WindowListCase {
    uint32_t extraWindows;
    std::vector<int32_t> perMessage;
};

class WindowListTest : public ConferenceTest, public ::testing::WithParamInterface<WindowListCase> {};

TEST_P(WindowListTest, ALongListComesInSeveralMessages) {
    const WindowListCase& c = GetParam();
    startLibrary("windows " + std::to_string(c.extraWindows) + "\n");
    auto* requestId = static_cast<int32_t*>(std::malloc(sizeof(int32_t)));
    *requestId = 77;
    TavmoClientGetWindowsExtInEvent ask{};
    ask.requestId = requestId;
    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT, ask), 1);
    const auto events = settle();
    ASSERT_EQ(events.size(), c.perMessage.size());
    for (size_t i = 0; i < events.size(); ++i) {
        ASSERT_EQ(events[i].code, TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT);
        ASSERT_EQ(events[i].block.size(), sizeof(TavmoClientWindowList));
        auto list = std::make_unique<TavmoClientWindowList>();
        std::memcpy(list.get(), events[i].block.data(), sizeof *list);
        EXPECT_EQ(list->requestId, 77u);
        EXPECT_EQ(list->totalResponseMessages, c.perMessage.size());
        EXPECT_EQ(list->thisMessageNumberInSequance, i + 1);
        EXPECT_EQ(list->totalNumApplicationWindows, 4 + c.extraWindows);
        EXPECT_EQ(list->numOfRecordsInThisMessage, c.perMessage[i]);
        const char* firstTitle = i == 0 ? "Quarterly report - Editor" : i == 1 ? "Document 125 - Editor" : nullptr;
        if (firstTitle) {
            EXPECT_STREQ(list->title[0], firstTitle) << "no window lost between messages";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, WindowListTest,
                         ::testing::Values(WindowListCase{0, {4}}, WindowListCase{124, {128}},
                                           WindowListCase{125, {128, 1}}, WindowListCase{300, {128, 128, 48}}));

TEST_F(ConferenceTest, PluggedDevicesJoinTheListAndAPulledSelectedOneIsReplaced) {
    startLibrary("plug 0 camera USB Camera\n");
    recorder_.waitForCode(601);
    EXPECT_EQ(settledLabels(), (std::vector<std::string>{"202100", "601", "100"}));
    TavmoClientConfiguration configuration = request<TavmoClientConfiguration>(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION);
    ASSERT_EQ(configuration.numberCameras, 3u);
    EXPECT_STREQ(configuration.cameras[2], "USB Camera");

    // Selecting it is reported as the user's choice.
    configuration.currentCamera = 2;
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, &configuration, sizeof configuration), 0);
    auto events = settle();
    ASSERT_EQ(labels(events), (std::vector<std::string>{"202110", "602", "603", "100"}));
    EXPECT_STREQ(as<TavmoClientDeviceChangeEvent>(events[1]).prevDeviceName, "Integrated Camera");
    EXPECT_STREQ(as<TavmoClientDeviceChangeEvent>(events[1]).newDeviceName, "USB Camera");
    EXPECT_EQ(as<TavmoClientMessageEvent>(events[3]).messageType, 96);

    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, &configuration, sizeof configuration), 0);
    EXPECT_TRUE(settle().empty()) << "the same selection again";
}

TEST_F(ConferenceTest, PullingOutTheSelectedDeviceMovesTheSelection) {
    ASSERT_EQ(initialize("unplug 0 microphone Headset Microphone\n"), 1);
    TavmoClientConfiguration configuration = request<TavmoClientConfiguration>(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION);
    ASSERT_EQ(configuration.numberMicrophones, 2u) << "pulled out only once the library runs";
    configuration.currentMicrophone = 1;
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, &configuration, sizeof configuration), 0);
    EXPECT_TRUE(recorder_.snapshot().empty()) << "a selection made before the start is not reported";
    startAgain();
    recorder_.waitForCode(603);
    const auto events = settle();
    ASSERT_EQ(labels(events), (std::vector<std::string>{"202100", "601", "100", "202110", "602", "603", "100"}));
    EXPECT_EQ(as<TavmoClientDeviceNoticeEvent>(events[0]).changeType, 2);
    EXPECT_STREQ(as<TavmoClientDeviceNoticeEvent>(events[0]).deviceName, "Headset Microphone");
    EXPECT_STREQ(as<TavmoClientDeviceChangeEvent>(events[4]).newDeviceName, "Built-in Microphone");
    EXPECT_EQ(as<TavmoClientMessageEvent>(events[6]).messageType, 95);
    configuration = request<TavmoClientConfiguration>(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION);
    EXPECT_EQ(configuration.numberMicrophones, 1u);
    EXPECT_EQ(configuration.currentMicrophone, 0u);
}

TEST_F(ConferenceTest, MediaFiguresAreZeroOutsideACallAndMoveDuringOne) {
    startLibrary();
    EXPECT_EQ(request<TavmoClientRateShaper>(TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO).delayVideoPriorityNormal, 0u);
    EXPECT_EQ(request<TavmoClientFrameRates>(TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO).captureFrameRate, 0u);
    joinOwnMeeting();
    EXPECT_EQ(request<TavmoClientFrameRates>(TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO).captureFrameRate, 30u);
    const uint32_t first =
        request<TavmoClientRateShaper>(TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO).numPacketsVideoPriorityNormal;
    uint32_t now = first;
    while (now == first) {
        std::this_thread::yield();
        now = request<TavmoClientRateShaper>(TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO).numPacketsVideoPriorityNormal;
    }
    EXPECT_GT(now, first);

    TavmoClientParticipantStatistics statistics{};
    statistics.index = 1;
    statistics = request(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT, statistics);
    EXPECT_EQ(statistics.found, 1);
    EXPECT_STREQ(statistics.name, "Sam Ortiz");
    statistics.index = 2;
    statistics = request(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT, statistics);
    EXPECT_EQ(statistics.found, 0) << "the third participant has left";
}

// Each row of the host's event tables, and each shape of portal answer, is
// brought about by something a page or a scenario can do.
TEST_F(ConferenceTest, EveryKindOfEventTheHostTranslatesOccurs) {
    const std::vector<std::vector<int32_t>> rows = {{100},
                                                    {200},
                                                    {300},
                                                    {400, 901, 1100, 1200, 1201, 1203},
                                                    {601},
                                                    {602},
                                                    {603},
                                                    {700, 800, 900, 1000},
                                                    {1202},
                                                    {1210, 1211},
                                                    {1300},
                                                    {1400},
                                                    {1500, 1501, 1502, 1503, 1504},
                                                    {1600},
                                                    {1601},
                                                    {1700},
                                                    {1800},
                                                    {2000, 2001},
                                                    {2002, 2003, 2004, 2005},
                                                    {2007},
                                                    {2100},
                                                    {2101},
                                                    {2102},
                                                    {2103},
                                                    {2104},
                                                    {2200},
                                                    {2300},
                                                    {2302},
                                                    {2303},
                                                    {2304},
                                                    {2305},
                                                    {2306},
                                                    {2500},
                                                    {2600, 2601},
                                                    {2710},
                                                    {2715},
                                                    {2720},
                                                    {2800},
                                                    {2802},
                                                    {2810},
                                                    {2811},
                                                    {2820},
                                                    {2830},
                                                    {2855},
                                                    {2860},
                                                    {200400},
                                                    {200600},
                                                    {200900},
                                                    {201200},
                                                    {201300},
                                                    {201400},
                                                    {201600},
                                                    {201700},
                                                    {201900},
                                                    {202000},
                                                    {202001},
                                                    {202002},
                                                    {202100, 202110},
                                                    {270002}};
    // One answer of each shape and every answer of a shape of its own.
    const std::vector<uint32_t> portalTypes = {8,  7,  58, 52, 62, 10, 1,  2,  4,  12, 24, 74, 50, 51,
                                               54, 55, 57, 61, 63, 68, 69, 30, 77, 9,  64, 70, 20};

    startLibrary("incoming-call 0\nplug 0 camera USB Camera\n");
    recorder_.waitUntil([](const std::vector<RecordedEvent>& all) {
        return std::count_if(all.begin(), all.end(), [](const RecordedEvent& e) { return e.code == 601; }) == 1 &&
               std::any_of(all.begin(), all.end(), [](const RecordedEvent& e) { return e.code == 1300; });
    });
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_DECLINE), 1);
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL), 1);
    ASSERT_EQ(sendFlag(TAVMO_CLIENT_IN_EVENT_SET_OFFLINE, true), 1);
    ASSERT_EQ(sendFlag(TAVMO_CLIENT_IN_EVENT_SET_OFFLINE, false), 1);

    TavmoClientConfiguration configuration = request<TavmoClientConfiguration>(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION);
    configuration.currentCamera = 2;
    std::strcpy(configuration.webProxyAddress, "proxy.example");
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION, &configuration, sizeof configuration), 0);
    TavmoClientSignInInEvent signIn{};
    std::strcpy(signIn.serverAddress, "srv.example");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SIGN_IN, signIn), 1);
    TavmoClientWebProxyCredentialsRecord credentials{};
    std::strcpy(credentials.userName, "proxy-user");
    request(TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, credentials);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SIGN_IN, signIn), 1);
    TavmoClientLoginInEvent login{};
    std::strcpy(login.userName, "ann");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_LOGIN, login), 1);
    std::strcpy(login.userPass, "standin");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_LOGIN, login), 1);
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_SIGNOFF), 1);

    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, guestLink(1, "R00m")), 1);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_PREVIEW, TavmoClientPreviewInEvent{TAVMO_CLIENT_PREVIEW_NONE, 0}), 1);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_RESIZE, TavmoClientResizeInEvent{0, 0, 640, 360}), 1);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT, TavmoClientInt32Value{4}), 1);
    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT, TavmoClientLayoutInEvent{2, 4, 9, 6, 0}), 1);
    for (int32_t setting = 1; setting <= 9; ++setting) {
        TavmoClientRoomSettingsInEvent settings{};
        settings.roomSettingId = setting;
        ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS, settings), 1);
    }
    TavmoClientPinParticipantInEvent pin{};
    std::strcpy(pin.uri, "alex.moreau@conference.example");
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE, pin), 1);
    for (const int32_t command : {7, 0}) {
        TavmoClientControlCameraInEvent camera{};
        std::strcpy(camera.uri, "alex.moreau@conference.example");
        camera.cameraCommand = command;
        ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA, camera), 1);
    }
    ASSERT_EQ(sendFlag(TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC, true), 1);
    ASSERT_EQ(
        send(TAVMO_CLIENT_IN_EVENT_SHARE, TavmoClientShareInEvent{TAVMO_CLIENT_SHARE_APPLICATION_WINDOW, 7, {}, {}}),
        1);
    ASSERT_EQ(sendFlag(TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN, true), 1);
    TavmoClientGroupChatInEvent chat{};
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_GROUP_CHAT, chat), 1);
    ASSERT_EQ(send(TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA, TavmoClientInt32Value{TAVMO_CLIENT_DEVICE_TEST_START}),
              1);
    auto* requestId = static_cast<int32_t*>(std::malloc(sizeof(int32_t)));
    *requestId = 5;
    ASSERT_EQ(send(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT, TavmoClientGetWindowsExtInEvent{requestId}), 1);
    ASSERT_EQ(sendBare(TAVMO_CLIENT_IN_EVENT_LEAVE), 1);
    ASSERT_EQ(sendBare(TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING), 1);
    settle();

    const auto events = recorder_.snapshot();
    for (const auto& row : rows) {
        EXPECT_TRUE(
            std::any_of(events.begin(), events.end(),
                        [&](const RecordedEvent& e) { return std::find(row.begin(), row.end(), e.code) != row.end(); }))
            << "no event " << row.front();
    }
    for (const uint32_t type : portalTypes) {
        EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                                [&](const RecordedEvent& e) {
                                    return e.code == TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP &&
                                           as<TavmoClientPortalHeader>(e).typeRequest == type;
                                }))
            << "no portal answer " << type;
    }
}

// A page that asks for window lists faster than they go out: one list per
// request id and sixteen in all wait at most; the rest is refused and the
// request id stays the caller's.
TEST_F(ConferenceTest, WaitingWindowListsAreOnePerRequestIdAndSixteenInAll) {
    startLibrary("windows 0\n");
    auto ask = [this](int32_t id) {
        auto* requestId = static_cast<int32_t*>(std::malloc(sizeof(int32_t)));
        *requestId = id;
        TavmoClientBool accepted =
            send(TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT, TavmoClientGetWindowsExtInEvent{requestId});
        if (accepted != 1) std::free(requestId);
        return accepted;
    };
    // The library delivers under the sync lock: holding it keeps every list waiting.
    TavmoClientSynchronizeStart();
    for (int32_t id = 1; id <= 16; ++id) EXPECT_EQ(ask(id), 1) << id;
    EXPECT_EQ(ask(3), 1) << "the list on its way answers a second request with its id";
    EXPECT_EQ(ask(17), 0) << "a seventeenth list";
    TavmoClientSynchronizeEnd();

    std::map<uint32_t, int> listsPerId;
    for (const RecordedEvent& event : settle()) {
        if (event.code != TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT) continue;
        listsPerId[as<TavmoClientWindowList>(event).requestId]++;
    }
    std::map<uint32_t, int> once;
    for (uint32_t id = 1; id <= 16; ++id) once[id] = 1;
    EXPECT_EQ(listsPerId, once);
    EXPECT_EQ(ask(17), 1) << "lists that are out make room";
    settle();
}

}  // namespace
}  // namespace standin_test
