// Columns that UTF-8 text takes on a terminal: one per character.
#pragma once

#include <cstddef>
#include <string_view>

namespace console {

inline bool continuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t columnsOf(std::string_view text);

// The byte position `columns` characters into `text`.
std::size_t byteAtColumn(std::string_view text, std::size_t columns);

// The longest start of `text` that fits `columns`, cut between characters.
std::string_view fitToColumns(std::string_view text, std::size_t columns);

}  // namespace console
