// Where the library may keep its logs and data: never in a folder that
// another user of the machine could write, where they would read the logs or
// put websites on the approved list.
#pragma once

#include <filesystem>

namespace standin {

// Whether `folder` may hold the library's files, made with its parents when
// missing. On POSIX only a folder of the user's own passes (see
// platform/posix/private/PrivateFolder.h); on Windows the folder is the
// user's by where it lies, and any folder passes.
bool usableFolder(const std::filesystem::path& folder);

}  // namespace standin
