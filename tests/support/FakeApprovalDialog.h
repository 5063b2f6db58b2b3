// The approval dialogs' test double: platform::askForApproval, linked into
// the unit tests in place of the platform's dialog piece
// (tavmo_platform_dialog). A test says what the user does, press by press;
// while it says nothing, no dialog can be shown, as on a machine without a
// display.
#pragma once

#include <string>
#include <vector>

namespace fake {

// What the user does in the approval dialog and in the refusal dialog that
// its "No" opens, as the platform's dialogs take it.
enum class Press {
    DoNotAskAgain,  // ticks (or unticks) "If Yes, do not ask again for this website." where it is offered
    Yes,            // approval dialog: approved; it closes
    No,             // approval dialog: opens the refusal dialog over it
    Join,           // refusal dialog: it closes, the approval dialog asks again
    Ok,             // refusal dialog: both close, refused
};
using Answer = std::vector<Press>;

inline const Answer kYes{Press::Yes};
inline const Answer kYesAndRemember{Press::DoNotAskAgain, Press::Yes};
inline const Answer kNoThenJoinThenYes{Press::No, Press::Join, Press::Yes};
inline const Answer kNoThenOk{Press::No, Press::Ok};

// What one approval dialog was shown with.
struct ShownDialog {
    std::string websiteText;
    bool offeredDoNotAskAgain = false;
    // How often its "No" opened the refusal dialog.
    int refusalDialogs = 0;
};

// While one lives, the approval dialogs the host opens are answered with
// `answers`, one each, in order. A press that its dialog could not take
// (Join without a refusal dialog, say), an answer that leaves a dialog
// open, a dialog more than the answers, or an answer left over fails the
// test.
class ApprovalDialogs {
public:
    explicit ApprovalDialogs(std::vector<Answer> answers);
    ~ApprovalDialogs();
    ApprovalDialogs(const ApprovalDialogs&) = delete;
    ApprovalDialogs& operator=(const ApprovalDialogs&) = delete;

    const std::vector<ShownDialog>& shown() const { return shown_; }

private:
    friend struct ApprovalDialogAccess;
    std::vector<Answer> answers_;
    std::vector<ShownDialog> shown_;
};

}  // namespace fake
