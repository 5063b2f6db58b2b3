// Runs the real host executable as a browser does: arguments on the command
// line, framed messages through pipes. Each HostProcess gets folders of its
// own (log and data folder, temporary folder, lock folder), so tests can run
// side by side.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RegistrationTools.h"
#include "ScratchFolder.h"
#include "Subprocess.h"
#include "TavmoFacts.h"

inline constexpr const char* kExtensionOrigin = TAVMO_EXTENSION_ORIGIN;

struct HostOptions {
    std::vector<std::string> arguments = {kExtensionOrigin};
    // Lines of a stand-in scenario; empty for none.
    std::vector<std::string> scenario;
    std::map<std::string, std::string> environment;
    // Variables the host does not get at all, after the above.
    std::vector<std::string> unsetEnvironment;
    // Standard error through a pipe, kept in errors(); otherwise the tests'.
    bool captureErrors = false;
    // Put before the host's command (after $TAVMO_HOST_LAUNCHER), such as a
    // program that runs it as another user.
    std::vector<std::string> launcher;
};

class HostProcess {
public:
    // Starts the host in `folder` (see above). The executable is
    // $TAVMO_HOST_EXECUTABLE or the one built with the tests; a launcher such
    // as "wine64" may be put before it with $TAVMO_HOST_LAUNCHER.
    HostProcess(const ScratchFolder& folder, const HostOptions& options = {});
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    void sendFrame(const std::string& body);
    void sendRaw(const std::string& bytes);
    void closeInput();

    // The next framed body, or nothing if none arrives in time or the output ends.
    std::optional<std::string> readFrame(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // The next line (without its line end) in debug mode.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Everything that arrives until the output ends or `timeout`.
    std::string readRest(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // What arrived on a captured standard error while output was read.
    const std::string& errors() const { return process_.errors(); }

    // The exit code (0 to 255), or nothing if the host is still running after
    // `timeout` (it is then killed).
    std::optional<int> waitExit(std::chrono::milliseconds timeout = std::chrono::seconds(30));

    // The host's log and data folder, and everything its log files hold.
    std::string dataFolder() const { return dataFolder_; }
    std::string logText() const;
    // The host's process, for a look at it in /proc.
    pid_t pid() const { return process_.pid(); }

private:
    bool fill(std::size_t wanted, Subprocess::Clock::time_point deadline);

    std::string dataFolder_;
    Subprocess process_;
    std::string buffered_;
};

// Everything the files of `folder` whose names start with the host's log
// prefix hold, in the order of their names.
std::string logFilesIn(const std::string& folder);

// A host that was started and whose input ended at once, as when the page
// closes the port before it asks anything, once it has exited: its exit code
// (nothing if it was still running after waitExit's time) and its log.
struct EndedHost {
    std::optional<int> exitCode;
    std::string log;
    pid_t pid;
};
EndedHost startAndEndInput(const ScratchFolder& folder, const HostOptions& options = {});

bool logHas(const std::string& log, const std::string& text);
// Whether `text` appears in the host's log within 20 seconds: the host writes
// its log from threads of its own.
bool waitForLog(const HostProcess& host, const std::string& text);

// A host started with these options has a worker that hangs in the library
// on a request for the call state, for ten minutes: far beyond what the host
// waits for a worker.
HostOptions hangingWorkerOptions();
// Sends that request; whether its worker was seen hanging.
bool hangWorker(HostProcess& host);

// The path of the host executable the tests run.
std::string hostExecutable();
// True for a Windows executable, run through a launcher such as wine64.
bool windowsHost();
// A path of this machine as the host sees it: a Windows host under Wine finds
// the root folder as drive Z:.
std::string hostPath(const std::string& path);

// The stand-in registration tool installed in <folder>/install where the host
// under test looks for it: the setup file in the configuration folder a
// HostProcess in `folder` is given, or the registry for a Windows host.
ToolInstallation installRegistrationTool(const ScratchFolder& folder);
