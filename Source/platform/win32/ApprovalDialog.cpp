// The approval and refusal dialogs: the host's dialog resources with their
// dialog procedures.
#include <windows.h>

#include "platform/Platform.h"
#include "resource.h"

namespace platform {

namespace {

constexpr const char* kDialogTitle = "TavmoClientForWeb";

struct ApprovalState {
    const std::string* websiteText;
    bool offerDoNotAskAgain;
    bool doNotAskAgain;
};

void centreOnPrimaryScreen(HWND dialog, HWND insertAfter, UINT flags) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(dialog, insertAfter, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2,
                 GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2, 0, 0, SWP_NOSIZE | flags);
}

INT_PTR CALLBACK refusalProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextA(dialog, kDialogTitle);
            centreOnPrimaryScreen(dialog, nullptr, SWP_NOZORDER);
            return TRUE;
        case WM_COMMAND:
            // Only the two buttons close it; Escape and the system menu's
            // close are ignored.
            if (LOWORD(wParam) == IDC_REFUSAL_OK || LOWORD(wParam) == IDC_REFUSAL_JOIN)
                EndDialog(dialog, LOWORD(wParam));
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK approvalProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            const auto* state = reinterpret_cast<const ApprovalState*>(lParam);
            SetWindowTextA(dialog, kDialogTitle);
            SetDlgItemTextA(dialog, IDC_APPROVAL_DOMAIN, state->websiteText->c_str());
            EnableWindow(GetDlgItem(dialog, IDC_APPROVAL_REMEMBER), state->offerDoNotAskAgain);
            SetForegroundWindow(dialog);
            centreOnPrimaryScreen(dialog, HWND_TOPMOST, SWP_SHOWWINDOW);
            FLASHWINFO flash{sizeof flash, dialog, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
            FlashWindowEx(&flash);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* state = reinterpret_cast<ApprovalState*>(GetWindowLongPtrA(dialog, DWLP_USER));
            switch (LOWORD(wParam)) {
                case IDC_APPROVAL_YES:
                    state->doNotAskAgain = IsDlgButtonChecked(dialog, IDC_APPROVAL_REMEMBER) == BST_CHECKED;
                    EndDialog(dialog, IDC_APPROVAL_YES);
                    break;
                case IDC_APPROVAL_NO:
                    // "Join" leaves this dialog open for a new answer.
                    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REFUSAL), dialog,
                                        refusalProcedure, 0) == IDC_REFUSAL_OK)
                        EndDialog(dialog, IDC_APPROVAL_NO);
                    break;
            }
            // Every other command, Escape's and the system menu's close among
            // them, is ignored.
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

ApprovalChoice askForApproval(void* ownerWindow, const std::string& websiteText, bool offerDoNotAskAgain) {
    ApprovalState state{&websiteText, offerDoNotAskAgain, false};
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_APPROVAL), static_cast<HWND>(ownerWindow),
                        approvalProcedure, reinterpret_cast<LPARAM>(&state));
    ApprovalChoice choice;
    if (result == IDC_APPROVAL_YES) {
        choice.answer = ApprovalAnswer::Yes;
        choice.doNotAskAgain = state.doNotAskAgain;
    } else if (result == IDC_APPROVAL_NO) {
        choice.answer = ApprovalAnswer::No;
    }
    return choice;
}

}  // namespace platform
