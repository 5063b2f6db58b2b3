// The library's event block, read safely. The library decides how many bytes
// it delivers, and a block may be shorter than the record the host expects,
// or carry a count of entries it does not hold: every read goes through here
// and stays inside the delivered bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

class EventBlock {
public:
    explicit EventBlock(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    // The record at `offset`, zero-filled first: bytes beyond the block read
    // as zero, and a text that runs to the block's end ends at the field's end.
    // A text marked open-ended in its record is read with textFrom instead.
    template <typename Record>
    Record read(std::size_t offset = 0) const {
        static_assert(std::is_trivially_copyable<Record>::value, "records are plain bytes");
        Record record;
        std::memset(&record, 0, sizeof record);
        if (offset < bytes_.size())
            std::memcpy(&record, bytes_.data() + offset, std::min(sizeof record, bytes_.size() - offset));
        return record;
    }

    // A text whose end no following field fixes: from `offset` to its first
    // NUL within the block, or to the block's end when it has none. Unit is
    // char for byte texts, char16_t for UTF-16 ones (whole units only).
    template <typename Unit = char>
    std::basic_string<Unit> textFrom(std::size_t offset) const {
        static_assert(std::is_same<Unit, char>::value || std::is_same<Unit, char16_t>::value, "a byte or UTF-16 text");
        if (offset >= bytes_.size()) return {};
        const unsigned char* start = bytes_.data() + offset;
        std::size_t units = (bytes_.size() - offset) / sizeof(Unit);
        std::basic_string<Unit> text;
        for (std::size_t i = 0; i < units; ++i) {
            Unit unit;
            std::memcpy(&unit, start + i * sizeof(Unit), sizeof unit);
            if (unit == 0) break;
            text.push_back(unit);
        }
        return text;
    }

    // How many of `count` entries of `Entry`, the first at `offset`, lie wholly
    // inside the block; never more than `capacity`. A count of 0 or less has
    // no entry.
    template <typename Entry>
    std::size_t entriesThatFit(int64_t count, std::size_t offset, std::size_t capacity = SIZE_MAX) const {
        if (count <= 0 || offset >= bytes_.size()) return 0;
        std::size_t fit = (bytes_.size() - offset) / sizeof(Entry);
        return static_cast<std::size_t>(
            std::min({static_cast<uint64_t>(count), static_cast<uint64_t>(fit), static_cast<uint64_t>(capacity)}));
    }

    // The `index`th of the entries that start at `offset`.
    template <typename Entry>
    Entry entry(std::size_t offset, std::size_t index) const {
        return read<Entry>(offset + index * sizeof(Entry));
    }

private:
    const std::vector<unsigned char>& bytes_;
};
