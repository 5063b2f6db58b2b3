// What the console prints, its command line, and a script's summary.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "Options.h"
#include "Printer.h"
#include "Script.h"

namespace console {
namespace {

struct LineCase {
    MessageKind kind;
    bool errorReply;
    std::string body;
    PrintStyle style;
    std::string line;
    std::string label = {};
};

class MessageLine : public testing::TestWithParam<LineCase> {};

TEST_P(MessageLine, ShowsTimeDirectionKindAndBody) {
    EXPECT_EQ(formatMessage(1.25, GetParam().kind, GetParam().errorReply, GetParam().body, GetParam().style,
                            GetParam().label),
              GetParam().line);
}

const std::string kReply = "{\"_direction\":2,\"type\":\"X\"}\n";

INSTANTIATE_TEST_SUITE_P(
    Printer, MessageLine,
    testing::Values(
        LineCase{MessageKind::Request, false, R"({"type":"X"})", {}, R"(   1.250 >> request {"type":"X"})"},
        LineCase{MessageKind::Control, false, "{EXIT}", {}, "   1.250 >> control {EXIT}"},
        LineCase{MessageKind::Reply, false, kReply, {}, "   1.250 << reply   {\"_direction\":2,\"type\":\"X\"}"},
        LineCase{MessageKind::Event, false, "{\"code\":1}\n\n", {}, "   1.250 << event   {\"code\":1}\\x0a"},
        LineCase{MessageKind::Event, false, "{\"code\":1}\n", {}, "   1.250 << event   1 one {\"code\":1}", "1 one"},
        // Raw shows the bytes alone; the fit counts the label.
        LineCase{MessageKind::Event, false, "{}\n", {false, true}, "   1.250 << event   [03 00 00 00] {}\\n", "1 one"},
        LineCase{MessageKind::Event,
                 false,
                 "{\"code\":2500}\n",
                 {false, false, 40},
                 "   1.250 << event   2500 callState {\"\xe2\x80\xa6",
                 "2500 callState"},
        LineCase{MessageKind::NotJson, false, "\x1b[2Jhi\x7f", {}, "   1.250 << other   \\x1b[2Jhi\\x7f"},
        LineCase{
            MessageKind::Reply, false, "{\"t\":\"\xc3\xa9\\\\\"}", {}, "   1.250 << reply   {\"t\":\"\xc3\xa9\\\\\"}"},
        LineCase{MessageKind::Reply,
                 false,
                 kReply,
                 {false, true},
                 "   1.250 << reply   [1c 00 00 00] {\"_direction\":2,\"type\":\"X\"}\\n"},
        LineCase{MessageKind::Reply,
                 false,
                 "{\"t\":\"\xc3\xa9\\\\\"}",
                 {false, true},
                 "   1.250 << reply   [0c 00 00 00] {\"t\":\"\\xc3\\xa9\\\\\\\\\"}"},
        LineCase{MessageKind::Request,
                 false,
                 std::string(300, 'a'),
                 {false, true},
                 "   1.250 >> request [2c 01 00 00] " + std::string(300, 'a')},
        LineCase{MessageKind::Reply,
                 false,
                 kReply,
                 {true, false},
                 "\033[2m   1.250\033[0m \033[32m<< reply  \033[0m {\"_direction\":2,\"type\":\"X\"}"},
        LineCase{MessageKind::Reply,
                 true,
                 kReply,
                 {true, false},
                 "\033[2m   1.250\033[0m \033[31m<< reply  \033[0m {\"_direction\":2,\"type\":\"X\"}"},
        LineCase{MessageKind::Event,
                 false,
                 kReply,
                 {true, false},
                 "\033[2m   1.250\033[0m \033[36m<< event  \033[0m {\"_direction\":2,\"type\":\"X\"}"},
        // Cut to fit 40 columns: the body gets 18 of them.
        LineCase{MessageKind::Reply,
                 false,
                 "{\"type\":\"RequestGetVersion\"}\n",
                 {false, false, 40},
                 "   1.250 << reply   {\"type\":\"RequestG\xe2\x80\xa6"},
        LineCase{MessageKind::Reply,
                 false,
                 "{\"type\":\"Request\"}\n",
                 {false, false, 40},
                 "   1.250 << reply   {\"type\":\"Request\"}"},
        LineCase{MessageKind::Reply,
                 false,
                 "{\"t\":\"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\"}",
                 {true, false, 40},
                 "\033[2m   1.250\033[0m \033[32m<< reply  \033[0m "
                 "{\"t\":\"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\"}"},
        LineCase{MessageKind::Reply,
                 false,
                 kReply,
                 {false, true, 40},
                 "   1.250 << reply   [1c 00 00 00] {\"_\xe2\x80\xa6"}));

// Output written through a Printer, read back from a temporary file.
class PrintedText {
public:
    PrintedText() : file_(std::tmpfile()) {}
    ~PrintedText() { std::fclose(file_); }
    std::FILE* file() { return file_; }
    std::string text() {
        std::fflush(file_);
        std::rewind(file_);
        std::string content;
        for (int c; (c = std::fgetc(file_)) != EOF;) content += static_cast<char>(c);
        return content;
    }

private:
    std::FILE* file_;
};

TEST(PrinterOutput, BottomLineStaysBelowOnATerminalOnly) {
    PrintedText terminal;
    Printer onTerminal(terminal.file(), {}, true);
    onTerminal.setBottomLine("> abc", 4);
    onTerminal.note("Join");
    onTerminal.clearBottomLine();
    onTerminal.info("done");
    EXPECT_EQ(terminal.text(),
              "\r\033[K> abc\r\033[4C"
              "\r\033[K== Join\n> abc\r\033[4C"
              "\r\033[K-- done\n");

    PrintedText piped;
    Printer notTerminal(piped.file(), {}, false);
    notTerminal.setBottomLine("> abc", 4);
    notTerminal.note("Join");
    notTerminal.problem("bad");
    notTerminal.clearBottomLine();
    EXPECT_EQ(piped.text(), "== Join\n!! bad\n");
}

TEST(PrinterOutput, BottomLineIsCutSoItNeverWraps) {
    // Not a real terminal: the width it falls back to is 80 columns.
    PrintedText output;
    Printer printer(output.file(), {}, true);
    printer.setBottomLine(std::string(100, 'p'), 100);
    EXPECT_EQ(output.text(), "\r\033[K" + std::string(79, 'p') + "\r\033[79C");
}

TEST(PrinterOutput, ProgressFollowsEachLineOnATerminalUntilStopped) {
    int lines = 0;
    const auto progress = [&lines] { return "after " + std::to_string(++lines); };
    PrintedText terminal;
    Printer onTerminal(terminal.file(), {}, true);
    onTerminal.followProgress(progress);
    onTerminal.info("one");
    onTerminal.info("two");
    onTerminal.followProgress(nullptr);
    onTerminal.info("three");
    EXPECT_EQ(terminal.text(),
              "-- one\nafter 1\r\033[7C"
              "\r\033[K-- two\nafter 2\r\033[7C"
              "\r\033[K-- three\nafter 2\r\033[7C");

    PrintedText piped;
    Printer notTerminal(piped.file(), {}, false);
    notTerminal.followProgress(progress);
    notTerminal.info("one");
    EXPECT_EQ(piped.text(), "-- one\n");
    EXPECT_EQ(lines, 2) << "not asked for where nothing shows it";
}

struct OptionsCase {
    std::vector<std::string> arguments;
    std::string error;
    std::string host;
    std::string script;
    bool raw;
    ColourChoice colour;
    long long paceMilliseconds;
    std::vector<std::string> launcher;
};

class CommandLine : public testing::TestWithParam<OptionsCase> {};

TEST_P(CommandLine, IsReadOrRefused) {
    Options options;
    std::string error;
    const bool understood = parseOptions(GetParam().arguments, options, error);
    EXPECT_EQ(understood, GetParam().error.empty());
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
    if (!understood) return;
    EXPECT_EQ(options.host, GetParam().host);
    EXPECT_EQ(options.script, GetParam().script);
    EXPECT_EQ(options.raw, GetParam().raw);
    EXPECT_EQ(options.colour, GetParam().colour);
    EXPECT_EQ(options.pace.count(), GetParam().paceMilliseconds);
    EXPECT_EQ(options.launcher, GetParam().launcher);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    testing::Values(
        OptionsCase{{}, "", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--host", "/h", "--raw", "s.txt"}, "", "/h", "s.txt", true, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--host=/h=x", "-"}, "", "/h=x", "-", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--color", "never", "--pace=0.25"}, "", "", "", false, ColourChoice::Never, 250, {}},
        OptionsCase{{"--color=always", "--launcher", " wine64  --x "},
                    "",
                    "",
                    "",
                    false,
                    ColourChoice::Always,
                    0,
                    {"wine64", "--x"}},
        OptionsCase{
            {"--color=sometimes"}, "--color takes auto, always or never", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--pace", "-1"}, "--pace takes seconds from 0 to 60", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--pace", "2x"}, "--pace takes seconds", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--pace", "61"}, "--pace takes seconds", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--host"}, "--host needs a value", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"--raw=yes"}, "unknown option --raw", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"-x"}, "unknown option -x", "", "", false, ColourChoice::Auto, 0, {}},
        OptionsCase{{"a.txt", "b.txt"}, "only one script", "", "", false, ColourChoice::Auto, 0, {}}));

TEST(Colour, OnATerminalUnlessNoColorHoldsAValueOrAsChosen) {
    EXPECT_TRUE(colourWanted(ColourChoice::Auto, true, nullptr));
    EXPECT_TRUE(colourWanted(ColourChoice::Auto, true, ""));
    EXPECT_FALSE(colourWanted(ColourChoice::Auto, true, "1"));
    EXPECT_FALSE(colourWanted(ColourChoice::Auto, false, nullptr));
    EXPECT_TRUE(colourWanted(ColourChoice::Always, false, "1"));
    EXPECT_FALSE(colourWanted(ColourChoice::Never, true, nullptr));
}

struct SummaryCase {
    ScriptOutcome outcome;
    Counts counts;
    ExitStatus exit;
    std::string line;
};

class Summary : public testing::TestWithParam<SummaryCase> {};

TEST_P(Summary, CountsAndVerdict) {
    EXPECT_EQ(summaryLine("Demo", GetParam().outcome, GetParam().counts, 3.21, GetParam().exit), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Script, Summary,
    testing::Values(
        SummaryCase{{}, {14, 14, 37, 0}, {}, "Demo finished: 14 requests, 14 replies, 37 events, 0 errors in 3.2 s"},
        SummaryCase{{}, {1, 1, 1, 1}, {}, "Demo finished: 1 request, 1 reply, 1 event, 1 error in 3.2 s"},
        SummaryCase{{false, "line 4: wait 200: the host ended first"},
                    {2, 0, 0, 0},
                    {},
                    "Demo failed (line 4: wait 200: the host ended first): 2 requests, 0 replies, 0 events, 0 errors "
                    "in 3.2 s"},
        SummaryCase{{},
                    {0, 0, 0, 0},
                    {255, 0, false},
                    "Demo failed (host exited with code 255 (-1)): 0 requests, 0 replies, 0 events, 0 errors in 3.2 s"},
        SummaryCase{{},
                    {3, 3, 0, 0},
                    {0, 0, true},
                    "Demo failed (host exited with code 0 after it was killed for not ending in time): 3 requests, 3 "
                    "replies, 0 events, 0 errors in 3.2 s"},
        SummaryCase{{},
                    {3, 2, 0, 0},
                    {139, 11, false},
                    "Demo failed (host ended by signal 11): 3 requests, 2 replies, 0 events, 0 errors in 3.2 s"}));

TEST(ScriptReading, ListsEveryMistakeWithItsLineAndCountsRequestsAndNotes) {
    std::istringstream text(
        "# heading\n"
        "note One\n"
        "RequestGetVersion\n"
        "InEventMuteAudioIn willMute\n"
        "wait RequestGetVersion\n"
        "\n"
        "{EXIT}\n"
        "wait\n"
        "note Two\n"
        "{\"type\":\"RequestGetCallState\"}\n");
    std::vector<ScriptProblem> problems;
    const Script script = readScript(text, problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 4);
    EXPECT_EQ(problems[0].error, "expected name=value: willMute");
    EXPECT_EQ(problems[1].line, 8);
    EXPECT_EQ(script.requests, 2);
    EXPECT_EQ(script.notes, 2);
    std::vector<int> numbers;
    for (const ScriptLine& line : script.lines) numbers.push_back(line.number);
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 5, 7, 9, 10}));
}

}  // namespace
}  // namespace console
