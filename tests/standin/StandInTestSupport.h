// Shared pieces of the stand-in's tests: a scratch directory, the scenario
// and data-directory variables, and a callback that records every event.
//
// Waits here have no time limit: a fault that loses an event hangs the test,
// and ctest's per-test timeout turns the hang into a failure.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TavmoClient.h"

namespace standin_test {

namespace fs = std::filesystem;

constexpr uint32_t kInitializeWord = 0x1234;
constexpr uint32_t kStartWord = 0x5678;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void setEnvironment(const char* name, const std::string& value);
void clearEnvironment(const char* name);

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);
std::vector<std::string> splitLines(const std::string& text);
// True when `text` has the length of `shape` and matches it character by
// character, a '9' in the shape standing for any digit.
bool hasShape(const std::string& text, const std::string& shape);
// A log line: "yyyy-mm-dd hh:mm:ss.mmmZ LEVEL source:line message".
bool isLogLine(const std::string& line);
// Files in `directory` whose names start with `prefix`, sorted by name.
std::vector<fs::path> filesWithPrefix(const fs::path& directory, const std::string& prefix);

struct RecordedEvent {
    int32_t code = 0;
    std::vector<unsigned char> block;
    bool nullBlock = false;
    uint32_t userWord = 0;
    std::thread::id thread;
};

class EventRecorder {
public:
    static EventRecorder& instance();
    static void TAVMO_CLIENT_CALL callback(int32_t code, const void* block, uint32_t size, uint32_t userWord);

    // Runs on the calling library thread after the event is recorded, with
    // no lock of the recorder held. Set it before initializing.
    void setHook(std::function<void(const RecordedEvent&)> hook);
    std::vector<RecordedEvent> waitUntil(const std::function<bool(const std::vector<RecordedEvent>&)>& done);
    std::vector<RecordedEvent> waitForCount(size_t count);
    std::vector<RecordedEvent> waitForCode(int32_t code);
    std::vector<RecordedEvent> snapshot();
    void reset();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RecordedEvent> events_;
    std::function<void(const RecordedEvent&)> hook_;
};

class StandInTest : public ::testing::Test {
protected:
    void TearDown() override;

    const fs::path& logDirectory() const { return logDirectory_; }
    const fs::path& dataDirectory() const { return dataDirectory_; }
    // Writes the scenario file (none when empty) and initializes the library
    // with this fixture's log configuration and the recording callback.
    TavmoClientBool initialize(const std::string& scenario = "");
    TavmoClientBool start();
    // Points into this fixture, which must outlive the call it is passed to.
    TavmoClientLogConfig logConfig();
    std::vector<fs::path> logFiles() const { return filesWithPrefix(logDirectory(), prefix_); }
    std::string allLogText() const;

    int32_t sendPrivate(uint32_t privateCode, void* inner, uint32_t size);
    // Returns the request's result; `approved` gets the answer byte.
    int32_t queryDomain(const std::string& domain, unsigned char& approved);
    bool domainApproved(const std::string& domain);
    int32_t saveDomain(const std::string& domain);

    TempDir dir_;
    fs::path logDirectory_ = dir_.path() / "logs";
    fs::path dataDirectory_ = dir_.path() / "data";
    std::string levels_ = "INFO";
    uint32_t logSize_ = 0;
    std::string prefix_ = "StandInTest_";
    EventRecorder& recorder_ = EventRecorder::instance();

private:
    std::string logDirectoryText_;
    std::string dataDirectoryText_;
};

}  // namespace standin_test
