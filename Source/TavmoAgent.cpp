#include "TavmoAgent.h"

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "Redaction.h"

namespace {

constexpr const char* kLogSource = logsource::kTavmoAgent;

FILE* outputStream = nullptr;
std::mutex writeLock;

const char* writeErrorText(int error) {
    switch (error) {
        case EBADF: return "Bad file descriptor!";
        case ENOSPC: return "No space left on device!";
        case EINVAL: return "Invalid parameter: buffer was NULL!";
        default: return "Unexpected error!";
    }
}

enum class MessageKind { Reply, Event };

// The members that let the page match a failed reply to its request. One
// that is itself too long to send is left out.
std::string tooLongReplyText(const Json::Value& reply) {
    Json::Value replacement(Json::objectValue);
    replacement["_direction"] = 2;
    replacement["error"] = "Reply too large";
    for (const char* key : {"type", "_id", "_tabId"}) {
        const Json::Value* member = findMember(reply, key);
        if (!member) continue;
        Json::Value candidate = replacement;
        candidate[key] = *member;
        if (json::writeCompact(candidate).size() <= TavmoAgent::kLongestBody) replacement = std::move(candidate);
    }
    return json::writeCompact(replacement);
}

// Makes `text` fit for the browser: false when the message is dropped.
bool fitForTheBrowser(const char* callerName, const Json::Value& message, MessageKind kind, std::string& text) {
    if (text.size() <= TavmoAgent::kLongestBody) return true;
    auto length = static_cast<unsigned>(text.size());
    if (kind == MessageKind::Event) {
        LOG_ERROR("%s: TavmoAgent::sendMessage(): Message too large: [%u] bytes, dropped", callerName, length);
        return false;
    }
    LOG_ERROR("%s: TavmoAgent::sendMessage(): Reply too large: [%u] bytes, sending the error instead", callerName,
              length);
    text = tooLongReplyText(message);
    return true;
}

void writeMessage(const char* callerName, Json::Value message, MessageKind kind) {
    try {
        int32_t state = hostState.load();
        if (state == HostInputEnded || state == HostExiting) {
            LOG_INFO("%s: TavmoAgent::sendMessage(): not sending while exiting!", callerName);
            return;
        }
        message["_direction"] = 2;
        std::string text = json::writeCompact(message);
        if (!fitForTheBrowser(callerName, message, kind, text)) return;
        LOG_INFO("%s: TavmoAgent::sendMessage(): length :[%d]", callerName, static_cast<int>(text.size()));
        {
            std::lock_guard<std::mutex> lock(writeLock);
            FILE* out = outputStream ? outputStream : stdout;
            if (state != HostDebug) {
                auto length = static_cast<uint32_t>(text.size());
                const unsigned char header[4] = {
                    static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                    static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24)};
                errno = 0;
                if (std::fwrite(header, 1, sizeof header, out) < sizeof header)
                    LOG_ERROR("%s: TavmoAgent::sendMessage(): length error %s", callerName, writeErrorText(errno));
            }
            errno = 0;
            if (std::fwrite(text.data(), 1, text.size(), out) < text.size())
                LOG_ERROR("%s: TavmoAgent::sendMessage(): data error %s", callerName, writeErrorText(errno));
            std::fflush(out);
        }
        text.pop_back();
        LOG_DETAIL("%s: TavmoAgent::sendMessage(): [%s]", callerName, textForLog(text).c_str());
    } catch (...) {
        LOG_ERROR("%s: TavmoAgent::sendMessage(): Unknown exception", callerName);
    }
}

}  // namespace

void TavmoAgent::setOutputStream(FILE* stream) { outputStream = stream; }

void TavmoAgent::sendMessage(const char* callerName, Json::Value message) {
    writeMessage(callerName, std::move(message), MessageKind::Event);
}

void TavmoAgent::sendReply(const char* callerName, Json::Value reply) {
    writeMessage(callerName, std::move(reply), MessageKind::Reply);
}
