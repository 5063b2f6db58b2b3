// The approval and refusal dialogs, shown for real the way the host shows
// them: the hidden window of the main thread owns them, they run on a thread
// of their own as on OutputThread, and a person on a third thread finds each
// dialog by its title and answers it: buttons by their commands, the check
// box with the mouse, Escape through the dialog manager and the system
// menu's close. Each dialog is photographed once where a display allows.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "HostFixture.h"
#include "HostState.h"
#include "RequestHandler/WebsiteApproval.h"
#include "platform/Platform.h"
#include "resource.h"

namespace {

using namespace std::chrono_literals;

// Only guards against a dialog that never comes or never goes; nothing is
// measured.
constexpr auto kHangGuard = 20s;

const char* const kDialogTitle = "TavmoClientForWeb";
const char* const kDialogClass = "#32770";
const char* const kOpeningMessage = "{\"_direction\":2,\"code\":\"\",\"params\":\"\"}\n";
const char* const kJoinAllowed = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":true}}\n";
const char* const kJoinRefused = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":false}}\n";

// Asks whoever runs the tests for a photograph of the screen: the line
// "photograph <name>" on standard output, answered by a line on standard
// input once it is taken (scripts/test-windows.sh does so and sets
// TAVMO_PHOTOGRAPHS). Wine's null display driver draws nothing that could be
// photographed.
void photograph(const char* name) {
    if (!std::getenv("TAVMO_PHOTOGRAPHS")) return;
    std::printf("photograph %s\n", name);
    std::fflush(stdout);
    char answer[64];
    EXPECT_NE(std::fgets(answer, sizeof answer, stdin), nullptr) << "no photograph of " << name;
}

// Markers that the person posts to the dialogs' thread, and how many of them
// that thread has taken from its queue so far.
constexpr WPARAM kMarker = 0x7A6D;
std::atomic<int> markersTaken{0};

LRESULT CALLBACK countMarkers(int code, WPARAM removal, LPARAM message) {
    const auto* taken = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken->message == WM_NULL && taken->wParam == kMarker)
        ++markersTaken;
    return CallNextHookEx(nullptr, code, removal, message);
}

// One dialog on the screen, as the person sees it.
struct Dialog {
    HWND window = nullptr;

    HWND control(int id) const { return GetDlgItem(window, id); }

    std::string text(int id) const {
        char text[512] = {};
        GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }

    bool open() const { return IsWindow(window) && IsWindowVisible(window); }

    // The button's command, as the button sends it when it is clicked.
    void press(int id) const { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(control(id))); }

    // A left click with the mouse near the control's left end (a check box's
    // box); a disabled control does not take it.
    void click(int id) const {
        RECT place{};
        GetWindowRect(control(id), &place);
        INPUT input[3] = {};
        for (INPUT& each : input) each.type = INPUT_MOUSE;
        input[0].mi.dx = (place.left + 6) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input[0].mi.dy = (place.top + place.bottom) / 2 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        EXPECT_EQ(SendInput(3, input, sizeof(INPUT)), 3u);
    }

    // The Escape key, which the dialog manager turns into IDCANCEL.
    void pressEscape() const { PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1); }

    // "Close" in the system menu (and the caption's close button).
    void closeFromSystemMenu() const { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

    bool needsPainting() const {
        if (GetUpdateRect(window, nullptr, FALSE)) return true;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetUpdateRect(child, nullptr, FALSE)) return true;
        return false;
    }
};

bool isDialogOfKind(HWND window, int kindControl) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == kDialogClass && IsWindowVisible(window) && GetDlgItem(window, kindControl);
}

// Acts on the dialogs from its own thread while the dialogs' thread waits in
// them. When a step fails the open dialogs are ended, so the test cannot hang.
class Person {
public:
    explicit Person(std::function<void(Person&)> actions)
        : thread_([this, actions] {
              actions(*this);
              if (::testing::Test::HasFailure()) endOpenDialogs();
          }) {}
    ~Person() { thread_.join(); }

    Dialog waitForApproval() { return waitForNew(IDC_APPROVAL_YES); }
    Dialog waitForRefusal() { return waitForNew(IDC_REFUSAL_OK); }

    void waitUntilGone(const Dialog& dialog) {
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (dialog.open() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(dialog.open()) << "the dialog stayed open";
    }

    // Waits until the dialog's thread has handled every message posted to it
    // so far, and the messages those posted in turn (the dialog manager
    // answers a close with a posted IDCANCEL): the thread takes a marker
    // posted after them only once it is done with them.
    void waitUntilHandled(const Dialog& dialog) {
        DWORD thread = GetWindowThreadProcessId(dialog.window, nullptr);
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, countMarkers, nullptr, thread);
        ASSERT_NE(hook, nullptr);
        for (int round = 0; round < 2; ++round) {
            const int before = markersTaken;
            PostThreadMessageA(thread, WM_NULL, kMarker, 0);
            auto deadline = std::chrono::steady_clock::now() + kHangGuard;
            while (markersTaken == before && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(20ms);
            EXPECT_GT(markersTaken, before) << "the dialogs' thread stopped taking messages";
        }
        UnhookWindowsHookEx(hook);
    }

    // Ticks the check box with the mouse and waits until the box shows it.
    void tick(const Dialog& dialog, int id) {
        dialog.click(id);
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (IsDlgButtonChecked(dialog.window, id) != BST_CHECKED && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        EXPECT_EQ(IsDlgButtonChecked(dialog.window, id), static_cast<UINT>(BST_CHECKED)) << "the click did not tick it";
    }

private:
    // Waits for a dialog, found by its title, that was not open before and
    // holds `kindControl`.
    Dialog waitForNew(int kindControl) {
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (std::chrono::steady_clock::now() < deadline) {
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, kDialogClass, kDialogTitle));)
                if (isDialogOfKind(window, kindControl) &&
                    std::find(seen_.begin(), seen_.end(), window) == seen_.end()) {
                    seen_.push_back(window);
                    return appeared({window});
                }
            std::this_thread::sleep_for(20ms);
        }
        ADD_FAILURE() << "no dialog with control " << kindControl << " appeared";
        return {};
    }

    // Waits until the dialog has drawn itself: once neither it nor a control
    // has anything left to draw, a message it answers comes after the last
    // painting. Only then does a person see it.
    Dialog appeared(Dialog dialog) {
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (dialog.needsPainting() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(dialog.needsPainting()) << "the dialog was not drawn";
        SendMessageA(dialog.window, WM_NULL, 0, 0);
        return dialog;
    }

    // Ends whatever a failed step left open, the refusal dialog first.
    void endOpenDialogs() {
        for (int kindControl : {IDC_REFUSAL_OK, IDC_APPROVAL_YES})
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, kDialogClass, kDialogTitle));)
                if (isDialogOfKind(window, kindControl)) EndDialog(window, 0);
    }

    std::vector<HWND> seen_;
    std::thread thread_;
};

void expectCentredOnTheScreen(const Dialog& dialog) {
    RECT frame{};
    GetWindowRect(dialog.window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
}

class ApprovalDialog : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        hWindow = platform::createHiddenWindow(nullptr);
        ASSERT_NE(hWindow, nullptr);
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [](void*, uint32_t) {
            return 0;
        };
        currentDomain = "meet.example.org";
    }

    void TearDown() override {
        DestroyWindow(static_cast<HWND>(hWindow));
        hWindow = nullptr;
        platform::pumpMessages();
        HostFixture::TearDown();
    }

    // Asks on a thread of its own while this thread, as the host's main
    // thread, keeps handling the hidden window's messages.
    bool ask(std::function<void(Person&)> actions) {
        std::atomic<bool> answered{false};
        bool approved = false;
        Person person(std::move(actions));
        std::thread output([&] {
            approved = PromptForUserApproval(request);
            answered = true;
            platform::wakeMainThread();
        });
        while (!answered) {
            platform::waitForMessages(std::chrono::milliseconds(100));
            platform::pumpMessages();
        }
        output.join();
        return approved;
    }

    std::vector<std::string> savedDomains() {
        std::vector<std::string> domains;
        for (const fake::SentRecord& sent : fake::library().requests)
            if (sent.privateCode == TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN)
                domains.emplace_back(reinterpret_cast<const char*>(sent.inner.data()));
        return domains;
    }

    Json::Value request{Json::objectValue};
};

// ---------------------------------------------------------------------------

struct Answering {
    const char* label;
    std::string domain;
    std::function<void(Person&)> actions;
    bool approved;
    std::vector<std::string> savedDomains;
};

void PrintTo(const Answering& answering, std::ostream* out) { *out << answering.label; }

class AnsweringTheDialogs : public ApprovalDialog, public ::testing::WithParamInterface<Answering> {};

TEST_P(AnsweringTheDialogs, GivesTheChoiceThePersonMade) {
    currentDomain = GetParam().domain;
    bool approved = ask(GetParam().actions);

    EXPECT_EQ(approved, GetParam().approved);
    EXPECT_EQ(writtenBodies(),
              (std::vector<std::string>{kOpeningMessage, GetParam().approved ? kJoinAllowed : kJoinRefused}));
    EXPECT_EQ(savedDomains(), GetParam().savedDomains);
    if (approved) {
        EXPECT_FALSE(request.isMember("error"));
        EXPECT_TRUE(fake::logged(
            "OutputThread: PromptForUserApproval(): [" + currentDomain + "] domain is approved by enduser", 3));
    } else {
        EXPECT_EQ(request["error"].asString(), "TavmoClient Can not get the Domain approval from enduser");
        EXPECT_TRUE(fake::logged(
            "OutputThread: PromptForUserApproval(): [" + currentDomain + "] domain is not approved by enduser", 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnsweringTheDialogs,
    ::testing::Values(Answering{"YesApproves",
                                "meet.example.org",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    EXPECT_EQ(approval.text(IDC_APPROVAL_DOMAIN), "meet.example.org");
                                    EXPECT_TRUE(IsWindowEnabled(approval.control(IDC_APPROVAL_REMEMBER)));
                                    EXPECT_TRUE(GetWindowLongA(approval.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
                                    expectCentredOnTheScreen(approval);
                                    photograph("approval-dialog");
                                    approval.press(IDC_APPROVAL_YES);
                                    person.waitUntilGone(approval);
                                },
                                true,
                                {}},
                      Answering{"NoThenOkRefuses",
                                "meet.example.org",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    approval.press(IDC_APPROVAL_NO);
                                    Dialog refusal = person.waitForRefusal();
                                    expectCentredOnTheScreen(refusal);
                                    photograph("refusal-dialog");
                                    refusal.press(IDC_REFUSAL_OK);
                                    person.waitUntilGone(refusal);
                                    person.waitUntilGone(approval);
                                },
                                false,
                                {}},
                      Answering{"NoThenJoinAsksAgainAndYesApproves",
                                "meet.example.org",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    approval.press(IDC_APPROVAL_NO);
                                    Dialog refusal = person.waitForRefusal();
                                    refusal.press(IDC_REFUSAL_JOIN);
                                    person.waitUntilGone(refusal);
                                    EXPECT_TRUE(approval.open());
                                    approval.press(IDC_APPROVAL_YES);
                                    person.waitUntilGone(approval);
                                },
                                true,
                                {}},
                      Answering{"YesWithDoNotAskAgainSavesTheWebsite",
                                "meet.example.org",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    person.tick(approval, IDC_APPROVAL_REMEMBER);
                                    approval.press(IDC_APPROVAL_YES);
                                    person.waitUntilGone(approval);
                                },
                                true,
                                {"meet.example.org"}},
                      Answering{"NoAfterTickingDoNotAskAgainSavesNothing",
                                "meet.example.org",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    person.tick(approval, IDC_APPROVAL_REMEMBER);
                                    approval.press(IDC_APPROVAL_NO);
                                    Dialog refusal = person.waitForRefusal();
                                    refusal.press(IDC_REFUSAL_OK);
                                    person.waitUntilGone(approval);
                                },
                                false,
                                {}},
                      Answering{"UnnamedWebsiteIsShownGenericallyAndCannotBeRemembered",
                                "",
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    EXPECT_EQ(approval.text(IDC_APPROVAL_DOMAIN), "Video Conferencing website");
                                    EXPECT_FALSE(IsWindowEnabled(approval.control(IDC_APPROVAL_REMEMBER)));
                                    photograph("approval-dialog-unnamed-website");
                                    // Both with the mouse, so that the box's click is
                                    // handled before the answer.
                                    approval.click(IDC_APPROVAL_REMEMBER);
                                    approval.click(IDC_APPROVAL_YES);
                                    person.waitUntilGone(approval);
                                },
                                true,
                                {}},
                      Answering{"DefaultWebsiteNameCanBeRemembered",
                                kUnnamedWebsite,
                                [](Person& person) {
                                    Dialog approval = person.waitForApproval();
                                    EXPECT_EQ(approval.text(IDC_APPROVAL_DOMAIN), "Video Conferencing website");
                                    person.tick(approval, IDC_APPROVAL_REMEMBER);
                                    approval.press(IDC_APPROVAL_YES);
                                    person.waitUntilGone(approval);
                                },
                                true,
                                {"Video Conferencing website"}}),
    [](const ::testing::TestParamInfo<Answering>& info) { return info.param.label; });

// ---------------------------------------------------------------------------

struct Dismissal {
    const char* label;
    void (Dialog::*attempt)() const;
};

void PrintTo(const Dismissal& dismissal, std::ostream* out) { *out << dismissal.label; }

class DismissingTheDialogs : public ApprovalDialog, public ::testing::WithParamInterface<Dismissal> {};

// Neither dialog may take the attempt as an answer: both stay open, and the
// person's later choice to join counts.
TEST_P(DismissingTheDialogs, IsIgnoredByBoth) {
    auto attempt = GetParam().attempt;
    bool approved = ask([attempt](Person& person) {
        Dialog approval = person.waitForApproval();
        (approval.*attempt)();
        person.waitUntilHandled(approval);
        EXPECT_TRUE(approval.open()) << "the approval dialog was dismissed";
        approval.press(IDC_APPROVAL_NO);
        Dialog refusal = person.waitForRefusal();
        (refusal.*attempt)();
        person.waitUntilHandled(refusal);
        EXPECT_TRUE(refusal.open()) << "the refusal dialog was dismissed";
        refusal.press(IDC_REFUSAL_JOIN);
        person.waitUntilGone(refusal);
        approval.press(IDC_APPROVAL_YES);
        person.waitUntilGone(approval);
    });

    EXPECT_TRUE(approved) << "an attempt to dismiss was taken as an answer: "
                          << ::testing::PrintToString(fake::logTexts());
}

INSTANTIATE_TEST_SUITE_P(Attempts, DismissingTheDialogs,
                         ::testing::Values(Dismissal{"Escape", &Dialog::pressEscape},
                                           Dismissal{"SystemMenuClose", &Dialog::closeFromSystemMenu}),
                         [](const ::testing::TestParamInfo<Dismissal>& info) { return info.param.label; });

// ---------------------------------------------------------------------------

// Sets no focus, which would make a focused push button the default one.
INT_PTR CALLBACK leaveTheFocusAlone(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Neither dialog has a default push button, so that Enter chooses nothing:
// the styles as the resources give them, before any focus moves.
TEST(DialogResources, NoButtonIsADefaultPushButton) {
    struct Buttons {
        int dialog;
        std::vector<int> buttons;
    };
    for (const Buttons& resource : {Buttons{IDD_APPROVAL, {IDC_APPROVAL_YES, IDC_APPROVAL_NO}},
                                    Buttons{IDD_REFUSAL, {IDC_REFUSAL_OK, IDC_REFUSAL_JOIN}}}) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource.dialog), nullptr,
                                         leaveTheFocusAlone, 0);
        ASSERT_NE(dialog, nullptr) << "dialog resource " << resource.dialog << ", error " << GetLastError();
        for (int button : resource.buttons) {
            LONG style = GetWindowLongA(GetDlgItem(dialog, button), GWL_STYLE);
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "button " << button;
        }
        DestroyWindow(dialog);
    }
}

}  // namespace
