#include "TavmoAgent.h"

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>

#include "HostState.h"
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

}  // namespace

void TavmoAgent::setOutputStream(FILE* stream) { outputStream = stream; }

void TavmoAgent::sendMessage(const char* callerName, Json::Value message) {
    try {
        int32_t state = hostState.load();
        if (state == HostInputEnded || state == HostExiting) {
            LOG_INFO("%s: TavmoAgent::sendMessage(): not sending while exiting!", callerName);
            return;
        }
        message["_direction"] = 2;
        std::string text = json::writeCompact(message);
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
        LOG_DETAIL("%s: TavmoAgent::sendMessage(): [%s]", callerName, redactSecrets(text).c_str());
    } catch (...) {
        LOG_ERROR("%s: TavmoAgent::sendMessage(): Unknown exception", callerName);
    }
}
