#include "FakeApprovalDialog.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace fake {

namespace {
ApprovalDialogs* answering = nullptr;
}  // namespace

struct ApprovalDialogAccess {
    // Plays `presses` on a dialog shown as `shown`, as the user would.
    static platform::ApprovalChoice play(const Answer& presses, ShownDialog& shown) {
        bool refusalOpen = false;
        bool ticked = false;
        for (std::size_t at = 0; at < presses.size(); ++at) {
            Press press = presses[at];
            bool onRefusal = press == Press::Join || press == Press::Ok;
            if (onRefusal != refusalOpen) {
                ADD_FAILURE() << "press " << at << " is for the " << (onRefusal ? "refusal" : "approval")
                              << " dialog, which is not the one in front";
                return {platform::ApprovalAnswer::No, false};
            }
            bool closes = press == Press::Yes || press == Press::Ok;
            if (closes && at + 1 != presses.size()) ADD_FAILURE() << "presses after the dialogs closed";
            switch (press) {
                // A box that is not offered is disabled and takes no click.
                case Press::DoNotAskAgain: ticked = shown.offeredDoNotAskAgain && !ticked; break;
                case Press::Yes: return {platform::ApprovalAnswer::Yes, ticked};
                case Press::No:
                    refusalOpen = true;
                    ++shown.refusalDialogs;
                    break;
                case Press::Join: refusalOpen = false; break;
                case Press::Ok: return {platform::ApprovalAnswer::No, false};
            }
        }
        ADD_FAILURE() << "the answer leaves a dialog open: the host would wait for it";
        return {platform::ApprovalAnswer::No, false};
    }

    static platform::ApprovalChoice ask(ApprovalDialogs& dialogs, ShownDialog shown) {
        std::size_t next = dialogs.shown_.size();
        if (next >= dialogs.answers_.size()) {
            ADD_FAILURE() << "approval dialog " << next + 1 << " for [" << shown.websiteText << "] has no answer";
            dialogs.shown_.push_back(shown);
            return {platform::ApprovalAnswer::No, false};
        }
        platform::ApprovalChoice choice = play(dialogs.answers_[next], shown);
        dialogs.shown_.push_back(shown);
        return choice;
    }
};

ApprovalDialogs::ApprovalDialogs(std::vector<Answer> answers) : answers_(std::move(answers)) {
    EXPECT_EQ(answering, nullptr) << "one set of answers at a time";
    answering = this;
}

ApprovalDialogs::~ApprovalDialogs() {
    answering = nullptr;
    EXPECT_EQ(shown_.size(), answers_.size()) << "approval dialogs shown against the answers given";
}

}  // namespace fake

namespace platform {

ApprovalChoice askForApproval(void*, const std::string& websiteText, bool offerDoNotAskAgain) {
    if (!fake::answering) return ApprovalChoice();
    return fake::ApprovalDialogAccess::ask(*fake::answering, {websiteText, offerDoNotAskAgain, 0});
}

}  // namespace platform
