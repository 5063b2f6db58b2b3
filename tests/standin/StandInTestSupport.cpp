#include "StandInTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace standin_test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto unique = std::to_string(random()) + "-" + std::to_string(counter++) + "-" +
                        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    path_ = fs::temp_directory_path() / ("standin-test-" + unique);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void setEnvironment(const char* name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

void clearEnvironment(const char* name) {
#if defined(_WIN32)
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file << text;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

bool hasShape(const std::string& text, const std::string& shape) {
    if (text.size() != shape.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (shape[i] == '9' ? !digit : text[i] != shape[i]) return false;
    }
    return true;
}

bool isLogLine(const std::string& line) {
    const std::string stamp = "9999-99-99 99:99:99.999Z ";
    if (line.size() < stamp.size() || !hasShape(line.substr(0, stamp.size()), stamp)) return false;
    size_t at = stamp.size();
    const size_t levelEnd = line.find(' ', at);
    if (levelEnd == std::string::npos || levelEnd == at) return false;
    for (size_t i = at; i < levelEnd; ++i) {
        if (!std::isupper(static_cast<unsigned char>(line[i]))) return false;
    }
    at = levelEnd + 1;
    const size_t sourceEnd = line.find(' ', at);
    if (sourceEnd == std::string::npos) return false;
    const size_t colon = line.rfind(':', sourceEnd);
    if (colon == std::string::npos || colon < at || colon + 1 == sourceEnd) return false;
    for (size_t i = colon + 1; i < sourceEnd; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) return false;
    }
    return true;
}

std::vector<fs::path> filesWithPrefix(const fs::path& directory, const std::string& prefix) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

EventRecorder& EventRecorder::instance() {
    static EventRecorder recorder;
    return recorder;
}

void TAVMO_CLIENT_CALL EventRecorder::callback(int32_t code, const void* block, uint32_t size, uint32_t userWord) {
    RecordedEvent event;
    event.code = code;
    event.nullBlock = block == nullptr;
    if (block)
        event.block.assign(static_cast<const unsigned char*>(block), static_cast<const unsigned char*>(block) + size);
    event.userWord = userWord;
    event.thread = std::this_thread::get_id();

    auto& self = instance();
    std::function<void(const RecordedEvent&)> hook;
    {
        std::lock_guard<std::mutex> guard(self.mutex_);
        self.events_.push_back(event);
        hook = self.hook_;
    }
    self.changed_.notify_all();
    if (hook) hook(event);
}

void EventRecorder::setHook(std::function<void(const RecordedEvent&)> hook) {
    std::lock_guard<std::mutex> guard(mutex_);
    hook_ = std::move(hook);
}

std::vector<RecordedEvent> EventRecorder::waitUntil(
    const std::function<bool(const std::vector<RecordedEvent>&)>& done) {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, [&] { return done(events_); });
    return events_;
}

std::vector<RecordedEvent> EventRecorder::waitForCount(size_t count) {
    return waitUntil([count](const std::vector<RecordedEvent>& events) { return events.size() >= count; });
}

std::vector<RecordedEvent> EventRecorder::waitForCode(int32_t code) {
    return waitUntil([code](const std::vector<RecordedEvent>& events) {
        return std::any_of(events.begin(), events.end(), [code](const RecordedEvent& e) { return e.code == code; });
    });
}

std::vector<RecordedEvent> EventRecorder::snapshot() {
    std::lock_guard<std::mutex> guard(mutex_);
    return events_;
}

void EventRecorder::reset() {
    std::lock_guard<std::mutex> guard(mutex_);
    events_.clear();
    hook_ = nullptr;
}

void StandInTest::TearDown() {
    TavmoClientUninitialize();
    TavmoClientConsoleLogConfigure(0);
    clearEnvironment("TAVMO_STANDIN_SCENARIO");
    clearEnvironment("TAVMO_STANDIN_DATA_DIR");
    recorder_.reset();
}

TavmoClientLogConfig StandInTest::logConfig() {
    logDirectoryText_ = logDirectory_.string();
    dataDirectoryText_ = dataDirectory_.string();
    TavmoClientLogConfig config{};
    config.levelsAndCategories = levels_.c_str();
    config.sizeValue = logSize_;
    config.logDirectory = logDirectoryText_.c_str();
    config.fileNamePrefix = prefix_.c_str();
    config.dataDirectory = dataDirectoryText_.c_str();
    return config;
}

TavmoClientBool StandInTest::initialize(const std::string& scenario) {
    if (!scenario.empty()) {
        const fs::path file = dir_.path() / "scenario.txt";
        writeFile(file, scenario);
        setEnvironment("TAVMO_STANDIN_SCENARIO", file.string());
    }
    const TavmoClientLogConfig config = logConfig();
    return TavmoClientInitialize(&EventRecorder::callback, kInitializeWord, &config);
}

TavmoClientBool StandInTest::start() {
    const TavmoClientLogConfig config = logConfig();
    return TavmoClientStart(&EventRecorder::callback, kStartWord, &config, nullptr, nullptr, 0, nullptr, 0);
}

std::string StandInTest::allLogText() const {
    std::string text;
    for (const auto& file : logFiles()) text += readFile(file);
    return text;
}

int32_t StandInTest::sendPrivate(uint32_t privateCode, void* inner, uint32_t size) {
    TavmoClientPrivateRequest wrapper{};
    wrapper.privateCode = privateCode;
    wrapper.record = inner;
    wrapper.sizeField = size;
    return TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_PRIVATE, &wrapper, sizeof wrapper);
}

int32_t StandInTest::queryDomain(const std::string& domain, unsigned char& approved) {
    unsigned char record[258] = {};
    domain.copy(reinterpret_cast<char*>(record), 256);
    record[257] = 0xEE;
    const int32_t result = sendPrivate(TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN, record, sizeof record);
    approved = record[257];
    return result;
}

bool StandInTest::domainApproved(const std::string& domain) {
    unsigned char approved = 0xEE;
    EXPECT_EQ(queryDomain(domain, approved), 0) << domain;
    EXPECT_TRUE(approved == 0 || approved == 1) << "answer byte " << int(approved);
    return approved == 1;
}

int32_t StandInTest::saveDomain(const std::string& domain) {
    unsigned char record[257] = {};
    domain.copy(reinterpret_cast<char*>(record), 256);
    return sendPrivate(TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN, record, sizeof record);
}

}  // namespace standin_test
