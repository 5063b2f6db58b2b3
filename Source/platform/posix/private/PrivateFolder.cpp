#include "PrivateFolder.h"

#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <vector>

namespace privatefolder {

namespace {

constexpr int kMaxLinks = 40;

std::deque<std::string> components(const std::string& path) {
    std::deque<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(start, slash - start);
        if (!part.empty() && part != ".") parts.push_back(part);
        start = slash + 1;
    }
    return parts;
}

// No one but its owner can change what a folder holds, or, with the sticky
// bit, remove or rename what others put there.
bool safeOnTheWay(const struct stat& info, uid_t self) {
    bool trustedOwner = info.st_uid == self || info.st_uid == 0;
    bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return trustedOwner && (!othersWrite || (info.st_mode & S_ISVTX));
}

bool ownAndPrivate(const struct stat& info, uid_t self) {
    return info.st_uid == self && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

struct Step {
    int fd;
    struct stat info;
};

// The folders from the root to where the walk has come; ".." goes back one.
class Walk {
public:
    ~Walk() {
        for (Step& step : steps_) ::close(step.fd);
    }
    bool restart() {
        for (Step& step : steps_) ::close(step.fd);
        steps_.clear();
        return push(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    bool push(int fd) {
        if (fd < 0) return false;
        Step step{fd, {}};
        if (::fstat(fd, &step.info) != 0) {
            int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        steps_.push_back(step);
        return true;
    }
    void up() {
        if (steps_.size() < 2) return;
        ::close(steps_.back().fd);
        steps_.pop_back();
    }
    const Step& here() const { return steps_.back(); }
    // Hands the last folder's descriptor to the caller.
    int take() {
        int fd = steps_.back().fd;
        steps_.pop_back();
        return fd;
    }

private:
    std::vector<Step> steps_;
};

int refuse(int error) {
    errno = error;
    return -1;
}

}  // namespace

int openOwnFolder(const std::string& path, bool create) {
    if (path.empty() || path[0] != '/') return refuse(EINVAL);
    const uid_t self = ::geteuid();
    std::deque<std::string> rest = components(path);
    Walk walk;
    if (!walk.restart()) return -1;
    int links = 0;
    while (!rest.empty()) {
        const std::string name = rest.front();
        rest.pop_front();
        if (name == "..") {
            walk.up();
            continue;
        }
        const Step& folder = walk.here();
        if (!safeOnTheWay(folder.info, self)) return refuse(EPERM);
        int fd = ::openat(folder.fd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT && create) {
            if (::mkdirat(folder.fd, name.c_str(), 0700) != 0 && errno != EEXIST) return -1;
            fd = ::openat(folder.fd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        }
        if (!walk.push(fd)) return -1;
        const struct stat found = walk.here().info;
        if (S_ISDIR(found.st_mode)) continue;
        if (!S_ISLNK(found.st_mode)) return refuse(ENOTDIR);
        if (rest.empty() || ++links > kMaxLinks) return refuse(ELOOP);
        if (found.st_uid != self && found.st_uid != 0) return refuse(EPERM);
        char target[PATH_MAX];
        ssize_t length = ::readlinkat(walk.here().fd, "", target, sizeof target);
        walk.up();
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return refuse(ELOOP);
        std::deque<std::string> linked = components(std::string(target, static_cast<std::size_t>(length)));
        rest.insert(rest.begin(), linked.begin(), linked.end());
        if (target[0] == '/' && !walk.restart()) return -1;
    }
    if (!ownAndPrivate(walk.here().info, self)) return refuse(EPERM);
    return walk.take();
}

bool makeOwnFolder(const std::string& path) {
    int fd = openOwnFolder(path, true);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

int openOwnFile(int folder, const char* name, int access) {
    int fd = ::openat(folder, name, access | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return refuse(EPERM);
    }
    // A file left from a time when it was made readable by others.
    if ((info.st_mode & 077) != 0) ::fchmod(fd, info.st_mode & 0700);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return "";
    return found->pw_dir;
}

std::string stateFolder() {
    // A relative folder is no folder at all to the XDG rules; it is ignored.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return state;
    std::string home = homeFolder();
    return home.empty() ? "" : home + "/.local/state";
}

}  // namespace privatefolder
