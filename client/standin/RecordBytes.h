// Records in and out of the library's calls. They are copied with memcpy: the
// host's record need not be aligned for the struct, and its size must be
// exactly the record's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace standin {

using Block = std::vector<unsigned char>;

template <typename Record>
Block blockOf(const Record& record) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return Block(bytes, bytes + sizeof record);
}

// False when there is no record or its size is not the struct's.
template <typename Record>
bool take(const void* record, uint32_t size, Record& value) {
    if (!record || size != sizeof value) return false;
    std::memcpy(&value, record, sizeof value);
    return true;
}

template <std::size_t Width>
bool terminated(const char (&field)[Width]) {
    return std::memchr(field, '\0', Width) != nullptr;
}

}  // namespace standin
