// A browser drops the connection to a host that writes a body longer than
// 1 MiB, so the writer never writes one: a reply shrinks to its error, an
// event message is dropped.
#include <cstddef>
#include <string>

#include "EventRecords.h"
#include "HostFixture.h"
#include "OutEventHandler.h"
#include "Records.h"
#include "RequestHandler.h"
#include "TavmoAgent.h"

namespace {

constexpr std::size_t kLimit = 1024 * 1024;

class MessageLimit : public HostFixture {};

struct ReplyCase {
    const char* name;
    const char* request;       // without the padding member
    std::size_t replyLength;   // of the reply the host would write
    const char* writtenReply;  // null: the reply itself
};

void PrintTo(const ReplyCase& c, std::ostream* out) { *out << c.name; }

class ReplyLimit : public HostFixture, public ::testing::WithParamInterface<ReplyCase> {
protected:
    // The request with a member "padding" long enough to make its reply
    // `replyLength` bytes long.
    Json::Value padded(const char* text, std::size_t replyLength) {
        Json::Value request;
        EXPECT_TRUE(json::parse(text, request));
        request["padding"] = "";
        Json::Value probe = request;
        handleRequest(probe, clientStarted);
        probe["_direction"] = 2;
        std::size_t unpadded = json::writeCompact(probe).size();
        request["padding"] = std::string(replyLength - unpadded, 'x');
        fake::reset();
        return request;
    }
};

TEST_P(ReplyLimit, IsWrittenWholeOrReplacedByItsError) {
    const ReplyCase& c = GetParam();
    Json::Value request = padded(c.request, c.replyLength);

    std::string written = answer(request);

    if (!c.writtenReply) {
        EXPECT_EQ(written.size(), c.replyLength);
        Json::Value reply;
        ASSERT_TRUE(json::parse(written, reply));
        EXPECT_EQ(reply["padding"], request["padding"]);
        EXPECT_TRUE(fake::logTexts(1).empty());
        return;
    }
    EXPECT_EQ(written, std::string(c.writtenReply) + "\n");
    EXPECT_TRUE(fake::logged("OutputThread: TavmoAgent::sendMessage(): Reply too large: [" +
                                 std::to_string(c.replyLength) + "] bytes, sending the error instead",
                             1));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyLimit,
    ::testing::Values(
        ReplyCase{"AtTheLimit", R"({"type":"RequestGetVersion","_direction":1,"_id":3})", kLimit, nullptr},
        ReplyCase{"OneByteOver", R"({"type":"RequestGetVersion","_direction":1,"_id":3})", kLimit + 1,
                  R"({"_direction":2,"_id":3,"error":"Reply too large","type":"RequestGetVersion"})"},
        ReplyCase{"KeepsTheTabAndLeavesTheRest",
                  R"({"type":"RequestGetVersion","_direction":1,"_id":"a-1","_tabId":12,"other":[1,2]})", 2 * kLimit,
                  R"({"_direction":2,"_id":"a-1","_tabId":12,"error":"Reply too large","type":"RequestGetVersion"})"},
        ReplyCase{"WithoutTypeOrId", R"({"_direction":1})", 3 * kLimit,
                  R"({"_direction":2,"error":"Reply too large"})"},
        ReplyCase{"HandlersOwnErrorIsReplacedToo", R"({"type":"Nope","_direction":1,"_tabId":5})", kLimit + 100,
                  R"({"_direction":2,"_tabId":5,"error":"Reply too large","type":"Nope"})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageLimit, ReplyWhoseIdAloneIsTooLongIsAnsweredWithoutIt) {
    Json::Value request;
    request["type"] = "RequestGetVersion";
    request["_direction"] = 1;
    request["_id"] = std::string(kLimit, '7');
    request["_tabId"] = 2;

    EXPECT_EQ(answer(request),
              "{\"_direction\":2,\"_tabId\":2,\"error\":\"Reply too large\",\"type\":\"RequestGetVersion\"}\n");
}

struct EventCase {
    const char* name;
    std::size_t bodyLength;
    bool written;
};

void PrintTo(const EventCase& c, std::ostream* out) { *out << c.name; }

const auto kEventCases =
    ::testing::Values(EventCase{"AtTheLimit", kLimit, true}, EventCase{"OneByteOver", kLimit + 1, false},
                      EventCase{"FarOver", 5 * kLimit, false});

class EventMessageLimit : public HostFixture, public ::testing::WithParamInterface<EventCase> {
protected:
    // The event's message, `expected`, is written whole if it fits, else
    // dropped and logged.
    void expectWrittenWholeOrDropped(const Json::Value& expected) {
        const EventCase& c = GetParam();
        if (c.written) {
            EXPECT_EQ(writtenBodies(), std::vector<std::string>{json::writeCompact(expected)});
            EXPECT_TRUE(fake::logTexts(1).empty());
        } else {
            EXPECT_EQ(writtenBytes(), "");
            EXPECT_TRUE(fake::logged("OnOutEvent: TavmoAgent::sendMessage(): Message too large: [" +
                                         std::to_string(c.bodyLength) + "] bytes, dropped",
                                     1));
        }
    }
};

class EventLimit : public EventMessageLimit {};

TEST_P(EventLimit, IsWrittenWholeOrDropped) {
    const EventCase& c = GetParam();
    Json::Value message;
    message["code"] = 2600;
    message["params"]["text"] = "";
    message["_direction"] = 2;
    std::size_t unpadded = json::writeCompact(message).size();
    message["params"]["text"] = std::string(c.bodyLength - unpadded, 'y');

    TavmoAgent::sendMessage("OnOutEvent", message);

    expectWrittenWholeOrDropped(message);
}

INSTANTIATE_TEST_SUITE_P(Events, EventLimit, kEventCases,
                         [](const auto& info) { return std::string(info.param.name); });

// A chat message reaches the page as long as the library sent it, so a long
// one meets the browser's limit on its way through the translator.
class ChatMessageLimit : public EventMessageLimit {};

TEST_P(ChatMessageLimit, IsWrittenWholeOrDropped) {
    const EventCase& c = GetParam();
    Json::Value expected;
    expected["_direction"] = 2;
    expected["code"] = 2601;
    expected["params"]["uri"] = "sip:ann@example.org";
    expected["params"]["displayName"] = "";
    expected["params"]["message"] = "";
    std::string message(c.bodyLength - json::writeCompact(expected).size(), 'm');
    expected["params"]["message"] = message;
    TavmoClientChatEvent head{};
    copyText(head.uri, "sip:ann@example.org");
    Block block = blockOf(head);
    block.resize(offsetof(TavmoClientChatEvent, message));
    block.insert(block.end(), message.begin(), message.end());
    block.push_back(0);

    OnOutEvent(2601, block);

    expectWrittenWholeOrDropped(expected);
}

INSTANTIATE_TEST_SUITE_P(Events, ChatMessageLimit, kEventCases,
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageLimit, MessagesAfterADroppedOneAreWrittenWhole) {
    Json::Value large;
    large["code"] = 2600;
    large["params"]["text"] = std::string(2 * kLimit, 'z');
    TavmoAgent::sendMessage("OnOutEvent", large);
    Json::Value small;
    small["code"] = 2500;
    small["params"] = Json::Value();
    TavmoAgent::sendMessage("OnOutEvent", small);

    EXPECT_EQ(writtenBodies(), std::vector<std::string>{"{\"_direction\":2,\"code\":2500,\"params\":null}\n"});
}

}  // namespace
