#include "LogConfig.h"

#include <mutex>
#include <string>

#include "HostState.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLevelsAndCategories =
    "FATAL ERROR WARNING INFO@AppGuiUser INFO@AppGui INFO@App INFO@KepApp INFO@KepUi INFO@AppEmcpClient "
    "INFO@AppWebProxy";
constexpr uint32_t kLogFileSize = 0x500000;
constexpr const char* kFileNamePrefix = "TavmoClientForWeb_";

}  // namespace

TavmoClientLogConfig makeLogConfig() {
    std::lock_guard<std::mutex> lock(libraryLogDirectoryLock);
    std::string current = platform::logDirectory();
    if (current != libraryLogDirectory) libraryLogDirectory = current;
    TavmoClientLogConfig config{};
    config.levelsAndCategories = kLevelsAndCategories;
    config.sizeValue = kLogFileSize;
    config.logDirectory = libraryLogDirectory.c_str();
    config.fileNamePrefix = kFileNamePrefix;
    config.dataDirectory = libraryLogDirectory.c_str();
    return config;
}

const char* logDirectoryText() {
    std::lock_guard<std::mutex> lock(libraryLogDirectoryLock);
    return libraryLogDirectory.c_str();
}
