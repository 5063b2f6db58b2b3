// The framing of the browser's channel, and how the console tells the
// host's replies from its events and matches waits against them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "Framing.h"
#include "Messages.h"

namespace console {
namespace {

std::uint32_t prefixOf(const std::string& framed) {
    std::uint32_t length = 0;
    std::memcpy(&length, framed.data(), sizeof length);
    return length;
}

TEST(Framing, PrefixHoldsTheBodyLengthInTheMachinesOrder) {
    for (std::size_t size : {0u, 1u, 255u, 256u, 70000u}) {
        const std::string body(size, 'x');
        const std::string framed = frameMessage(body);
        ASSERT_EQ(framed.size(), size + 4);
        EXPECT_EQ(prefixOf(framed), size);
        EXPECT_EQ(framed.substr(4), body);
    }
}

TEST(Framing, ReaderCutsBodiesWhateverPiecesTheyArriveIn) {
    const std::vector<std::string> bodies = {"{\"a\":1}\n", "", std::string(300, 'y'), "{EXIT}"};
    std::string stream;
    for (const std::string& body : bodies) stream += frameMessage(body);

    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{5}, stream.size()}) {
        FrameReader reader;
        std::vector<std::string> read;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            reader.append(std::string_view(stream).substr(at, piece));
            while (std::optional<std::string> body = reader.next()) read.push_back(*body);
        }
        EXPECT_EQ(read, bodies) << "pieces of " << piece;
        EXPECT_EQ(reader.incompleteBytes(), 0u);
    }
}

TEST(Framing, ReaderHoldsBackAnIncompleteMessage) {
    FrameReader reader;
    const std::string framed = frameMessage("{\"b\":2}");
    reader.append(std::string_view(framed).substr(0, framed.size() - 1));
    EXPECT_EQ(reader.next(), std::nullopt);
    EXPECT_EQ(reader.incompleteBytes(), framed.size() - 1);
    reader.append(framed.substr(framed.size() - 1));
    EXPECT_EQ(reader.next(), "{\"b\":2}");
}

struct KindCase {
    const char* body;
    MessageKind kind;
    bool errorReply;
};

class Classification : public testing::TestWithParam<KindCase> {};

TEST_P(Classification, TellsRepliesEventsAndOtherText) {
    const ReceivedMessage message = classifyMessage(GetParam().body);
    EXPECT_EQ(message.kind, GetParam().kind);
    EXPECT_EQ(isErrorReply(message), GetParam().errorReply);
    EXPECT_EQ(message.body, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Classification,
    testing::Values(KindCase{R"({"_direction":2,"_id":1,"type":"RequestGetVersion","version":"1"})"
                             "\n",
                             MessageKind::Reply, false},
                    KindCase{R"({"_direction":2,"error":"unknown request","type":"Nope"})", MessageKind::Reply, true},
                    KindCase{R"({"_direction":2,"error":"No or invalid direction"})", MessageKind::Reply, true},
                    KindCase{R"({"_direction":2,"code":200,"params":null})", MessageKind::Event, false},
                    KindCase{R"({"_direction":2,"code":"","params":""})", MessageKind::Event, false},
                    // A request that carries "code" is still answered as a reply.
                    KindCase{R"({"_direction":2,"code":1,"params":2,"type":"X","error":"e"})", MessageKind::Reply,
                             true},
                    KindCase{R"({"_direction":2,"code":5})", MessageKind::Reply, false},
                    KindCase{"[1,2]", MessageKind::NotJson, false}, KindCase{"not json", MessageKind::NotJson, false},
                    KindCase{"", MessageKind::NotJson, false}));

struct MatchCase {
    const char* wait;
    const char* body;
    bool matches;
};

class WaitMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(WaitMatch, MeetsOnlyItsReplyOrEventWithItsValues) {
    long long nextId = 1;
    const ParsedLine parsed = parseLine(GetParam().wait, nextId);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(matchesWait(std::get<WaitCommand>(parsed.command), classifyMessage(GetParam().body)), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WaitMatch,
    testing::Values(
        MatchCase{"wait RequestGetVersion", R"({"type":"RequestGetVersion","version":"1"})", true},
        MatchCase{"wait RequestGetVersion", R"({"type":"RequestGetVersionX"})", false},
        MatchCase{"wait RequestGetVersion", R"({"type":"requestgetversion"})", false},
        MatchCase{"wait RequestGetVersion", R"({"code":2500,"params":{"type":"RequestGetVersion"}})", false},
        MatchCase{"wait 2500", R"({"code":2500,"params":{"callState":"Idle"}})", true},
        MatchCase{"wait 2500", R"({"code":2501,"params":null})", false},
        MatchCase{"wait 2500", R"({"code":"2500","params":null})", false},
        MatchCase{"wait 2500", R"({"code":2500.5,"params":null})", false},
        MatchCase{"wait 2500", R"({"type":"X","code":2500,"params":null})", false},
        MatchCase{"wait 2500 callState=Idle", R"({"code":2500,"params":{"callState":"Idle"}})", true},
        MatchCase{"wait 2500 callState=Idle", R"({"code":2500,"params":{"callState":"Joining"}})", false},
        MatchCase{"wait 2500 callState=Idle", R"({"code":2500,"params":null})", false},
        MatchCase{"wait 2500 callState=Idle", R"({"code":2500,"callState":"Idle","params":{}})", false},
        MatchCase{"wait 1500 isMuted=true errorCode=0", R"({"code":1500,"params":{"errorCode":0,"isMuted":true}})",
                  true},
        MatchCase{"wait 1500 isMuted=true errorCode=0", R"({"code":1500,"params":{"errorCode":0,"isMuted":1}})", false},
        MatchCase{"wait 1500 isMuted=true", R"({"code":1500,"params":{"isMuted":"true"}})", false},
        MatchCase{"wait RequestGetVersion n=3", R"({"type":"RequestGetVersion","n":3.0})", true},
        MatchCase{"wait RequestGetVersion n=3", R"({"type":"RequestGetVersion","n":3.5})", false},
        MatchCase{"wait RequestGetVersion n=3.0", R"({"type":"RequestGetVersion","n":3})", true},
        MatchCase{"wait RequestGetVersion n=-1", R"({"type":"RequestGetVersion","n":18446744073709551615})", false},
        MatchCase{"wait RequestGetVersion n=3", R"({"type":"RequestGetVersion","n":"3"})", false},
        MatchCase{"wait RequestGetVersion n=null", R"({"type":"RequestGetVersion","n":null})", true},
        MatchCase{"wait RequestGetVersion n=null", R"({"type":"RequestGetVersion"})", false},
        MatchCase{"wait RequestGetVersion list=[1,2]", R"({"type":"RequestGetVersion","list":[1,2]})", true},
        MatchCase{"wait RequestGetVersion result=ok", R"({"type":"RequestGetVersion","error":"TavmoClient error: X"})",
                  false},
        // Members take the protocol's types: a version is a text.
        MatchCase{"wait RequestGetVersion version=1", R"({"type":"RequestGetVersion","version":"1"})", true},
        MatchCase{"wait RequestGetVersion version=1", R"({"type":"RequestGetVersion","version":1})", false}));

}  // namespace
}  // namespace console
