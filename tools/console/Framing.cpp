#include "Framing.h"

#include <cstdint>
#include <cstring>

namespace console {

std::string frameMessage(std::string_view body) {
    const auto length = static_cast<std::uint32_t>(body.size());
    std::string framed(kLengthSize, '\0');
    std::memcpy(framed.data(), &length, kLengthSize);
    framed.append(body);
    return framed;
}

void FrameReader::append(std::string_view bytes) { buffer_.append(bytes); }

std::optional<std::string> FrameReader::next() {
    if (buffer_.size() < kLengthSize) return std::nullopt;
    std::uint32_t length = 0;
    std::memcpy(&length, buffer_.data(), kLengthSize);
    if (buffer_.size() - kLengthSize < length) return std::nullopt;
    std::string body = buffer_.substr(kLengthSize, length);
    buffer_.erase(0, kLengthSize + length);
    return body;
}

}  // namespace console
