#include "LineEditor.h"

#include <algorithm>

namespace console {
namespace {

constexpr std::size_t kMostHistory = 1000;

constexpr char kCtrlA = 0x01;
constexpr char kCtrlB = 0x02;
constexpr char kCtrlC = 0x03;
constexpr char kCtrlD = 0x04;
constexpr char kCtrlE = 0x05;
constexpr char kCtrlF = 0x06;
constexpr char kCtrlH = 0x08;
constexpr char kTab = 0x09;
constexpr char kCtrlK = 0x0b;
constexpr char kCtrlN = 0x0e;
constexpr char kCtrlP = 0x10;
constexpr char kCtrlU = 0x15;
constexpr char kCtrlW = 0x17;
constexpr char kEscape = 0x1b;
constexpr char kDelete = 0x7f;

}  // namespace

LineEditor::Outcome LineEditor::feed(char byte) {
    if (escape_ != Escape::None) return feedEscape(byte);
    switch (byte) {
        case '\r':
        case '\n': {
            if (!text_.empty() && (history_.empty() || history_.back() != text_)) history_.push_back(text_);
            if (history_.size() > kMostHistory) history_.erase(history_.begin());
            submitted_ = std::move(text_);
            text_.clear();
            cursor_ = 0;
            draft_.clear();
            recalled_ = history_.size();
            return Outcome::Submitted;
        }
        case kCtrlC:
            text_.clear();
            cursor_ = 0;
            recalled_ = history_.size();
            return Outcome::Interrupted;
        case kCtrlD:
            if (text_.empty()) return Outcome::EndOfInput;
            eraseAt();
            return Outcome::Editing;
        case kEscape: escape_ = Escape::Started; return Outcome::Editing;
        case kTab: return completeWord();
        default: key(byte); return Outcome::Editing;
    }
}

std::string LineEditor::takeLine() { return std::move(submitted_); }

LineEditor::Outcome LineEditor::completeWord() {
    if (!completer_) return Outcome::Editing;
    const Completion completion = completer_(std::string_view(text_).substr(0, cursor_));
    if (completion.candidates.empty() || completion.start > cursor_) return Outcome::Editing;
    const std::size_t typed = cursor_ - completion.start;
    std::string replacement = commonStart(completion.candidates);
    if (completion.candidates.size() == 1) {
        // A whole word is followed by a blank; a member name by its value.
        const bool atBlank = cursor_ < text_.size() && text_[cursor_] == ' ';
        if (replacement.back() != '=' && !atBlank) replacement += ' ';
    } else if (replacement.size() <= typed) {
        listing_ = completion.candidates;
        return Outcome::Listing;
    }
    text_.replace(completion.start, typed, replacement);
    cursor_ = completion.start + replacement.size();
    return Outcome::Editing;
}

void LineEditor::setHistory(std::vector<std::string> lines) {
    history_ = std::move(lines);
    if (history_.size() > kMostHistory) history_.erase(history_.begin(), history_.end() - kMostHistory);
    recalled_ = history_.size();
}

LineEditor::Outcome LineEditor::feedEscape(char byte) {
    const auto act = [this](char final) {
        switch (final) {
            case 'A': key(kCtrlP); break;
            case 'B': key(kCtrlN); break;
            case 'C': key(kCtrlF); break;
            case 'D': key(kCtrlB); break;
            case 'H': key(kCtrlA); break;
            case 'F': key(kCtrlE); break;
            default: break;
        }
    };
    switch (escape_) {
        case Escape::Started:
            escape_ = byte == '[' ? Escape::Bracket : byte == 'O' ? Escape::Letter : Escape::None;
            escapeParameter_.clear();
            break;
        case Escape::Letter:
            escape_ = Escape::None;
            act(byte);
            break;
        case Escape::Bracket:
            if ((byte >= '0' && byte <= '9') || byte == ';') {
                escapeParameter_ += byte;
                break;
            }
            escape_ = Escape::None;
            if (byte != '~') {
                act(byte);
            } else if (escapeParameter_ == "1" || escapeParameter_ == "7") {
                key(kCtrlA);
            } else if (escapeParameter_ == "4" || escapeParameter_ == "8") {
                key(kCtrlE);
            } else if (escapeParameter_ == "3") {
                eraseAt();
            }
            break;
        case Escape::None: break;
    }
    return Outcome::Editing;
}

void LineEditor::key(char control) {
    switch (control) {
        case kCtrlA: cursor_ = 0; break;
        case kCtrlE: cursor_ = text_.size(); break;
        case kCtrlB: moveLeft(); break;
        case kCtrlF: moveRight(); break;
        case kCtrlH:
        case kDelete: eraseBefore(); break;
        case kCtrlK: text_.erase(cursor_); break;
        case kCtrlU:
            text_.erase(0, cursor_);
            cursor_ = 0;
            break;
        case kCtrlW: eraseWordBefore(); break;
        case kCtrlP:
            if (recalled_ > 0) recall(recalled_ - 1);
            break;
        case kCtrlN:
            if (recalled_ < history_.size()) recall(recalled_ + 1);
            break;
        default:
            if (static_cast<unsigned char>(control) >= 0x20) insert(control);
            break;
    }
}

void LineEditor::insert(char byte) {
    text_.insert(cursor_, 1, byte);
    ++cursor_;
}

void LineEditor::moveLeft() {
    while (cursor_ > 0 && continuationByte(text_[--cursor_])) {
    }
}

void LineEditor::moveRight() {
    if (cursor_ < text_.size()) ++cursor_;
    while (cursor_ < text_.size() && continuationByte(text_[cursor_])) ++cursor_;
}

void LineEditor::eraseBefore() {
    const std::size_t end = cursor_;
    moveLeft();
    text_.erase(cursor_, end - cursor_);
}

void LineEditor::eraseAt() {
    const std::size_t start = cursor_;
    moveRight();
    text_.erase(start, cursor_ - start);
    cursor_ = start;
}

void LineEditor::eraseWordBefore() {
    const std::size_t end = cursor_;
    while (cursor_ > 0 && text_[cursor_ - 1] == ' ') --cursor_;
    while (cursor_ > 0 && text_[cursor_ - 1] != ' ') --cursor_;
    text_.erase(cursor_, end - cursor_);
}

void LineEditor::recall(std::size_t index) {
    if (recalled_ == history_.size()) draft_ = text_;
    recalled_ = index;
    text_ = index < history_.size() ? history_[index] : draft_;
    cursor_ = text_.size();
}

VisibleLine visibleLine(std::string_view prompt, std::string_view text, std::size_t cursor, std::size_t columns) {
    const std::size_t promptColumns = columnsOf(prompt);
    const std::size_t room = std::max<std::size_t>(columns > promptColumns + 1 ? columns - promptColumns - 1 : 0, 1);
    const std::size_t cursorColumn = columnsOf(text.substr(0, cursor));
    const std::size_t firstColumn = cursorColumn >= room ? cursorColumn - room + 1 : 0;
    const std::string_view shown = fitToColumns(text.substr(byteAtColumn(text, firstColumn)), room);
    return {std::string(prompt) + std::string(shown), promptColumns + cursorColumn - firstColumn};
}

}  // namespace console
