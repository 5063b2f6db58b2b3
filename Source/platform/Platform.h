// What the host needs from the operating system. One implementation per
// platform (posix/, win32/), chosen by the build; the rest of the host does
// not know which one it runs on.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

// The separator between the folders of a path, kPathSeparator: from the
// platform's own folder (posix/, win32/), which the build puts on the
// include path.
#include "PathSeparator.h"

namespace platform {

enum class InstanceLockState { Owned, HeldElsewhere, Failed };

struct InstanceLock {
    InstanceLockState state = InstanceLockState::Failed;
    int systemError = 0;
    uintptr_t handle = 0;  // shown in the log only
};

// Takes the single-instance lock of this name for the whole process. On
// POSIX a file in the user's runtime folder (see temporaryFolder()).
InstanceLock acquireInstanceLock(const char* name);
void releaseInstanceLock();

int processId();
// The id the operating system knows the calling thread by, as its tools and
// debuggers show it.
int threadId();

// Duplicates descriptor 1, or -1.
int duplicateStandardOutput();
// No text translation on this descriptor (where the platform has any).
void setBinaryMode(int fd);
// A write to a pipe whose reader has gone fails instead of ending the
// process: a browser closes both pipes at once, and the host must still
// leave the call and shut down in order.
void ignoreBrokenPipes();
FILE* openStream(int fd, const char* mode);
// The temporary folder with its final separator, or empty if there is none.
// Windows: the user's temporary folder. POSIX: TMPDIR when set, else the
// user's runtime folder (XDG_RUNTIME_DIR when it is the user's own, else
// Tavmo/Runtime/ in the user's state folder), never a shared folder.
std::string temporaryFolder();

struct CaptureFile {
    // Standard output, now writing to the file; null when not redirected.
    FILE* stream = nullptr;
    std::string path;
    // Why the file was refused, for the log; null for a plain failure.
    const char* refusal = nullptr;
};

// Sends standard output into the file `name` in the temporary folder,
// emptied. On POSIX the folder and the file must be the user's own (see
// platform/posix/private/PrivateFolder.h); a link, a FIFO or another user's
// file is refused and left as it is.
CaptureFile redirectStandardOutput(const char* name);

// The folder for log files and the library's data, created with its parents:
// the user's local application data folder (LOCALAPPDATA) + Tavmo/Data/User/.
// Without LOCALAPPDATA: on Windows the temporary folder (the user's own); on
// POSIX the user's state folder (XDG_STATE_HOME, else ~/.local/state of the
// home folder, which the password database names when HOME is unset). On
// POSIX a folder that another user could change is never used: then empty,
// and nothing is logged to files.
std::string logDirectory();

enum class DeviceChange { Arrival, RemoveComplete };

// Told, on the main thread, of every arrival or removal of a video capture
// device; the name as the system gives it, never null.
using DeviceChangeHandler = void (*)(DeviceChange change, const char* deviceName);

// The hidden window that receives device notifications; never shown. The
// notifications the window receives, once registerDeviceNotification has
// started them, go to `onDeviceChange` (nowhere when it is null), from the
// window's message handling or pumpMessages().
void* createHiddenWindow(DeviceChangeHandler onDeviceChange);
// Starts watching video capture devices for `window`; false with a system
// error code when that is not possible.
bool registerDeviceNotification(void* window, uintptr_t& handle, int& systemError);
void unregisterDeviceNotification();

// Blocks until window messages or device notifications are waiting, until
// wakeMainThread() is called, or until `timeout`.
void waitForMessages(std::chrono::milliseconds timeout);
// Wakes waitForMessages from any thread; a wake before the wait is kept.
void wakeMainThread();
// Handles every waiting message without blocking.
void pumpMessages();

// Turns the system's requests to end the host (SIGTERM, SIGHUP and SIGINT on
// POSIX) into a wake of the main thread, after which stopSignal() names the
// request; a second one ends the process at once. Nothing where the platform
// sends no such requests.
void watchStopSignals();
// The signal that asked the host to end, or 0.
int stopSignal();
// Makes `reader`, the thread that reads standard input, find the end of its
// input now, whether it is waiting for input or about to read.
void endStandardInput(std::thread::native_handle_type reader);

// Ends a thread that outlived its time, where the platform allows it.
void terminateThread(std::thread::native_handle_type thread);

// Ends the process at once, without running destructors: used when a thread
// that was given up on may still touch process-wide objects.
[[noreturn]] void exitNow(int code);

enum class SetupLookup { Found, NoSetup, NoFolder };

// Where the installation's setup records its folder: the registry key
// Software\Tavmo\TavmoClientForWeb\Setup of the current user on Windows (or,
// where the user has none, of the machine),
// elsewhere the file Tavmo/TavmoClientForWeb/Setup in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config). Its value or line "Application"
// holds the folder with its final separator. NoSetup: the key or file cannot
// be opened; NoFolder: it has no such value. Either with the system's error.
struct InstallationFolder {
    SetupLookup lookup = SetupLookup::NoSetup;
    int systemError = 0;
    std::string folder;
};
InstallationFolder installationFolder();

// A program that startDetachedProcess started, followed without being
// waited for. An empty one stands for no program and has always ended.
class StartedProgram {
public:
    // True once the program has ended; waits at most `timeout` for that.
    bool hasEnded(std::chrono::milliseconds timeout = std::chrono::milliseconds(0)) const;

    struct State;
    explicit StartedProgram(std::shared_ptr<State> state = nullptr) : state_(std::move(state)) {}

private:
    std::shared_ptr<State> state_;
};

// Starts `program` with `arguments` (a command line; split at blanks where
// the platform passes single arguments), without a console window, without
// handing it the host's descriptors and without waiting for it. 0 when it was
// started (`started` then follows it), otherwise the system's error code.
int startDetachedProcess(const std::string& program, const std::string& arguments, StartedProgram& started);

// Opens `path` (UTF-8) for binary reading if it names a regular file of the
// system: never a FIFO, device or folder, and opening never waits (opening a
// FIFO without a writer would wait for one). Null otherwise; `size` then
// holds the file's size in bytes.
FILE* openRegularFile(const std::string& path, int64_t& size);

enum class ApprovalAnswer { Yes, No, CannotAsk };

struct ApprovalChoice {
    ApprovalAnswer answer = ApprovalAnswer::CannotAsk;
    bool doNotAskAgain = false;
};

// Asks the user in the modal approval dialog, owned by `ownerWindow`,
// whether `websiteText` may use the camera and microphone; "No" leads
// through the refusal dialog, whose "Join" asks again. Only for the thread
// that handles requests. CannotAsk when no dialog can be shown (no display).
ApprovalChoice askForApproval(void* ownerWindow, const std::string& websiteText, bool offerDoNotAskAgain);

// What a window's frame adds to its client area, in pixels: the frame's
// thickness on each side and the menu bar's height. All 0 where windows have
// no frame.
struct WindowFrame {
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t menuHeight = 0;
};
WindowFrame windowFrame();

// Moves `window` to the top left corner with this size and clips it to
// that rectangle, repainting it. Nothing to do where there is no such window.
void placeVideoWindow(void* window, int32_t width, int32_t height);

}  // namespace platform
