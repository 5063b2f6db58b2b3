// The framing of messages: a body framed as the page frames it, and the
// host's output split into message bodies, each a 4-byte little-endian length
// and that many bytes, or (in debug mode) one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A body framed as the browser frames it: its length first, in 4 bytes,
// little-endian.
inline std::string frame(const std::string& body) {
    auto length = static_cast<uint32_t>(body.size());
    std::string framed;
    for (int i = 0; i < 4; ++i) framed.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    return framed + body;
}

// False when the bytes do not end exactly where a message ends: a frame cut
// short, or bytes after the last one.
inline bool splitFrames(std::string_view bytes, std::vector<std::string>& bodies) {
    std::size_t at = 0;
    while (bytes.size() - at >= 4) {
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        if (bytes.size() - at - 4 < length) return false;
        bodies.emplace_back(bytes.substr(at + 4, length));
        at += 4 + length;
    }
    return at == bytes.size();
}

// Debug mode writes each message as one line without a length. False when
// the last line has no end.
inline bool splitLines(std::string_view bytes, std::vector<std::string>& bodies) {
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find('\n', at)) != std::string_view::npos; at = end + 1)
        bodies.emplace_back(bytes.substr(at, end + 1 - at));
    return at == bytes.size();
}
