// The keyboard side of interactive mode: the terminal in raw mode while the
// console edits the line itself.
#pragma once

#include <cstddef>

namespace console {

bool isTerminal(int fd);
// The terminal's width, 80 when it cannot be told.
std::size_t terminalColumns(int fd);

// Raw mode for the life of the object; restored also when a signal ends the
// console.
class RawTerminal {
public:
    explicit RawTerminal(int fd);
    ~RawTerminal();
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    bool active() const { return active_; }

private:
    int fd_;
    bool active_ = false;
};

}  // namespace console
