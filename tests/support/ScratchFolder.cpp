#include "ScratchFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

ScratchFolder::ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tavmo-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    const char* keep = std::getenv("TAVMO_KEEP_TEST_FOLDERS");
    if (keep && *keep) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
