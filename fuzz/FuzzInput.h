// Reads a fuzz input front to back. Past its end every read gives zeros or
// nothing, so a target never has to check what is left before it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ == size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    uint32_t u32() {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(byte()) << shift;
        return value;
    }

    // Up to `count` bytes, fewer when the input ends first.
    std::string_view bytes(std::size_t count) {
        std::size_t taken = count < size_ - at_ ? count : size_ - at_;
        std::string_view view(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return view;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
