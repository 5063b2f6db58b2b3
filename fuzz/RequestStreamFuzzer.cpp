// The browser's side of the channel: a stream of requests through reading,
// parsing, dispatch and every handler, against the fake library, whose
// answers come from the input as well.
//
// Input layout:
//   1 byte   switches: 1 debug mode (lines instead of frames), 2 the library
//            refuses to start, 4 in a conference, 8 the camera is present,
//            16 a 64-bit browser
//   4 bytes  n, little-endian; then n bytes of standard input
//   the rest the library's answers, one per call, in the order of the calls:
//            a request: a result byte (below 0xC0 done, 0xFF the next 4
//            bytes, otherwise 1 to 63), then a pattern length m and m bytes
//            that are repeated over the record (m = 0 leaves the record as
//            the host filled it; a private request's inner record);
//            an in-event: one byte (below 0xC0 accepted, otherwise its low
//            two bits as the answer).
//            Once they run out, every call is done or accepted.
//
// Every request text gets exactly one reply, written last among the
// messages of its handling: one JSON object that keeps the request's "type",
// "_id" and "_tabId", or the fixed answer to a text that is not a JSON object.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FakeTavmoClient.h"
#include "FuzzInput.h"
#include "FuzzSupport.h"
#include "HostState.h"
#include "HostThreads.h"
#include "ProcessState.h"

namespace {

constexpr uint8_t kDebugMode = 1;
constexpr uint8_t kStartFails = 2;
constexpr uint8_t kInConference = 4;
constexpr uint8_t kCameraPresent = 8;
constexpr uint8_t kBrowser64 = 16;

constexpr const char* kNotAnObjectReply = "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n";

int32_t requestResult(FuzzInput& answers) {
    uint8_t selector = answers.byte();
    if (selector < 0xC0) return 0;
    if (selector == 0xFF) return static_cast<int32_t>(answers.u32());
    return selector - 0xBF;
}

// Doubles the filled part with each copy: records run to tens of kilobytes
// and are filled on nearly every call.
void fillRecord(FuzzInput& answers, void* record, uint32_t size) {
    std::string_view pattern = answers.bytes(answers.byte());
    if (pattern.empty() || !record || size == 0) return;
    auto* bytes = static_cast<char*>(record);
    std::size_t filled = std::min<std::size_t>(pattern.size(), size);
    std::memcpy(bytes, pattern.data(), filled);
    while (filled < size) {
        std::size_t copied = std::min<std::size_t>(filled, size - filled);
        std::memcpy(bytes + filled, bytes, copied);
        filled += copied;
    }
}

TavmoClientBool inEventResult(FuzzInput& answers) {
    uint8_t selector = answers.byte();
    return selector < 0xC0 ? 1 : static_cast<TavmoClientBool>(selector & 3);
}

// The library takes over the buffer that these in-events' records point to
// once it accepts them.
bool handsOverBuffer(int32_t code) {
    return code == TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER ||
           code == TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT;
}

void answerFrom(FuzzInput& answers) {
    fake::Library& library = fake::library();
    library.anyRequestAnswer = [&answers](int32_t, void* record, uint32_t size) {
        int32_t result = requestResult(answers);
        fillRecord(answers, record, size);
        return result;
    };
    library.anyPrivateAnswer = [&answers](uint32_t, void* inner, uint32_t size) {
        int32_t result = requestResult(answers);
        fillRecord(answers, inner, size);
        return result;
    };
    library.anyEventAnswer = [&answers](int32_t code, void* record, uint32_t size) {
        TavmoClientBool result = inEventResult(answers);
        if (result == 1 && handsOverBuffer(code) && record && size >= sizeof(void*)) {
            void* buffer = nullptr;
            std::memcpy(&buffer, record, sizeof buffer);
            std::free(buffer);
        }
        return result;
    };
}

Json::Value roundTrip(const Json::Value& value) {
    Json::Value copy;
    json::parse(json::writeCompact(value), copy);
    return copy;
}

void checkReply(const std::string& text, const std::vector<Json::Value>& messages) {
    if (messages.empty()) fail("no reply", text);
    const Json::Value& reply = messages.back();
    Json::Value request;
    if (!json::parse(text, request) || !request.isObject()) {
        if (json::writeCompact(reply) != kNotAnObjectReply) fail("wrong reply to a text that is no object", text);
        return;
    }
    for (const char* key : {"type", "_id", "_tabId"}) {
        if (request.isMember(key) && !(reply[key] == roundTrip(request[key])))
            fail(std::string("the reply lost the request's ") + key, text + "\n" + json::writeCompact(reply));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepareQuietEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    uint8_t switches = input.byte();
    std::string stream(input.bytes(input.u32()));
    FuzzInput& answers = input;

    resetProcessState();
    bool debug = switches & kDebugMode;
    hostState = debug ? HostDebug : HostRunning;
    inConference = (switches & kInConference) ? 1 : 0;
    iCamera = (switches & kCameraPresent) ? 1 : 0;
    bChromex64 = (switches & kBrowser64) ? 1 : 0;
    fake::library().startResult = (switches & kStartFails) ? 0 : 1;
    answerFrom(answers);

    if (stream.empty()) return 0;
    FILE* standardInput = ::fmemopen(stream.data(), stream.size(), "rb");
    if (!standardInput) std::abort();
    WrittenMessages written;
    int clientStarted = 0;
    std::string text;
    for (ReadResult read; (read = readRequestText(standardInput, debug, text)) != ReadResult::Ended;) {
        if (read != ReadResult::Message) continue;
        if (text == kExitText) break;
        std::size_t before = written.size();
        handleRequestText(text, clientStarted);
        checkReply(text, written.since(before, debug));
    }
    std::fclose(standardInput);
    // The fake library's answers read this input, which ends here.
    resetProcessState();
    return 0;
}
