// The browser's framing: each message is a 32-bit length in the machine's own
// byte order followed by that many bytes of JSON text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace console {

inline constexpr std::size_t kLengthSize = 4;

// The length prefix followed by the body.
std::string frameMessage(std::string_view body);

// Cuts the host's output, which arrives in pieces of any size, into bodies.
class FrameReader {
public:
    void append(std::string_view bytes);
    // The next complete body, or nothing while it is still incomplete.
    std::optional<std::string> next();
    // Bytes received that do not yet form a whole message.
    std::size_t incompleteBytes() const { return buffer_.size(); }

private:
    std::string buffer_;
};

}  // namespace console
