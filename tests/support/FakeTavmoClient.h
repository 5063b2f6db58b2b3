// A test double of the client library: it records every call with its record
// bytes and answers as each test programs it. Linked into the unit tests in
// place of the real library.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "TavmoClient.h"

namespace fake {

struct LogLine {
    int level;
    std::string source;
    std::string text;
};

struct SentRecord {
    int32_t code = 0;
    std::vector<unsigned char> record;  // the bytes as the host sent them
    // For private requests: the wrapper's private code, size field and the
    // inner record's bytes (sizeField of them).
    uint32_t privateCode = 0;
    uint32_t sizeField = 0;
    std::vector<unsigned char> inner;
};

// What the last TavmoClientStart was given, copied during the call.
struct StartArguments {
    TavmoClientCallbackFn callback = nullptr;
    void* window = nullptr;
    TavmoClientVideoRect videoRect{};
    std::string levelsAndCategories;
    // appPath, registryPath, appName, appVersion, appFolder, makerFolder.
    std::vector<std::string> profileTexts;
    std::vector<uint32_t> profileReserved;
    // Inside how many SynchronizeStart brackets the call was made.
    int synchronizeDepth = 0;
};

// Answers a request: may fill the record, returns the library's result.
using RequestAnswer = std::function<int32_t(void* record, uint32_t size)>;
using EventAnswer = std::function<TavmoClientBool(void* record, uint32_t size)>;

struct Library {
    std::vector<LogLine> logs;
    std::vector<SentRecord> requests;
    std::vector<SentRecord> events;
    std::vector<std::string> calls;  // names of the other functions, in order

    std::map<int32_t, RequestAnswer> requestAnswers;   // by request code; 0 when absent
    std::map<uint32_t, RequestAnswer> privateAnswers;  // by private code, given the inner record
    std::map<int32_t, EventAnswer> eventAnswers;       // by in-event code; accepted when absent
    // Consulted for the codes that have no answer of their own above.
    std::function<int32_t(int32_t code, void* record, uint32_t size)> anyRequestAnswer;
    std::function<int32_t(uint32_t privateCode, void* inner, uint32_t size)> anyPrivateAnswer;
    std::function<TavmoClientBool(int32_t code, void* record, uint32_t size)> anyEventAnswer;

    TavmoClientBool initializeResult = 1;
    TavmoClientBool startResult = 1;
    TavmoClientBool stopResult = 1;
    bool started = false;
    int synchronizeDepth = 0;
    std::string version = "Fake 1.0";
    TavmoClientCallbackFn callback = nullptr;
    StartArguments start;
};

// The library's state; lock `mutex()` when other threads may log meanwhile.
Library& library();
std::mutex& mutex();
void reset();

// Log lines (text only) at the given level, or at any level for 0.
std::vector<std::string> logTexts(int level = 0);
bool logged(const std::string& text, int level = 0);

}  // namespace fake
