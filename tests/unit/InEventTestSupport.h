// What the in-event tests share: records built by hand, the replies the
// dispatcher writes, and a library that takes over buffers as the real one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FakeTavmoClient.h"
#include "HostFixture.h"
#include "HostThreads.h"
#include "Json.h"

namespace inevent_test {

using Bytes = std::vector<unsigned char>;

// A record of `size` zero bytes with texts and integers put in place.
class RecordBuilder {
public:
    explicit RecordBuilder(std::size_t size) : bytes_(size) {}
    RecordBuilder& text(std::size_t offset, const std::string& text) {
        std::copy(text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
        return *this;
    }
    RecordBuilder& int32(std::size_t offset, int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_.at(offset + i) = static_cast<unsigned char>(static_cast<uint32_t>(value) >> 8 * i);
        return *this;
    }
    RecordBuilder& byte(std::size_t offset, unsigned char value) {
        bytes_.at(offset) = value;
        return *this;
    }
    operator Bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

inline Bytes int32Record(int32_t value) { return RecordBuilder(4).int32(0, value); }

// The request echoed with `key` set to `value`, as the writer sends it.
inline std::string replyWith(const std::string& request, const char* key, const std::string& value) {
    Json::Value reply;
    EXPECT_TRUE(json::parse(request, reply)) << request;
    reply[key] = value;
    reply["_direction"] = 2;
    return json::writeCompact(reply);
}
inline std::string okReply(const std::string& request) { return replyWith(request, "result", "ok"); }
inline std::string errorReply(const std::string& request, const std::string& error) {
    return replyWith(request, "error", error);
}

class InEventTest : public HostFixture {
protected:
    std::vector<fake::SentRecord> events() { return fake::library().events; }

    void refuse(int32_t code, TavmoClientBool result = 0) {
        fake::library().eventAnswers[code] = [result](void*, uint32_t) { return result; };
    }

    // The library accepts the in-event and takes over the buffer its record
    // points to: it keeps a copy of the first `keep` bytes and frees it.
    void acceptTakingOver(int32_t code, std::size_t keep, Bytes& kept) {
        fake::library().eventAnswers[code] = [keep, &kept](void* record, uint32_t size) -> TavmoClientBool {
            void* buffer = nullptr;
            if (size != sizeof buffer) return 0;
            std::memcpy(&buffer, record, sizeof buffer);
            kept.assign(static_cast<unsigned char*>(buffer), static_cast<unsigned char*>(buffer) + keep);
            std::free(buffer);
            return 1;
        };
    }

    // The library answers whether the website was approved for good: yes,
    // or with an error, which leaves it unapproved without asking the user.
    void rememberApproval(bool approved) {
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [approved](void* record,
                                                                                                      uint32_t) {
            if (!approved) return 5;
            static_cast<TavmoClientApprovedDomainQuery*>(record)->approved = 1;
            return 0;
        };
    }

    // For requests that write messages of their own before the reply.
    std::string lastBodyAfter(const std::string& request) {
        handleRequestText(request, clientStarted);
        std::vector<std::string> bodies = writtenBodies();
        return bodies.empty() ? std::string() : bodies.back();
    }
};

}  // namespace inevent_test
