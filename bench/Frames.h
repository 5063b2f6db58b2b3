// The host's wire format as the page sees it: a 4-byte little-endian length,
// then the body.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace bench {

std::string frame(const std::string& body);

// Collects bytes as they arrive from a pipe and hands out whole bodies.
class FrameReader {
public:
    void append(const char* data, std::size_t size);
    std::optional<std::string> next();
    // Bytes received but not yet handed out as a body.
    std::size_t pending() const { return buffer_.size() - start_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
};

// The integer after the first "_id" key of a JSON body (blanks around the
// colon allowed), or nothing when there is none.
std::optional<long> idOf(const std::string& body);

}  // namespace bench
