// The library's log: files in the host's log directory, optionally echoed to
// stderr.
//
// Detail lines (level 4 and above) are kept only when the levels text holds
// one of the words "debug", "detail" or "all" (any case; a word is a run of
// letters, so "warning debug@App" enables them and "debugging" does not).
// Levels 1 to 3 are always kept.
//
// Files are named <prefix><UTC yyyymmdd-hhmmss>-<six-digit sequence>.log, so
// that sorting the names sorts the files by age. Once a file holds at least
// the configured number of bytes the next line starts a new file; a size of
// 0 never starts a new one. A line is never split across files. Of the files
// so named with the prefix, only the newest kKeptLogFiles stay: starting one
// more removes the oldest, so that a host made to log without end cannot
// fill the disk.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace standin {

inline constexpr std::size_t kKeptLogFiles = 10;

struct LogSettings {
    std::string levels;
    uint32_t fileSizeLimit = 0;
    std::filesystem::path directory;
    std::string fileNamePrefix;
};

bool levelsEnableDetail(const std::string& levels);

class Logger {
public:
    // Takes effect from the next line. A changed directory or prefix closes
    // the current file; the same ones keep writing to it.
    void configure(const LogSettings& settings);
    void setLevels(const std::string& levels);
    void setConsoleEcho(bool enable) { consoleEcho_ = enable; }
    void close();

    // Cheap check that lets callers skip formatting a line nobody will see.
    bool wants(int32_t level) const;

    void write(int32_t level, const char* sourceFile, int32_t line, const char* text, size_t length);

private:
    bool openNextFile();
    void removeOldFiles();

    std::atomic<bool> consoleEcho_{false};
    std::atomic<bool> detailEnabled_{false};
    std::atomic<bool> hasDirectory_{false};

    std::mutex mutex_;
    LogSettings settings_;
    std::ofstream file_;
    uint64_t fileBytes_ = 0;
    // Set when the directory cannot be written, so a broken directory costs
    // one failed open rather than one per line. Cleared by configure().
    bool fileFailed_ = false;
    uint32_t nextSequence_ = 1;
};

}  // namespace standin
