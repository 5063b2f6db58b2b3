#include "LogConfig.h"

#include <mutex>
#include <string>

#include "platform/Platform.h"

namespace {

constexpr const char* kLevelsAndCategories =
    "FATAL ERROR WARNING INFO@AppGuiUser INFO@AppGui INFO@App INFO@KepApp INFO@KepUi INFO@AppEmcpClient "
    "INFO@AppWebProxy";
constexpr uint32_t kLogFileSize = 0x500000;
constexpr const char* kFileNamePrefix = "TavmoClientForWeb_";

std::mutex directoryLock;
std::string directory;

}  // namespace

TavmoClientLogConfig makeLogConfig() {
    std::lock_guard<std::mutex> lock(directoryLock);
    std::string current = platform::logDirectory();
    if (current != directory) directory = current;
    TavmoClientLogConfig config{};
    config.levelsAndCategories = kLevelsAndCategories;
    config.sizeValue = kLogFileSize;
    config.logDirectory = directory.c_str();
    config.fileNamePrefix = kFileNamePrefix;
    config.dataDirectory = directory.c_str();
    return config;
}

const char* logDirectoryText() {
    std::lock_guard<std::mutex> lock(directoryLock);
    return directory.c_str();
}
