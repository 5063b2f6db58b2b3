// The installation folder from the setup file, and starting the
// installation's tools on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "TavmoFacts.h"
#include "platform/Platform.h"

extern char** environ;

namespace platform {

namespace {

constexpr const char* kSetupFile = TAVMO_SETUP_PATH;
constexpr const char* kFolderKey = TAVMO_SETUP_ENTRY "=";

std::string configurationFolder() {
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && *configured) return std::string(configured) + "/";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/";
}

std::vector<std::string> splitAtBlanks(const std::string& text) {
    std::istringstream words(text);
    std::vector<std::string> split;
    for (std::string word; words >> word;) split.push_back(word);
    return split;
}

// The tool gets none of the host's descriptors (it must not hold the
// browser's pipes open), none of its blocked or ignored signals, and no
// signals meant for the host's process group.
struct SpawnSettings {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;

    SpawnSettings() {
        posix_spawn_file_actions_init(&actions);
        for (int fd = 0; fd <= 2; ++fd)
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#if defined(POSIX_SPAWN_SETSID)
        flags |= POSIX_SPAWN_SETSID;
#endif
        posix_spawnattr_setflags(&attributes, flags);
    }
    ~SpawnSettings() {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
};

}  // namespace

struct StartedProgram::State {
    std::mutex lock;
    std::condition_variable endedChanged;
    bool ended = false;
};

bool StartedProgram::hasEnded(std::chrono::milliseconds timeout) const {
    if (!state_) return true;
    std::unique_lock<std::mutex> lock(state_->lock);
    return state_->endedChanged.wait_for(lock, timeout, [this] { return state_->ended; });
}

namespace {

// The host never waits for the tool, but a child that is never waited for
// stays behind as a zombie for the host's whole life. The thread that reaps
// it also tells when it has ended.
StartedProgram reapWhenDone(pid_t child) {
    auto state = std::make_shared<StartedProgram::State>();
    std::thread([child, state] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard<std::mutex> lock(state->lock);
            state->ended = true;
        }
        state->endedChanged.notify_all();
    }).detach();
    return StartedProgram(state);
}

}  // namespace

InstallationFolder installationFolder() {
    InstallationFolder installation;
    std::ifstream setup(configurationFolder() + kSetupFile);
    if (!setup) {
        installation.systemError = errno ? errno : ENOENT;
        return installation;
    }
    installation.lookup = SetupLookup::NoFolder;
    installation.systemError = ENOENT;
    for (std::string line; std::getline(setup, line);) {
        if (line.compare(0, std::string(kFolderKey).size(), kFolderKey) != 0) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        installation.folder = line.substr(std::string(kFolderKey).size());
        installation.lookup = SetupLookup::Found;
        installation.systemError = 0;
        break;
    }
    return installation;
}

int startDetachedProcess(const std::string& program, const std::string& arguments, StartedProgram& started) {
    std::vector<std::string> words = splitAtBlanks(arguments);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnSettings settings;
    pid_t child = 0;
    int error = ::posix_spawn(&child, program.c_str(), &settings.actions, &settings.attributes, argv.data(), environ);
    if (error != 0) return error;
    started = reapWhenDone(child);
    return 0;
}

}  // namespace platform
