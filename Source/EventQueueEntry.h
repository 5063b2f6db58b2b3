#pragma once

#include <cstdint>
#include <vector>

// One library event as the callback copied it: the block is owned by the entry.
struct EventQueueEntry {
    int32_t code = 0;
    std::vector<unsigned char> block;
    uint32_t userWord = 0;
};
