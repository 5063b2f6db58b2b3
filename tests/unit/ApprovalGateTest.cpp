// The in-events that start or join a conference for the page reach the library only
// once the user approved the website: remembered by the library, or given in
// the dialog (tests/dialog). Every other way ends before the library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "HostState.h"
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

class ApprovalGate : public InEventTest, public ::testing::WithParamInterface<GateCase> {
protected:
    void SetUp() override {
        InEventTest::SetUp();
        currentDomain = "meet.example.org";
        // No dialog can open here, so the user cannot be asked.
        setenv("DISPLAY", ":-1", 1);
        setenv("GDK_BACKEND", "x11", 1);
        unsetenv("WAYLAND_DISPLAY");
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

}  // namespace
}  // namespace inevent_test
