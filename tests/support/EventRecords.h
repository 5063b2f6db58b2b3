// Event blocks for tests, built from the library's record structs the way the
// library hands them over: the record's bytes, or a prefix of them.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

using Block = std::vector<unsigned char>;

template <typename Record>
Block blockOf(const Record& record, std::size_t size = sizeof(Record)) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return Block(bytes, bytes + size);
}

// The record followed by `entries`, as records with trailing lists arrive.
template <typename Record, typename Entry>
Block blockWith(const Record& record, const std::vector<Entry>& entries) {
    Block block = blockOf(record);
    for (const Entry& entry : entries) {
        Block bytes = blockOf(entry);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    return block;
}

// Fills a text field completely, leaving no terminator inside it.
template <std::size_t Width>
void fillField(char (&field)[Width], char filler) {
    std::memset(field, filler, Width);
}
