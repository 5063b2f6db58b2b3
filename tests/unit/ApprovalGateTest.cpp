// The in-events that start or join a conference for the page reach the library only
// once the user approved the website: remembered by the library, or given in
// the dialog (answered here by the fake, FakeApprovalDialog.h; for real in
// tests/dialog). Every other way ends before the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeApprovalDialog.h"
#include "InEventTestSupport.h"
#include "RequestHandler/WebsiteApproval.h"

namespace inevent_test {
namespace {

enum class Approval { Remembered, NotRememberedAndNoDisplay, LibraryFails };

struct GateCase {
    const char* name;
    const char* request;
    int32_t code;
    Approval approval;
};

void PrintTo(const GateCase& c, std::ostream* out) { *out << c.name; }

// The page named "meet.example.org".
class NamedWebsite : public InEventTest {
protected:
    void SetUp() override {
        InEventTest::SetUp();
        // Without answers for the fake dialog the user cannot be asked.
        answer(std::string(R"({"type":"RequestSetDomain","_direction":1,"domain":"meet.example.org"})"));
    }

    void libraryAnswers(Approval approval) {
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [approval](void* record,
                                                                                                      uint32_t) {
            if (approval == Approval::LibraryFails) return 9;
            static_cast<TavmoClientApprovedDomainQuery*>(record)->approved = approval == Approval::Remembered ? 1 : 0;
            return 0;
        };
    }
};

class ApprovalGate : public NamedWebsite, public ::testing::WithParamInterface<GateCase> {};

TEST_P(ApprovalGate, InEventReachesTheLibraryOnlyWhenApproved) {
    const GateCase& c = GetParam();
    libraryAnswers(c.approval);

    std::string reply = lastBodyAfter(c.request);

    bool approved = c.approval == Approval::Remembered;
    EXPECT_EQ(reply, approved ? okReply(c.request)
                              : errorReply(c.request, "TavmoClient Can not get the Domain approval from enduser"));
    ASSERT_EQ(events().size(), approved ? 1u : 0u) << "in-events the library was given";
    if (approved) {
        EXPECT_EQ(events()[0].code, c.code);
    }
    std::vector<std::string> bodies = writtenBodies();
    ASSERT_GE(bodies.size(), 2u);
    EXPECT_EQ(bodies[bodies.size() - 2], std::string("{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":") +
                                             (approved ? "true" : "false") + "}}\n");
}

const char* const kStartMyMeeting = R"({"type":"PrivateInEventStartMyMeeting","_direction":1,"_id":1})";
// Answering an incoming call joins its conference.
const char* const kAnswer = R"({"type":"InEventAnswer","_direction":1,"_id":3})";
const char* const kGuestLink =
    R"({"type":"PrivateInEventVcsoapGuestLink","_direction":1,"_id":2,"portalUri":"https://portal.example.org",)"
    R"("roomKey":"AbC","guestName":"Ann","pin":"1234"})";

INSTANTIATE_TEST_SUITE_P(
    Paths, ApprovalGate,
    ::testing::Values(
        GateCase{"MyMeetingRemembered", kStartMyMeeting, TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING,
                 Approval::Remembered},
        GateCase{"MyMeetingNoDisplay", kStartMyMeeting, TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING,
                 Approval::NotRememberedAndNoDisplay},
        GateCase{"MyMeetingLibraryFails", kStartMyMeeting, TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING,
                 Approval::LibraryFails},
        GateCase{"GuestLinkRemembered", kGuestLink, TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, Approval::Remembered},
        GateCase{"GuestLinkNoDisplay", kGuestLink, TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP,
                 Approval::NotRememberedAndNoDisplay},
        GateCase{"GuestLinkLibraryFails", kGuestLink, TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, Approval::LibraryFails},
        GateCase{"AnswerRemembered", kAnswer, TAVMO_CLIENT_IN_EVENT_ANSWER, Approval::Remembered},
        GateCase{"AnswerNoDisplay", kAnswer, TAVMO_CLIENT_IN_EVENT_ANSWER, Approval::NotRememberedAndNoDisplay},
        GateCase{"AnswerLibraryFails", kAnswer, TAVMO_CLIENT_IN_EVENT_ANSWER, Approval::LibraryFails}),
    [](const auto& info) { return std::string(info.param.name); });

// The user's answers in the dialogs, through the dispatcher: what the page
// is written, what the library is given and saved, and what is logged, line
// by line from the prompt on.
struct AnswerCase {
    const char* name;
    std::vector<fake::Answer> answers;  // one per request, in order
    bool approved;                      // the last request's
    bool saved;
    int refusalDialogs;  // of the last dialog
    std::vector<std::string> logLines;
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

const char* const kPrompt = "OutputThread: PromptForUserApproval() Prompting User for domain approval.";
// The message that the dialog is about to open, 39 bytes with its frame.
const char* const kOpeningWritten = "OutputThread: TavmoAgent::sendMessage(): length :[39]";
// The answer to the page, joinStatus false, is written before the refusal is logged.
const char* const kRefusalWritten = "OutputThread: TavmoAgent::sendMessage(): length :[61]";
const char* const kSaved = "OutputThread: InEventStart() [meet.example.org] is saved as approved domain";
const char* const kApprovedByUser =
    "OutputThread: PromptForUserApproval(): [meet.example.org] domain is approved by enduser";
const char* const kRefusedByUser =
    "OutputThread: PromptForUserApproval(): [meet.example.org] domain is not approved by enduser";
const char* const kOpening = "{\"_direction\":2,\"code\":\"\",\"params\":\"\"}\n";

class UserAnswer : public NamedWebsite, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(UserAnswer, DecidesWhatThePageAndTheLibraryAreGiven) {
    const AnswerCase& c = GetParam();
    libraryAnswers(Approval::NotRememberedAndNoDisplay);
    fake::ApprovalDialogs dialogs(c.answers);

    std::vector<std::string> replies;
    for (std::size_t i = 0; i < c.answers.size(); ++i) replies.push_back(lastBodyAfter(kStartMyMeeting));

    EXPECT_EQ(replies.back(),
              c.approved ? okReply(kStartMyMeeting)
                         : errorReply(kStartMyMeeting, "TavmoClient Can not get the Domain approval from enduser"));
    std::vector<std::string> bodies = writtenBodies();
    ASSERT_GE(bodies.size(), 3u);
    EXPECT_EQ(bodies[bodies.size() - 3], kOpening);
    EXPECT_EQ(bodies[bodies.size() - 2], std::string("{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":") +
                                             (c.approved ? "true" : "false") + "}}\n");
    ASSERT_EQ(events().size(), c.approved ? 1u : 0u) << "in-events the library was given";

    std::vector<std::string> saved;
    for (const fake::SentRecord& sent : fake::library().requests)
        if (sent.privateCode == TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN) {
            EXPECT_EQ(sent.sizeField, sizeof(TavmoClientApprovedDomainSave));
            EXPECT_EQ(sent.inner.size(), 257u);
            saved.emplace_back(reinterpret_cast<const char*>(sent.inner.data()));
        }
    EXPECT_EQ(saved, c.saved ? std::vector<std::string>{"meet.example.org"} : std::vector<std::string>{});

    ASSERT_EQ(dialogs.shown().size(), c.answers.size());
    EXPECT_EQ(dialogs.shown().back().websiteText, "meet.example.org");
    EXPECT_TRUE(dialogs.shown().back().offeredDoNotAskAgain);
    EXPECT_EQ(dialogs.shown().back().refusalDialogs, c.refusalDialogs);

    // The last prompt's lines, as the host writes them (without the details
    // of every message written).
    std::vector<std::string> logged;
    for (const fake::LogLine& line : fake::library().logs)
        if (line.level != TAVMO_CLIENT_LOG_DETAIL) logged.push_back(line.text);
    auto prompt = std::find(logged.rbegin(), logged.rend(), kPrompt);
    ASSERT_NE(prompt, logged.rend()) << ::testing::PrintToString(logged);
    std::vector<std::string> fromPrompt(prompt.base() - 1, logged.end());
    fromPrompt.resize(std::min(fromPrompt.size(), c.logLines.size()));
    EXPECT_EQ(fromPrompt, c.logLines);
}

using fake::Press;

INSTANTIATE_TEST_SUITE_P(
    Dialogs, UserAnswer,
    ::testing::Values(AnswerCase{"Yes", {fake::kYes}, true, false, 0, {kPrompt, kOpeningWritten, kApprovedByUser}},
                      AnswerCase{"YesAndRemember",
                                 {fake::kYesAndRemember},
                                 true,
                                 true,
                                 0,
                                 {kPrompt, kOpeningWritten, kSaved, kApprovedByUser}},
                      AnswerCase{"NoThenJoinThenYes",
                                 {fake::kNoThenJoinThenYes},
                                 true,
                                 false,
                                 1,
                                 {kPrompt, kOpeningWritten, kApprovedByUser}},
                      AnswerCase{"NoThenOk",
                                 {fake::kNoThenOk},
                                 false,
                                 false,
                                 1,
                                 {kPrompt, kOpeningWritten, kRefusalWritten, kRefusedByUser}},
                      // The box keeps its tick while the refusal dialog is open.
                      AnswerCase{"RememberNoThenJoinThenYes",
                                 {{Press::DoNotAskAgain, Press::No, Press::Join, Press::Yes}},
                                 true,
                                 true,
                                 1,
                                 {kPrompt, kOpeningWritten, kSaved, kApprovedByUser}},
                      AnswerCase{"RememberNoThenOk",
                                 {{Press::DoNotAskAgain, Press::No, Press::Ok}},
                                 false,
                                 false,
                                 1,
                                 {kPrompt, kOpeningWritten, kRefusalWritten, kRefusedByUser}},
                      AnswerCase{"TickedTwiceThenYes",
                                 {{Press::DoNotAskAgain, Press::DoNotAskAgain, Press::Yes}},
                                 true,
                                 false,
                                 0,
                                 {kPrompt, kOpeningWritten, kApprovedByUser}},
                      // A refusal is not remembered: the next request asks again.
                      AnswerCase{"NoThenOkAndThenYes",
                                 {fake::kNoThenOk, fake::kYes},
                                 true,
                                 false,
                                 0,
                                 {kPrompt, kOpeningWritten, kApprovedByUser}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace inevent_test
