#include <cctype>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class LoggingTest : public StandInTest {};

TEST_F(LoggingTest, FileIsNamedWithThePrefixAndLineHoldsTimeLevelSourceAndMessage) {
    prefix_ = "HostLog_";
    ASSERT_EQ(initialize(), 1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "Source\\main.cpp", 42, "", "hello there");

    const auto files = logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(hasShape(files[0].filename().string(), "HostLog_99999999-999999-999999.log")) << files[0];
    const auto lines = splitLines(readFile(files[0]));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasShape(lines[0], "9999-99-99 99:99:99.999Z INFO Source\\main.cpp:42 hello there")) << lines[0];
}

TEST_F(LoggingTest, EachLevelIsNamedInItsLine) {
    levels_ = "all";
    ASSERT_EQ(initialize(), 1);
    const struct {
        int32_t level;
        const char* name;
    } cases[] = {{1, "ERROR"}, {2, "WARNING"}, {3, "INFO"}, {4, "DETAIL"}};
    for (const auto& c : cases) TavmoClientLog(c.level, "src.cpp", c.level, "", "message");

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

    const auto first = filesWithPrefix(firstDirectory, prefix_);
    const auto second = filesWithPrefix(logDirectory_, prefix_);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(readFile(first[0]).find("first home"), std::string::npos);
    EXPECT_EQ(readFile(first[0]).find("second home"), std::string::npos);
    EXPECT_NE(readFile(second[0]).find("second home"), std::string::npos);
}

TEST_F(LoggingTest, ConcurrentWritersNeitherLoseNorInterleaveLines) {
    // A few new files meanwhile, fewer than are kept.
    logSize_ = 64 * 1024;
    ASSERT_EQ(initialize(), 1);
    constexpr int kThreads = 4;
    constexpr int kLines = 400;
    std::vector<std::thread> writers;
    writers.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) {
                TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "writer.cpp", t, "", "writer %d line %d %s", t, i,
                                        "padding-padding-padding");
            }
        });
    }
    for (auto& writer : writers) writer.join();

    std::vector<int> nextLine(kThreads, 0);
    size_t total = 0;
    for (const auto& line : splitLines(allLogText())) {
        ASSERT_TRUE(isLogLine(line)) << line;
        int t = -1, i = -1;
        const auto at = line.find("writer ", line.find("writer.cpp:"));
        ASSERT_EQ(std::sscanf(line.c_str() + at, "writer %d line %d", &t, &i), 2) << line;
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        EXPECT_EQ(i, nextLine[static_cast<size_t>(t)]++) << line;
        ++total;
    }
    EXPECT_EQ(total, static_cast<size_t>(kThreads * kLines));
}

TEST_F(LoggingTest, ConsoleEchoFollowsItsSwitch) {
    ASSERT_EQ(initialize(), 1);
    ::testing::internal::CaptureStderr();
    TavmoClientConsoleLogConfigure(1);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 1, "", "echoed line");
    TavmoClientConsoleLogConfigure(0);
    TavmoClientLog(TAVMO_CLIENT_LOG_INFO, "a.cpp", 2, "", "quiet line");
    const std::string console = ::testing::internal::GetCapturedStderr();

    EXPECT_NE(console.find("a.cpp:1 echoed line"), std::string::npos) << console;
    EXPECT_EQ(console.find("quiet line"), std::string::npos) << console;
    EXPECT_NE(allLogText().find("quiet line"), std::string::npos);
}

}  // namespace
}  // namespace standin_test
