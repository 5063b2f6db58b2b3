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
// fill the disk. The first file is opened, and old ones removed, only when
// the first line is written.
//
// Lines go to the files through a writer thread of the logger's own, in
// batches, so that the caller does not wait for the disk: an error line
// (level 1) and every line queued before it are in the file when the call
// returns, any other line within kBatchDelay and a little more. The queue
// holds at most kQueuedBytes; a caller that finds it full waits for room.
// Console echo is written by the caller, as before.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
    static constexpr std::chrono::milliseconds kBatchDelay{50};
    static constexpr std::size_t kQueuedBytes = 256 * 1024;
    // A queue this full is written at once rather than after kBatchDelay.
    static constexpr std::size_t kBatchBytes = kQueuedBytes / 4;

    Logger() = default;
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;
    ~Logger();

    // Takes effect from the next line: lines logged before it go where they
    // were going. A changed directory or prefix closes the current file; the
    // same ones keep writing to it.
    void configure(const LogSettings& settings);
    void setLevels(const std::string& levels);
    void setConsoleEcho(bool enable) { consoleEcho_ = enable; }
    // Writes out every queued line, closes the file and ends the writer
    // thread; the next configure() starts again.
    void close();
    // Returns once every line logged before the call is in the file.
    void flush();

    // For the end of the process, where the writer thread may already be
    // gone: writes what is queued from the calling thread and from then on
    // writes every line at once. With `joinWriter` the writer thread is
    // ended and joined first (not where the loader lock is held, as in a
    // DLL's detach code).
    void finish(bool joinWriter);

    // Around fork(): the child gets a logger without a writer thread and
    // without the parent's queued lines, which the parent writes.
    void beforeFork();
    void afterForkInParent();
    void afterForkInChild();

    // Cheap check that lets callers skip formatting a line nobody will see.
    bool wants(int32_t level) const;
    // Whether the calling thread is the writer, which must not wait for itself.
    static bool onWriterThread();

    void write(int32_t level, const char* sourceFile, int32_t line, const char* text, size_t length);

private:
    // Lines appended to one text; `lineEnds` marks where each ends, so that
    // a file is changed only between lines.
    struct Lines {
        std::string text;
        std::vector<size_t> lineEnds;
        void clear() {
            text.clear();
            lineEnds.clear();
        }
    };

    void enqueue(const std::string& record, bool waitUntilWritten);
    // Caller holds queueMutex_. False when no thread can be started.
    bool startWriterLocked();
    // With `thenDirect`, callers write their lines from then on.
    void stopWriter(bool thenDirect);
    void runWriter();
    // Caller holds fileMutex_.
    void writeLines(const Lines& lines);
    bool openNextFile();
    void removeOldFiles();

    std::atomic<bool> consoleEcho_{false};
    std::atomic<bool> detailEnabled_{false};
    std::atomic<bool> hasDirectory_{false};
    // Set when the directory cannot be written, so a broken directory costs
    // one failed open rather than one per line. Cleared by configure().
    std::atomic<bool> fileFailed_{false};

    // The queue and the writer thread.
    std::mutex queueMutex_;
    std::condition_variable lineQueued_;
    std::condition_variable roomMade_;
    std::condition_variable batchWritten_;
    Lines queued_;
    uint64_t queuedCount_ = 0;
    uint64_t writtenCount_ = 0;
    bool urgent_ = false;
    bool stopping_ = false;
    // Set by finish(): lines are then written by their callers.
    bool direct_ = false;
    std::unique_ptr<std::thread> writer_;
    // Serialises starting and joining the writer between close() and finish().
    std::mutex writerLifecycle_;

    // The file, used by the writer thread or by a caller writing directly.
    std::mutex fileMutex_;
    LogSettings settings_;
    std::ofstream file_;
    uint64_t fileBytes_ = 0;
    uint32_t nextSequence_ = 1;
};

}  // namespace standin
