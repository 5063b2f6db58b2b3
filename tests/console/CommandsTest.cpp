// Lines as a page developer types them: the short form, JSON, and the
// console's own commands.
#include <gtest/gtest.h>

#include "Catalogue.h"
#include "Commands.h"
#include "PageMessages.h"

namespace console {
namespace {

// The console's own catalogue, and two types of the tests' own: "X" reads
// the members of these cases with types left open, "Typed" one member of
// each type.
const Protocol& testProtocol() {
    static const Protocol protocol = [] {
        Json::Value catalogue = parsed(catalogueText());
        Json::Value x = parsed(R"({"type":"X","family":"Tests","members":[],"reply":[]})");
        for (const char* name : {"a",    "b",   "c",   "d",    "e",       "f",    "big",   "huge", "negative", "zero",
                                 "plus", "dot", "hex", "word", "message", "who",  "empty", "bare", "s",        "raw",
                                 "list", "map", "n",   "text", "bell",    "rate", "l",     "o"})
            x["members"].append(parsed(std::string(R"({"name":")") + name + R"(","type":"any"})"));
        catalogue["requests"].append(parsed(R"(
            {"type":"Typed","family":"Tests","members":[{"name":"text","type":"string"},{"name":"count","type":"number"},
              {"name":"flag","type":"boolean"},{"name":"list","type":"array"},{"name":"map","type":"object"},
              {"name":"free","type":"any"}],"reply":[{"name":"answer","type":"number"}]})"));
        catalogue["requests"].append(x);
        Protocol read;
        std::string error;
        EXPECT_TRUE(Protocol::read(catalogue, read, error)) << error;
        return read;
    }();
    return protocol;
}

ParsedLine parseLine(std::string_view line, long long& nextId) {
    return console::parseLine(line, nextId, testProtocol());
}

struct ShortFormCase {
    const char* line;
    // The request as JSON, with "_id" 5 where the line gives none.
    const char* request;
};

class ShortForm : public testing::TestWithParam<ShortFormCase> {};

TEST_P(ShortForm, BecomesTheRequestWithDirectionAndRunningId) {
    long long nextId = 5;
    ParsedLine parsedLine = parseLine(GetParam().line, nextId);
    ASSERT_EQ(parsedLine.error, "");
    const auto* send = std::get_if<SendCommand>(&parsedLine.command);
    ASSERT_NE(send, nullptr);
    EXPECT_FALSE(send->control);
    const Json::Value sent = parsed(send->body);
    const Json::Value expected = parsed(GetParam().request);
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
        ShortFormCase{R"(X message="two  words" who='it is' empty= bare=a/b:c)",
                      R"({"type":"X","_direction":1,"_id":5,"message":"two  words","who":"it is",
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
    ParsedLine parsedLine = parseLine(R"(X rate=0.1 big=1E400 text="a\/b" list=[ 1 ,2 ])", nextId);
    ASSERT_EQ(parsedLine.error, "");
    EXPECT_EQ(std::get<SendCommand>(parsedLine.command).body,
              R"({"type":"X","_direction":1,"_id":1,"rate":0.1,"big":1E400,"text":"a\/b","list":[ 1 ,2 ]})");
}

struct RejectedCase {
    const char* line;
    const char* error;
};

class RejectedLine : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedLine, IsNamedAndTakesNoId) {
    long long nextId = 1;
    ParsedLine parsedLine = parseLine(GetParam().line, nextId);
    EXPECT_NE(parsedLine.error.find(GetParam().error), std::string::npos) << parsedLine.error;
    EXPECT_TRUE(std::holds_alternative<NoCommand>(parsedLine.command));
    EXPECT_EQ(nextId, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RejectedLine,
    testing::Values(
        RejectedCase{"InEventMuteAudioIn willMute", "expected name=value: willMute"},
        RejectedCase{"X a=1 a=2", "member given twice: a"}, RejectedCase{"X _id=1 _id=2", "member given twice: _id"},
        RejectedCase{"X =3", "a member without a name"}, RejectedCase{"X type=Y", "type= is not needed"},
        RejectedCase{"X type:=\"Y\"", "type= is not needed"}, RejectedCase{R"(X s="open)", "unterminated quoted text"},
        RejectedCase{"X s='open", "unterminated quoted text"}, RejectedCase{"X s='a'b", "must end with its quote"},
        RejectedCase{R"(X s="a"b)", "s: not valid JSON"}, RejectedCase{"X l=[1, 2", "unclosed bracket"},
        RejectedCase{"X l=[1,]", "l: not valid JSON"}, RejectedCase{R"(X o={"a":1,"a":2})", "o: not valid JSON"},
        RejectedCase{"9Lives", "not a request type: 9Lives"}, RejectedCase{"Request-Get", "not a request type"},
        RejectedCase{"X q=1", "q: X reads no such member; its members are a, b,"},
        RejectedCase{"wait Y", "Y: no such request"},
        RejectedCase{"help me", "help me: no such request type or family"},
        RejectedCase{"quit now", "quit takes nothing after it"},
        RejectedCase{"wait", "wait needs a request type or an event code"}, RejectedCase{"wait 2s", "not 2s"},
        RejectedCase{"wait -5", "not -5"}, RejectedCase{"wait 2500 callState", "expected name=value"},
        RejectedCase{"wait 2500 0s", "more than 0 and at most 3600 seconds"},
        RejectedCase{"wait 2500 3601s", "at most 3600 seconds"},
        RejectedCase{"wait 2500 a=1 a=2", "member given twice: a"},
        RejectedCase{"close now", "close takes nothing after it"}));

// A member takes the JSON type the protocol gives it; name:=json sends any
// JSON value; the page's own members (_name) are read by their look.
INSTANTIATE_TEST_SUITE_P(
    Typed, ShortForm,
    testing::Values(
        ShortFormCase{"Typed text=5 count=5 flag=true",
                      R"({"type":"Typed","_direction":1,"_id":5,"text":"5","count":5,"flag":true})"},
        ShortFormCase{"Typed text=true", R"({"type":"Typed","_direction":1,"_id":5,"text":"true"})"},
        ShortFormCase{"Typed text=null", R"({"type":"Typed","_direction":1,"_id":5,"text":"null"})"},
        ShortFormCase{"Typed text=[1,2]", R"({"type":"Typed","_direction":1,"_id":5,"text":"[1,2]"})"},
        ShortFormCase{R"(Typed text="a \"b\"")", R"({"type":"Typed","_direction":1,"_id":5,"text":"a \"b\""})"},
        ShortFormCase{"Typed text='x y' free=7", R"({"type":"Typed","_direction":1,"_id":5,"text":"x y","free":7})"},
        ShortFormCase{"Typed text=", R"({"type":"Typed","_direction":1,"_id":5,"text":""})"},
        ShortFormCase{"Typed count=-2.5 list=[1] map={}",
                      R"({"type":"Typed","_direction":1,"_id":5,"count":-2.5,"list":[1],"map":{}})"},
        ShortFormCase{R"(Typed count:="300" flag:=1 text:=null)",
                      R"({"type":"Typed","_direction":1,"_id":5,"count":"300","flag":1,"text":null})"},
        ShortFormCase{"Typed _tabId=7 _note=hi",
                      R"({"type":"Typed","_direction":1,"_id":5,"_tabId":7,"_note":"hi"})"}));

INSTANTIATE_TEST_SUITE_P(
    Typed, RejectedLine,
    testing::Values(RejectedCase{"Typed count=abc",
                                 "count: expected a number, not abc (name:=json sends any JSON value)"},
                    RejectedCase{"Typed count=", "count: expected a number, not nothing"},
                    RejectedCase{"Typed count=007", "count: expected a number, not 007"},
                    RejectedCase{"Typed flag=yes", "flag: expected a boolean, not yes"},
                    RejectedCase{"Typed flag=1", "flag: expected a boolean, not 1"},
                    RejectedCase{"Typed list=5", "list: expected an array, not 5"},
                    RejectedCase{"Typed map=[1]", "map: expected an object, not [1]"},
                    RejectedCase{"Typed list=[1,]", "list: not valid JSON: [1,]"},
                    RejectedCase{R"(Typed text="open)", "unterminated quoted text"},
                    RejectedCase{"Typed count:=abc", "count: not valid JSON: abc"},
                    RejectedCase{"Typed coutn=1", "coutn: Typed reads no such member; did you mean count?"},
                    RejectedCase{"Typed other:=1", "other: Typed reads no such member"},
                    RejectedCase{"wait Typed answer=x", "answer: expected a number, not x"},
                    RejectedCase{"wait 2500 callState:=Idle", "callState: not valid JSON"}));

// The console's own catalogue: the protocol's types for the members the
// page developer types most.
TEST(BuiltInProtocol, GivesMembersTheirProtocolTypes) {
    long long nextId = 1;
    const struct {
        const char* line;
        const char* request;
    } cases[] = {
        {"InEventPlayDtmfTone tone=5", R"({"type":"InEventPlayDtmfTone","_direction":1,"_id":1,"tone":"5"})"},
        {"InEventControlCamera commandData=8101 preset=2",
         R"({"type":"InEventControlCamera","_direction":1,"_id":2,"commandData":"8101","preset":2})"},
        {"InEventMuteAudioIn willMute=true", R"({"type":"InEventMuteAudioIn","_direction":1,"_id":3,"willMute":true})"},
        {"RequestSetDomain domain=007", R"({"type":"RequestSetDomain","_direction":1,"_id":4,"domain":"007"})"},
    };
    for (const auto& example : cases) {
        ParsedLine parsedLine = console::parseLine(example.line, nextId);
        ASSERT_EQ(parsedLine.error, "") << example.line;
        EXPECT_EQ(parsed(std::get<SendCommand>(parsedLine.command).body), parsed(example.request));
    }
}

struct UnknownWordCase {
    const char* line;
    const char* error;
};

class UnknownWord : public testing::TestWithParam<UnknownWordCase> {};

TEST_P(UnknownWord, IsRefusedWithTheNearestNames) {
    long long nextId = 1;
    EXPECT_EQ(console::parseLine(GetParam().line, nextId).error, GetParam().error);
    EXPECT_EQ(nextId, 1);
}

INSTANTIATE_TEST_SUITE_P(
    BuiltInProtocol, UnknownWord,
    testing::Values(
        UnknownWordCase{"InEventStrat", "InEventStrat: no such request; did you mean InEventStart?"},
        UnknownWordCase{"requestgetversion", "requestgetversion: no such request; did you mean RequestGetVersion?"},
        UnknownWordCase{"InEventMute willMute=true",
                        "InEventMute: no such request; did you mean InEventMuteAudioIn, InEventMuteAudioOut or "
                        "InEventMuteVideo?"},
        UnknownWordCase{"wiat 2500",
                        "wiat: no such command; did you mean wait? The commands are wait, note, close, help, exit and "
                        "quit"},
        UnknownWordCase{"Hello there",
                        "not a request type: Hello; the commands are wait, note, close, help, exit and "
                        "quit, and help lists the request families"},
        UnknownWordCase{"wait InEventStrat", "InEventStrat: no such request; did you mean InEventStart?"},
        UnknownWordCase{"InEventMuteAudioIn wilMute=true",
                        "wilMute: InEventMuteAudioIn reads no such member; did you mean willMute?"},
        UnknownWordCase{"InEventStart x=1", "x: InEventStart reads no members"}));

TEST(Help, ListsTheFamiliesAndShowsOneTypeFamilyOrEvent) {
    const Protocol& protocol = testProtocol();
    std::string text;
    ASSERT_TRUE(helpText("", protocol, text));
    EXPECT_NE(text.find("Commands:"), std::string::npos);
    EXPECT_NE(text.find("Request families (help <family> lists its types, help <type> shows one):\n  "),
              std::string::npos);
    for (const std::string& family : protocol.families())
        EXPECT_NE(text.find("\n  " + family + " ("), std::string::npos);
    EXPECT_NE(text.find("\n  Tests (2)"), std::string::npos) << text;

    ASSERT_TRUE(helpText("Typed", protocol, text));
    EXPECT_EQ(text,
              "Typed (Tests)\n"
              "  members: text: string, count: number, flag: boolean, list: array, map: object, free: any\n"
              "  reply:   answer: number");
    ASSERT_TRUE(helpText("tests", protocol, text));
    EXPECT_EQ(
        text.rfind("Tests: 2 request types, with the members they read\n  Typed text count flag list map free\n  X a b",
                   0),
        0u)
        << text;
    ASSERT_TRUE(helpText("2500", protocol, text));
    EXPECT_EQ(text, "event 2500 callState\n  params: callState: string");

    EXPECT_FALSE(helpText("Typd", protocol, text));
    EXPECT_EQ(text, "help Typd: no such request type or family; did you mean Typed?");
    EXPECT_FALSE(helpText("3999", protocol, text));
    EXPECT_EQ(text, "help 3999: the protocol names no event with this code");

    long long nextId = 1;
    ParsedLine parsedLine = parseLine("help   Typed ", nextId);
    ASSERT_EQ(parsedLine.error, "");
    EXPECT_EQ(std::get<HelpCommand>(parsedLine.command).text.rfind("Typed (Tests)\n", 0), 0u);
}

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
    ParsedLine parsedLine = parseLine(GetParam().line, nextId);
    ASSERT_EQ(parsedLine.error, "");
    const auto& wait = std::get<WaitCommand>(parsedLine.command);
    EXPECT_EQ(wait.type, GetParam().type);
    EXPECT_EQ(wait.eventCode.value_or(-1), GetParam().eventCode);
    EXPECT_EQ(wait.timeout.count(), GetParam().timeoutMilliseconds);
    Json::Value conditions(Json::objectValue);
    for (const auto& [name, value] : wait.conditions) conditions[name] = value.value;
    EXPECT_EQ(conditions, parsed(GetParam().conditions));
    EXPECT_EQ(nextId, 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, WaitLine,
                         testing::Values(WaitCase{"wait RequestGetVersion", "RequestGetVersion", -1, "{}", 10000},
                                         WaitCase{"wait 2500 callState=InConference", "", 2500,
                                                  R"({"callState":"InConference"})", 10000},
                                         WaitCase{"wait 1500 isMuted=true 2.5s errorCode=0", "", 1500,
                                                  R"({"isMuted":true,"errorCode":0})", 2500},
                                         WaitCase{"wait 200 0.0001s", "", 200, "{}", 1},
                                         WaitCase{"wait Typed answer=3 text=5 error=unknown 1s", "Typed", -1,
                                                  R"({"answer":3,"text":"5","error":"unknown"})", 1000},
                                         WaitCase{"wait 2500 callState=true other=true", "", 2500,
                                                  R"({"callState":"true","other":true})", 10000},
                                         WaitCase{"wait 3999 message=5", "", 3999, R"({"message":5})", 10000},
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
    EXPECT_TRUE(std::holds_alternative<QuitCommand>(parseLine("exit", nextId).command));
    EXPECT_TRUE(std::holds_alternative<QuitCommand>(parseLine(" quit ", nextId).command));
    ParsedLine note = parseLine("note   Read the call's \"statistics\" [1/2] ", nextId);
    ASSERT_EQ(note.error, "");
    EXPECT_EQ(std::get<NoteCommand>(note.command).text, "Read the call's \"statistics\" [1/2]");
    EXPECT_EQ(nextId, 1);
}

TEST(Lines, IdsRunOnAcrossRequests) {
    long long nextId = 1;
    for (long long expected = 1; expected <= 3; ++expected) {
        ParsedLine parsedLine = parseLine("RequestGetCallState", nextId);
        EXPECT_EQ(parsed(std::get<SendCommand>(parsedLine.command).body)["_id"].asInt64(), expected);
        parseLine("wait RequestGetCallState", nextId);
    }
}

TEST(Lines, WaitDescribesItselfWithItsConditions) {
    long long nextId = 1;
    ParsedLine parsedLine = parseLine("wait 2500 callState=Idle count=3 5s", nextId);
    EXPECT_EQ(describe(std::get<WaitCommand>(parsedLine.command)), "wait 2500 callState=\"Idle\" count=3");
}

}  // namespace
}  // namespace console
