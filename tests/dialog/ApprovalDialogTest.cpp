// The approval and refusal dialogs on a real display, operated with the
// mouse and keyboard through xdotool as a person would. The dialog runs on
// the test's main thread (like on the host's request thread) while a helper
// thread acts on it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#if defined(TAVMO_HAVE_GTK)
#include <gtk/gtk.h>
#endif

#include "HostFixture.h"
#include "HostState.h"
#include "HostThreads.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

using namespace std::chrono_literals;

const char* const kOpeningMessage = "{\"_direction\":2,\"code\":\"\",\"params\":\"\"}\n";
const char* const kJoinAllowed = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":true}}\n";
const char* const kJoinRefused = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":false}}\n";

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

bool xdotoolWorks() { return std::system("xdotool getmouselocation >/dev/null 2>&1") == 0; }

// Where a control of a dialog template is, in dialog units.
struct Place {
    int x, y, width, height;
};

// The dialogs' sizes and the controls the tests press, in dialog units.
constexpr Place kApprovalSize{0, 0, 400, 100};
constexpr Place kRefusalSize{0, 0, 316, 90};
constexpr Place kYes{61, 62, 70, 15};
constexpr Place kNo{270, 62, 70, 15};
constexpr Place kDoNotAskAgain{7, 83, 386, 10};
constexpr Place kOk{40, 69, 70, 14};
constexpr Place kJoin{206, 69, 70, 14};

std::vector<std::string> visibleDialogs();

// One dialog window on the screen.
struct Window {
    std::string id;
    Place size;  // of the template, to scale dialog units to pixels

    // Clicks the middle of the control (for a check box: its box, at the
    // left end) after converting dialog units with the window's own scale.
    void click(const Place& control) const {
        std::string geometry = run("xdotool getwindowgeometry " + id);
        int width = 0;
        int height = 0;
        std::size_t at = geometry.find("Geometry: ");
        ASSERT_NE(at, std::string::npos) << geometry;
        ASSERT_EQ(std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height), 2) << geometry;
        double unitX = static_cast<double>(width) / size.width;
        double unitY = static_cast<double>(height) / size.height;
        bool checkBox = control.width > 300;
        int x = static_cast<int>((control.x + (checkBox ? 5 : control.width / 2)) * unitX);
        int y = static_cast<int>((control.y + control.height / 2) * unitY);
        run("xdotool mousemove --sync --window " + id + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    }

    void key(const char* name) const { run("xdotool windowfocus --sync " + id + " key " + name); }

    // Destroys the window as another program of the display may.
    void destroy() const { run("xdotool windowclose " + id); }

    bool visible() const {
        std::vector<std::string> open = visibleDialogs();
        return std::find(open.begin(), open.end(), id) != open.end();
    }
};

std::vector<std::string> visibleDialogs() {
    std::vector<std::string> ids;
    std::string listed = run("xdotool search --onlyvisible --name '^TavmoClientForWeb$'");
    for (std::size_t at = 0, end; at < listed.size(); at = end + 1) {
        end = listed.find('\n', at);
        if (end == std::string::npos) end = listed.size();
        if (end > at) ids.push_back(listed.substr(at, end - at));
    }
    return ids;
}

// Acts on the dialogs from a second thread while the test's thread waits in
// them. A step that fails ends the dialogs' client, so the test cannot hang.
class Person {
public:
    explicit Person(std::function<void(Person&)> actions)
        : thread_([this, actions] {
              actions(*this);
              if (::testing::Test::HasFatalFailure()) run("xdotool search --name '^TavmoClientForWeb$' windowkill");
          }) {}
    ~Person() { thread_.join(); }

    // Waits for a dialog that was not on the screen before, and then for
    // `settle`: by default until its first frame is drawn and it takes input.
    Window waitForNewDialog(Place size, std::chrono::milliseconds settle = 1000ms) {
        auto deadline = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const std::string& id : visibleDialogs())
                if (std::find(seen_.begin(), seen_.end(), id) == seen_.end()) {
                    seen_.push_back(id);
                    std::this_thread::sleep_for(settle);
                    return {id, size};
                }
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "no dialog appeared; the library's log: " << ::testing::PrintToString(fake::logTexts());
        photograph("failure-no-dialog");
        return {};
    }

    void waitUntilGone(const Window& window) {
        auto deadline = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < deadline) {
            std::vector<std::string> open = visibleDialogs();
            if (std::find(open.begin(), open.end(), window.id) == open.end()) return;
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "dialog " << window.id << " stayed open";
        photograph("failure-dialog-stayed-open");
    }

    static void photograph(const char* name) {
        std::string folder = TAVMO_TEST_OUTPUT_DIR;
        mkdir(folder.c_str(), 0755);
        run("import -window root '" + folder + "/" + name + ".png'");
    }

private:
    std::vector<std::string> seen_;
    std::thread thread_;
};

class ApprovalDialog : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
#if !defined(TAVMO_HAVE_GTK)
        GTEST_SKIP() << "built without GTK: the host has no dialogs to show";
#endif
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "no X display (run under xvfb-run)";
        if (!xdotoolWorks()) GTEST_SKIP() << "xdotool is missing or cannot reach the display";
#if defined(TAVMO_HAVE_GTK)
        // The toolkit connects to the display here, on the thread that will
        // show the dialogs. A freshly started virtual display on a busy
        // machine has been seen to refuse the toolkit's first connection now
        // and then, so it gets a few tries.
        gtk_disable_setlocale();
        bool opened = gtk_init_check(nullptr, nullptr);
        for (int attempt = 0; !opened && attempt < 20; ++attempt) {
            std::this_thread::sleep_for(100ms);
            opened = gtk_init_check(nullptr, nullptr);
        }
        ASSERT_TRUE(opened) << "the toolkit cannot open the display " << display;
#endif
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [](void*, uint32_t) {
            return 0;
        };
        currentDomain = "meet.example.org";
    }

    bool ask(std::function<void(Person&)> actions) {
        Person person(std::move(actions));
        return PromptForUserApproval(request);
    }

    std::vector<std::string> savedDomains() {
        std::vector<std::string> domains;
        for (const fake::SentRecord& sent : fake::library().requests)
            if (sent.privateCode == TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN) {
                EXPECT_EQ(sent.sizeField, 257u);
                domains.emplace_back(reinterpret_cast<const char*>(sent.inner.data()));
            }
        return domains;
    }

    Json::Value request{Json::objectValue};
};

TEST_F(ApprovalDialog, YesApproves) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        Person::photograph("approval-dialog");
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{kOpeningMessage, kJoinAllowed}));
    EXPECT_TRUE(savedDomains().empty());
    EXPECT_FALSE(request.isMember("error"));
    EXPECT_TRUE(
        fake::logged("OutputThread: PromptForUserApproval(): [meet.example.org] domain is approved by enduser", 3));
}

TEST_F(ApprovalDialog, YesWithDoNotAskAgainSavesTheWebsite) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kDoNotAskAgain);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_EQ(savedDomains(), std::vector<std::string>{"meet.example.org"});
    EXPECT_TRUE(fake::logged("OutputThread: InEventStart() [meet.example.org] is saved as approved domain", 3));
}

TEST_F(ApprovalDialog, SaveTheLibraryRefusesStillApproves) {
    fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN] = [](void*, uint32_t) {
        return 4;
    };
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kDoNotAskAgain);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_TRUE(fake::logged("OutputThread: InEventStart() Save domain as approved domain returned error: [4]", 1));
}

TEST_F(ApprovalDialog, NoThenOkRefuses) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        Person::photograph("refusal-dialog");
        refusal.click(kOk);
        person.waitUntilGone(refusal);
        person.waitUntilGone(approval);
    });

    EXPECT_FALSE(approved);
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{kOpeningMessage, kJoinRefused}));
    EXPECT_EQ(request["error"].asString(), "TavmoClient Can not get the Domain approval from enduser");
    EXPECT_TRUE(
        fake::logged("OutputThread: PromptForUserApproval(): [meet.example.org] domain is not approved by enduser", 1));
}

TEST_F(ApprovalDialog, NoThenJoinAsksAgainAndYesApproves) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        refusal.click(kJoin);
        person.waitUntilGone(refusal);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{kOpeningMessage, kJoinAllowed}));
}

TEST_F(ApprovalDialog, EscapeClosesNeitherDialog) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.key("Escape");
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        refusal.key("Escape");
        refusal.click(kJoin);
        person.waitUntilGone(refusal);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved) << "an Escape was taken as an answer: " << ::testing::PrintToString(fake::logTexts());
}

TEST_F(ApprovalDialog, UnnamedWebsiteCannotBeRemembered) {
    currentDomain.clear();
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        Person::photograph("approval-dialog-unnamed-website");
        approval.click(kDoNotAskAgain);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_TRUE(savedDomains().empty()) << "the check box could be ticked";
}

TEST_F(ApprovalDialog, DefaultWebsiteNameCanBeRemembered) {
    currentDomain = kUnnamedWebsite;
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kDoNotAskAgain);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved);
    EXPECT_EQ(savedDomains(), std::vector<std::string>{"Video Conferencing website"});
}

// A click or key meant for the page, made just as the dialog appears under
// it, answers nothing.
TEST_F(ApprovalDialog, ClicksAndKeysInTheFirstMomentAnswerNothing) {
    bool actedInTime = true;
    bool stayedOpen = true;
    bool approved = ask([&](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize, 0ms);
        auto appeared = std::chrono::steady_clock::now();
        approval.click(kYes);
        approval.key("Return");
        approval.key("space");
        // Well inside the 700 ms, however late the dialog noticed it was shown.
        actedInTime = std::chrono::steady_clock::now() - appeared < 500ms;
        std::this_thread::sleep_for(1000ms);
        stayedOpen = approval.visible();
        if (!stayedOpen) return;
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        refusal.click(kOk);
        person.waitUntilGone(approval);
    });

    if (!actedInTime) GTEST_SKIP() << "the machine was too busy to act within the dialog's first moment";
    EXPECT_TRUE(stayedOpen) << "an early click or key answered the dialog";
    EXPECT_FALSE(approved);
}

// There is no default button: Return and Space choose nothing.
TEST_F(ApprovalDialog, ReturnAndSpaceChooseNothing) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.key("Return");
        approval.key("space");
        approval.key("KP_Enter");
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        refusal.key("Return");
        refusal.key("space");
        refusal.click(kOk);
        person.waitUntilGone(approval);
    });

    EXPECT_FALSE(approved) << "a key was taken as an answer: " << ::testing::PrintToString(fake::logTexts());
}

// Destroyed by another program of the display, a dialog is a refusal; it does
// not leave the host waiting for it, and the next request asks again.
TEST_F(ApprovalDialog, DestroyedApprovalDialogRefusesAndTheNextOneIsShown) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.destroy();
    });
    EXPECT_FALSE(approved);
    EXPECT_EQ(request["error"].asString(), "TavmoClient Can not get the Domain approval from enduser");

    request = Json::Value(Json::objectValue);
    approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kYes);
        person.waitUntilGone(approval);
    });
    EXPECT_TRUE(approved);
}

TEST_F(ApprovalDialog, DestroyedRefusalDialogRefuses) {
    bool approved = ask([](Person& person) {
        Window approval = person.waitForNewDialog(kApprovalSize);
        approval.click(kNo);
        Window refusal = person.waitForNewDialog(kRefusalSize);
        refusal.destroy();
        person.waitUntilGone(approval);
    });
    EXPECT_FALSE(approved);
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{kOpeningMessage, kJoinRefused}));
}

// The in-events that start or join a conference reach the library after "Yes" only.
struct GateCase {
    const char* name;
    const char* request;
    int32_t code;
    bool yes;
};

void PrintTo(const GateCase& c, std::ostream* out) { *out << c.name; }

class ApprovalGate : public ApprovalDialog, public ::testing::WithParamInterface<GateCase> {};

TEST_P(ApprovalGate, InEventReachesTheLibraryOnlyAfterYes) {
    const bool yes = GetParam().yes;
    {
        Person person([yes](Person& person) {
            Window approval = person.waitForNewDialog(kApprovalSize);
            if (yes) {
                approval.click(kYes);
            } else {
                approval.click(kNo);
                Window refusal = person.waitForNewDialog(kRefusalSize);
                refusal.click(kOk);
                person.waitUntilGone(refusal);
            }
            person.waitUntilGone(approval);
        });
        handleRequestText(GetParam().request, clientStarted);
    }

    std::vector<int32_t> sent;
    for (const fake::SentRecord& event : fake::library().events) sent.push_back(event.code);
    EXPECT_EQ(sent, yes ? std::vector<int32_t>{GetParam().code} : std::vector<int32_t>{});
    std::vector<std::string> bodies = writtenBodies();
    ASSERT_EQ(bodies.size(), 3u);
    EXPECT_EQ(bodies[1], yes ? kJoinAllowed : kJoinRefused);
    Json::Value reply;
    ASSERT_TRUE(json::parse(bodies[2], reply)) << bodies[2];
    EXPECT_EQ(reply.get("result", "").asString(), yes ? "ok" : "");
    EXPECT_EQ(reply.get("error", "").asString(), yes ? "" : "TavmoClient Can not get the Domain approval from enduser");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ApprovalGate,
    ::testing::Values(
        GateCase{"MyMeetingYes", R"({"type":"PrivateInEventStartMyMeeting","_direction":1})",
                 TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING, true},
        GateCase{"MyMeetingNo", R"({"type":"PrivateInEventStartMyMeeting","_direction":1})",
                 TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING, false},
        GateCase{"GuestLinkYes", R"({"type":"PrivateInEventVcsoapGuestLink","_direction":1,"roomKey":"AbC"})",
                 TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, true},
        GateCase{"GuestLinkNo", R"({"type":"PrivateInEventVcsoapGuestLink","_direction":1,"roomKey":"AbC"})",
                 TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP, false},
        GateCase{"AnswerYes", R"({"type":"InEventAnswer","_direction":1})", TAVMO_CLIENT_IN_EVENT_ANSWER, true},
        GateCase{"AnswerNo", R"({"type":"InEventAnswer","_direction":1})", TAVMO_CLIENT_IN_EVENT_ANSWER, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
