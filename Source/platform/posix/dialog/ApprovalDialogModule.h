// The approval dialogs need GTK, and GTK with the seventy-odd libraries it
// pulls in costs every start of the host a hundred milliseconds of loading
// and relocation, although most sessions never show a dialog. So the dialogs
// are a module of their own, next to the host's executable, that the host
// loads on the first dialog and keeps loaded.
#pragma once

#include "platform/Platform.h"

namespace platform::dialogmodule {

inline constexpr const char* kFileName = "libTavmoApprovalDialog.so";
inline constexpr const char* kEntryName = "TavmoAskForApproval";

// Asks as platform::askForApproval does and fills `choice`.
using Entry = void (*)(const char* websiteText, bool offerDoNotAskAgain, ApprovalChoice* choice);

}  // namespace platform::dialogmodule
