// Process-level services on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace platform {

namespace {

int instanceLockFd = -1;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Creates `path` and its missing parents; existing folders are fine.
void createFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The user's own state folder. Not the shared /tmp: the library keeps its
// data beside the logs, approved websites among them, and a folder another
// user created there first would let them read the logs or approve websites.
std::string userStateFolder() {
    std::string folder = environment("XDG_STATE_HOME");
    if (!folder.empty()) return folder;
    std::string home = environment("HOME");
    return home.empty() ? "" : withSlash(home) + ".local/state";
}

}  // namespace

InstanceLock acquireInstanceLock(const char* name) {
    std::string folder = environment("XDG_RUNTIME_DIR");
    if (folder.empty()) folder = temporaryFolder();
    std::string path = withSlash(folder) + name;
    InstanceLock lock;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        lock.systemError = errno;
        return lock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        lock.systemError = errno;
        lock.state = (errno == EWOULDBLOCK) ? InstanceLockState::HeldElsewhere : InstanceLockState::Failed;
        ::close(fd);
        return lock;
    }
    instanceLockFd = fd;
    lock.state = InstanceLockState::Owned;
    lock.handle = static_cast<uintptr_t>(fd);
    return lock;
}

void releaseInstanceLock() {
    if (instanceLockFd < 0) return;
    ::flock(instanceLockFd, LOCK_UN);
    ::close(instanceLockFd);
    instanceLockFd = -1;
}

int processId() { return static_cast<int>(::getpid()); }

// The kernel's thread id; pthread_self() is an address that nothing else shows.
int threadId() { return static_cast<int>(::gettid()); }

int duplicateStandardOutput() { return ::fcntl(1, F_DUPFD_CLOEXEC, 0); }

void setBinaryMode(int) {}

void ignoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

FILE* openStream(int fd, const char* mode) { return ::fdopen(fd, mode); }

std::string temporaryFolder() {
    std::string folder = environment("TMPDIR");
    return withSlash(folder.empty() ? "/tmp" : folder);
}

std::string logDirectory() {
    std::string base = environment("LOCALAPPDATA");
    if (base.empty()) base = userStateFolder();
    if (base.empty()) base = temporaryFolder();
    std::string folder = withSlash(base) + "Tavmo/Data/User";
    createFolders(folder);
    return folder + "/";
}

void terminateThread(std::thread::native_handle_type) {
    // A POSIX thread cannot be ended safely from outside; it is left running
    // and the process exits without waiting for it.
}

void exitNow(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace platform
