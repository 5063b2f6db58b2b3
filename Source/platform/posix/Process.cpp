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
#include "platform/posix/private/PrivateFolder.h"

namespace platform {

namespace {

int instanceLockFd = -1;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The user's runtime folder: XDG_RUNTIME_DIR when it is the user's own, else
// a folder of the user's own under the state folder. Never the shared /tmp,
// where another user's file or link takes the place of ours.
std::string runtimeFolder() {
    std::string folder = environment("XDG_RUNTIME_DIR");
    if (!folder.empty()) {
        int fd = privatefolder::openOwnFolder(folder, false);
        if (fd >= 0) {
            ::close(fd);
            return withSlash(folder);
        }
    }
    std::string state = privatefolder::stateFolder();
    return state.empty() ? "" : withSlash(state) + "Tavmo/Runtime/";
}

// Opens `name` in `folder` as a file of the user's own, making the folder
// first if `create`; -1 with errno.
int openOwnFileIn(const std::string& folder, bool create, const char* name, int access) {
    if (folder.empty()) {
        errno = ENOENT;
        return -1;
    }
    int folderFd = privatefolder::openOwnFolder(folder, create);
    if (folderFd < 0) return -1;
    int fd = privatefolder::openOwnFile(folderFd, name, access);
    int error = errno;
    ::close(folderFd);
    errno = error;
    return fd;
}

const char* refusalText(int error) {
    switch (error) {
        case EPERM: return "it is not the user's own";
        case ELOOP: return "a link stands in its place";
        case ENXIO:
        case EISDIR: return "it is not a regular file";
        case ENOENT: return "there is no folder of the user's own for it";
        default: return "it cannot be opened";
    }
}

}  // namespace

InstanceLock acquireInstanceLock(const char* name) {
    InstanceLock lock;
    int fd = openOwnFileIn(runtimeFolder(), true, name, O_RDWR);
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
    return folder.empty() ? runtimeFolder() : withSlash(folder);
}

CaptureFile redirectStandardOutput(const char* name) {
    CaptureFile capture;
    // A TMPDIR that is missing is the user's mistake, not ours to make.
    bool chosenByUser = !environment("TMPDIR").empty();
    std::string folder = temporaryFolder();
    capture.path = folder + name;
    int fd = openOwnFileIn(folder, !chosenByUser, name, O_WRONLY);
    if (fd < 0) {
        capture.refusal = refusalText(errno);
        return capture;
    }
    std::fflush(stdout);
    bool redirected = ::ftruncate(fd, 0) == 0 && ::dup2(fd, 1) == 1;
    int error = errno;
    ::close(fd);
    if (!redirected) {
        capture.refusal = refusalText(error);
        return capture;
    }
    capture.stream = stdout;
    return capture;
}

std::string logDirectory() {
    std::string base = environment("LOCALAPPDATA");
    if (base.empty()) base = privatefolder::stateFolder();
    if (base.empty()) return "";
    std::string folder = withSlash(base) + "Tavmo/Data/User";
    return privatefolder::makeOwnFolder(folder) ? folder + "/" : "";
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
