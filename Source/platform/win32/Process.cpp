// Process-level services on Windows.
#include <fcntl.h>
#include <io.h>
#include <pthread.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace platform {

namespace {

HANDLE instanceMutex = nullptr;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string withBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// The user's local application data folder as the browser passes it on;
// without it the user's temporary folder, the same fallback on every
// platform, so that such a host's logs are found in one documented place.
std::string localApplicationData() {
    std::string folder = environment("LOCALAPPDATA");
    return folder.empty() ? temporaryFolder() : folder;
}

}  // namespace

InstanceLock acquireInstanceLock(const char* name) {
    InstanceLock lock;
    HANDLE mutex = CreateMutexExA(nullptr, name, CREATE_MUTEX_INITIAL_OWNER, MUTEX_ALL_ACCESS);
    DWORD error = GetLastError();
    if (!mutex) {
        lock.systemError = static_cast<int>(error);
        lock.state = error == ERROR_ACCESS_DENIED ? InstanceLockState::HeldElsewhere : InstanceLockState::Failed;
        return lock;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        lock.systemError = static_cast<int>(error);
        lock.state = InstanceLockState::HeldElsewhere;
        return lock;
    }
    instanceMutex = mutex;
    lock.state = InstanceLockState::Owned;
    lock.handle = reinterpret_cast<uintptr_t>(mutex);
    return lock;
}

void releaseInstanceLock() {
    if (!instanceMutex) return;
    ReleaseMutex(instanceMutex);
    CloseHandle(instanceMutex);
    instanceMutex = nullptr;
}

int processId() { return static_cast<int>(GetCurrentProcessId()); }

int threadId() { return static_cast<int>(GetCurrentThreadId()); }

int duplicateStandardOutput() { return _dup(1); }

void setBinaryMode(int fd) { _setmode(fd, _O_BINARY); }

// A write to a closed pipe fails with an error here; there is no signal.
void ignoreBrokenPipes() {}

FILE* openStream(int fd, const char* mode) { return _fdopen(fd, mode); }

std::string temporaryFolder() {
    char folder[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, folder);
    // 0 is a failure; a length that does not fit is the size it would need.
    if (length == 0 || length >= MAX_PATH) return "";
    return std::string(folder, length);
}

CaptureFile redirectStandardOutput(const char* name) {
    CaptureFile capture;
    capture.path = temporaryFolder() + name;
    capture.stream = std::freopen(capture.path.c_str(), "w", stdout);
    return capture;
}

std::string logDirectory() {
    std::string folder = withBackslash(localApplicationData()) + "Tavmo\\Data\\User";
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return folder + "\\";
}

void terminateThread(std::thread::native_handle_type thread) {
    HANDLE handle = pthread_gethandle(thread);
    if (handle) TerminateThread(handle, static_cast<DWORD>(-1));
}

void exitNow(int code) {
    std::fflush(nullptr);
    // Not ExitProcess: that runs the DLLs' detach code, which may wait for a
    // lock that the terminated thread held.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    std::_Exit(code);
}

}  // namespace platform
