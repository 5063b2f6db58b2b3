// The soak's checks must catch what they are there for: each case is a run
// of frames as a faulty host could write them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SoakCheck.h"

namespace {

using Frames = std::vector<std::string>;

// The reply a sound host writes for request `id`.
std::string goodReply(uint64_t id) {
    const soak::RequestKind& kind = soak::requestKind(id);
    if (!kind.type) return "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n";
    std::string reply = "{\"_direction\":2,\"_id\":" + std::to_string(id);
    if (kind.error) reply += std::string(",\"error\":\"") + kind.error + "\"";
    if (kind.replyMember) reply += std::string(",\"") + kind.replyMember + "\":1";
    return reply + ",\"type\":\"" + kind.type + "\"}\n";
}

std::string burstEvent(uint32_t thread, uint32_t sequence) {
    return "{\"_direction\":2,\"code\":1700,\"params\":{\"height\":" + std::to_string(sequence) +
           ",\"width\":" + std::to_string(thread) + "}}\n";
}

const std::string kStarted = "{\"_direction\":2,\"code\":200,\"params\":null}\n";

// A sound run of 8 requests and 8 events (two per thread), the events
// interleaved with the replies.
Frames soundRun() {
    Frames frames = {goodReply(0), kStarted};
    for (uint32_t i = 0; i < 8; ++i) {
        frames.push_back(burstEvent(i % 4, i / 4));
        if (i > 0) frames.push_back(goodReply(i));
    }
    return frames;
}

constexpr soak::RunSize kSize{8, 8};

struct FaultCase {
    const char* name;
    std::function<void(Frames&)> spoil;
    const char* expected;  // part of the breach's text
};

const FaultCase kFaults[] = {
    {"two replies swapped", [](Frames& f) { std::swap(f[4], f[6]); }, "out of order"},
    {"a reply twice", [](Frames& f) { f.insert(f.begin() + 5, f[4]); }, "out of order"},
    {"an event twice", [](Frames& f) { f.insert(f.begin() + 3, f[2]); }, "thread 0 delivered 0 where 1 was due"},
    {"a thread's events swapped", [](Frames& f) { std::swap(f[2], f[9]); }, "delivered 1 where 0 was due"},
    {"an event of an unknown thread", [](Frames& f) { f[2] = burstEvent(4, 0); }, "unknown thread"},
    {"two frames' bytes mixed", [](Frames& f) { f[4] = f[4].substr(0, 10) + f[5]; }, "not one JSON object"},
    {"a frame cut short", [](Frames& f) { f[4].pop_back(); }, "not one JSON object"},
    {"a frame of two objects", [](Frames& f) { f[4].insert(f[4].size() - 1, "{}"); }, "not one JSON object"},
    {"a JSON array", [](Frames& f) { f[4] = "[1]\n"; }, "not one JSON object"},
    {"no direction", [](Frames& f) { f[4].replace(1, 15, " "); }, "\"_direction\" 2"},
    {"an error where a value was due",
     [](Frames& f) { f[4] = "{\"_direction\":2,\"_id\":1,\"error\":\"x\",\"type\":\"RequestGetCallState\"}\n"; },
     "lacks \"callState\""},
    {"another error",
     [](Frames& f) {
         f[10] = "{\"_direction\":2,\"_id\":4,\"error\":\"unknown error\",\"type\":\"RequestThatDoesNotExist\"}\n";
     },
     "is not \"unknown request\""},
    {"an event without params", [](Frames& f) { f[1] = "{\"_direction\":2,\"code\":200}\n"; }, "unknown shape"},
    {"a reply too many", [](Frames& f) { f.push_back(goodReply(8)); }, "beyond the last request"},
};

std::string firstBreach(const Frames& frames) {
    soak::Tally tally(kSize);
    try {
        for (const std::string& frame : frames) tally.take(frame);
    } catch (const soak::Breach& breach) {
        return breach.what();
    }
    return tally.complete() ? "" : "incomplete";
}

TEST(SoakCheck, ASoundRunPassesComplete) { EXPECT_EQ(firstBreach(soundRun()), ""); }

TEST(SoakCheck, EveryFaultIsCaught) {
    for (const FaultCase& fault : kFaults) {
        Frames frames = soundRun();
        fault.spoil(frames);
        EXPECT_NE(firstBreach(frames).find(fault.expected), std::string::npos)
            << fault.name << ": " << firstBreach(frames);
    }
}

TEST(SoakCheck, ARunIsIncompleteWithoutEveryReplyEventAndTheStart) {
    // The started event, the last burst event, the last reply.
    for (std::size_t dropped : {1, 15, 16}) {
        Frames frames = soundRun();
        frames.erase(frames.begin() + static_cast<long>(dropped));
        soak::Tally tally(kSize);
        for (const std::string& frame : frames) tally.take(frame);
        EXPECT_FALSE(tally.complete()) << "without frame " << dropped;
    }
}

TEST(SoakCheck, RequestsRotateThroughEveryKindWithTheirIds) {
    EXPECT_EQ(soak::requestText(0), R"({"type":"InEventStart","_direction":1,"_id":0})");
    EXPECT_EQ(soak::requestText(1), R"({"type":"RequestGetCallState","_direction":1,"_id":1})");
    EXPECT_EQ(soak::requestText(5), R"({"type":"RequestGetVersion","_direction":3,"_id":5})");
    EXPECT_EQ(soak::requestText(6), "not JSON 6");
    EXPECT_EQ(soak::requestText(7), R"({"type":"RequestGetVersion","_direction":1,"_id":7})");
    EXPECT_EQ(soak::burstScenario({10, 1000}), "raise-burst 4 250 1700 0000000000000000");
}

}  // namespace
