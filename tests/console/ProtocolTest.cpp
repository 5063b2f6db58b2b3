// The console's knowledge of the protocol: the catalogue it reads, the
// nearest names it offers, what Tab completes, and how events are named.
#include <gtest/gtest.h>

#include "Completion.h"
#include "LineEditor.h"
#include "Messages.h"
#include "PageMessages.h"
#include "Protocol.h"

namespace console {
namespace {

TEST(Catalogue, TheBuiltInOneKnowsEveryFamilyAndTheCommonestNames) {
    const Protocol& protocol = Protocol::builtIn();
    ASSERT_NE(protocol.request("InEventStart"), nullptr);
    const RequestInfo* mute = protocol.request("InEventMuteAudioIn");
    ASSERT_NE(mute, nullptr);
    const MemberInfo* willMute = findMember(mute->members, "willMute");
    ASSERT_NE(willMute, nullptr);
    EXPECT_EQ(willMute->type, "boolean");
    ASSERT_NE(protocol.event(2500), nullptr);
    EXPECT_EQ(protocol.event(2500)->name, "callState");
    for (const RequestInfo& request : protocol.requests()) {
        EXPECT_FALSE(request.family.empty()) << request.type;
        EXPECT_NE(std::find(protocol.families().begin(), protocol.families().end(), request.family),
                  protocol.families().end());
    }
}

class MalformedCatalogue : public testing::TestWithParam<const char*> {};

TEST_P(MalformedCatalogue, IsRefusedWithWhatIsWrong) {
    Protocol protocol;
    std::string error;
    EXPECT_FALSE(Protocol::read(parsed(GetParam()), protocol, error));
    EXPECT_NE(error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, MalformedCatalogue,
    testing::Values(R"({"events":[]})", R"({"requests":{},"events":[]})", R"({"requests":[{"type":"A"}],"events":[]})",
                    R"({"requests":[{"type":"A","family":"F","members":[{"name":"m","type":"integer"}],"reply":[]}],
                        "events":[]})",
                    R"({"requests":[{"type":"A","family":"F","members":[],"reply":{}}],"events":[]})",
                    R"({"requests":[],"events":[{"code":"2500","name":"callState","params":[]}]})",
                    R"({"requests":[],"events":[{"code":2500,"name":"callState","params":null}]})"));

struct NearestCase {
    const char* word;
    std::vector<std::string> candidates;
    std::vector<std::string> nearest;
};

class Nearest : public testing::TestWithParam<NearestCase> {};

TEST_P(Nearest, OffersTheClosestNames) {
    EXPECT_EQ(nearestNames(GetParam().word, GetParam().candidates), GetParam().nearest);
}

const std::vector<std::string> kStarts = {"InEventStart", "InEventStop", "InEventStartPrecallTestSpeaker"};

INSTANTIATE_TEST_SUITE_P(Names, Nearest,
                         testing::Values(NearestCase{"InEventStrat", kStarts, {"InEventStart"}},
                                         NearestCase{"ineventstop", kStarts, {"InEventStop"}},
                                         NearestCase{"InEventSto", kStarts, {"InEventStop"}},
                                         NearestCase{"InEventStar", kStarts, {"InEventStart"}},
                                         NearestCase{
                                             "InEventStartPrecall", kStarts, {"InEventStartPrecallTestSpeaker"}},
                                         NearestCase{"Nothing", kStarts, {}}, NearestCase{"q", {"x", "y", "width"}, {}},
                                         NearestCase{"wiat", {"wait", "note", "close"}, {"wait"}},
                                         NearestCase{"Request",
                                                     {"RequestA", "RequestB", "RequestC", "RequestD"},
                                                     {"RequestA", "RequestB", "RequestC"}}));

struct CompletionCase {
    const char* line;
    std::vector<std::string> candidates;
    // Where the completed word starts; npos: at the end of the line.
    std::size_t start = std::string::npos;
};

class Completing : public testing::TestWithParam<CompletionCase> {};

TEST_P(Completing, OffersTheWordsTheProtocolAllowsThere) {
    const std::string line = GetParam().line;
    const Completion completion = complete(line, Protocol::builtIn());
    EXPECT_EQ(completion.candidates, GetParam().candidates);
    if (GetParam().start != std::string::npos) {
        EXPECT_EQ(completion.start, GetParam().start);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BuiltInProtocol, Completing,
    testing::Values(CompletionCase{"InEventMu", {"InEventMuteAudioIn", "InEventMuteAudioOut", "InEventMuteVideo"}, 0},
                    CompletionCase{"  inEventMuteV", {"InEventMuteVideo"}, 2}, CompletionCase{"he", {"help"}},
                    CompletionCase{"InEventMuteAudioIn ", {"willMute="}, 19},
                    CompletionCase{"InEventMuteAudioIn willMute=", {"willMute=true", "willMute=false"}, 19},
                    CompletionCase{"InEventMuteAudioIn willMute=f", {"willMute=false"}},
                    CompletionCase{"InEventMuteAudioIn willMute=true ", {}},
                    CompletionCase{"InEventPrivateChat message=hi ", {"uri="}},
                    CompletionCase{"InEventPrivateChat uri:=\"a\" m", {"message="}},
                    CompletionCase{"InEventPrivateChat message=\"two wo", {}},
                    CompletionCase{"InEventGroupChat message=[1, ", {}}, CompletionCase{"InEventStart ", {}},
                    CompletionCase{"Nope ", {}}, CompletionCase{"{\"type\":\"In", {}},
                    CompletionCase{"wait InEventSt",
                                   {"InEventStart", "InEventStartPrecallTestSpeaker", "InEventStop",
                                    "InEventStopPrecallTestSpeaker"}},
                    CompletionCase{"wait 250", {"2500"}}, CompletionCase{"wait 2500 ", {"callState="}},
                    CompletionCase{"wait RequestGetParticipantNameAt i", {"index="}},
                    CompletionCase{"help RequestGetVers", {"RequestGetVersion"}}, CompletionCase{"note Requ", {}}));

TEST(TabKey, CompletesWhatIsSharedAndListsTheRest) {
    LineEditor editor;
    editor.setCompleter([](std::string_view line) { return complete(line, Protocol::builtIn()); });
    for (char key : std::string("InEventMuteA")) editor.feed(key);
    EXPECT_EQ(editor.feed('\t'), LineEditor::Outcome::Editing);
    EXPECT_EQ(editor.text(), "InEventMuteAudio");
    EXPECT_EQ(editor.feed('\t'), LineEditor::Outcome::Listing);
    EXPECT_EQ(editor.listing(), (std::vector<std::string>{"InEventMuteAudioIn", "InEventMuteAudioOut"}));
    editor.feed('I');
    editor.feed('\t');
    EXPECT_EQ(editor.text(), "InEventMuteAudioIn ") << "a whole word gets its blank";
    editor.feed('\t');
    EXPECT_EQ(editor.text(), "InEventMuteAudioIn willMute=") << "a member name waits for its value";
    editor.feed('t');
    editor.feed('\t');
    EXPECT_EQ(editor.text(), "InEventMuteAudioIn willMute=true ");
    EXPECT_EQ(editor.cursor(), editor.text().size());
}

TEST(TabKey, CompletesTheWordAtTheCursorAndKeepsTheRest) {
    LineEditor editor;
    editor.setCompleter([](std::string_view line) { return complete(line, Protocol::builtIn()); });
    for (char key : std::string("RequestGetVer _id=3")) editor.feed(key);
    for (int i = 0; i < 6; ++i) editor.feed(0x02);  // Ctrl-B
    editor.feed('\t');
    EXPECT_EQ(editor.text(), "RequestGetVersion _id=3") << "no second blank before the one that is there";
    EXPECT_EQ(editor.cursor(), std::string("RequestGetVersion").size());
}

TEST(TabKey, DoesNothingWithoutACompleter) {
    LineEditor editor;
    editor.feed('R');
    EXPECT_EQ(editor.feed('\t'), LineEditor::Outcome::Editing);
    EXPECT_EQ(editor.text(), "R");
}

struct LabelCase {
    const char* body;
    const char* label;
};

class EventName : public testing::TestWithParam<LabelCase> {};

TEST_P(EventName, StandsBesideTheCode) {
    EXPECT_EQ(eventLabel(classifyMessage(GetParam().body), Protocol::builtIn()), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    BuiltInProtocol, EventName,
    testing::Values(
        LabelCase{R"({"_direction":2,"code":2500,"params":{"callState":"Idle"}})", "2500 callState"},
        LabelCase{R"({"code":200900,"params":{"typeRequest":5,"type":"OutEventJoinConference","result":"Success"}})",
                  "200900 vcsoap OutEventJoinConference"},
        LabelCase{R"({"code":200900,"params":{"typeRequest":11}})", "200900 vcsoap"},
        LabelCase{R"({"code":270003,"params":{"joinStatus":true}})", "270003"},
        LabelCase{R"({"code":"","params":""})", ""}, LabelCase{R"({"code":1e300,"params":null})", ""},
        LabelCase{R"({"code":18446744073709551615,"params":null})", ""},
        LabelCase{R"({"_direction":2,"code":2500,"params":{},"type":"InEventStart"})", ""}));

}  // namespace
}  // namespace console
