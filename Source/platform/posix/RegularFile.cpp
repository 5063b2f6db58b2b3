// Opening a file the page names, on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Platform.h"

namespace platform {

FILE* openRegularFile(const std::string& path, int64_t& size) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer; with it, a
    // regular file reads as it would without.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    size = static_cast<int64_t>(status.st_size);
    return file;
}

}  // namespace platform
