// The line being typed in interactive mode: editing keys, history, Tab
// completion, and the part of a long line that fits the terminal. Knows
// nothing of the terminal itself: it is fed the bytes that the keys send.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Completion.h"
#include "TextColumns.h"

namespace console {

class LineEditor {
public:
    // Listing: Tab found several words and could add nothing they share;
    // they are in listing().
    enum class Outcome { Editing, Submitted, EndOfInput, Interrupted, Listing };
    using Completer = std::function<Completion(std::string_view textBeforeCursor)>;

    // Takes one byte of a key; Submitted hands the line to takeLine().
    Outcome feed(char byte);
    std::string takeLine();

    // What Tab completes with; without one Tab does nothing.
    void setCompleter(Completer completer) { completer_ = std::move(completer); }
    const std::vector<std::string>& listing() const { return listing_; }

    const std::string& text() const { return text_; }
    // A byte position in text().
    std::size_t cursor() const { return cursor_; }

    // Lines to go back to with the arrow keys, oldest first.
    void setHistory(std::vector<std::string> lines);
    const std::vector<std::string>& history() const { return history_; }

private:
    enum class Escape { None, Started, Bracket, Letter };

    Outcome feedEscape(char byte);
    Outcome completeWord();
    void key(char control);
    void insert(char byte);
    void moveLeft();
    void moveRight();
    void eraseBefore();
    void eraseAt();
    void eraseWordBefore();
    void recall(std::size_t index);

    std::string text_;
    std::size_t cursor_ = 0;
    std::string submitted_;
    std::vector<std::string> history_;
    // Where the arrow keys are in the history; history_.size() is the line
    // being typed, kept in draft_ while older lines are shown.
    std::size_t recalled_ = 0;
    std::string draft_;
    Escape escape_ = Escape::None;
    std::string escapeParameter_;
    Completer completer_;
    std::vector<std::string> listing_;
};

struct VisibleLine {
    std::string text;
    std::size_t cursorColumn = 0;
};

// The prompt and the part of `text` around the cursor that fits `columns`
// (the last column is kept free so the terminal never wraps).
VisibleLine visibleLine(std::string_view prompt, std::string_view text, std::size_t cursor, std::size_t columns);

}  // namespace console
