// What the fuzz targets share: a quiet host environment, and the checks that
// every message the writer wrote is whole and well formed.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Json.h"

// Points the host's folders at a fresh temporary folder, and takes away the
// display and the installation, so that no dialog opens and no tool starts.
void prepareQuietEnvironment();

// Ends the run with a report that libFuzzer keeps with the input.
[[noreturn]] void fail(const std::string& what, std::string_view detail);

// Collects what the message writer writes while it is alive.
class WrittenMessages {
public:
    WrittenMessages();
    ~WrittenMessages();
    WrittenMessages(const WrittenMessages&) = delete;
    WrittenMessages& operator=(const WrittenMessages&) = delete;

    // Bytes written so far.
    std::size_t size();
    // The messages written since `offset` bytes, each checked: framed (or one
    // line each in debug mode), one JSON object ending in a newline, with
    // "_direction" 2.
    std::vector<Json::Value> since(std::size_t offset, bool debug);

private:
    char* buffer_ = nullptr;
    std::size_t length_ = 0;
    FILE* stream_ = nullptr;
};
