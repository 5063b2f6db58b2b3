#include "TextColumns.h"

#include <algorithm>

namespace console {

std::size_t columnsOf(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !continuationByte(c); }));
}

std::size_t byteAtColumn(std::string_view text, std::size_t columns) {
    std::size_t position = 0;
    for (; position < text.size(); ++position) {
        if (continuationByte(text[position])) continue;
        if (columns == 0) break;
        --columns;
    }
    return position;
}

std::string_view fitToColumns(std::string_view text, std::size_t columns) {
    return text.substr(0, byteAtColumn(text, columns));
}

}  // namespace console
