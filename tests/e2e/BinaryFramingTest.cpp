// Length bytes that a text-mode stream would translate pass through the host
// in both directions as they are.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "HostProcess.h"
#include "TavmoFacts.h"

namespace {

std::string request(const std::string& id) {
    return R"({"type":"RequestGetVersion","_direction":1,"_id":")" + id + "\"}";
}

std::string reply(const std::string& id) {
    return "{\"_direction\":2,\"_id\":\"" + id +
           "\",\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n";
}

// An id that makes the request (or, for `inReply`, the reply) exactly
// `length` bytes long.
std::string idGiving(std::size_t length, bool inReply) {
    std::size_t fixed = (inReply ? reply("") : request("")).size();
    return std::string(length - fixed, 'x');
}

struct LengthCase {
    const char* label;
    std::size_t length;
    bool inReply;
};

class TranslatableLengthBytes : public ::testing::TestWithParam<LengthCase> {};

TEST_P(TranslatableLengthBytes, PassUntranslated) {
    ScratchFolder folder;
    HostProcess host(folder);
    std::string id = idGiving(GetParam().length, GetParam().inReply);
    host.sendFrame(request(id));
    EXPECT_EQ(host.readFrame(), reply(id));
    // Still in step with the framing afterwards.
    host.sendFrame(request("after"));
    EXPECT_EQ(host.readFrame(), reply("after"));
}

// What a text-mode stream would do: drop the carriage return of a CR LF
// pair and end the input at Ctrl-Z when reading, write a line feed as CR LF.
INSTANTIATE_TEST_SUITE_P(Lengths, TranslatableLengthBytes,
                         ::testing::Values(LengthCase{"RequestLengthHoldsCrLf", 0x0A0D, false},
                                           LengthCase{"RequestLengthHoldsCtrlZ", 0x11A, false},
                                           LengthCase{"ReplyLengthHoldsLineFeed", 0x10A, true}),
                         [](const ::testing::TestParamInfo<LengthCase>& info) { return info.param.label; });

}  // namespace
