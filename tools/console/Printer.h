// How the console shows the conversation: one line per message with the
// time since the console started, its direction and kind, and its compact
// JSON; coloured on request. On a terminal one more line stays at the
// bottom (the progress, or the line being typed) and output goes above it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "Messages.h"
#include "Protocol.h"

namespace console {

struct PrintStyle {
    bool colour = false;
    // Each message's exact bytes: its length prefix in hex and every byte
    // outside printable ASCII escaped.
    bool raw = false;
    // Cut each message line to this many columns; 0 keeps it whole.
    std::size_t fitColumns = 0;
};

// "   1.234 << reply   {...}"; `body` is the message as framed, `label`
// (an event's code and name) goes before it unless the style is raw.
std::string formatMessage(double seconds, MessageKind kind, bool errorReply, std::string_view body,
                          const PrintStyle& style, std::string_view label = {});

// The body with the bytes that would disturb a terminal escaped; in raw
// style every byte that is not printable ASCII, and the backslash.
std::string visibleBytes(std::string_view body, bool raw);

class Printer {
public:
    // Events are named from `protocol`.
    Printer(std::FILE* out, PrintStyle style, bool terminal, const Protocol& protocol = Protocol::builtIn());

    void message(const ReceivedMessage& message);
    void sent(const SendCommand& command);
    void note(std::string_view text);
    void info(std::string_view text);
    void problem(std::string_view text);
    // A line printed as it is (help, summary).
    void plain(std::string_view text);

    bool terminal() const { return terminal_; }
    double secondsSinceStart() const;

    // Only on a terminal: keeps `text` below the output with the cursor at
    // `cursorColumn`.
    void setBottomLine(std::string text, std::size_t cursorColumn);
    void clearBottomLine();
    // Only on a terminal: after each line printed, the bottom line becomes
    // `progress()`, with the cursor at its end; nullptr stops that.
    void followProgress(std::function<std::string()> progress);

private:
    void emit(const std::string& line);
    void keepBottomLine(std::string text, std::size_t cursorColumn);
    void drawBottomLine();
    std::string painted(const char* colour, std::string_view text) const;

    std::FILE* out_;
    PrintStyle style_;
    const Protocol& protocol_;
    bool terminal_;
    std::chrono::steady_clock::time_point start_;
    std::string bottomLine_;
    std::size_t bottomCursor_ = 0;
    std::function<std::string()> progress_;
};

}  // namespace console
