#include "Printer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Framing.h"
#include "Terminal.h"
#include "TextColumns.h"

namespace console {
namespace {

constexpr const char* kReset = "\033[0m";
constexpr const char* kDim = "\033[2m";
constexpr const char* kYellow = "\033[33m";
constexpr const char* kGreen = "\033[32m";
constexpr const char* kRed = "\033[31m";
constexpr const char* kCyan = "\033[36m";
constexpr const char* kBoldMagenta = "\033[1;35m";
constexpr const char* kBoldRed = "\033[1;31m";
constexpr const char* kEraseLine = "\r\033[K";
constexpr const char* kCut = "\xe2\x80\xa6";
// "   1.234 << reply   ": the time, the marker and their blanks.
constexpr std::size_t kPrefixColumns = 20;

struct Marker {
    const char* text;
    const char* colour;
};

Marker markerOf(MessageKind kind, bool errorReply) {
    switch (kind) {
        case MessageKind::Request: return {">> request", kYellow};
        case MessageKind::Control: return {">> control", kYellow};
        case MessageKind::Reply: return errorReply ? Marker{"<< reply  ", kRed} : Marker{"<< reply  ", kGreen};
        case MessageKind::Event: return {"<< event  ", kCyan};
        case MessageKind::NotJson: break;
    }
    return {"<< other  ", kRed};
}

void appendHexByte(std::string& text, unsigned char byte) {
    static const char* const kHex = "0123456789abcdef";
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
}

std::string lengthPrefix(std::string_view body) {
    const std::string framed = frameMessage(body);
    std::string text = "[";
    for (std::size_t i = 0; i < kLengthSize; ++i) {
        if (i > 0) text += ' ';
        appendHexByte(text, static_cast<unsigned char>(framed[i]));
    }
    return text + "] ";
}

}  // namespace

std::string visibleBytes(std::string_view body, bool raw) {
    std::string text;
    text.reserve(body.size());
    for (const char c : body) {
        const auto byte = static_cast<unsigned char>(c);
        if (raw && c == '\n') {
            text += "\\n";
        } else if (raw && c == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte == 0x7f || (raw && byte >= 0x80)) {
            text += "\\x";
            appendHexByte(text, byte);
        } else {
            text += c;
        }
    }
    return text;
}

std::string formatMessage(double seconds, MessageKind kind, bool errorReply, std::string_view body,
                          const PrintStyle& style, std::string_view label) {
    char time[32];
    std::snprintf(time, sizeof time, "%8.3f", seconds);
    const Marker marker = markerOf(kind, errorReply);
    std::string line;
    if (style.colour) {
        line = std::string(kDim) + time + kReset + " " + marker.colour + marker.text + kReset + " ";
    } else {
        line = std::string(time) + " " + marker.text + " ";
    }
    std::string shown;
    if (style.raw) {
        shown = lengthPrefix(body) + visibleBytes(body, true);
    } else {
        if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
        if (!label.empty()) shown = visibleBytes(label, false) + " ";
        shown += visibleBytes(body, false);
    }
    if (style.fitColumns > 0) {
        const std::size_t room = style.fitColumns > kPrefixColumns + 2 ? style.fitColumns - kPrefixColumns - 2 : 1;
        if (columnsOf(shown) > room) shown = std::string(fitToColumns(shown, room - 1)) + kCut;
    }
    return line + shown;
}

Printer::Printer(std::FILE* out, PrintStyle style, bool terminal, const Protocol& protocol)
    : out_(out), style_(style), protocol_(protocol), terminal_(terminal), start_(std::chrono::steady_clock::now()) {}

double Printer::secondsSinceStart() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Printer::message(const ReceivedMessage& message) {
    emit(formatMessage(secondsSinceStart(), message.kind, isErrorReply(message), message.body, style_,
                       eventLabel(message, protocol_)));
}

void Printer::sent(const SendCommand& command) {
    const MessageKind kind = command.control ? MessageKind::Control : MessageKind::Request;
    emit(formatMessage(secondsSinceStart(), kind, false, command.body, style_));
}

void Printer::note(std::string_view text) { emit(painted(kBoldMagenta, "== " + std::string(text))); }

void Printer::info(std::string_view text) { emit(painted(kDim, "-- " + std::string(text))); }

void Printer::problem(std::string_view text) { emit(painted(kBoldRed, "!! " + std::string(text))); }

void Printer::plain(std::string_view text) { emit(std::string(text)); }

std::string Printer::painted(const char* colour, std::string_view text) const {
    if (!style_.colour) return std::string(text);
    return colour + std::string(text) + kReset;
}

void Printer::emit(const std::string& line) {
    if (!bottomLine_.empty()) std::fputs(kEraseLine, out_);
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    if (progress_ && terminal_) {
        std::string progress = progress_();
        const std::size_t end = progress.size();
        keepBottomLine(std::move(progress), end);
    }
    drawBottomLine();
    std::fflush(out_);
}

void Printer::drawBottomLine() {
    if (bottomLine_.empty()) return;
    std::fputs(bottomLine_.c_str(), out_);
    std::fputc('\r', out_);
    if (bottomCursor_ > 0) std::fprintf(out_, "\033[%zuC", bottomCursor_);
}

void Printer::setBottomLine(std::string text, std::size_t cursorColumn) {
    if (!terminal_) return;
    if (!bottomLine_.empty() || !text.empty()) std::fputs(kEraseLine, out_);
    keepBottomLine(std::move(text), cursorColumn);
    drawBottomLine();
    std::fflush(out_);
}

void Printer::keepBottomLine(std::string text, std::size_t cursorColumn) {
    // A line that wraps could not be erased again.
    const std::size_t columns = terminalColumns(fileno(out_));
    bottomLine_ = std::string(fitToColumns(text, columns > 1 ? columns - 1 : 1));
    bottomCursor_ = std::min(cursorColumn, columnsOf(bottomLine_));
}

void Printer::clearBottomLine() { setBottomLine({}, 0); }

void Printer::followProgress(std::function<std::string()> progress) { progress_ = std::move(progress); }

}  // namespace console
