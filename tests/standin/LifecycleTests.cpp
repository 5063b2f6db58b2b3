#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class LifecycleTest : public StandInTest {};

TEST(VersionTest, IsBoundedByTheBufferAndAlwaysTerminated) {
    const struct {
        uint32_t size;
        const char* expected;
    } cases[] = {{1, ""}, {2, "S"}, {8, "StandIn"}, {14, "StandIn 1.0.0"}, {64, "StandIn 1.0.0"}};
    for (const auto& c : cases) {
        std::vector<char> buffer(c.size + 8, '#');
        TavmoClientGetVersion(buffer.data(), c.size);
        EXPECT_STREQ(buffer.data(), c.expected) << "size " << c.size;
        for (size_t i = c.size; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '#') << "size " << c.size;
    }
    char untouched = '#';
    TavmoClientGetVersion(&untouched, 0);
    EXPECT_EQ(untouched, '#');
    TavmoClientGetVersion(nullptr, 16);
}

TEST(FeatureTest, DefaultsOverwriteTheWholeRecordAndApplyingNeedsOne) {
    TavmoClientFeatureControl features;
    std::memset(&features, 0xFF, sizeof features);
    TavmoClientFeatureControlConstructDefault(&features);
    for (const unsigned char byte : features.bytes) EXPECT_EQ(byte, 0);
    TavmoClientFeatureControlConstructDefault(nullptr);
    features.bytes[TAVMO_CLIENT_FEATURE_BYTE_HOST] = 1;
    EXPECT_EQ(TavmoClientSetOptionalFeatures(&features), 1);
    EXPECT_EQ(TavmoClientSetOptionalFeatures(nullptr), 0);
}

TEST_F(LifecycleTest, SecondInitializeIsRefusedUntilUninitialize) {
    ASSERT_EQ(initialize(), 1);
    EXPECT_EQ(initialize(), 0);
    TavmoClientUninitialize();
    TavmoClientUninitialize();
    EXPECT_EQ(initialize(), 1);
}

TEST_F(LifecycleTest, StartNeedsInitializeAndIsNotRepeated) {
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(TavmoClientIsStarted(), 0);
    ASSERT_EQ(initialize(), 1);
    EXPECT_EQ(TavmoClientIsStarted(), 0);
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(TavmoClientIsStarted(), 1);
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(TavmoClientStop(), 1);
    EXPECT_EQ(TavmoClientIsStarted(), 0);
    EXPECT_EQ(start(), 1);
    const auto events = recorder_.waitForCount(2);
    ASSERT_EQ(events.size(), 2u);
    for (const auto& event : events) EXPECT_EQ(event.code, TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED);
}

TEST_F(LifecycleTest, StartRaisesLogicStartedFromTheLibrarysThreadToStartsCallback) {
    ASSERT_EQ(initialize(), 1);
    ASSERT_EQ(start(), 1);
    const auto events = recorder_.waitForCount(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED);
    EXPECT_TRUE(events[0].block.empty());
    EXPECT_EQ(events[0].userWord, kStartWord);
    EXPECT_NE(events[0].thread, std::this_thread::get_id());
}

// Every in-event the interface defines. Whether one is accepted once started
// also depends on its record; CANCEL and LEAVE carry none.
const int32_t kInEvents[] = {
    TAVMO_CLIENT_IN_EVENT_SIGN_IN,
    TAVMO_CLIENT_IN_EVENT_CANCEL,
    TAVMO_CLIENT_IN_EVENT_LEAVE,
    TAVMO_CLIENT_IN_EVENT_ANSWER,
    TAVMO_CLIENT_IN_EVENT_DECLINE,
    TAVMO_CLIENT_IN_EVENT_PREVIEW,
    TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN,
    TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT,
    TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO,
    TAVMO_CLIENT_IN_EVENT_SHARE,
    TAVMO_CLIENT_IN_EVENT_UNSHARE,
    TAVMO_CLIENT_IN_EVENT_RESIZE,
    TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT,
    TAVMO_CLIENT_IN_EVENT_LAYOUT,
    TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT,
    TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL,
    TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC,
    TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE,
    TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA,
    TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE,
    TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH,
    TAVMO_CLIENT_IN_EVENT_LOGIN,
    TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL,
    TAVMO_CLIENT_IN_EVENT_SIGNOFF,
    TAVMO_CLIENT_IN_EVENT_SET_OFFLINE,
    TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE,
    TAVMO_CLIENT_IN_EVENT_GROUP_CHAT,
    TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT,
    TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME,
    TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME,
    TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
    TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA,
    TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE,
    TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER,
    TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER,
    TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT,
    TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING,
    TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP,
    TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT,
};

TEST_F(LifecycleTest, InEventsAreRefusedUnlessStarted) {
    for (const int32_t code : kInEvents) EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 0), 0) << "before initialize";
    ASSERT_EQ(initialize(), 1);
    for (const int32_t code : kInEvents) EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 0), 0) << "before start";
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_LEAVE, nullptr, 0), 1);
    ASSERT_EQ(TavmoClientStop(), 1);
    for (const int32_t code : kInEvents) EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 0), 0) << "after stop";
}

TEST_F(LifecycleTest, WhileStartedOnlyInEventCodesAreAccepted) {
    ASSERT_EQ(initialize(), 1);
    ASSERT_EQ(start(), 1);
    for (const int32_t code : {TAVMO_CLIENT_IN_EVENT_CANCEL, TAVMO_CLIENT_IN_EVENT_LEAVE}) {
        EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 0), 1) << code;
        EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 16), 0) << "null record with a size, " << code;
    }
    // Out-event and request codes, and neighbours of in-event codes.
    const int32_t unknown[] = {0,
                               -100,
                               99,
                               101,
                               202,
                               1302,
                               TAVMO_CLIENT_OUT_EVENT_SIGNED_IN,
                               TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP,
                               TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT,
                               TAVMO_CLIENT_REQUEST_GET_CALL_STATE};
    for (const int32_t code : unknown) EXPECT_EQ(TavmoClientSendEvent(code, nullptr, 0), 0) << code;
}

TEST(SyncLockTest, IsRecursiveForTheHoldingThread) {
    TavmoClientSynchronizeStart();
    TavmoClientSynchronizeStart();
    TavmoClientSynchronizeEnd();
    std::atomic<bool> otherHeld{false};
    std::thread other([&] {
        TavmoClientSynchronizeStart();
        otherHeld = true;
        TavmoClientSynchronizeEnd();
    });
    // Still held once: the other thread cannot have it yet.
    EXPECT_FALSE(otherHeld);
    TavmoClientSynchronizeEnd();
    other.join();
    EXPECT_TRUE(otherHeld);
}

TEST(SyncLockTest, EndFromAThreadThatDoesNotHoldItIsIgnored) {
    TavmoClientSynchronizeStart();
    std::thread([] { TavmoClientSynchronizeEnd(); }).join();
    std::atomic<bool> otherHeld{false};
    std::thread other([&] {
        TavmoClientSynchronizeStart();
        otherHeld = true;
        TavmoClientSynchronizeEnd();
    });
    EXPECT_FALSE(otherHeld);
    TavmoClientSynchronizeEnd();
    other.join();
    EXPECT_TRUE(otherHeld);
}

TEST_F(LifecycleTest, NoCallbackRunsWhileTheHostHoldsTheSyncLock) {
    constexpr int kEvents = 300;
    std::string scenario;
    for (int i = 0; i < kEvents; ++i) scenario += "raise 0 2303 -\n";
    static std::atomic<bool> hostInside{false};
    static std::atomic<int> overlaps{0};
    hostInside = false;
    overlaps = 0;
    recorder_.setHook([](const RecordedEvent&) {
        if (hostInside) ++overlaps;
    });
    ASSERT_EQ(initialize(scenario), 1);

    auto delivered = [&] { return recorder_.snapshot().size() >= static_cast<size_t>(kEvents); };
    while (!delivered()) {
        TavmoClientSynchronizeStart();
        TavmoClientSynchronizeStart();
        hostInside = true;
        std::this_thread::yield();
        hostInside = false;
        TavmoClientSynchronizeEnd();
        hostInside = true;
        std::this_thread::yield();
        hostInside = false;
        TavmoClientSynchronizeEnd();
    }
    EXPECT_EQ(overlaps, 0);
}

TEST_F(LifecycleTest, CallbackMayTakeTheSyncLockAndCallTheLibrary) {
    static std::atomic<int32_t> seenState{-1};
    static std::atomic<int> hooksDone{0};
    seenState = -1;
    hooksDone = 0;
    recorder_.setHook([](const RecordedEvent&) {
        TavmoClientSynchronizeStart();
        int32_t state = -1;
        TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state);
        TavmoClientSynchronizeEnd();
        seenState = state;
        ++hooksDone;
    });
    ASSERT_EQ(initialize("call-state 6\nraise 0 2303 -\nraise 0 2304 -\n"), 1);
    // Reaching the second event means the first callback's nested hold on
    // the lock neither deadlocked nor left the lock held.
    const auto events = recorder_.waitForCount(2);
    EXPECT_EQ(events[1].code, 2304);
    while (hooksDone < 2) std::this_thread::yield();
    EXPECT_EQ(seenState, 6);
}

TEST_F(LifecycleTest, UninitializeWhileTheHostHoldsTheSyncLockEndsWithoutAnyCallback) {
    TavmoClientSynchronizeStart();
    ASSERT_EQ(initialize("raise 0 2303 -\n"), 1);
    ASSERT_EQ(start(), 1);
    TavmoClientUninitialize();
    TavmoClientSynchronizeEnd();
    EXPECT_TRUE(recorder_.snapshot().empty());
}

TEST_F(LifecycleTest, NoCallbackAfterUninitializeReturns) {
    static std::atomic<bool> uninitialized{false};
    static std::atomic<int> late{0};
    uninitialized = false;
    late = 0;
    recorder_.setHook([](const RecordedEvent& event) {
        if (event.code == 2305 && uninitialized) ++late;
    });
    ASSERT_EQ(initialize("raise-burst 2 10000000 2305 -\n"), 1);
    ASSERT_EQ(start(), 1);
    recorder_.waitForCount(1000);
    TavmoClientUninitialize();
    uninitialized = true;

    // Left-over burst threads would still be calling while the next instance
    // delivers its first event.
    ASSERT_EQ(initialize("raise 0 2303 -\n"), 1);
    recorder_.waitForCode(2303);
    TavmoClientUninitialize();
    EXPECT_EQ(late, 0);
}

TEST_F(LifecycleTest, UninitializeFromInsideACallbackStopsTheLibrary) {
    static std::atomic<bool> returned{false};
    returned = false;
    recorder_.setHook([](const RecordedEvent& event) {
        if (event.code != TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED) return;
        TavmoClientUninitialize();
        returned = true;
    });
    ASSERT_EQ(initialize("raise 0 2303 -\n"), 1);
    ASSERT_EQ(start(), 1);
    recorder_.waitForCode(TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED);
    while (!returned) std::this_thread::yield();

    EXPECT_EQ(TavmoClientIsStarted(), 0);
    int32_t state = 0;
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 3);
    recorder_.reset();
    ASSERT_EQ(initialize("call-state 1\n"), 1);
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 0);
    EXPECT_EQ(state, 1);
}

TEST_F(LifecycleTest, HostHoldingTheSyncLockCanStillSendRequests) {
    ASSERT_EQ(initialize("call-state 2\nraise 0 2303 -\n"), 1);
    TavmoClientSynchronizeStart();
    int32_t state = 0;
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 0);
    EXPECT_EQ(start(), 1);
    TavmoClientSynchronizeEnd();
    EXPECT_EQ(state, 2);
    recorder_.waitForCode(TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED);
}

}  // namespace
}  // namespace standin_test
