#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class ScenarioTest : public StandInTest {};

int32_t callState() {
    int32_t state = -1;
    const int32_t result = TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state);
    EXPECT_EQ(result, 0);
    return state;
}

class RefusalTest;

struct RefusalCase {
    const char* name;
    const char* scenario;
    std::function<void(RefusalTest&)> check;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

// The fixture's helpers are protected; the cases reach them through this.
class RefusalTest : public StandInTest, public ::testing::WithParamInterface<RefusalCase> {
public:
    using StandInTest::queryDomain;
    using StandInTest::saveDomain;
};

TEST_P(RefusalTest, DirectiveChangesTheAnswer) {
    ASSERT_EQ(initialize(GetParam().scenario), 1);
    ASSERT_EQ(start(), 1);
    GetParam().check(*this);
}

std::vector<RefusalCase> refusalCases() {
    return {
        {"RefusedRequestLeavesRecordAlone", "refuse-request 101508 7\n",
         [](RefusalTest&) {
             int32_t state = 0x5A5A5A5A;
             EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 7);
             EXPECT_EQ(state, 0x5A5A5A5A);
         }},
        {"RefusalOfOneCodeLeavesOthersAnswered", "refuse-request 102000 8\n",
         [](RefusalTest&) {
             int32_t state = -1;
             EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 0);
             EXPECT_EQ(state, 0);
             TavmoClientLogLevelsRecord levels{};
             EXPECT_EQ(
                 TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, &levels, sizeof levels), 8);
         }},
        {"RefusedPrivateRequest", "refuse-private 307001 9\n",
         [](RefusalTest& test) {
             unsigned char approved = 0;
             EXPECT_EQ(test.queryDomain("example.org", approved), 9);
             EXPECT_EQ(approved, 0xEE) << "the answer byte was written";
             EXPECT_EQ(test.saveDomain("example.org"), 0);
         }},
        {"RefusingThePrivateCodeRefusesEveryPrivateRequest", "refuse-request 199999 5\n",
         [](RefusalTest& test) {
             unsigned char approved = 0;
             EXPECT_EQ(test.queryDomain("example.org", approved), 5);
             EXPECT_EQ(test.saveDomain("example.org"), 5);
         }},
        {"NegativeErrorCode", "refuse-request 101508 -3\n",
         [](RefusalTest&) {
             int32_t state = 0;
             EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), -3);
         }},
        {"RefusedEvent", "refuse-event 201\n",
         [](RefusalTest&) {
             EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_LEAVE, nullptr, 0), 0);
             EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_CANCEL, nullptr, 0), 1);
         }},
        {"InitialCallState", "call-state 3\n", [](RefusalTest&) { EXPECT_EQ(callState(), 3); }},
    };
}

INSTANTIATE_TEST_SUITE_P(Directives, RefusalTest, ::testing::ValuesIn(refusalCases()),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(ScenarioTest, StartFailsKeepsTheLibraryStoppedAndRaisesNothing) {
    // The sentinel is due well after Start; a LOGIC_STARTED from Start would
    // be due before it and so recorded first.
    ASSERT_EQ(initialize("start-fails\nraise 300 2303 -\n"), 1);
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(TavmoClientIsStarted(), 0);
    EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_SIGN_IN, nullptr, 0), 0);

    const auto events = recorder_.waitForCode(TAVMO_CLIENT_OUT_EVENT_SIGNED_IN);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, TAVMO_CLIENT_OUT_EVENT_SIGNED_IN);
}

struct StopCase {
    const char* scenario;
    std::vector<TavmoClientBool> answers;
};

void PrintTo(const StopCase& c, std::ostream* out) { *out << '"' << c.scenario << '"'; }

class StopTest : public StandInTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, StopAnswersInTurn) {
    ASSERT_EQ(initialize(GetParam().scenario), 1);
    ASSERT_EQ(start(), 1);
    for (const TavmoClientBool expected : GetParam().answers) {
        EXPECT_EQ(TavmoClientStop(), expected);
        EXPECT_EQ(TavmoClientIsStarted(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Directives, StopTest,
                         ::testing::Values(StopCase{"", {1, 1}}, StopCase{"stop-stopping\n", {0, 1, 1}}),
                         [](const ::testing::TestParamInfo<StopCase>& info) {
                             return info.index == 0 ? "Plain" : "StopStopping";
                         });

TEST_F(ScenarioTest, RaiseDeliversItsBlockFromTheLibrarysThreadWithoutStart) {
    ASSERT_EQ(initialize("raise 0 300 01 02 0a ff\n"), 1);
    const auto events = recorder_.waitForCount(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, TAVMO_CLIENT_OUT_EVENT_SIGN_IN);
    EXPECT_EQ(events[0].block, (std::vector<unsigned char>{0x01, 0x02, 0x0a, 0xff}));
    EXPECT_EQ(events[0].userWord, kInitializeWord);
    EXPECT_NE(events[0].thread, std::this_thread::get_id());
}

TEST_F(ScenarioTest, DashRaisesAnEmptyBlock) {
    ASSERT_EQ(initialize("raise 0 2304 -\n"), 1);
    const auto events = recorder_.waitForCount(1);
    EXPECT_EQ(events[0].code, TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT);
    EXPECT_TRUE(events[0].block.empty());
    EXPECT_TRUE(events[0].nullBlock);
}

TEST_F(ScenarioTest, RaisesArriveInOrderOfDueTimeThenFileOrder) {
    ASSERT_EQ(initialize("raise 150 2302 -\n"
                         "raise 0 2303 AA\n"
                         "raise 0 2304 BB\n"
                         "raise 20 2305 -\n"),
              1);
    const auto events = recorder_.waitForCount(4);
    std::vector<int32_t> codes;
    codes.reserve(events.size());
    for (const auto& event : events) codes.push_back(event.code);
    EXPECT_EQ(codes, (std::vector<int32_t>{2303, 2304, 2305, 2302}));
}

TEST_F(ScenarioTest, BurstThreadsEachRaiseTheirEventsInOrderAfterLogicStarted) {
    constexpr uint32_t kThreads = 4;
    constexpr uint32_t kCount = 500;
    ASSERT_EQ(initialize("raise-burst 4 500 2305 0000000000000000 aabb\n"), 1);
    ASSERT_EQ(start(), 1);
    const auto events = recorder_.waitForCount(1 + kThreads * kCount);
    ASSERT_EQ(events.size(), 1 + kThreads * kCount);

    EXPECT_EQ(events[0].code, TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED);
    std::map<uint32_t, uint32_t> nextSequence;
    std::map<uint32_t, std::thread::id> threadOf;
    std::set<std::thread::id> threads;
    for (size_t i = 1; i < events.size(); ++i) {
        const auto& event = events[i];
        ASSERT_EQ(event.code, 2305);
        ASSERT_EQ(event.block.size(), 10u);
        EXPECT_EQ(event.block[8], 0xaa);
        EXPECT_EQ(event.block[9], 0xbb);
        EXPECT_EQ(event.userWord, kStartWord);
        uint32_t index = 0, sequence = 0;
        std::memcpy(&index, event.block.data(), sizeof index);
        std::memcpy(&sequence, event.block.data() + 4, sizeof sequence);
        ASSERT_LT(index, kThreads);
        EXPECT_EQ(sequence, nextSequence[index]++) << "thread " << index;
        const auto known = threadOf.emplace(index, event.thread).first;
        EXPECT_EQ(known->second, event.thread) << "thread index " << index << " moved between threads";
        threads.insert(event.thread);
    }
    for (uint32_t index = 0; index < kThreads; ++index) EXPECT_EQ(nextSequence[index], kCount);
    EXPECT_EQ(threads.size(), kThreads);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
    EXPECT_EQ(threads.count(events[0].thread), 0u) << "a burst ran on the delivery thread";
}

TEST_F(ScenarioTest, BurstWithAShortBlockDeliversItUnchanged) {
    ASSERT_EQ(initialize("raise-burst 2 50 2304 0102 03\n"), 1);
    ASSERT_EQ(start(), 1);
    const auto events = recorder_.waitForCount(101);
    ASSERT_EQ(events.size(), 101u);
    for (size_t i = 1; i < events.size(); ++i) {
        EXPECT_EQ(events[i].code, 2304);
        EXPECT_EQ(events[i].block, (std::vector<unsigned char>{1, 2, 3}));
    }
}

TEST_F(ScenarioTest, BadLinesAreReportedAndSkippedWhileTheRestApplies) {
    const std::string scenario =
        "# a comment line\n"
        "\n"
        "bogus-directive 1\n"        // 3
        "refuse-request abc 3\n"     // 4
        "refuse-request 101508 0\n"  // 5: a refusal must be an error
        "raise 0 2303 0\n"           // 6: odd hex digits
        "raise-burst 0 5 2305 -\n"   // 7: no threads
        "raise-burst 65 5 2305 -\n"  // 8: too many threads
        "refuse-event 201 extra\n"   // 9
        "raise 0 2303 zz\n"          // 10
        "start-fails now\n"          // 11
        "call-state 4\n"
        "refuse-request 102000 6\r\n"  // a line ending from another system
        // Due with the rejected raises above and after them in the file, so
        // any of those that slipped through would be delivered first.
        "raise 0 2304 -\n";
    ::testing::internal::CaptureStderr();
    const TavmoClientBool initialized = initialize(scenario);
    const std::string notes = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(initialized, 1);

    for (const int line : {3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        EXPECT_NE(notes.find("scenario.txt:" + std::to_string(line) + ":"), std::string::npos)
            << "no note for line " << line << " in:\n"
            << notes;
    }
    EXPECT_EQ(splitLines(notes).size(), 9u) << notes;

    const auto events = recorder_.waitForCode(2304);
    ASSERT_EQ(events.size(), 1u) << "a rejected raise was delivered, code " << events[0].code;
    EXPECT_EQ(callState(), 4);
    TavmoClientLogLevelsRecord levels{};
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, &levels, sizeof levels), 6);
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_LEAVE, nullptr, 0), 1);
}

// The stall only delays: the request is then answered as usual, and the
// stall is in the log so that a test can tell when a host thread hangs.
TEST_F(ScenarioTest, StalledRequestIsLoggedAndThenAnswered) {
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(initialize("call-state 3\nstall-request 101508 20\nstall-request 102000\nstall-request 102000 -5\n"), 1);
    const std::string notes = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(splitLines(notes).size(), 2u) << notes;

    EXPECT_EQ(callState(), 3);
    TavmoClientLogLevelsRecord levels{};
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, &levels, sizeof levels), 0);
    TavmoClientUninitialize();
    const std::string log = allLogText();
    EXPECT_NE(log.find("Stalling request: [101508] for [20] ms"), std::string::npos) << log;
    EXPECT_EQ(log.find("Stalling request: [102000]"), std::string::npos) << log;
}

TEST_F(ScenarioTest, HappeningsAndWindowsAreCheckedLikeEveryDirective) {
    const std::string scenario =
        "incoming-call soon\n"            // 1
        "plug 0 printer Laser Printer\n"  // 2: no such kind of device
        "unplug 0 camera\n"               // 3: no name
        "plug 0 camera   \n"              // 4: a blank name
        "windows 1001\n"                  // 5: too many
        "windows 2 3\n"                   // 6
        "windows 10\n"
        "plug 0 microphone  Desk   Microphone \n";
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(initialize(scenario), 1);
    const std::string notes = ::testing::internal::GetCapturedStderr();
    for (const int line : {1, 2, 3, 4, 5, 6}) {
        EXPECT_NE(notes.find("scenario.txt:" + std::to_string(line) + ":"), std::string::npos) << line << notes;
    }
    EXPECT_EQ(splitLines(notes).size(), 6u) << notes;

    auto listing = std::make_unique<TavmoClientWindowsAndDesktops>();
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS, listing.get(), sizeof *listing), 0);
    EXPECT_EQ(listing->numApplicationWindows, 14u);

    ASSERT_EQ(start(), 1);
    const auto events = recorder_.waitForCode(202100);
    TavmoClientDeviceNoticeEvent plugged{};
    ASSERT_EQ(events.back().block.size(), sizeof plugged);
    std::memcpy(&plugged, events.back().block.data(), sizeof plugged);
    EXPECT_EQ(plugged.deviceType, 2);
    EXPECT_STREQ(plugged.deviceName, "Desk   Microphone") << "blanks inside the name are kept";
}

TEST_F(ScenarioTest, MissingScenarioFileIsReportedAndTheLibraryRunsPlain) {
    setEnvironment("TAVMO_STANDIN_SCENARIO", (dir_.path() / "no-such-file.txt").string());
    ::testing::internal::CaptureStderr();
    const TavmoClientBool initialized = initialize();
    const std::string notes = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(initialized, 1);
    EXPECT_NE(notes.find("no-such-file.txt"), std::string::npos) << notes;
    EXPECT_EQ(callState(), 0);
    EXPECT_EQ(start(), 1);
}

TEST_F(ScenarioTest, ScenarioIsReadAgainAtEachInitialize) {
    ASSERT_EQ(initialize("call-state 2\n"), 1);
    EXPECT_EQ(callState(), 2);
    TavmoClientUninitialize();
    ASSERT_EQ(initialize("call-state 5\n"), 1);
    EXPECT_EQ(callState(), 5);
}

}  // namespace
}  // namespace standin_test
