// A library record built byte by byte at the layout's offsets, independently
// of the structs the host uses: what the test library answers with, or what a
// handler is expected to have sent.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FakeTavmoClient.h"

class RecordImage {
public:
    explicit RecordImage(std::size_t size) : bytes_(size, 0) {}

    // Little-endian, as the library's integers are.
    RecordImage& word(std::size_t offset, uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) bytes_.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
        return *this;
    }
    RecordImage& byte(std::size_t offset, unsigned char value) {
        bytes_.at(offset) = value;
        return *this;
    }
    // Exactly the text's bytes; no terminator is added.
    RecordImage& text(std::size_t offset, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) bytes_.at(offset + i) = static_cast<unsigned char>(text[i]);
        return *this;
    }

    const std::vector<unsigned char>& bytes() const { return bytes_; }

    // A library that fills the record with this image and returns 0.
    fake::RequestAnswer answer() const {
        std::vector<unsigned char> image = bytes_;
        return [image](void* record, uint32_t size) {
            EXPECT_GE(size, image.size()) << "the record the library fills is smaller than its layout";
            if (size >= image.size()) std::memcpy(record, image.data(), image.size());
            return 0;
        };
    }

private:
    std::vector<unsigned char> bytes_;
};

// Compares every byte and names the first offset that differs.
inline ::testing::AssertionResult sameBytes(const std::vector<unsigned char>& actual, const RecordImage& expected) {
    const std::vector<unsigned char>& wanted = expected.bytes();
    if (actual.size() != wanted.size())
        return ::testing::AssertionFailure() << "size " << actual.size() << ", expected " << wanted.size();
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != wanted[i])
            return ::testing::AssertionFailure()
                   << "offset " << i << " holds " << int(actual[i]) << ", expected " << int(wanted[i]);
    return ::testing::AssertionSuccess();
}
