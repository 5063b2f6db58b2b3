#include "Logger.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <system_error>
#include <vector>

#include "OwnFolder.h"

namespace standin {
namespace {

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

std::string lineTimestamp() {
    const auto now = std::chrono::system_clock::now();
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm t = utcTime(std::chrono::system_clock::to_time_t(now));
    char text[32];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &t);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03dZ", static_cast<int>(millis));
    return std::string(text, length) + fraction;
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

void Logger::configure(const LogSettings& settings) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (settings.directory != settings_.directory || settings.fileNamePrefix != settings_.fileNamePrefix) {
        file_.close();
        fileBytes_ = 0;
    }
    settings_ = settings;
    fileFailed_ = false;
    detailEnabled_ = levelsEnableDetail(settings.levels);
    hasDirectory_ = !settings.directory.empty();
}

void Logger::setLevels(const std::string& levels) {
    std::lock_guard<std::mutex> guard(mutex_);
    settings_.levels = levels;
    detailEnabled_ = levelsEnableDetail(levels);
}

void Logger::close() {
    std::lock_guard<std::mutex> guard(mutex_);
    file_.close();
    fileBytes_ = 0;
    settings_ = LogSettings();
    hasDirectory_ = false;
    detailEnabled_ = false;
}

bool Logger::wants(int32_t level) const {
    if (level >= 4 && !detailEnabled_) return false;
    return consoleEcho_ || hasDirectory_;
}

void Logger::write(int32_t level, const char* sourceFile, int32_t line, const char* text, size_t length) {
    if (!wants(level)) return;

    std::string record = lineTimestamp();
    record += ' ';
    record += levelName(level);
    record += ' ';
    record += sourceFile ? sourceFile : "?";
    record += ':';
    record += std::to_string(line);
    record += ' ';
    record.append(text, length);
    record += '\n';

    std::lock_guard<std::mutex> guard(mutex_);
    if (consoleEcho_) std::cerr.write(record.data(), static_cast<std::streamsize>(record.size())).flush();
    if (settings_.directory.empty() || fileFailed_) return;
    if (!file_.is_open() && !openNextFile()) return;

    file_.write(record.data(), static_cast<std::streamsize>(record.size()));
    file_.flush();
    if (!file_) {
        file_.close();
        fileFailed_ = true;
        return;
    }
    fileBytes_ += record.size();
    if (settings_.fileSizeLimit != 0 && fileBytes_ >= settings_.fileSizeLimit) {
        file_.close();
        fileBytes_ = 0;
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
