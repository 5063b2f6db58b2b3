#include "Subprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace {

std::vector<std::string> environmentOf(const Launch& launch) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : launch.environment) variables[name] = value;
    for (const std::string& name : launch.unsetEnvironment) variables.erase(name);
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

int millisecondsUntil(Subprocess::Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Subprocess::Clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

void closeDescriptor(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// The program gets the default action for a broken pipe, whatever this
// process chose for itself.
int spawn(pid_t& pid, const Launch& launch, const int (&childEnds)[3]) {
    std::vector<std::string> arguments = launch.command;
    std::vector<std::string> environment = environmentOf(launch);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int stream = 0; stream < 3; ++stream)
        if (childEnds[stream] >= 0) posix_spawn_file_actions_adddup2(&actions, childEnds[stream], stream);
    if (!launch.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, launch.folder.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const int failed = ::posix_spawnp(&pid, arguments[0].c_str(), &actions, &attributes, pointersTo(arguments).data(),
                                      pointersTo(environment).data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed;
}

}  // namespace

Subprocess::Subprocess(const Launch& launch) {
    if (launch.command.empty()) throw std::invalid_argument("no command");
    // A program that closed its input fails a write with EPIPE instead of
    // ending this process.
    ::signal(SIGPIPE, SIG_IGN);
    int childEnds[3] = {-1, -1, -1};
    int* ownEnds[3] = {&input_, &output_, &errorOutput_};
    int failed = 0;
    for (int stream = 0; stream < (launch.captureErrors ? 3 : 2); ++stream) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            failed = errno;
            break;
        }
        const bool isInput = stream == 0;
        childEnds[stream] = ends[isInput ? 0 : 1];
        *ownEnds[stream] = ends[isInput ? 1 : 0];
    }
    if (failed == 0) failed = spawn(pid_, launch, childEnds);
    for (int& end : childEnds) closeDescriptor(end);
    if (failed != 0) {
        for (int* end : ownEnds) closeDescriptor(*end);
        throw std::system_error(failed, std::generic_category(), "cannot start " + launch.command[0]);
    }
    // Without a pidfd (an older system) waitExit() looks every few milliseconds.
    pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
}

Subprocess::~Subprocess() {
    closeInput();
    if (!exitCode_) {
        kill();
        reap(0);
    }
    closeOutput();
    closeDescriptor(pidFd_);
}

bool Subprocess::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(input_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void Subprocess::closeInput() { closeDescriptor(input_); }

void Subprocess::closeOutput() {
    closeDescriptor(output_);
    closeDescriptor(errorOutput_);
}

Subprocess::Received Subprocess::receive(Clock::time_point deadline, std::string& output) {
    std::string* sinks[2] = {&output, &errors_};
    int* streams[2] = {&output_, &errorOutput_};
    while (output_ >= 0 || errorOutput_ >= 0) {
        pollfd watched[2] = {{output_, POLLIN, 0}, {errorOutput_, POLLIN, 0}};
        const int ready = ::poll(watched, 2, millisecondsUntil(deadline));
        if (ready == 0) return Received::TimedOut;
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) throw std::system_error(errno, std::generic_category(), "poll");
        bool arrived = false;
        for (int stream = 0; stream < 2; ++stream) {
            if (watched[stream].revents == 0) continue;
            char chunk[65536];
            const ssize_t got = ::read(*streams[stream], chunk, sizeof chunk);
            if (got > 0) {
                sinks[stream]->append(chunk, static_cast<std::size_t>(got));
                arrived = true;
            } else if (got == 0 || errno != EINTR) {
                closeDescriptor(*streams[stream]);
            }
        }
        if (arrived) return Received::Bytes;
    }
    return Received::Ended;
}

void Subprocess::kill() {
    if (exitCode_) return;
    ::kill(pid_, SIGKILL);
    killSent_ = true;
}

std::optional<int> Subprocess::waitExit(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!reap(WNOHANG)) {
        const int left = millisecondsUntil(deadline);
        if (left == 0) {
            kill();
            reap(0);
            return std::nullopt;
        }
        pollfd exited{pidFd_, POLLIN, 0};
        ::poll(&exited, pidFd_ >= 0 ? 1 : 0, pidFd_ >= 0 ? left : std::min(left, 5));
    }
    return exitCode_;
}

bool Subprocess::reap(int options) {
    if (exitCode_) return true;
    int status = 0;
    rusage usage{};
    pid_t reaped;
    while ((reaped = ::wait4(pid_, &status, options, &usage)) < 0 && errno == EINTR) {
    }
    if (reaped != pid_) return false;
    endingSignal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    exitCode_ = endingSignal_ != 0 ? 128 + endingSignal_ : WEXITSTATUS(status);
    cpuTime_ = std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return true;
}
