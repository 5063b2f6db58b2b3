#include "ChildProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace bench {
namespace {

void removeTree(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = path + "/" + name;
            struct stat info {};
            if (::lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                removeTree(child);
            else
                ::unlink(child.c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
}

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::vector<std::string> threadIds(pid_t pid) {
    std::vector<std::string> ids;
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') ids.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return ids;
}

// The number after `key` in a /proc status file; 0 when it is not there.
long statusField(const std::string& path, const std::string& key) {
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

std::string threadFile(pid_t pid, const std::string& thread, const char* name) {
    return "/proc/" + std::to_string(pid) + "/task/" + thread + "/" + name;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tavmo-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw systemError("mkdtemp " + pattern);
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() { removeTree(path_); }

ChildProcess::ChildProcess(const Launch& launch, std::chrono::seconds guard) : guard_(guard) {
    if (launch.command.empty()) throw std::invalid_argument("no command");
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::size_t equals = text.find('=');
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : launch.environment) environment[name] = value;
    std::vector<std::string> envTexts;
    for (const auto& [name, value] : environment) envTexts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& text : envTexts) envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = launch.command;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) throw systemError("pipe");
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        throw systemError("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    if (!launch.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, launch.folder.c_str());
    int failed = ::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    if (failed != 0) {
        closeInput();
        ::close(output_);
        errno = failed;
        throw systemError("cannot start " + launch.command[0]);
    }
    pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    ::signal(SIGPIPE, SIG_IGN);
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (!exited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (pidFd_ >= 0) ::close(pidFd_);
    if (output_ >= 0) ::close(output_);
}

void ChildProcess::send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t written = ::write(input_, bytes.data() + sent, bytes.size() - sent);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw systemError("writing to the program");
        sent += static_cast<std::size_t>(written);
    }
}

void ChildProcess::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

void ChildProcess::kill() {
    if (!exited_) ::kill(pid_, SIGKILL);
}

bool ChildProcess::fill() {
    pollfd fd{output_, POLLIN, 0};
    int ready = ::poll(&fd, 1, static_cast<int>(std::chrono::milliseconds(guard_).count()));
    if (ready == 0) throw std::runtime_error("no output within " + std::to_string(guard_.count()) + " s");
    if (ready < 0) return errno == EINTR;
    char chunk[65536];
    ssize_t got = ::read(output_, chunk, sizeof chunk);
    if (got <= 0) return false;
    reader_.append(chunk, static_cast<std::size_t>(got));
    return true;
}

std::string ChildProcess::readFrame() {
    for (;;) {
        if (auto body = reader_.next()) return *body;
        if (!fill()) throw std::runtime_error("the program's output ended");
    }
}

int ChildProcess::wait() {
    if (exited_) throw std::logic_error("waited twice");
    if (pidFd_ >= 0) {
        pollfd fd{pidFd_, POLLIN, 0};
        for (int ready; (ready = ::poll(&fd, 1, static_cast<int>(std::chrono::milliseconds(guard_).count()))) <= 0;) {
            if (ready == 0 || errno != EINTR)
                throw std::runtime_error("no exit within " + std::to_string(guard_.count()) + " s");
        }
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid_, &status, 0, &usage) < 0) {
        if (errno != EINTR) throw systemError("wait4");
    }
    exited_ = true;
    cpuTime_ = std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

long ChildProcess::peakResidentKiB() const {
    return statusField("/proc/" + std::to_string(pid_) + "/status", "VmHWM:");
}

std::chrono::nanoseconds ChildProcess::threadCpuTime() const {
    std::chrono::nanoseconds total{0};
    for (const std::string& thread : threadIds(pid_)) {
        std::ifstream file(threadFile(pid_, thread, "schedstat"));
        long long onCpu = 0;
        if (file >> onCpu) total += std::chrono::nanoseconds(onCpu);
    }
    return total;
}

long ChildProcess::voluntarySwitches() const {
    long total = 0;
    for (const std::string& thread : threadIds(pid_))
        total += statusField(threadFile(pid_, thread, "status"), "voluntary_ctxt_switches:");
    return total;
}

}  // namespace bench
