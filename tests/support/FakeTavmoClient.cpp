#include "FakeTavmoClient.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace fake {

Library& library() {
    static Library instance;
    return instance;
}

std::mutex& mutex() {
    static std::mutex instance;
    return instance;
}

void reset() {
    std::lock_guard<std::mutex> lock(mutex());
    library() = Library();
}

std::vector<std::string> logTexts(int level) {
    std::lock_guard<std::mutex> lock(mutex());
    std::vector<std::string> texts;
    for (const LogLine& line : library().logs)
        if (level == 0 || line.level == level) texts.push_back(line.text);
    return texts;
}

bool logged(const std::string& text, int level) {
    for (const std::string& line : logTexts(level))
        if (line == text) return true;
    return false;
}

namespace {

void recordCall(const char* name) {
    std::lock_guard<std::mutex> lock(mutex());
    library().calls.emplace_back(name);
}

std::vector<unsigned char> bytesOf(const void* record, uint32_t size) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    return record ? std::vector<unsigned char>(bytes, bytes + size) : std::vector<unsigned char>();
}

}  // namespace

}  // namespace fake

using fake::library;

extern "C" {

void TavmoClientConsoleLogConfigure(int32_t) { fake::recordCall("ConsoleLogConfigure"); }

TavmoClientBool TavmoClientInitialize(TavmoClientCallbackFn callback, uint32_t, const TavmoClientLogConfig*) {
    fake::recordCall("Initialize");
    library().callback = callback;
    return library().initializeResult;
}

void TavmoClientFeatureControlConstructDefault(TavmoClientFeatureControl* features) {
    fake::recordCall("FeatureControlConstructDefault");
    std::memset(features, 0, sizeof *features);
}

TavmoClientBool TavmoClientSetOptionalFeatures(const TavmoClientFeatureControl*) {
    fake::recordCall("SetOptionalFeatures");
    return 1;
}

TavmoClientBool TavmoClientStart(TavmoClientCallbackFn callback, uint32_t, const TavmoClientLogConfig* logConfig,
                                 void* window, const TavmoClientVideoRect* videoRect, uint32_t,
                                 const TavmoClientStartProfile* profile, uint32_t) {
    fake::recordCall("Start");
    fake::StartArguments& start = library().start;
    start = fake::StartArguments();
    start.callback = callback;
    start.window = window;
    if (videoRect) start.videoRect = *videoRect;
    if (logConfig && logConfig->levelsAndCategories) start.levelsAndCategories = logConfig->levelsAndCategories;
    if (profile) {
        for (const char* text : {profile->appPath, profile->registryPath, profile->appName, profile->appVersion,
                                 profile->appFolder, profile->makerFolder})
            start.profileTexts.emplace_back(text ? text : "(null)");
        start.profileReserved.assign(std::begin(profile->reserved), std::end(profile->reserved));
    }
    start.synchronizeDepth = library().synchronizeDepth;
    library().callback = callback;
    library().started = library().startResult != 0;
    return library().startResult;
}

TavmoClientBool TavmoClientIsStarted(void) {
    fake::recordCall("IsStarted");
    return library().started ? 1 : 0;
}

TavmoClientBool TavmoClientStop(void) {
    fake::recordCall("Stop");
    library().started = false;
    return library().stopResult;
}

void TavmoClientSynchronizeStart(void) {
    fake::recordCall("SynchronizeStart");
    std::lock_guard<std::mutex> lock(fake::mutex());
    ++library().synchronizeDepth;
}

void TavmoClientSynchronizeEnd(void) {
    fake::recordCall("SynchronizeEnd");
    std::lock_guard<std::mutex> lock(fake::mutex());
    --library().synchronizeDepth;
}

int32_t TavmoClientSendRequest(int32_t requestCode, void* record, uint32_t size) {
    fake::SentRecord sent;
    sent.code = requestCode;
    sent.record = fake::bytesOf(record, size);
    fake::RequestAnswer answer;
    if (requestCode == TAVMO_CLIENT_REQUEST_PRIVATE && record && size >= sizeof(TavmoClientPrivateRequest)) {
        auto* wrapper = static_cast<TavmoClientPrivateRequest*>(record);
        sent.privateCode = wrapper->privateCode;
        sent.sizeField = wrapper->sizeField;
        sent.inner = fake::bytesOf(wrapper->record, wrapper->sizeField);
        auto found = library().privateAnswers.find(wrapper->privateCode);
        if (found != library().privateAnswers.end() || library().anyPrivateAnswer) {
            int32_t result =
                found != library().privateAnswers.end()
                    ? found->second(wrapper->record, wrapper->sizeField)
                    : library().anyPrivateAnswer(wrapper->privateCode, wrapper->record, wrapper->sizeField);
            library().requests.push_back(std::move(sent));
            return result;
        }
    }
    library().requests.push_back(std::move(sent));
    auto found = library().requestAnswers.find(requestCode);
    if (found != library().requestAnswers.end()) return found->second(record, size);
    return library().anyRequestAnswer ? library().anyRequestAnswer(requestCode, record, size) : 0;
}

TavmoClientBool TavmoClientSendEvent(int32_t eventCode, void* record, uint32_t size) {
    fake::SentRecord sent;
    sent.code = eventCode;
    sent.record = fake::bytesOf(record, size);
    library().events.push_back(std::move(sent));
    auto found = library().eventAnswers.find(eventCode);
    if (found != library().eventAnswers.end()) return found->second(record, size);
    return library().anyEventAnswer ? library().anyEventAnswer(eventCode, record, size) : 1;
}

void TavmoClientGetVersion(char* buffer, uint32_t size) {
    if (size == 0) return;
    std::snprintf(buffer, size, "%s", library().version.c_str());
}

void TavmoClientLog(int32_t level, const char* sourceFile, int32_t, const char*, const char* text) {
    std::lock_guard<std::mutex> lock(fake::mutex());
    library().logs.push_back({level, sourceFile, text});
}

void TavmoClientLogFormatted(int32_t level, const char* sourceFile, int32_t, const char*, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(&text[0], text.size() + 1, format, arguments);
    va_end(arguments);
    std::lock_guard<std::mutex> lock(fake::mutex());
    library().logs.push_back({level, sourceFile, std::move(text)});
}

void TavmoClientUninitialize(void) { fake::recordCall("Uninitialize"); }

}  // extern "C"
