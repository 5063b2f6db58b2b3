// The way from the library's callback to the page: copy, queue, translate in
// order on OutEventThread, and the delayed writing of event 1600.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "EventBlock.h"
#include "EventRecords.h"
#include "HostFixture.h"
#include "HostState.h"
#include "OutEventHandler.h"
#include "OutEventHandler/DelayedSender.h"
#include "Records.h"

namespace {

std::size_t logCount(const std::string& text) {
    std::size_t count = 0;
    for (const std::string& line : fake::logTexts())
        if (line == text) ++count;
    return count;
}

class EventPipeline : public HostFixture {
protected:
    std::vector<EventQueueEntry> queued() {
        std::vector<EventQueueEntry> batch;
        eventQueue.push(EventQueueEntry{});  // so that the take never waits
        eventQueue.waitAndTakeAll(batch);
        batch.pop_back();
        return batch;
    }
};

TEST_F(EventPipeline, CallbackQueuesACopyOfTheBlock) {
    unsigned char parameters[] = {1, 2, 3};
    TavmoClientCallback(2100, parameters, sizeof parameters, 77);
    parameters[0] = 9;
    std::vector<EventQueueEntry> entries = queued();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, 2100);
    EXPECT_EQ(entries[0].block, (Block{1, 2, 3}));
    EXPECT_EQ(entries[0].userWord, 77u);
    EXPECT_TRUE(fake::logged("TavmoClientCallback() Received and Queued EVENT: [2100]", 3));
}

TEST_F(EventPipeline, CallbackWithoutParametersQueuesAnEmptyBlock) {
    TavmoClientCallback(2303, nullptr, 0, 0);
    std::vector<EventQueueEntry> entries = queued();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].block.empty());
}

TEST_F(EventPipeline, CallbackWhileExitingSkipsTheEvent) {
    hostState = HostExiting;
    unsigned char parameters[] = {1};
    TavmoClientCallback(2100, parameters, sizeof parameters, 0);
    hostState = HostRunning;
    EXPECT_TRUE(queued().empty());
    EXPECT_TRUE(fake::logged("TavmoClientCallback() Received EVENT: [2100] while exiting, skipped.", 3));
}

TEST_F(EventPipeline, EventsFromSeveralThreadsAreWrittenWholeAndInQueueOrder) {
    constexpr uint32_t kThreads = 4;
    constexpr uint32_t kEach = 300;
    std::thread consumer(OutEventThread);
    std::vector<std::thread> producers;
    for (uint32_t thread = 0; thread < kThreads; ++thread) {
        producers.emplace_back([thread] {
            for (uint32_t sequence = 0; sequence < kEach; ++sequence) {
                TavmoClientSizeEvent event{thread, sequence};
                TavmoClientCallback(1700, &event, sizeof event, 0);
            }
        });
    }
    for (std::thread& producer : producers) producer.join();
    EXPECT_TRUE(
        eventually([] { return logCount("OutEventThread: OnOutEvent() Entering EVENT: [1700]") == kThreads * kEach; }));
    eventQueue.close();
    consumer.join();

    std::vector<std::string> bodies = writtenBodies();
    ASSERT_EQ(bodies.size(), kThreads * kEach);
    std::map<uint32_t, uint32_t> nextSequence;
    for (const std::string& body : bodies) {
        Json::Value message;
        ASSERT_TRUE(json::parse(body, message)) << body;
        uint32_t thread = message["params"]["width"].asUInt();
        EXPECT_EQ(message["params"]["height"].asUInt(), nextSequence[thread]++) << "thread " << thread;
    }
    for (uint32_t thread = 0; thread < kThreads; ++thread) EXPECT_EQ(nextSequence[thread], kEach);
    EXPECT_TRUE(fake::logged("OutEventThread: EXIT", 3));
}

TEST_F(EventPipeline, DelayedUriIsWrittenAfterTheEventsThatFollowIt) {
    TavmoClientUriEvent later{};
    copyText(later.URI, "sip:later");
    TavmoClientUriEvent now{};
    copyText(now.URI, "sip:now");
    OnOutEvent(1600, blockOf(later));
    OnOutEvent(1601, blockOf(now));
    EXPECT_TRUE(eventually([] { return fake::logged("DelayOutEventThread Sending outEvent: [1600]", 3); }));
    dropDelayedEvents();
    EXPECT_EQ(writtenBodies(),
              (std::vector<std::string>{"{\"_direction\":2,\"code\":1601,\"params\":{\"URI\":\"sip:now\"}}\n",
                                        "{\"_direction\":2,\"code\":1600,\"params\":{\"URI\":\"sip:later\"}}\n"}));
    EXPECT_TRUE(fake::logged("DelayOutEvent: TavmoAgent::sendMessage(): length :[58]", 3));
}

std::size_t logCountStartingWith(const std::string& prefix) {
    std::size_t count = 0;
    for (const std::string& line : fake::logTexts())
        if (line.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

// The delivery column of the event tables: the URI event alone waits for the
// delayed sender; every other row's message is written during the call, under
// its family's sender name.
TEST_F(EventPipeline, OnlyTheDelayedUriGoesThroughTheDelayedSender) {
    std::vector<int32_t> publicCodes = publicEventCodes();
    std::vector<int32_t> privateCodes = privateEventCodes();
    std::vector<int32_t> codes = publicCodes;
    codes.insert(codes.end(), privateCodes.begin(), privateCodes.end());
    for (int32_t code : codes) OnOutEvent(code, Block{});
    dropDelayedEvents();

    std::vector<int32_t> writtenAtOnce;
    for (const std::string& body : writtenBodies()) {
        Json::Value message;
        ASSERT_TRUE(json::parse(body, message)) << body;
        // A machine slow enough to need its delay wrote the URI event late.
        if (message["code"].asInt() != 1600) writtenAtOnce.push_back(message["code"].asInt());
    }
    std::vector<int32_t> expected = codes;
    expected.erase(std::remove(expected.begin(), expected.end(), 1600), expected.end());
    EXPECT_EQ(writtenAtOnce, expected);
    EXPECT_EQ(logCount("DelayOutEventThread Dropping outEvent: [1600], the input has ended") +
                  logCount("DelayOutEventThread Sending outEvent: [1600]"),
              1u);
    EXPECT_EQ(logCountStartingWith("OnOutEvent: TavmoAgent::sendMessage(): length :["), publicCodes.size() - 1);
    EXPECT_EQ(logCountStartingWith("OnPrivateOutEvent: TavmoAgent::sendMessage(): length :["), privateCodes.size());
}

// The end of input must not wait for a delayed message, nor leave its thread
// running into the shutdown.
TEST_F(EventPipeline, DroppingEndsWaitingMessagesWithoutWritingThem) {
    OnOutEvent(1600, Block{'a', 0});
    OnOutEvent(1600, Block{'b', 0});
    dropDelayedEvents();
    EXPECT_TRUE(writtenBodies().empty());
    EXPECT_EQ(logCount("DelayOutEventThread Dropping outEvent: [1600], the input has ended"), 2u);
    EXPECT_FALSE(fake::logged("DelayOutEventThread Sending outEvent: [1600]"));
}

TEST_F(EventPipeline, DelayedMessagesAreWrittenAgainAfterADrop) {
    OnOutEvent(1600, Block{'a', 0});
    dropDelayedEvents();
    OnOutEvent(1600, Block{'b', 0});
    EXPECT_TRUE(eventually([] { return fake::logged("DelayOutEventThread Sending outEvent: [1600]", 3); }));
    dropDelayedEvents();
    EXPECT_EQ(writtenBodies(),
              std::vector<std::string>{"{\"_direction\":2,\"code\":1600,\"params\":{\"URI\":\"b\"}}\n"});
}

TEST_F(EventPipeline, EndOfInputDropsDelayedMessagesBeforeTheThreadEnds) {
    std::thread consumer(OutEventThread);
    TavmoClientCallback(1600, "x", 2, 0);
    EXPECT_TRUE(eventually([] { return fake::logged("OutEventThread: OnOutEvent() Entering EVENT: [1600]"); }));
    eventQueue.close();
    consumer.join();
    EXPECT_TRUE(fake::logged("DelayOutEventThread Dropping outEvent: [1600], the input has ended", 3));
    std::vector<std::string> logs = fake::logTexts();
    auto dropped =
        std::find(logs.begin(), logs.end(), "DelayOutEventThread Dropping outEvent: [1600], the input has ended");
    auto ended = std::find(logs.begin(), logs.end(), "OutEventThread: EXIT");
    EXPECT_LT(dropped, ended);
    EXPECT_TRUE(writtenBodies().empty());
}

std::size_t threadsOfThisProcess() {
    std::size_t count = 0;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (dirent* entry = ::readdir(tasks))
            if (entry->d_name[0] != '.') ++count;
        ::closedir(tasks);
    }
    return count;
}

// Every delayed message once had a thread of its own: ten thousand of them
// made the host fail to create one, and abort at the end.
// Counted once the first message has started the timer: a sanitizer's runtime
// starts a thread of its own with the process's first one.
TEST_F(EventPipeline, DelayedMessagesShareOneTimerThreadHoweverManyWait) {
    OnOutEvent(1600, Block{'u', 0});
    const std::size_t withTimer = threadsOfThisProcess();
    ASSERT_GT(withTimer, 1u);
    for (int i = 1; i < 2000; ++i) OnOutEvent(1600, Block{'u', 0});
    EXPECT_LE(threadsOfThisProcess(), withTimer);
    dropDelayedEvents();
    EXPECT_EQ(logCount("DelayOutEventThread Dropping outEvent: [1600], the input has ended"), 2000u);
    EXPECT_TRUE(writtenBodies().empty());
}

TEST_F(EventPipeline, DelayedMessagesLeaveByDueTimeThenInTheOrderHandedOver) {
    auto message = [](const char* text) {
        Json::Value value;
        value["text"] = text;
        return value;
    };
    sendDelayed(message("later"), std::chrono::milliseconds(1000), 1);
    sendDelayed(message("first"), std::chrono::milliseconds(0), 2);
    sendDelayed(message("second"), std::chrono::milliseconds(0), 3);
    EXPECT_TRUE(eventually([this] { return writtenBodies().size() == 3; }));
    dropDelayedEvents();
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{"{\"_direction\":2,\"text\":\"first\"}\n",
                                                         "{\"_direction\":2,\"text\":\"second\"}\n",
                                                         "{\"_direction\":2,\"text\":\"later\"}\n"}));
}

TEST(EventBlockReader, CountsOnlyEntriesThatLieWhollyInsideTheBlock) {
    Block bytes(4 + 8 * 3 + 7);
    EventBlock block(bytes);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(1000, 4), 3u);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(2, 4), 2u);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(1000, 4, 1), 1u);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(0, 4), 0u);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(-5, 4), 0u);
    EXPECT_EQ(block.entriesThatFit<TavmoClientFeatureStatus>(1000, 1000), 0u);
}

TEST(EventBlockReader, ReadsZeroBeyondTheBlock) {
    Block bytes = {1, 0, 0, 0, 2};
    EventBlock block(bytes);
    TavmoClientSizeEvent size = block.read<TavmoClientSizeEvent>();
    EXPECT_EQ(size.width, 1u);
    EXPECT_EQ(size.height, 2u);
    EXPECT_EQ(block.read<TavmoClientSizeEvent>(4).width, 2u);
    EXPECT_EQ(block.read<TavmoClientSizeEvent>(4).height, 0u);
    EXPECT_EQ(block.read<TavmoClientSizeEvent>(5).width, 0u);
    EXPECT_EQ(block.read<TavmoClientSizeEvent>(SIZE_MAX).width, 0u);
}

}  // namespace
