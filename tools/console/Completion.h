// What the word at the cursor can become, from the protocol: the first word
// a command or a request type, then the members of that type (name=), a
// boolean member's values, and after wait or help the types and event codes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Protocol.h"

namespace console {

struct Completion {
    // Where the word being completed starts in the line.
    std::size_t start = 0;
    // Whole words that could replace it, in the protocol's order.
    std::vector<std::string> candidates;
};

// `line` is the text before the cursor.
Completion complete(std::string_view line, const Protocol& protocol);

// The longest start that all `candidates` share.
std::string commonStart(const std::vector<std::string>& candidates);

}  // namespace console
