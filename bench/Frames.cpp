#include "Frames.h"

#include <cctype>
#include <cstdint>

namespace bench {

std::string frame(const std::string& body) {
    const auto length = static_cast<uint32_t>(body.size());
    std::string framed;
    framed.reserve(4 + body.size());
    for (int i = 0; i < 4; ++i) framed.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    return framed + body;
}

void FrameReader::append(const char* data, std::size_t size) {
    // Dropping what was handed out only now and then keeps appends cheap.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(data, size);
}

std::optional<std::string> FrameReader::next() {
    if (pending() < 4) return std::nullopt;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length |= static_cast<uint32_t>(static_cast<unsigned char>(buffer_[start_ + i])) << (8 * i);
    if (pending() - 4 < length) return std::nullopt;
    std::string body = buffer_.substr(start_ + 4, length);
    start_ += 4 + length;
    return body;
}

std::optional<long> idOf(const std::string& body) {
    const std::string key = "\"_id\"";
    std::size_t at = body.find(key);
    if (at == std::string::npos) return std::nullopt;
    at += key.size();
    auto skipBlanks = [&] {
        while (at < body.size() && std::isspace(static_cast<unsigned char>(body[at]))) ++at;
    };
    skipBlanks();
    if (at >= body.size() || body[at] != ':') return std::nullopt;
    ++at;
    skipBlanks();
    bool negative = at < body.size() && body[at] == '-';
    if (negative) ++at;
    if (at >= body.size() || !std::isdigit(static_cast<unsigned char>(body[at]))) return std::nullopt;
    long value = 0;
    while (at < body.size() && std::isdigit(static_cast<unsigned char>(body[at])))
        value = value * 10 + (body[at++] - '0');
    return negative ? -value : value;
}

}  // namespace bench
