#include <chrono>
#include <string>
#include <thread>

#include "HostState.h"
#include "HostThreads.h"
#include "Log.h"
#include "Redaction.h"

namespace {

constexpr const char* kLogSource = logsource::kMain;
constexpr std::size_t kReadChunk = 64 * 1024;

// Reads a body of `length` bytes. A hostile length costs no memory up front:
// the text grows only as bytes actually arrive. Of a body longer than
// kLongestRequest only the start that a log line shows is kept; the rest is
// read through the same chunk of the text.
ReadResult readBody(FILE* input, uint32_t length, std::string& text) {
    const std::size_t kept = length > kLongestRequest ? kLoggedTextLimit : length;
    text.clear();
    for (std::size_t read = 0; read < length;) {
        std::size_t want = std::min<std::size_t>(length - read, kReadChunk);
        std::size_t before = std::min(text.size(), kept);
        text.resize(before + want);
        std::size_t got = std::fread(&text[before], 1, want, input);
        text.resize(std::min(before + got, std::max(kept, before)));
        read += got;
        if (got < want) return ReadResult::Ended;
    }
    return length > kLongestRequest ? ReadResult::TooLarge : ReadResult::Message;
}

ReadResult readFramed(FILE* input, std::string& text) {
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        int byte = std::fgetc(input);
        if (byte == EOF) {
            LOG_INFO("InputThread: EXIT While Reading Length: [%d]", static_cast<int>(length));
            return ReadResult::Ended;
        }
        length |= static_cast<uint32_t>(byte) << (8 * i);
    }
    LOG_INFO("InputThread: Reading message of length :[%d]", static_cast<int>(length));
    ReadResult read = readBody(input, length, text);
    if (read == ReadResult::TooLarge)
        LOG_ERROR("InputThread: Request too large: [%u] bytes, dropped", static_cast<unsigned>(length));
    if (read != ReadResult::Ended) return read;
    LOG_ERROR("InputThread: EOF While Reading Message: [%s]", textForLog(text).c_str());
    return ReadResult::Dropped;
}

ReadResult readLine(FILE* input, std::string& text) {
    LOG_INFO("InputThread: Reading message of length :[%d]", 0);
    text.clear();
    for (int c = std::fgetc(input); c != '\n'; c = std::fgetc(input)) {
        if (c == EOF) {
            LOG_ERROR("InputThread: EOF While Reading Message: [%s]", textForLog(text).c_str());
            return ReadResult::Ended;
        }
        text.push_back(static_cast<char>(c));
    }
    return ReadResult::Message;
}

// A browser kills the host soon after closing its pipes, so the wait for the
// leave to reach the library is bounded well below that.
void queueSyntheticLeave(json::Parser& parser) {
    LOG_INFO("InputThread: Pushing: [%s]", kSyntheticLeaveRequest);
    uint64_t sequence = requestQueue.push(parseRequestText(parser, kSyntheticLeaveRequest));
    requestQueue.waitHandled(sequence, std::chrono::milliseconds(2000));
}

}  // namespace

QueuedRequest parseRequestText(json::Parser& parser, std::string text) {
    QueuedRequest parsed;
    try {
        if (parser.parse(text, parsed.request) && parsed.request.isObject()) parsed.outcome = ParseOutcome::Object;
    } catch (...) {
        parsed.outcome = ParseOutcome::Failed;
    }
    if (parsed.outcome != ParseOutcome::Object) parsed.request = Json::Value();
    parsed.text = std::move(text);
    return parsed;
}

ReadResult readRequestText(FILE* input, bool debug, std::string& text) {
    return debug ? readLine(input, text) : readFramed(input, text);
}

void InputThread(FILE* input) {
    LOG_INFO("InputThread: STARTED");
    bool debug = isDebugMode();
    std::string text;
    json::Parser parser;
    for (ReadResult read; (read = readRequestText(input, debug, text)) != ReadResult::Ended;) {
        if (read == ReadResult::Dropped) continue;
        if (read == ReadResult::TooLarge) {
            requestQueue.pushWhenRoom({std::string(), true}, 0);
            continue;
        }
        if (text == kExitText) break;
        LOG_DETAIL("InputThread: Received: [%s]", textForLog(text).c_str());
        // Parsed, a text takes many times its size: it is parsed only once
        // the queue has room for it, so that at most the queue's bound of
        // texts is held parsed.
        std::size_t bytes = text.size();
        requestQueue.waitForRoom(bytes);
        requestQueue.pushWhenRoom(parseRequestText(parser, std::move(text)), bytes);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TavmoClientSynchronizeStart();
    hostState = HostInputEnded;
    TavmoClientSynchronizeEnd();
    if (inConference.load() == 1) queueSyntheticLeave(parser);
    LOG_INFO("InputThread: EXIT");
}
