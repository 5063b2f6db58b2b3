#include "OwnFolder.h"

#if defined(_WIN32)

#include <system_error>

namespace standin {

bool usableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return true;
}

}  // namespace standin

#else

#include "platform/posix/private/PrivateFolder.h"

namespace standin {

bool usableFolder(const std::filesystem::path& folder) { return privatefolder::makeOwnFolder(folder.string()); }

}  // namespace standin

#endif
