#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "StandInTestSupport.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace standin_test {
namespace {

class LoggingTest : public StandInTest {};

TEST_F(LoggingTest, FileIsNamedWithThePrefixAndLineHoldsTimeLevelSourceAndMessage) {
    prefix_ = "HostLog_";
    ASSERT_EQ(initialize(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "Source\\main.cpp", 42, "", "hello there");
    // Writes out what the log still holds.
    TavmoClientUninitialize();

    const auto files = logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(hasShape(files[0].filename().string(), "HostLog_99999999-999999-999999.log")) << files[0];
    const auto lines = splitLines(readFile(files[0]));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasShape(lines[0], "9999-99-99 99:99:99.999Z INFO Source\\main.cpp:42 hello there")) << lines[0];
}

// The time of a line is the time it was written, to the millisecond, also
// for lines a second apart from one thread.
TEST_F(LoggingTest, EachLineHoldsTheUtcTimeItWasWritten) {
    using namespace std::chrono;
    ASSERT_EQ(initialize(), 1);
    const auto utcText = [](system_clock::time_point at) {
        const auto millis = duration_cast<milliseconds>(at.time_since_epoch()).count();
        const std::time_t seconds = static_cast<std::time_t>(millis / 1000);
        std::tm t{};
        gmtime_r(&seconds, &t);
        char text[40];
        const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &t);
        std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis % 1000));
        return std::string(text);
    };
    std::vector<std::pair<std::string, std::string>> bounds;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) std::this_thread::sleep_for(milliseconds(600));
        const std::string before = utcText(system_clock::now());
        TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "Source\\main.cpp", i, "", "line");
        bounds.emplace_back(before, utcText(system_clock::now()));
    }
    TavmoClientUninitialize();
    const auto lines = splitLines(readFile(logFiles().at(0)));
    ASSERT_EQ(lines.size(), bounds.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The texts sort as the times they show.
        const std::string written = lines[i].substr(0, bounds[i].first.size());
        EXPECT_LE(bounds[i].first, written) << lines[i];
        EXPECT_LE(written, bounds[i].second) << lines[i];
    }
}

TEST_F(LoggingTest, EachLevelIsNamedInItsLine) {
    levels_ = "all";
    ASSERT_EQ(initialize(), 1);
    const struct {
        int32_t level;
        const char* name;
    } cases[] = {{1, "ERROR"}, {2, "WARNING"}, {3, "INFO"}, {4, "DETAIL"}};
    for (const auto& c : cases) TavmoClientLog(c.level, "src.cpp", c.level, "", "message");
    TavmoClientUninitialize();

    const auto lines = splitLines(allLogText());
    ASSERT_EQ(lines.size(), std::size(cases));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find(std::string(" ") + cases[i].name + " src.cpp:" + std::to_string(cases[i].level) + " "),
                  std::string::npos)
            << lines[i];
    }
}

struct DetailCase {
    const char* levels;
    bool detailKept;
};

void PrintTo(const DetailCase& c, std::ostream* out) { *out << '"' << c.levels << '"'; }

class DetailFilterTest : public StandInTest, public ::testing::WithParamInterface<DetailCase> {};

TEST_P(DetailFilterTest, DetailLinesFollowTheLevelsTextWhileOthersAlwaysPass) {
    levels_ = GetParam().levels;
    ASSERT_EQ(initialize(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 1, "", "detail-line");
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 2, "", "formatted-%s", "detail");
    TavmoClientLog(TAVMO_CLIENT_LOG_ERROR, "a.cpp", 3, "", "error-line");
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 4, "", "info-line");
    TavmoClientUninitialize();

    const std::string text = allLogText();
    EXPECT_EQ(text.find("detail-line") != std::string::npos, GetParam().detailKept) << text;
    EXPECT_EQ(text.find("formatted-detail") != std::string::npos, GetParam().detailKept) << text;
    EXPECT_NE(text.find("error-line"), std::string::npos);
    EXPECT_NE(text.find("info-line"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(LevelsTexts, DetailFilterTest,
                         ::testing::Values(DetailCase{"", false}, DetailCase{"INFO ERROR", false},
                                           DetailCase{"debug", true}, DetailCase{"DEBUG", true},
                                           DetailCase{"warning debug@App fatal", true}, DetailCase{"Detail", true},
                                           DetailCase{"info all", true}, DetailCase{"debugging", false},
                                           DetailCase{"overall", false}, DetailCase{"details", false}),
                         [](const ::testing::TestParamInfo<DetailCase>& info) {
                             std::string name = info.param.levels;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name.empty() ? std::string("Empty") : name;
                         });

TEST_F(LoggingTest, LevelsRequestSwitchesDetailLinesOnAndOff) {
    ASSERT_EQ(initialize(), 1);
    auto setLevels = [](const char* text) {
        TavmoClientLogLevelsRecord record{};
        std::snprintf(record.levelsAndCategories, sizeof record.levelsAndCategories, "%s", text);
        return TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, &record, sizeof record);
    };
    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 1, "", "before");
    ASSERT_EQ(setLevels("info debug"), 0);
    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 2, "", "while-enabled");
    ASSERT_EQ(setLevels("info"), 0);
    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 3, "", "after");
    TavmoClientUninitialize();

    const std::string text = allLogText();
    EXPECT_EQ(text.find("before"), std::string::npos);
    EXPECT_NE(text.find("while-enabled"), std::string::npos);
    EXPECT_EQ(text.find("after"), std::string::npos);
}

TEST_F(LoggingTest, NewFileStartsOnceAFileReachesTheSizeAndNoLineIsLostOrSplit) {
    logSize_ = 300;
    ASSERT_EQ(initialize(), 1);
    std::vector<std::string> messages;
    // Fewer files than are kept.
    for (int i = 0; i < 25; ++i) {
        messages.push_back("message number " + std::to_string(i) + std::string(static_cast<size_t>(i % 7) * 5, 'x'));
        TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "rotate.cpp", i, "", messages.back().c_str());
    }
    TavmoClientUninitialize();

    const auto files = logFiles();
    ASSERT_GT(files.size(), 2u);
    std::vector<std::string> logged;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string text = readFile(files[i]);
        const auto lines = splitLines(text);
        ASSERT_FALSE(lines.empty()) << files[i];
        const size_t beforeLastLine = text.size() - lines.back().size() - 1;
        EXPECT_LT(beforeLastLine, logSize_) << "file went on past the size: " << files[i];
        if (i + 1 < files.size()) {
            EXPECT_GE(text.size(), logSize_) << "file closed early: " << files[i];
        }
        for (const auto& line : lines) {
            EXPECT_TRUE(isLogLine(line)) << line;
            logged.push_back(line.substr(line.find("rotate.cpp:")));
        }
    }
    ASSERT_EQ(logged.size(), messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(logged[i], "rotate.cpp:" + std::to_string(i) + " " + messages[i]);
    }
}

TEST_F(LoggingTest, OnlyTheNewestTenFilesOfThePrefixStay) {
    logSize_ = 100;
    fs::create_directories(logDirectory());
    const fs::path otherPrefix = logDirectory() / "OtherHost_20260101-000000-000001.log";
    const fs::path otherShape = logDirectory() / (prefix_ + "notes.log");
    for (const fs::path& path : {otherPrefix, otherShape}) std::ofstream(path) << "kept\n";
    ASSERT_EQ(initialize(), 1);
    for (int i = 0; i < 60; ++i)
        TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", i, "",
                       ("line " + std::to_string(i) + std::string(80, 'x')).c_str());
    TavmoClientUninitialize();

    std::vector<fs::path> files;
    for (const fs::path& file : logFiles())
        if (file != otherShape) files.push_back(file);
    ASSERT_EQ(files.size(), 10u);
    EXPECT_NE(readFile(files.back()).find("a.cpp:59 line 59"), std::string::npos) << "the newest file went";
    EXPECT_EQ(allLogText().find("a.cpp:0 line 0"), std::string::npos) << "the oldest file stayed";
    EXPECT_TRUE(fs::exists(otherPrefix));
    EXPECT_TRUE(fs::exists(otherShape));
}

TEST_F(LoggingTest, SizeZeroKeepsOneFile) {
    logSize_ = 0;
    ASSERT_EQ(initialize(), 1);
    for (int i = 0; i < 300; ++i) TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", i, "", "a line of some length");
    TavmoClientUninitialize();
    EXPECT_EQ(logFiles().size(), 1u);
    EXPECT_EQ(splitLines(allLogText()).size(), 300u);
}

TEST_F(LoggingTest, FormattedMessagesAreFormattedWhateverTheirLength) {
    ASSERT_EQ(initialize(), 1);
    const std::string big(size_t{1024} * 1024, 'q');
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "f.cpp", 1, "", "value=%d text=%s", 7, "abc");
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "f.cpp", 2, "", "<%s|%d>", big.c_str(), 99);
    const std::string exact1023(1023, 'e');
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "f.cpp", 3, "", "%s", exact1023.c_str());
    const std::string exact1024(1024, 'g');
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "f.cpp", 4, "", "%s", exact1024.c_str());
    TavmoClientUninitialize();

    const auto lines = splitLines(allLogText());
    ASSERT_EQ(lines.size(), 4u);
    auto message = [](const std::string& line) { return line.substr(line.find(' ', line.find("f.cpp:")) + 1); };
    EXPECT_EQ(message(lines[0]), "value=7 text=abc");
    EXPECT_EQ(message(lines[1]), "<" + big + "|99>");
    EXPECT_EQ(message(lines[2]), exact1023);
    EXPECT_EQ(message(lines[3]), exact1024);
}

TEST_F(LoggingTest, UnwritableDirectoryMakesLoggingDoNothing) {
    const fs::path blocker = dir_.path() / "not-a-directory";
    writeFile(blocker, "a file where the log directory's parent should be");
    logDirectory_ = blocker / "logs";
    ASSERT_EQ(initialize(), 1);
    for (int i = 0; i < 10; ++i) TavmoClientLog(TAVMO_CLIENT_LOG_ERROR, "a.cpp", i, "", "nowhere to go");
    TavmoClientLogFormatted(TAVMO_CLIENT_LOG_ERROR, "a.cpp", 11, "", "%s", "still nowhere");

    EXPECT_FALSE(fs::exists(logDirectory_));
    EXPECT_EQ(readFile(blocker), "a file where the log directory's parent should be");
    int32_t state = -1;
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 0);
}

TEST_F(LoggingTest, ConfigurationTextsAreCopiedNotKept) {
    std::string levels = "debug";
    std::string logDir = (dir_.path() / "copied").string();
    std::string prefix = "Copied_";
    TavmoClientLogConfig config{};
    config.levelsAndCategories = levels.c_str();
    config.logDirectory = logDir.c_str();
    config.fileNamePrefix = prefix.c_str();
    ASSERT_EQ(TavmoClientInitialize(&EventRecorder::callback, kInitializeWord, &config), 1);
    // Same lengths, so the host's buffers stay in place but say something else.
    levels.assign(levels.size(), 'z');
    logDir.assign(logDir.size(), 'z');
    prefix.assign(prefix.size(), 'z');

    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 1, "", "detail after the host changed its buffers");
    TavmoClientUninitialize();
    const auto files = filesWithPrefix(dir_.path() / "copied", "Copied_");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(readFile(files[0]).find("detail after the host changed its buffers"), std::string::npos);
}

TEST_F(LoggingTest, StartTakesTheNewLogConfiguration) {
    ASSERT_EQ(initialize(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 1, "", "first home");
    const fs::path firstDirectory = logDirectory_;
    logDirectory_ = dir_.path() / "second-logs";
    levels_ = "detail";
    ASSERT_EQ(start(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_DETAIL, "a.cpp", 2, "", "second home");
    TavmoClientUninitialize();

    const auto first = filesWithPrefix(firstDirectory, prefix_);
    const auto second = filesWithPrefix(logDirectory_, prefix_);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(readFile(first[0]).find("first home"), std::string::npos);
    EXPECT_EQ(readFile(first[0]).find("second home"), std::string::npos);
    EXPECT_NE(readFile(second[0]).find("second home"), std::string::npos);
}

// Every line of `text` is a log line whose message is "<writer> line <i> ...";
// each writer's lines come numbered 0, 1, ... and there are `linesEach`.
void expectEveryWriterInOrder(const std::string& text, const std::vector<std::string>& writers, int linesEach) {
    std::map<std::string, int> next;
    for (const auto& writer : writers) next[writer] = 0;
    for (const auto& line : splitLines(text)) {
        ASSERT_TRUE(isLogLine(line)) << line;
        size_t message = 0;
        for (int space = 0; space < 4; ++space) message = line.find(' ', message) + 1;
        char writer[64] = {};
        int i = -1;
        ASSERT_EQ(std::sscanf(line.c_str() + message, "%63s line %d", writer, &i), 2) << line;
        const auto found = next.find(writer);
        ASSERT_NE(found, next.end()) << line;
        EXPECT_EQ(i, found->second++) << line;
    }
    for (const auto& [writer, count] : next) EXPECT_EQ(count, linesEach) << writer;
}

struct WritersCase {
    const char* name;
    int lines;
    size_t padding;
    uint32_t fileSize;
};

void PrintTo(const WritersCase& c, std::ostream* out) { *out << c.name; }

class ConcurrentWritersTest : public StandInTest, public ::testing::WithParamInterface<WritersCase> {};

TEST_P(ConcurrentWritersTest, NeitherLoseNorReorderNorInterleaveLines) {
    const WritersCase& c = GetParam();
    logSize_ = c.fileSize;
    ASSERT_EQ(initialize(), 1);
    const std::string padding(c.padding, 'p');
    std::vector<std::string> names;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) names.push_back("writer-" + std::to_string(t));
    for (const auto& name : names) {
        writers.emplace_back([&name, &padding, &c] {
            for (int i = 0; i < c.lines; ++i) {
                TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "writer.cpp", i, "", "%s line %d %s", name.c_str(), i,
                                        padding.c_str());
            }
        });
    }
    for (auto& writer : writers) writer.join();
    TavmoClientUninitialize();
    expectEveryWriterInOrder(allLogText(), names, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ConcurrentWritersTest,
                         ::testing::Values(
                             // A few new files meanwhile, fewer than are kept.
                             WritersCase{"ShortLinesOverSeveralFiles", 400, 24, 64 * 1024},
                             // More than the queue holds, so that writers wait for room.
                             WritersCase{"MoreThanTheQueueHolds", 600, 1000, 0}),
                         [](const ::testing::TestParamInfo<WritersCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(LoggingTest, ErrorLineAndEveryLineBeforeItAreInTheFileWhenTheCallReturns) {
    ASSERT_EQ(initialize(), 1);
    std::vector<std::string> expected;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 50; ++i) {
            TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "e.cpp", i, "", "before the error %d", i);
            expected.push_back("INFO e.cpp:" + std::to_string(i) + " before the error " + std::to_string(i));
        }
        // Both ways in.
        if (round == 0) {
            TavmoClientLogFormatted(TAVMO_CLIENT_LOG_ERROR, "e.cpp", 99, "", "%s", "the formatted error");
            expected.push_back("ERROR e.cpp:99 the formatted error");
        } else {
            TavmoClientLog(TAVMO_CLIENT_LOG_ERROR, "e.cpp", 98, "", "the plain error");
            expected.push_back("ERROR e.cpp:98 the plain error");
        }

        // Read while the library still runs: not a question of time.
        const auto lines = splitLines(allLogText());
        ASSERT_EQ(lines.size(), expected.size());
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].substr(lines[i].find(' ', 11) + 1), expected[i]);
    }
}

#if !defined(_WIN32)
TEST_F(LoggingTest, ChildOfForkWritesItsOwnLinesAndNotItsParents) {
    ASSERT_EQ(initialize(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "fork.cpp", 1, "", "parent before the fork");
    const pid_t child = fork();
    if (child == 0) {
        TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "fork.cpp", 2, "", "child line");
        std::_Exit(0);
    }
    ASSERT_GT(child, 0);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "fork.cpp", 3, "", "parent after the fork");
    TavmoClientUninitialize();

    const std::string text = allLogText();
    for (const char* message : {"parent before the fork", "child line", "parent after the fork"}) {
        const size_t first = text.find(message);
        EXPECT_NE(first, std::string::npos) << message << "\n" << text;
        EXPECT_EQ(text.find(message, first + 1), std::string::npos) << message << " twice\n" << text;
    }
}
#endif

// How a process may end without uninitializing the library, and the exit
// code it then has.
struct ProcessEnd {
    const char* how;
    int exitCode;
};

void PrintTo(const ProcessEnd& c, std::ostream* out) { *out << c.how; }

#if defined(_WIN32)
constexpr int kAbortedCode = 3;
#else
constexpr int kAbortedCode = 128 + SIGABRT;
#endif

class ProcessEndTest : public StandInTest, public ::testing::WithParamInterface<ProcessEnd> {};

TEST_P(ProcessEndTest, LinesLoggedJustBeforeAreInTheFile) {
    const std::string command = std::string("\"") + STANDIN_LOG_THEN_EXIT + "\" \"" + logDirectory().string() + "\" " +
                                prefix_ + " " + GetParam().how;
    int status = std::system(command.c_str());
#if !defined(_WIN32)
    status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
#endif
    EXPECT_EQ(status, GetParam().exitCode);
    // As in LogThenExit.cpp.
    expectEveryWriterInOrder(allLogText(), {"main", "other"}, 200);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProcessEndTest,
                         ::testing::Values(ProcessEnd{"exit-0", 0}, ProcessEnd{"exit-3", 3}, ProcessEnd{"return", 0},
                                           ProcessEnd{"terminate", kAbortedCode}),
                         [](const ::testing::TestParamInfo<ProcessEnd>& info) {
                             std::string name = info.param.how;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

TEST_F(LoggingTest, ConsoleEchoFollowsItsSwitch) {
    ASSERT_EQ(initialize(), 1);
    ::testing::internal::CaptureStderr();
    TavmoClientConsoleLogConfigure(1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 1, "", "echoed line");
    TavmoClientConsoleLogConfigure(0);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 2, "", "quiet line");
    const std::string console = ::testing::internal::GetCapturedStderr();
    TavmoClientUninitialize();

    EXPECT_NE(console.find("a.cpp:1 echoed line"), std::string::npos) << console;
    EXPECT_EQ(console.find("quiet line"), std::string::npos) << console;
    EXPECT_NE(allLogText().find("quiet line"), std::string::npos);
}

}  // namespace
}  // namespace standin_test
