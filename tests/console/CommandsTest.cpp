// Lines as a page developer types them: the short form, JSON, and the
// console's own commands.
#include <gtest/gtest.h>

#include <memory>

#include "Commands.h"

namespace console {
namespace {

Json::Value parsedJson(const std::string& text) {
    Json::Value value;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, nullptr)) << text;
    return value;
}

struct ShortFormCase {
    const char* line;
    // The request as JSON, with "_id" 5 where the line gives none.
    const char* request;
};

class ShortForm : public testing::TestWithParam<ShortFormCase> {};

TEST_P(ShortForm, BecomesTheRequestWithDirectionAndRunningId) {
    long long nextId = 5;
    ParsedLine parsed = parseLine(GetParam().line, nextId);
    ASSERT_EQ(parsed.error, "");
    const auto* send = std::get_if<SendCommand>(&parsed.command);
    ASSERT_NE(send, nullptr);
    EXPECT_FALSE(send->control);
    const Json::Value sent = parsedJson(send->body);
    const Json::Value expected = parsedJson(GetParam().request);
    EXPECT_EQ(sent, expected) << send->body;
    EXPECT_EQ(nextId, expected["_id"] == 5 ? 6 : 5) << "the id advances only when the line took it";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ShortForm,
    testing::Values(
        ShortFormCase{"RequestGetCallState", R"({"type":"RequestGetCallState","_direction":1,"_id":5})"},
        ShortFormCase{"  InEventMuteAudioIn   willMute=true \r",
                      R"({"type":"InEventMuteAudioIn","_direction":1,"_id":5,"willMute":true})"},
        ShortFormCase{"X a=false b=null c=-3 d=2.5 e=1e3 f=0",
                      R"({"type":"X","_direction":1,"_id":5,"a":false,"b":null,"c":-3,"d":2.5,"e":1000.0,"f":0})"},
        ShortFormCase{"X big=3000000000 huge=18446744073709551615 negative=-9223372036854775808",
                      R"({"type":"X","_direction":1,"_id":5,"big":3000000000,"huge":18446744073709551615,
                          "negative":-9223372036854775808})"},
        // Not JSON numbers: bare texts.
        ShortFormCase{"X zero=007 plus=+3 dot=1. hex=0x10 word=True",
                      R"({"type":"X","_direction":1,"_id":5,"zero":"007","plus":"+3","dot":"1.","hex":"0x10",
                          "word":"True"})"},
        ShortFormCase{R"(InEventGroupChat message="two  words" who='it is' empty= bare=a/b:c)",
                      R"({"type":"InEventGroupChat","_direction":1,"_id":5,"message":"two  words","who":"it is",
                          "empty":"","bare":"a/b:c"})"},
        ShortFormCase{R"(X s="quote \" backslash \\ tab \t \u00e9" raw='back\slash "q"')",
                      R"({"type":"X","_direction":1,"_id":5,"s":"quote \" backslash \\ tab \t é",
                          "raw":"back\\slash \"q\""})"},
        ShortFormCase{R"(X list=[1, "a b", {"k": [2, "]"]}] map={"x": {"y": null}} n=1)",
                      R"({"type":"X","_direction":1,"_id":5,"list":[1,"a b",{"k":[2,"]"]}],"map":{"x":{"y":null}},
                          "n":1})"},
        ShortFormCase{"RequestGetVersion _direction=0 _id=abc",
                      R"({"type":"RequestGetVersion","_direction":0,"_id":"abc"})"},
        ShortFormCase{"RequestGetVersion _id=7", R"({"type":"RequestGetVersion","_direction":1,"_id":7})"},
        ShortFormCase{R"(X text="é ü 中")", R"({"type":"X","_direction":1,"_id":5,"text":"é ü 中"})"},
        ShortFormCase{"X bell=\x07", "{\"type\":\"X\",\"_direction\":1,\"_id\":5,\"bell\":\"\\u0007\"}"}));

TEST(ShortFormText, KeepsNumbersAndQuotedTextsAsTyped) {
    long long nextId = 1;
    ParsedLine parsed = parseLine(R"(X rate=0.1 big=1E400 text="a\/b" list=[ 1 ,2 ])", nextId);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(std::get<SendCommand>(parsed.command).body,
              R"({"type":"X","_direction":1,"_id":1,"rate":0.1,"big":1E400,"text":"a\/b","list":[ 1 ,2 ]})");
}

struct RejectedCase {
    const char* line;
    const char* error;
};

class RejectedLine : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedLine, IsNamedAndTakesNoId) {
    long long nextId = 1;
    ParsedLine parsed = parseLine(GetParam().line, nextId);
    EXPECT_NE(parsed.error.find(GetParam().error), std::string::npos) << parsed.error;
    EXPECT_TRUE(std::holds_alternative<NoCommand>(parsed.command));
    EXPECT_EQ(nextId, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RejectedLine,
    testing::Values(
        RejectedCase{"InEventMuteAudioIn willMute", "expected name=value: willMute"},
        RejectedCase{"X a=1 a=2", "member given twice: a"}, RejectedCase{"X _id=1 _id=2", "member given twice: _id"},
        RejectedCase{"X =3", "a member without a name"}, RejectedCase{"X type=Y", "type= is not needed"},
        RejectedCase{R"(X s="open)", "unterminated quoted text"}, RejectedCase{"X s='open", "unterminated quoted text"},
        RejectedCase{"X s='a'b", "must end with its quote"}, RejectedCase{R"(X s="a"b)", "s: not valid JSON"},
        RejectedCase{"X l=[1, 2", "unclosed bracket"}, RejectedCase{"X l=[1,]", "l: not valid JSON"},
        RejectedCase{R"(X o={"a":1,"a":2})", "o: not valid JSON"}, RejectedCase{"9Lives", "not a request type: 9Lives"},
        RejectedCase{"Request-Get", "not a request type"},
        RejectedCase{"wait", "wait needs a request type or an event code"}, RejectedCase{"wait 2s", "not 2s"},
        RejectedCase{"wait -5", "not -5"}, RejectedCase{"wait 2500 callState", "expected name=value"},
        RejectedCase{"wait 2500 0s", "more than 0 and at most 3600 seconds"},
        RejectedCase{"wait 2500 3601s", "at most 3600 seconds"},
        RejectedCase{"wait 2500 a=1 a=2", "member given twice: a"},
        RejectedCase{"close now", "close takes nothing after it"},
        RejectedCase{"help me", "help takes nothing after it"}));

struct WaitCase {
    const char* line;
    const char* type;
    long long eventCode;  // -1: a reply
    const char* conditions;
    long long timeoutMilliseconds;
};

class WaitLine : public testing::TestWithParam<WaitCase> {};

TEST_P(WaitLine, NamesItsMessageConditionsAndTimeout) {
    long long nextId = 1;
    ParsedLine parsed = parseLine(GetParam().line, nextId);
    ASSERT_EQ(parsed.error, "");
    const auto& wait = std::get<WaitCommand>(parsed.command);
    EXPECT_EQ(wait.type, GetParam().type);
    EXPECT_EQ(wait.eventCode.value_or(-1), GetParam().eventCode);
    EXPECT_EQ(wait.timeout.count(), GetParam().timeoutMilliseconds);
    Json::Value conditions(Json::objectValue);
    for (const auto& [name, value] : wait.conditions) conditions[name] = value.value;
    EXPECT_EQ(conditions, parsedJson(GetParam().conditions));
    EXPECT_EQ(nextId, 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, WaitLine,
                         testing::Values(WaitCase{"wait RequestGetVersion", "RequestGetVersion", -1, "{}", 10000},
                                         WaitCase{"wait 2500 callState=InConference", "", 2500,
                                                  R"({"callState":"InConference"})", 10000},
                                         WaitCase{"wait 1500 isMuted=true 2.5s errorCode=0", "", 1500,
                                                  R"({"isMuted":true,"errorCode":0})", 2500},
                                         WaitCase{"wait 200 0.0001s", "", 200, "{}", 1},
                                         WaitCase{"wait InEventStart result=\"TavmoClient started\" 30s",
                                                  "InEventStart", -1, R"({"result":"TavmoClient started"})", 30000}));

TEST(Lines, JsonIsSentAsTypedAndExitIsAControlText) {
    long long nextId = 1;
    const std::string json = R"({"type":"RequestGetVersion" , "_direction":1})";
    ParsedLine typed = parseLine("  " + json + "  ", nextId);
    ASSERT_EQ(typed.error, "");
    EXPECT_EQ(std::get<SendCommand>(typed.command).body, json);
    EXPECT_FALSE(std::get<SendCommand>(typed.command).control);

    ParsedLine notJson = parseLine("{not json", nextId);
    EXPECT_EQ(std::get<SendCommand>(notJson.command).body, "{not json") << "the host answers what is not JSON";

    ParsedLine exit = parseLine("{EXIT}", nextId);
    EXPECT_TRUE(std::get<SendCommand>(exit.command).control);
    EXPECT_TRUE(std::get<SendCommand>(parseLine("{EXIT} \r", nextId).command).control) << "as the line ends";
    EXPECT_EQ(nextId, 1);
}

TEST(Lines, CommandsCommentsAndBlankLines) {
    long long nextId = 1;
    EXPECT_TRUE(std::holds_alternative<NoCommand>(parseLine("", nextId).command));
    EXPECT_TRUE(std::holds_alternative<NoCommand>(parseLine("   \t", nextId).command));
    EXPECT_TRUE(std::holds_alternative<NoCommand>(parseLine("  # RequestGetVersion", nextId).command));
    EXPECT_TRUE(std::holds_alternative<CloseCommand>(parseLine("close", nextId).command));
    EXPECT_TRUE(std::holds_alternative<HelpCommand>(parseLine(" help ", nextId).command));
    ParsedLine note = parseLine("note   Read the call's \"statistics\" [1/2] ", nextId);
    ASSERT_EQ(note.error, "");
    EXPECT_EQ(std::get<NoteCommand>(note.command).text, "Read the call's \"statistics\" [1/2]");
    EXPECT_EQ(nextId, 1);
}

TEST(Lines, IdsRunOnAcrossRequests) {
    long long nextId = 1;
    for (long long expected = 1; expected <= 3; ++expected) {
        ParsedLine parsed = parseLine("RequestGetCallState", nextId);
        EXPECT_EQ(parsedJson(std::get<SendCommand>(parsed.command).body)["_id"].asInt64(), expected);
        parseLine("wait RequestGetCallState", nextId);
    }
}

TEST(Lines, WaitDescribesItselfWithItsConditions) {
    long long nextId = 1;
    ParsedLine parsed = parseLine("wait 2500 callState=Idle count=3 5s", nextId);
    EXPECT_EQ(describe(std::get<WaitCommand>(parsed.command)), "wait 2500 callState=\"Idle\" count=3");
}

}  // namespace
}  // namespace console
