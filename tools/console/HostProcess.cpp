#include "HostProcess.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace console {
namespace {

constexpr const char* kHostName = "TavmoClientForWeb";
constexpr std::chrono::milliseconds kExitPoll{10};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> mergedEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : overrides) variables[name] = value;
    std::vector<std::string> entries;
    for (const auto& [name, value] : variables) entries.push_back(name + "=" + value);
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

ExitStatus statusOf(int waitStatus) {
    ExitStatus status;
    if (WIFEXITED(waitStatus)) {
        status.code = WEXITSTATUS(waitStatus);
    } else if (WIFSIGNALED(waitStatus)) {
        status.signal = WTERMSIG(waitStatus);
        status.code = 128 + status.signal;
    }
    return status;
}

}  // namespace

std::vector<std::string> browserArguments(const std::string& executable) {
    std::vector<std::string> arguments = {kExtensionOrigin};
    if (endsWith(executable, ".exe")) arguments.emplace_back("--parent-window=0");
    return arguments;
}

std::string hostBesideConsole() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return kHostName;
    const std::string self(path, static_cast<std::size_t>(length));
    const std::size_t slash = self.rfind('/');
    return self.substr(0, slash + 1) + kHostName;
}

std::string describe(const ExitStatus& status) {
    std::string text;
    if (status.signal != 0) {
        text = "host ended by signal " + std::to_string(status.signal);
    } else {
        text = "host exited with code " + std::to_string(status.code);
        // The host's own -1 reaches us as 255.
        if (status.code > 127) text += " (" + std::to_string(status.code - 256) + ")";
    }
    if (status.killed) text += " after it was killed for not ending in time";
    return text;
}

HostProcess::HostProcess(const HostLaunch& launch) {
    std::vector<std::string> argv = launch.launcher;
    argv.push_back(launch.executable);
    for (const std::string& argument : browserArguments(launch.executable)) argv.push_back(argument);
    std::vector<std::string> environment = mergedEnvironment(launch.environment);
    std::vector<char*> argvPointers = pointersTo(argv);
    std::vector<char*> environmentPointers = pointersTo(environment);

    int toHost[2];
    int fromHost[2];
    if (::pipe2(toHost, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    if (::pipe2(fromHost, O_CLOEXEC) != 0) {
        ::close(toHost[0]);
        ::close(toHost[1]);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toHost[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromHost[1], 1);
    const int failed =
        ::posix_spawnp(&pid_, argvPointers[0], &actions, nullptr, argvPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(toHost[0]);
    ::close(fromHost[1]);
    if (failed != 0) {
        ::close(toHost[1]);
        ::close(fromHost[0]);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
    }
    input_ = toHost[1];
    output_ = fromHost[0];
    // A host that has gone shows as a failed write, not as the console's end.
    ::signal(SIGPIPE, SIG_IGN);
}

HostProcess::~HostProcess() {
    closeInput();
    if (output_ >= 0) ::close(output_);
    if (!reaped_) waitForExit(std::chrono::seconds(30));
}

bool HostProcess::write(std::string_view bytes) {
    while (input_ >= 0 && !bytes.empty()) {
        const ssize_t written = ::write(input_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            closeInput();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return input_ >= 0;
}

void HostProcess::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

std::string HostProcess::readOutput() {
    if (output_ < 0) return {};
    char chunk[65536];
    ssize_t got;
    do {
        got = ::read(output_, chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        ::close(output_);
        output_ = -1;
        return {};
    }
    return std::string(chunk, static_cast<std::size_t>(got));
}

ExitStatus HostProcess::waitForExit(std::chrono::milliseconds limit) {
    if (reaped_) return exitStatus_;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int waitStatus = 0;
    bool killed = false;
    for (;;) {
        const pid_t ended = ::waitpid(pid_, &waitStatus, WNOHANG);
        if (ended == pid_ || (ended < 0 && errno != EINTR)) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            while (::waitpid(pid_, &waitStatus, 0) < 0 && errno == EINTR) {
            }
            killed = true;
            break;
        }
        std::this_thread::sleep_for(kExitPoll);
    }
    reaped_ = true;
    exitStatus_ = statusOf(waitStatus);
    exitStatus_.killed = killed;
    return exitStatus_;
}

}  // namespace console
