// Included by platform/Platform.h, from the folder the build chose.
#pragma once

namespace platform {
// The separator between the folders of a path.
inline constexpr char kPathSeparator = '\\';
}  // namespace platform
