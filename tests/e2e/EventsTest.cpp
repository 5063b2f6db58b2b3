// Library events through the real host: raised by the stand-in (see its
// scenario lines), read as the page reads them.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "HostProcess.h"
#include "PageMessages.h"

namespace {

const std::string kStartRequest = R"({"type":"InEventStart","_direction":1,"_id":1})";

TEST(Events, BurstFromSeveralLibraryThreadsReachesThePageWholeInOrderAndBesideReplies) {
    constexpr int kThreads = 4;
    constexpr int kEach = 500;
    constexpr int kRequests = 200;
    ScratchFolder folder;
    HostOptions options;
    // Event 1700 carries two numbers: the burst thread and its sequence.
    options.scenario = {"raise-burst 4 500 1700 0000000000000000"};
    HostProcess host(folder, options);
    host.sendFrame(kStartRequest);
    for (int i = 0; i < kRequests; ++i)
        host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":)" + std::to_string(100 + i) + "}");

    std::map<uint32_t, uint32_t> nextSequence;
    int events = 0;
    int replies = 0;
    while (events < kThreads * kEach || replies < kRequests + 1) {
        std::optional<std::string> body = host.readFrame();
        ASSERT_TRUE(body) << events << " events and " << replies << " replies so far";
        Json::Value message = parsed(*body);
        ASSERT_EQ(message["_direction"].asInt(), 2) << *body;
        if (message.isMember("type")) {
            ++replies;
        } else if (message["code"].asInt() == 1700) {
            uint32_t thread = message["params"]["width"].asUInt();
            ASSERT_EQ(message["params"]["height"].asUInt(), nextSequence[thread]++) << "thread " << thread;
            ++events;
        } else {
            EXPECT_EQ(*body, "{\"_direction\":2,\"code\":200,\"params\":null}\n");
        }
    }
    for (uint32_t thread = 0; thread < kThreads; ++thread) EXPECT_EQ(nextSequence[thread], uint32_t(kEach));
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_TRUE(logHas(host.logText(),
                       "OutEventThread: OnOutEvent() TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED TavmoClient "
                       "API Version: [StandIn 1.0.0]"));
}

TEST(Events, DelayedUriArrivesAfterTheEventThatFollowedIt) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 1600 7369703a6c61746572 00", "raise 0 1601 7369703a6e6f77 00"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1601,\"params\":{\"URI\":\"sip:now\"}}\n");
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1600,\"params\":{\"URI\":\"sip:later\"}}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    std::string log = host.logText();
    EXPECT_TRUE(logHas(log, "DelayOutEventThread Sending outEvent: [1600]"));
    EXPECT_TRUE(logHas(log, "DelayOutEvent: TavmoAgent::sendMessage(): length :[58]"));
}

TEST(Events, DelayedUriStillWaitingWhenTheInputEndsIsDropped) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 1600 7369703a6c61746572 00", "raise 0 1601 7369703a6e6f77 00"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1601,\"params\":{\"URI\":\"sip:now\"}}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_EQ(host.readRest(std::chrono::milliseconds(100)), "");
    std::string log = host.logText();
    EXPECT_TRUE(logHas(log, "DelayOutEventThread Dropping outEvent: [1600], the input has ended"));
    EXPECT_LT(log.find("DelayOutEventThread Dropping outEvent: [1600]"), log.find("OutEventThread: EXIT\n"));
    EXPECT_TRUE(logHas(log, "MainThread: EXIT"));
}

// The stand-in ends a running conference when the host stops it at shutdown,
// and reports that before its stop returns: after the host began exiting.
TEST(Events, EventsRaisedAfterTheShutdownBeganAreSkippedAndNeverWritten) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"call-state 4"};
    HostProcess host(folder, options);
    host.sendFrame(kStartRequest);
    // The start's reply and the library's start event, in either order.
    std::multiset<std::string> started = {host.readFrame().value_or(""), host.readFrame().value_or("")};
    EXPECT_EQ(started.count("{\"_direction\":2,\"code\":200,\"params\":null}\n"), 1u);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_EQ(host.readRest(std::chrono::milliseconds(100)), "");
    std::string log = host.logText();
    for (const char* skipped : {"TavmoClientCallback() Received EVENT: [2500] while exiting, skipped.",
                                "TavmoClientCallback() Received EVENT: [1203] while exiting, skipped."})
        EXPECT_TRUE(logHas(log, skipped)) << skipped;
    EXPECT_FALSE(logHas(log, "TavmoClientCallback() Received and Queued EVENT: [1203]"));
    EXPECT_FALSE(logHas(log, "OutEventThread: OnOutEvent() Entering EVENT: [2500]"));
    EXPECT_TRUE(logHas(log, "MainThread: EXIT\n"));
}

TEST(Events, EndOfInputDuringAConferenceLeavesItAndShutsDownInOrder) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 1200 -"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1200,\"params\":null}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    std::string log = host.logText();
    std::size_t pushed = log.find(R"(InputThread: Pushing: [{"type":"InEventLeave","_direction":1}])");
    ASSERT_NE(pushed, std::string::npos);
    EXPECT_LT(pushed, log.find("InputThread: EXIT\n"));
    EXPECT_LT(pushed, log.find("MainThread: EXIT Starting cleanup..."));
    EXPECT_LT(log.find("MainThread: OutEventThread WAIT_OBJECT_0"), log.find("MainThread: EXIT Starting cleanup..."));
    EXPECT_TRUE(logHas(log, "MainThread: EXIT\n"));
}

TEST(Events, EndOfInputAfterTheConferenceEndedQueuesNoLeave) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 1200 -", "raise 0 1203 -"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1200,\"params\":null}\n");
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1203,\"params\":null}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_FALSE(logHas(host.logText(), "InputThread: Pushing:"));
}

TEST(Events, PrivateEventsOutsideTheirRangeAreNotWritten) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 199999 01020304", "raise 0 201300 -"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":201300,\"params\":null}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_TRUE(logHas(host.logText(), "OutEventThread: OnPrivateOutEvent() Unknown EVENT: [199999]"));
}

}  // namespace
