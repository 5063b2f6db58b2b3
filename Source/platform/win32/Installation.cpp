// The installation folder from the registry, and starting the installation's
// tools on Windows.
#include <windows.h>

#include <memory>

#include "TavmoFacts.h"
#include "platform/Platform.h"

namespace platform {

namespace {

constexpr const char* kSetupKey = TAVMO_SETUP_KEY;

}  // namespace

InstallationFolder installationFolder() {
    InstallationFolder installation;
    HKEY setup = nullptr;
    LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kSetupKey, 0, KEY_READ, &setup);
    // An installation for every user records its folder for the machine (the
    // installer writes the host's own registry view). The current user's
    // record comes first, and its error is the one reported.
    if (opened == ERROR_FILE_NOT_FOUND &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSetupKey, 0, KEY_READ, &setup) == ERROR_SUCCESS)
        opened = ERROR_SUCCESS;
    if (opened != ERROR_SUCCESS) {
        installation.systemError = static_cast<int>(opened);
        return installation;
    }
    char folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    LONG read = RegGetValueA(setup, nullptr, TAVMO_SETUP_ENTRY, RRF_RT_REG_SZ, nullptr, folder, &size);
    RegCloseKey(setup);
    if (read != ERROR_SUCCESS) {
        installation.lookup = SetupLookup::NoFolder;
        installation.systemError = static_cast<int>(read);
        return installation;
    }
    installation.lookup = SetupLookup::Found;
    installation.folder = folder;
    return installation;
}

struct StartedProgram::State {
    HANDLE process;
    explicit State(HANDLE handle) : process(handle) {}
    ~State() { CloseHandle(process); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

bool StartedProgram::hasEnded(std::chrono::milliseconds timeout) const {
    // A process that cannot be waited for is not one the host can follow.
    return !state_ || WaitForSingleObject(state_->process, static_cast<DWORD>(timeout.count())) != WAIT_TIMEOUT;
}

int startDetachedProcess(const std::string& program, const std::string& arguments, StartedProgram& started) {
    // CreateProcessA may write into the command line.
    std::string commandLine = arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return static_cast<int>(GetLastError());
    CloseHandle(process.hThread);
    started = StartedProgram(std::make_shared<StartedProgram::State>(process.hProcess));
    return 0;
}

}  // namespace platform
