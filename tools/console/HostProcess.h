// The host as a browser runs it: a child process with the extension's origin
// on its command line and pipes for its standard input and output; what it
// writes on its standard error shows in the console's.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Subprocess.h"
#include "TavmoFacts.h"

namespace console {

inline constexpr const char* kExtensionOrigin = TAVMO_EXTENSION_ORIGIN;

struct HostLaunch {
    std::string executable;
    // Words put before the executable, such as "wine64".
    std::vector<std::string> launcher;
    // Set in the host's environment on top of the console's own.
    std::vector<std::pair<std::string, std::string>> environment;
};

// The arguments a browser passes: the origin and, to a Windows program, the
// window it may place its own windows on (none here).
std::vector<std::string> browserArguments(const std::string& executable);

// TavmoClientForWeb in the folder of the running console.
std::string hostBesideConsole();

struct ExitStatus {
    // The exit code, or 128 plus the signal that ended the host.
    int code = 0;
    int signal = 0;
    // The host did not end in time and was killed.
    bool killed = false;
};

// "host exited with code 0", "host ended by signal 11", ...
std::string describe(const ExitStatus& status);

class HostProcess {
public:
    // Throws std::runtime_error when the host cannot be started.
    explicit HostProcess(const HostLaunch& launch);
    // Closes the host's input and output, and kills a host that has not ended
    // 30 s later.
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    pid_t pid() const { return process_.pid(); }

    // False once the host's input is closed or the host has gone.
    bool write(std::string_view bytes);
    void closeInput() { process_.closeInput(); }
    bool inputOpen() const { return process_.inputOpen(); }

    // The host's standard output, for poll(); -1 once it has ended.
    int outputFd() const { return process_.outputFd(); }
    // What the output holds now (call when it is readable); empty at its end,
    // which also closes it.
    std::string readOutput();

    // Waits for the host to end, at most `limit`; then kills it. Later calls
    // return the same status.
    ExitStatus waitForExit(std::chrono::milliseconds limit);

private:
    Subprocess process_;
};

}  // namespace console
