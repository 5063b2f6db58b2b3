#include "Logger.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <new>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <pthread.h>
#include <signal.h>
#endif

#include "OwnFolder.h"
#include "TavmoClient.h"

namespace standin {
namespace {

thread_local bool isWriterThread = false;

std::tm utcTime(std::time_t seconds) {
    std::tm out{};
#if defined(_WIN32)
    gmtime_s(&out, &seconds);
#else
    gmtime_r(&seconds, &out);
#endif
    return out;
}

const char* levelName(int32_t level) {
    switch (level) {
        case 1: return "ERROR";
        case 2: return "WARNING";
        case 3: return "INFO";
        default: return level >= 4 ? "DETAIL" : "LEVEL?";
    }
}

// Appends the UTC time as "yyyy-mm-dd hh:mm:ss.mmmZ". All but the
// milliseconds change once a second, so each thread formats them once a
// second rather than for every line.
void appendLineTimestamp(std::string& record) {
    const auto millisSinceEpoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    const auto seconds = static_cast<std::time_t>(millisSinceEpoch / 1000);
    thread_local std::time_t formattedSecond = -1;
    thread_local char formatted[32];
    thread_local size_t formattedLength = 0;
    if (seconds != formattedSecond) {
        const std::tm t = utcTime(seconds);
        formattedLength = std::strftime(formatted, sizeof formatted, "%Y-%m-%d %H:%M:%S", &t);
        formattedSecond = seconds;
    }
    const auto millis = static_cast<int>(millisSinceEpoch % 1000);
    const char fraction[] = {'.', static_cast<char>('0' + millis / 100), static_cast<char>('0' + millis / 10 % 10),
                             static_cast<char>('0' + millis % 10), 'Z'};
    record.append(formatted, formattedLength);
    record.append(fraction, sizeof fraction);
}

std::string fileTimestamp() {
    const std::tm t = utcTime(std::time(nullptr));
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &t));
}

// Whether `name` is <prefix><yyyymmdd-hhmmss>-<sequence>.log.
bool isLogFileName(const std::string& name, const std::string& prefix) {
    static const std::string kShape = "99999999-999999-999999.log";
    if (name.size() != prefix.size() + kShape.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const char c = name[prefix.size() + i];
        if (kShape[i] == '9' ? !std::isdigit(static_cast<unsigned char>(c)) : c != kShape[i]) return false;
    }
    return true;
}

}  // namespace

bool levelsEnableDetail(const std::string& levels) {
    std::string word;
    auto enabling = [&word] { return word == "debug" || word == "detail" || word == "all"; };
    for (const char c : levels) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (enabling()) return true;
        word.clear();
    }
    return enabling();
}

Logger::~Logger() { close(); }

void Logger::configure(const LogSettings& settings) {
    flush();
    // Nothing that can throw while a lock is held (see onWriterThread()).
    LogSettings copy = settings;
    const bool detail = levelsEnableDetail(copy.levels);
    std::lock_guard<std::mutex> file(fileMutex_);
    if (copy.directory != settings_.directory || copy.fileNamePrefix != settings_.fileNamePrefix) {
        file_.close();
        fileBytes_ = 0;
    }
    detailEnabled_ = detail;
    settings_ = std::move(copy);
    fileFailed_ = false;
    std::lock_guard<std::mutex> queue(queueMutex_);
    hasDirectory_ = !settings_.directory.empty();
}

void Logger::setLevels(const std::string& levels) {
    std::string copy = levels;
    const bool detail = levelsEnableDetail(copy);
    std::lock_guard<std::mutex> file(fileMutex_);
    detailEnabled_ = detail;
    settings_.levels = std::move(copy);
}

void Logger::close() {
    {
        std::lock_guard<std::mutex> file(fileMutex_);
        std::lock_guard<std::mutex> queue(queueMutex_);
        hasDirectory_ = false;
        detailEnabled_ = false;
    }
    // No line is queued from here on; the writer writes out the rest first.
    stopWriter(false);
    std::lock_guard<std::mutex> file(fileMutex_);
    file_.close();
    fileBytes_ = 0;
    settings_ = LogSettings();
}

void Logger::flush() {
    std::unique_lock<std::mutex> queue(queueMutex_);
    const uint64_t target = queuedCount_;
    if (writtenCount_ >= target) return;
    urgent_ = true;
    lineQueued_.notify_one();
    batchWritten_.wait(queue, [&] { return writtenCount_ >= target; });
}

void Logger::finish(bool joinWriter) {
    if (joinWriter) stopWriter(true);
    Lines rest;
    {
        // Without the join, a lock that cannot be had now is held by a thread
        // that the process ended: its lines are lost, and waiting would hang.
        std::unique_lock<std::mutex> queue(queueMutex_, std::defer_lock);
        if (joinWriter) {
            queue.lock();
        } else if (!queue.try_lock()) {
            return;
        }
        direct_ = true;
        std::swap(rest, queued_);
    }
    std::unique_lock<std::mutex> file(fileMutex_, std::defer_lock);
    if (joinWriter) {
        file.lock();
    } else if (!file.try_lock()) {
        return;
    }
    writeLines(rest);
    std::lock_guard<std::mutex> queue(queueMutex_);
    writtenCount_ = queuedCount_;
    batchWritten_.notify_all();
    roomMade_.notify_all();
}

void Logger::beforeFork() {
    fileMutex_.lock();
    queueMutex_.lock();
}

void Logger::afterForkInParent() {
    queueMutex_.unlock();
    fileMutex_.unlock();
}

void Logger::afterForkInChild() {
    // The writer thread is not in the child, and no thread waits on the
    // condition variables there; the child writes its lines itself.
    static_cast<void>(writer_.release());
    queued_.clear();
    writtenCount_ = queuedCount_;
    urgent_ = false;
    stopping_ = false;
    direct_ = true;
    queueMutex_.unlock();
    fileMutex_.unlock();
}

bool Logger::wants(int32_t level) const {
    if (level >= 4 && !detailEnabled_) return false;
    return consoleEcho_ || hasDirectory_;
}

void Logger::write(int32_t level, const char* sourceFile, int32_t line, const char* text, size_t length) {
    if (!wants(level)) return;

    if (!sourceFile) sourceFile = "?";
    std::string record;
    // The timestamp, the level, the line number and the separators take less.
    record.reserve(64 + std::strlen(sourceFile) + length);
    appendLineTimestamp(record);
    record += ' ';
    record += levelName(level);
    record += ' ';
    record += sourceFile;
    record += ':';
    record += std::to_string(line);
    record += ' ';
    record.append(text, length);
    record += '\n';

    // One call, so that lines of several threads do not interleave on stderr.
    if (consoleEcho_) std::cerr.write(record.data(), static_cast<std::streamsize>(record.size())).flush();
    if (hasDirectory_ && !fileFailed_) enqueue(record, level == TAVMO_CLIENT_LOG_ERROR);
}

void Logger::enqueue(const std::string& record, bool waitUntilWritten) {
    std::unique_lock<std::mutex> queue(queueMutex_);
    // Checked again under the lock: close() stops lines before it ends the writer.
    if (!hasDirectory_) return;
    while (!direct_ && !queued_.text.empty() && queued_.text.size() + record.size() > kQueuedBytes) {
        lineQueued_.notify_one();
        roomMade_.wait(queue);
        // close() may have ended the writer meanwhile.
        if (!hasDirectory_) return;
    }
    if (!direct_ && !writer_) direct_ = !startWriterLocked();
    if (direct_) {
        queue.unlock();
        Lines one;
        one.text = record;
        one.lineEnds.push_back(record.size());
        std::lock_guard<std::mutex> file(fileMutex_);
        writeLines(one);
        return;
    }

    const bool wasEmpty = queued_.lineEnds.empty();
    const bool wasBelowBatch = queued_.text.size() < kBatchBytes;
    try {
        queued_.text += record;
        queued_.lineEnds.push_back(queued_.text.size());
    } catch (const std::bad_alloc&) {
        // No room for the line: it is dropped, and the text keeps whole lines.
        queued_.text.resize(queued_.lineEnds.empty() ? 0 : queued_.lineEnds.back());
        return;
    }
    const uint64_t mine = ++queuedCount_;
    if (waitUntilWritten) {
        urgent_ = true;
        lineQueued_.notify_one();
        batchWritten_.wait(queue, [&] { return writtenCount_ >= mine; });
        return;
    }
    if (wasEmpty || (wasBelowBatch && queued_.text.size() >= kBatchBytes)) lineQueued_.notify_one();
}

bool Logger::startWriterLocked() {
#if !defined(_WIN32)
    // The writer takes none of the host's signals: it inherits a full mask.
    sigset_t all;
    sigset_t callers;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &callers);
#endif
    bool started = true;
    try {
        writer_ = std::make_unique<std::thread>([this] { runWriter(); });
    } catch (const std::exception&) {
        // No thread to be had: the callers write their lines themselves.
        started = false;
    }
#if !defined(_WIN32)
    pthread_sigmask(SIG_SETMASK, &callers, nullptr);
#endif
    return started;
}

void Logger::stopWriter(bool thenDirect) {
    std::lock_guard<std::mutex> lifecycle(writerLifecycle_);
    std::thread* writer = nullptr;
    {
        std::lock_guard<std::mutex> queue(queueMutex_);
        if (!writer_) {
            direct_ = direct_ || thenDirect;
            return;
        }
        writer = writer_.get();
        stopping_ = true;
        lineQueued_.notify_one();
    }
    writer->join();
    std::lock_guard<std::mutex> queue(queueMutex_);
    writer_.reset();
    stopping_ = false;
    // No new writer for a line that came meanwhile: finish() writes it.
    direct_ = direct_ || thenDirect;
}

bool Logger::onWriterThread() { return isWriterThread; }

void Logger::runWriter() {
    isWriterThread = true;
    Lines batch;
    std::unique_lock<std::mutex> queue(queueMutex_);
    for (;;) {
        lineQueued_.wait(queue, [&] { return stopping_ || !queued_.lineEnds.empty(); });
        if (queued_.lineEnds.empty()) return;
        // Lets a batch gather, unless a caller waits for it.
        lineQueued_.wait_for(queue, kBatchDelay,
                             [&] { return urgent_ || stopping_ || queued_.text.size() >= kBatchBytes; });
        std::swap(batch, queued_);
        urgent_ = false;
        const uint64_t upTo = queuedCount_;
        roomMade_.notify_all();
        queue.unlock();
        {
            std::lock_guard<std::mutex> file(fileMutex_);
            writeLines(batch);
        }
        // Keeps the buffers' room for the next batch.
        batch.clear();
        queue.lock();
        writtenCount_ = upTo;
        batchWritten_.notify_all();
    }
}

void Logger::writeLines(const Lines& lines) {
    if (settings_.directory.empty() || fileFailed_) return;
    const size_t limit = settings_.fileSizeLimit;
    size_t begin = 0;
    size_t next = 0;
    while (next < lines.lineEnds.size()) {
        if (!file_.is_open() && !openNextFile()) return;
        // The lines up to the one that fills the file go in one write.
        size_t end = lines.lineEnds[next++];
        while (next < lines.lineEnds.size() && (limit == 0 || fileBytes_ + (end - begin) < limit))
            end = lines.lineEnds[next++];
        file_.write(lines.text.data() + begin, static_cast<std::streamsize>(end - begin));
        fileBytes_ += end - begin;
        begin = end;
        if (limit != 0 && fileBytes_ >= limit) {
            file_.flush();
            if (!file_) break;
            file_.close();
            fileBytes_ = 0;
        }
    }
    if (file_.is_open()) file_.flush();
    if (!file_) {
        file_.close();
        fileFailed_ = true;
    }
}

bool Logger::openNextFile() {
    if (!usableFolder(settings_.directory)) {
        fileFailed_ = true;
        return false;
    }
    std::error_code error;

    const std::string stamp = fileTimestamp();
    std::filesystem::path path;
    do {
        char sequence[16];
        std::snprintf(sequence, sizeof sequence, "-%06u", static_cast<unsigned>(nextSequence_++));
        path = settings_.directory / std::filesystem::u8path(settings_.fileNamePrefix + stamp + sequence + ".log");
    } while (std::filesystem::exists(path, error));

    file_.clear();
    file_.open(path, std::ios::binary | std::ios::out);
    fileBytes_ = 0;
    fileFailed_ = !file_.is_open();
    if (!fileFailed_) removeOldFiles();
    return !fileFailed_;
}

void Logger::removeOldFiles() {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator entry(settings_.directory, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isLogFileName(entry->path().filename().u8string(), settings_.fileNamePrefix))
            files.push_back(entry->path());
    }
    if (files.size() <= kKeptLogFiles) return;
    // The names sort by age.
    std::sort(files.begin(), files.end());
    for (size_t i = 0; i + kKeptLogFiles < files.size(); ++i) std::filesystem::remove(files[i], error);
}

}  // namespace standin
