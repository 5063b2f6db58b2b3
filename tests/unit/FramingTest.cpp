#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "HostFixture.h"
#include "HostState.h"
#include "HostThreads.h"
#include "Redaction.h"
#include "TavmoAgent.h"

namespace {

const std::string kSentinel = "<end of test input>";
// Stands for a request that was marked too large to keep.
const std::string kTooLarge = "<too large>";

std::vector<std::string> textsOf(const std::vector<QueuedRequest>& requests) {
    std::vector<std::string> texts;
    for (const QueuedRequest& request : requests) texts.push_back(request.tooLarge ? kTooLarge : request.text);
    return texts;
}

class Framing : public HostFixture {
protected:
    // Runs InputThread over `bytes` and returns the texts it queued. They are
    // taken as they come, since the queue holds only so many bytes.
    std::vector<std::string> queuedFrom(const std::string& bytes) {
        std::vector<std::string> texts;
        std::thread consumer([&] {
            std::vector<QueuedRequest> batch;
            while (texts.empty() || texts.back() != kSentinel) {
                ASSERT_EQ(requestQueue.waitAndTakeAll(batch), BlockingQueue<QueuedRequest>::Wait::Taken);
                for (const std::string& text : textsOf(batch)) texts.push_back(text);
            }
        });
        FILE* input = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), input);
        std::rewind(input);
        InputThread(input);
        std::fclose(input);
        requestQueue.push({kSentinel, false});
        consumer.join();
        texts.pop_back();
        return texts;
    }
};

TEST_F(Framing, SingleMessage) {
    EXPECT_EQ(queuedFrom(frame("{\"a\":1}")), std::vector<std::string>{"{\"a\":1}"});
    EXPECT_TRUE(fake::logged("InputThread: Reading message of length :[7]", 3));
    EXPECT_EQ(hostState.load(), HostInputEnded);
}

TEST_F(Framing, SeveralMessagesInOrder) {
    EXPECT_EQ(queuedFrom(frame("1") + frame("22") + frame("333")), (std::vector<std::string>{"1", "22", "333"}));
}

TEST_F(Framing, EmptyBodyIsAnEmptyText) { EXPECT_EQ(queuedFrom(frame("")), std::vector<std::string>{""}); }

TEST_F(Framing, EmptyInputQueuesNothing) {
    EXPECT_TRUE(queuedFrom("").empty());
    EXPECT_TRUE(fake::logged("InputThread: EXIT While Reading Length: [0]", 3));
    EXPECT_TRUE(fake::logged("InputThread: EXIT", 3));
}

TEST_F(Framing, ShortHeaderEndsReadingWithThePartialLength) {
    EXPECT_TRUE(queuedFrom(std::string("\x05\x01", 2)).empty());
    EXPECT_TRUE(fake::logged("InputThread: EXIT While Reading Length: [261]", 3));
}

TEST_F(Framing, ShortBodyIsLoggedAndDropped) {
    EXPECT_TRUE(queuedFrom(frame("{\"abc\":1}").substr(0, 8)).empty());
    EXPECT_TRUE(fake::logged("InputThread: EOF While Reading Message: [{\"ab]", 1));
    EXPECT_TRUE(fake::logged("InputThread: EXIT While Reading Length: [0]", 3));
}

TEST_F(Framing, HugeLengthWithoutBodyCostsNoMemoryAndQueuesNothing) {
    EXPECT_TRUE(queuedFrom(std::string("\xff\xff\xff\xff", 4) + "{}").empty());
    EXPECT_TRUE(fake::logged("InputThread: EOF While Reading Message: [{}]", 1));
}

// Parsed, a body takes some fifty times its size: one over the limit is read
// to its end through a small buffer and stands in the queue as a mark only.
TEST_F(Framing, BodyOverTheLimitIsReadToItsEndAndOnlyMarked) {
    const std::string atTheLimit(kLongestRequest, 'a');
    EXPECT_EQ(queuedFrom(frame(std::string(kLongestRequest + 1, 'o')) + frame(atTheLimit) + frame("after")),
              (std::vector<std::string>{kTooLarge, atTheLimit, "after"}));
    EXPECT_EQ(fake::logTexts(1), std::vector<std::string>{"InputThread: Request too large: [2097153] bytes, dropped"});
}

TEST_F(Framing, BodyOverTheLimitCutShortLogsItsStart) {
    EXPECT_TRUE(queuedFrom(frame(std::string(kLongestRequest + 1, 'o')).substr(0, 4 + 5000)).empty());
    EXPECT_TRUE(
        fake::logged("InputThread: EOF While Reading Message: [" + std::string(kLoggedTextLimit, 'o') + "]", 1));
}

TEST_F(Framing, ExitTextEndsReadingAndIsNotQueued) {
    EXPECT_EQ(queuedFrom(frame("a") + frame("{EXIT}") + frame("b")), std::vector<std::string>{"a"});
}

TEST_F(Framing, ExitTextWithMoreBytesIsAnOrdinaryRequest) {
    EXPECT_EQ(queuedFrom(frame("{EXIT} ") + frame("{EXIT}x")), (std::vector<std::string>{"{EXIT} ", "{EXIT}x"}));
}

TEST_F(Framing, DebugModeReadsLines) {
    hostState = HostDebug;
    EXPECT_EQ(queuedFrom("{\"a\":1}\n\nsecond\n{EXIT}\nlater\n"),
              (std::vector<std::string>{"{\"a\":1}", "", "second"}));
}

TEST_F(Framing, DebugModeDropsAPartialLine) {
    hostState = HostDebug;
    EXPECT_EQ(queuedFrom("one\ntwo"), std::vector<std::string>{"one"});
    EXPECT_TRUE(fake::logged("InputThread: EOF While Reading Message: [two]", 1));
}

TEST_F(Framing, SecretsNeverReachTheLog) {
    queuedFrom(frame(R"({"type":"InEventLogin","password":"hunter2"})") + frame(R"({"pin":"4711")"));
    for (const std::string& line : fake::logTexts()) {
        EXPECT_EQ(line.find("hunter2"), std::string::npos) << line;
        EXPECT_EQ(line.find("4711"), std::string::npos) << line;
    }
}

TEST_F(Framing, EndOfInputOutsideAConferenceQueuesNoLeave) {
    EXPECT_TRUE(queuedFrom("").empty());
    EXPECT_FALSE(fake::logged(std::string("InputThread: Pushing: [") + kSyntheticLeaveRequest + "]"));
}

TEST_F(Framing, EndOfInputDuringAConferenceQueuesTheLeaveAndWaitsUntilItIsHandled) {
    inConference = 1;
    std::vector<std::string> seen;
    std::thread consumer([&] {
        std::vector<QueuedRequest> batch;
        while (requestQueue.waitAndTakeAll(batch) == BlockingQueue<QueuedRequest>::Wait::Taken) {
            for (const std::string& text : textsOf(batch)) seen.push_back(text);
            requestQueue.markHandled(batch.size());
        }
    });
    FILE* input = std::tmpfile();
    InputThread(input);
    std::fclose(input);
    bool handledBeforeEnd = !seen.empty();
    requestQueue.close();
    consumer.join();
    EXPECT_TRUE(handledBeforeEnd) << "InputThread ended before the leave was handed on";
    EXPECT_EQ(seen, std::vector<std::string>{kSyntheticLeaveRequest});
    EXPECT_EQ(std::string(kSyntheticLeaveRequest).size(), 38u);
    EXPECT_TRUE(fake::logged(std::string("InputThread: Pushing: [") + kSyntheticLeaveRequest + "]", 3));
}

TEST_F(Framing, InputEndIsMarkedInsideTheLibrarysBracket) {
    queuedFrom("");
    const std::vector<std::string>& calls = fake::library().calls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "SynchronizeStart");
    EXPECT_EQ(calls[1], "SynchronizeEnd");
}

// InputThread parses what it reads; OutputThread answers a whole batch of
// parsed, unparsable and too-large requests in the order they came, each
// reply framed whole.
TEST_F(Framing, RepliesToABatchOfMixedRequestsKeepTheirOrder) {
    const std::string version = R"({"type":"RequestGetVersion","_direction":1,"_id":1})";
    std::string bytes = frame(version) + frame("{nope") + frame(std::string(kLongestRequest + 1, 'o')) + frame("[1]") +
                        frame(R"({"type":"RequestGetVersion","_direction":1,"_id":2})");
    FILE* input = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), input);
    std::rewind(input);
    InputThread(input);
    std::fclose(input);
    // Everything read is queued before OutputThread runs, so it takes one batch.
    hostState = HostRunning;
    std::thread output(OutputThread);
    requestQueue.waitHandled(5, std::chrono::seconds(60));
    requestQueue.close();
    output.join();

    const std::string notAnObject = "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n";
    std::vector<std::string> bodies = writtenBodies();
    ASSERT_EQ(bodies.size(), 5u);
    EXPECT_EQ(bodies[0], answer(version));
    EXPECT_EQ(bodies[1], notAnObject);
    EXPECT_EQ(bodies[2], "{\"_direction\":2,\"error\":\"Request too large\"}\n");
    EXPECT_EQ(bodies[3], notAnObject);
    EXPECT_NE(bodies[4].find(R"("_id":2,"type":"RequestGetVersion","version")"), std::string::npos) << bodies[4];
    EXPECT_TRUE(fake::logged("OutputThread: Not a valid JSON object: [{nope]", 1));
    EXPECT_TRUE(fake::logged("OutputThread: Handling request: [[1]]", 4));
}

// A page that writes far more than the queue holds is read more slowly, and
// loses nothing: a consumer that takes its time sees every request, in order,
// and never more at once than the queue's bound.
TEST_F(Framing, ReadingAheadStopsAtTheQueuesBoundAndLosesNothing) {
    const int count = 3 * static_cast<int>(kMostQueuedRequests) + 7;
    std::string bytes;
    std::vector<std::string> sent;
    for (int id = 0; id < count; ++id) {
        sent.push_back(R"({"type":"RequestGetVersion","_direction":1,"_id":)" + std::to_string(id) + "}");
        bytes += frame(sent.back());
    }
    std::vector<std::string> seen;
    std::size_t largestBatch = 0;
    std::thread consumer([&] {
        std::vector<QueuedRequest> batch;
        while (seen.size() < sent.size()) {
            ASSERT_EQ(requestQueue.waitAndTakeAll(batch), BlockingQueue<QueuedRequest>::Wait::Taken);
            largestBatch = std::max(largestBatch, batch.size());
            for (const QueuedRequest& request : batch) {
                EXPECT_EQ(request.outcome, ParseOutcome::Object);
                seen.push_back(request.text);
            }
            // Slower than the reader: it fills the queue meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    FILE* input = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), input);
    std::rewind(input);
    InputThread(input);
    std::fclose(input);
    consumer.join();
    EXPECT_EQ(seen, sent);
    EXPECT_LE(largestBatch, kMostQueuedRequests);
}

class Writer : public HostFixture {};

TEST_F(Writer, RequestTooLargeIsAnsweredWithItsError) {
    answerTooLargeRequest();
    EXPECT_EQ(writtenBodies(), std::vector<std::string>{"{\"_direction\":2,\"error\":\"Request too large\"}\n"});
}

TEST_F(Writer, FramesCompactJsonWithNewlineCounted) {
    Json::Value message(Json::objectValue);
    message["b"] = 1;
    message["a"] = "x";
    message["_direction"] = 1;
    TavmoAgent::sendMessage("OutputThread", message);
    std::string body = "{\"_direction\":2,\"a\":\"x\",\"b\":1}\n";
    EXPECT_EQ(writtenBytes(), frame(body));
    EXPECT_TRUE(
        fake::logged("OutputThread: TavmoAgent::sendMessage(): length :[" + std::to_string(body.size()) + "]", 3));
    EXPECT_TRUE(fake::logged("OutputThread: TavmoAgent::sendMessage(): [{\"_direction\":2,\"a\":\"x\",\"b\":1}]", 4));
}

TEST_F(Writer, DropsEverythingOnceInputEnded) {
    for (int32_t state : {HostInputEnded, HostExiting}) {
        hostState = state;
        TavmoAgent::sendMessage("OnOutEvent", Json::Value(Json::objectValue));
    }
    EXPECT_EQ(writtenBytes(), "");
    EXPECT_EQ(fake::logTexts(3),
              (std::vector<std::string>{"OnOutEvent: TavmoAgent::sendMessage(): not sending while exiting!",
                                        "OnOutEvent: TavmoAgent::sendMessage(): not sending while exiting!"}));
}

TEST_F(Writer, WriteErrorsAreLoggedAndTheWriterGoesOn) {
    FILE* readOnly = std::fopen("/dev/null", "r");
    ASSERT_NE(readOnly, nullptr);
    TavmoAgent::setOutputStream(readOnly);
    TavmoAgent::sendMessage("OutputThread", Json::Value(Json::objectValue));
    TavmoAgent::setOutputStream(nullptr);
    std::fclose(readOnly);
    EXPECT_TRUE(fake::logged("OutputThread: TavmoAgent::sendMessage(): length error Bad file descriptor!", 1));
    EXPECT_TRUE(fake::logged("OutputThread: TavmoAgent::sendMessage(): data error Bad file descriptor!", 1));
}

TEST_F(Writer, ConcurrentWritersNeverInterleaveFrames) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 200; ++i) {
                Json::Value message(Json::objectValue);
                message["thread"] = t;
                message["sequence"] = i;
                message["padding"] = std::string(static_cast<std::size_t>(100 * t + i), 'p');
                TavmoAgent::sendMessage("OnOutEvent", message);
            }
        });
    for (std::thread& writer : writers) writer.join();
    std::vector<int> next(4, 0);
    for (const std::string& body : writtenBodies()) {
        Json::Value message;
        ASSERT_TRUE(json::parse(body, message)) << body;
        int thread = message["thread"].asInt();
        EXPECT_EQ(message["sequence"].asInt(), next[thread]++);
    }
    EXPECT_EQ(next, std::vector<int>(4, 200));
}

}  // namespace
