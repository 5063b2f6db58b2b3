// The line editor of interactive mode, fed the bytes that keys send.
#include <gtest/gtest.h>

#include "LineEditor.h"

namespace console {
namespace {

// Keys, as a terminal sends them.
const std::string kLeft = "\x1b[D";
const std::string kRight = "\x1b[C";
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kHome = "\x1b[H";
const std::string kEnd = "\x1bOF";
const std::string kHomeTilde = "\x1b[1~";
const std::string kDeleteKey = "\x1b[3~";
const std::string kCtrlRight = "\x1b[1;5C";
const std::string kBackspace = "\x7f";

LineEditor::Outcome feedAll(LineEditor& editor, const std::string& keys) {
    LineEditor::Outcome outcome = LineEditor::Outcome::Editing;
    for (char key : keys) outcome = editor.feed(key);
    return outcome;
}

struct EditCase {
    std::string keys;
    std::string text;
    // The cursor, in bytes.
    std::size_t cursor;
};

class Editing : public testing::TestWithParam<EditCase> {};

TEST_P(Editing, LeavesTheTextAndCursor) {
    LineEditor editor;
    EXPECT_EQ(feedAll(editor, GetParam().keys), LineEditor::Outcome::Editing);
    EXPECT_EQ(editor.text(), GetParam().text);
    EXPECT_EQ(editor.cursor(), GetParam().cursor);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Editing,
    testing::Values(EditCase{"abc", "abc", 3}, EditCase{"abc" + kLeft + kLeft + "X", "aXbc", 2},
                    EditCase{"abc" + kHome + "X", "Xabc", 1},
                    EditCase{"abc\x01"
                             "X\x05Y",
                             "XabcY", 5},
                    EditCase{"abc" + kHomeTilde + kRight + kDeleteKey, "ac", 1},
                    EditCase{"abc" + kLeft + kBackspace, "ac", 1}, EditCase{"abc\x08\x08", "a", 1},
                    EditCase{kBackspace + kLeft + kDeleteKey, "", 0}, EditCase{"abc" + kRight + kRight, "abc", 3},
                    EditCase{"abcd" + kLeft + kLeft + "\x0b", "ab", 2}, EditCase{"abcd" + kLeft + "\x15", "d", 0},
                    EditCase{"wait 2500  callState\x17", "wait 2500  ", 11}, EditCase{"one two  \x17", "one ", 4},
                    EditCase{"abc" + kLeft + "\x04", "ab", 2}, EditCase{"ab" + kLeft + kCtrlRight + "X", "abX", 3},
                    EditCase{"a\tb", "ab", 2}, EditCase{"\x1bxab", "ab", 2},
                    // UTF-8: one key moves over and erases a whole character.
                    EditCase{"h\xc3\xa9" + kLeft + "X", "hX\xc3\xa9", 2},
                    EditCase{"\xe4\xb8\xad\xc3\xa9" + kBackspace, "\xe4\xb8\xad", 3},
                    EditCase{"\xe4\xb8\xad\xc3\xa9" + kHome + kDeleteKey, "\xc3\xa9", 0},
                    EditCase{"\xe4\xb8\xad" + kLeft + kRight + "!", "\xe4\xb8\xad!", 4}));

TEST(LineEditorKeys, EnterHandsOverTheLineAndStartsAfresh) {
    LineEditor editor;
    EXPECT_EQ(feedAll(editor, "RequestGetVersion" + kLeft + "\r"), LineEditor::Outcome::Submitted);
    EXPECT_EQ(editor.takeLine(), "RequestGetVersion");
    EXPECT_EQ(editor.text(), "");
    EXPECT_EQ(editor.cursor(), 0u);
    EXPECT_EQ(feedAll(editor, "x\n"), LineEditor::Outcome::Submitted);
    EXPECT_EQ(editor.takeLine(), "x");
}

TEST(LineEditorKeys, CtrlDEndsOnlyAnEmptyLineAndCtrlCClearsIt) {
    LineEditor editor;
    EXPECT_EQ(feedAll(editor, "ab\x04"), LineEditor::Outcome::Editing);
    EXPECT_EQ(feedAll(editor, "\x03"), LineEditor::Outcome::Interrupted);
    EXPECT_EQ(editor.text(), "");
    EXPECT_EQ(feedAll(editor, "\x04"), LineEditor::Outcome::EndOfInput);
}

TEST(LineEditorKeys, HistoryGoesBackAndForthAndKeepsTheDraft) {
    LineEditor editor;
    editor.setHistory({"first", "second"});
    for (const char* line : {"third", "third", ""}) {
        feedAll(editor, line);
        feedAll(editor, "\r");
    }
    EXPECT_EQ(editor.history(), (std::vector<std::string>{"first", "second", "third"}))
        << "repeats and empty lines are not kept";

    feedAll(editor, "draft");
    feedAll(editor, kUp);
    EXPECT_EQ(editor.text(), "third");
    EXPECT_EQ(editor.cursor(), 5u);
    feedAll(editor, kUp + kUp + kUp + kUp);
    EXPECT_EQ(editor.text(), "first") << "stops at the oldest";
    feedAll(editor, kDown);
    EXPECT_EQ(editor.text(), "second");
    feedAll(editor, kDown + kDown + kDown);
    EXPECT_EQ(editor.text(), "draft") << "below the newest is the line being typed";

    feedAll(editor,
            "\x10"
            "X\r");
    EXPECT_EQ(editor.takeLine(), "thirdX");
    EXPECT_EQ(editor.history().back(), "thirdX");
    feedAll(editor, kUp);
    EXPECT_EQ(editor.text(), "thirdX");
}

TEST(LineEditorKeys, HistoryKeepsTheNewestThousandLines) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1005; ++i) lines.push_back("line " + std::to_string(i));
    LineEditor editor;
    editor.setHistory(lines);
    ASSERT_EQ(editor.history().size(), 1000u);
    EXPECT_EQ(editor.history().front(), "line 5");
    feedAll(editor, "new\r");
    EXPECT_EQ(editor.history().size(), 1000u);
    EXPECT_EQ(editor.history().front(), "line 6");
    EXPECT_EQ(editor.history().back(), "new");
}

struct VisibleCase {
    std::string text;
    std::size_t cursor;
    std::size_t columns;
    std::string shown;
    std::size_t cursorColumn;
};

class Visible : public testing::TestWithParam<VisibleCase> {};

TEST_P(Visible, ShowsThePartAroundTheCursorThatFits) {
    const VisibleLine line = visibleLine("> ", GetParam().text, GetParam().cursor, GetParam().columns);
    EXPECT_EQ(line.text, "> " + GetParam().shown);
    EXPECT_EQ(line.cursorColumn, GetParam().cursorColumn);
    EXPECT_LT(columnsOf(line.text), std::max<std::size_t>(GetParam().columns, 4u)) << "never the last column";
}

INSTANTIATE_TEST_SUITE_P(Lines, Visible,
                         testing::Values(VisibleCase{"abc", 3, 80, "abc", 5}, VisibleCase{"abc", 0, 80, "abc", 2},
                                         VisibleCase{"abcdefghij", 10, 8, "ghij", 6},
                                         VisibleCase{"abcdefghij", 2, 8, "abcde", 4},
                                         VisibleCase{"abcdefghij", 7, 8, "defgh", 6},
                                         VisibleCase{"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 8, 6, "\xc3\xa9\xc3\xa9", 4},
                                         VisibleCase{"abc", 3, 2, "", 2}));

TEST(Columns, CountCharactersAndCutBetweenThem) {
    EXPECT_EQ(columnsOf("abc"), 3u);
    EXPECT_EQ(columnsOf("\xe4\xb8\xad\xc3\xa9x"), 3u);
    EXPECT_EQ(fitToColumns("\xe4\xb8\xad\xc3\xa9x", 2), "\xe4\xb8\xad\xc3\xa9");
    EXPECT_EQ(fitToColumns("abc", 10), "abc");
    EXPECT_EQ(fitToColumns("abc", 0), "");
}

}  // namespace
}  // namespace console
