// The approval dialogs, loaded from their module on the first dialog (see
// dialog/ApprovalDialogModule.h). Without the module the user cannot be
// asked, as on a machine without a display.
#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "platform/Platform.h"
#include "platform/posix/dialog/ApprovalDialogModule.h"

namespace platform {
namespace {

std::string executableFolder() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return "";
    std::string text(path, static_cast<std::size_t>(length));
    return text.substr(0, text.rfind('/') + 1);
}

// Only the thread that handles requests shows dialogs; the toolkit cannot be
// unloaded once started, so the module stays.
dialogmodule::Entry dialogEntry() {
    static const dialogmodule::Entry entry = []() -> dialogmodule::Entry {
        void* module = ::dlopen((executableFolder() + dialogmodule::kFileName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) return nullptr;
        return reinterpret_cast<dialogmodule::Entry>(::dlsym(module, dialogmodule::kEntryName));
    }();
    return entry;
}

}  // namespace

ApprovalChoice askForApproval(void*, const std::string& websiteText, bool offerDoNotAskAgain) {
    ApprovalChoice choice;
    if (dialogmodule::Entry ask = dialogEntry()) ask(websiteText.c_str(), offerDoNotAskAgain, &choice);
    return choice;
}

}  // namespace platform
