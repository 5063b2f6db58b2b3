// The console against the real host and the stand-in library: scripts, their
// waits and summary, and how the host's end is reported.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "ConsoleProcess.h"
#include "TavmoFacts.h"
#include "support/ScratchFolder.h"

namespace {

std::size_t linesStartingWith(const std::string& output, const std::string& start) {
    const std::vector<std::string> lines = linesOf(output);
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() > 9 && line.compare(9, start.size(), start) == 0;
    }));
}

std::string lastLine(const std::string& output) {
    const std::vector<std::string> lines = linesOf(output);
    return lines.empty() ? std::string() : lines.back();
}

// The summary ends the output; its time varies, so only its start is known.
testing::AssertionResult lastLineStartsWith(const std::string& output, const std::string& start) {
    const std::string last = lastLine(output);
    if (last.rfind(start, 0) == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the last line is " << last;
}

std::string hexByte(std::size_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02zx", value & 0xFF);
    return text;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ConsoleRun : public testing::Test {
protected:
    // Runs the console on `script` (a file; standard input when `fromInput`),
    // with the host that the console finds beside itself.
    Finished run(const std::string& script, std::vector<std::string> options = {},
                 std::vector<std::pair<std::string, std::string>> environment = {}, bool fromInput = false) {
        std::vector<std::string> argv = {TAVMO_CONSOLE_EXECUTABLE, "--data-dir", folder_.path() + "/appdata"};
        argv.insert(argv.end(), options.begin(), options.end());
        if (!fromInput) {
            std::ofstream(folder_.path() + "/script.txt") << script;
            argv.push_back("script.txt");
        }
        environment.emplace_back("TMPDIR", folder_.path());
        environment.emplace_back("XDG_RUNTIME_DIR", runFolder());
        environment.emplace_back("XDG_CONFIG_HOME", folder_.path() + "/config");
        environment.emplace_back("HOME", folder_.path());
        return runProgram(argv, fromInput ? script : "", environment, folder_.path());
    }

    std::string runFolder() {
        const std::string run = folder_.path() + "/run";
        ::mkdir(run.c_str(), 0700);
        return run;
    }

    std::string scenario(const std::string& lines) {
        const std::string path = folder_.path() + "/scenario.txt";
        std::ofstream(path) << lines;
        return path;
    }

    ScratchFolder folder_;
};

TEST_F(ConsoleRun, ConferenceScriptWaitsAtEachStepAndCountsEveryMessage) {
    const std::string script = R"(note Join and leave
InEventStart
wait InEventStart result="TavmoClient started"
wait 200
RequestSetDomain domain=example.org
wait RequestSetDomain
PrivateInEventStartMyMeeting
wait 2500 callState=InConference
# Still there: each message meets one wait, whenever it arrived.
wait 2500 callState=Joining
InEventGroupChat message="two words"
wait 2600
InEventLeave
wait 2500 callState=Idle
InEventStop
wait InEventStop result=ok
)";
    const Finished finished = run(script, {}, {{"TAVMO_STANDIN_SCENARIO", scenario("approved-domain example.org\n")}});
    EXPECT_EQ(finished.exitCode, 0) << finished.output << finished.errors;
    const std::string& out = finished.output;
    EXPECT_TRUE(has(out, "== [1/1] Join and leave\n"));
    EXPECT_TRUE(has(out, R"(>> request {"type":"InEventGroupChat","_direction":1,"_id":4,"message":"two words"})"));
    EXPECT_TRUE(has(out, R"(<< event   270003 {"_direction":2,"code":270003,"params":{"joinStatus":true}})"));
    EXPECT_TRUE(has(out, R"(<< event   2500 callState {"_direction":2,"code":2500,"params":{"callState":"Idle"}})"));
    EXPECT_LT(out.find(R"("callState":"InConference")"), out.find(R"(>> request {"type":"InEventGroupChat")"));
    EXPECT_LT(out.find(R"("callState":"Idle")"), out.find(R"(>> request {"type":"InEventStop")"));
    EXPECT_TRUE(has(out, "-- host exited with code 0\n"));

    const std::size_t replies = linesStartingWith(out, "<< reply");
    const std::size_t events = linesStartingWith(out, "<< event");
    EXPECT_EQ(linesStartingWith(out, ">> request"), 6u);
    EXPECT_EQ(replies, 6u);
    const std::optional<SummaryLine> summary = readSummary(lastLine(out));
    ASSERT_TRUE(summary) << lastLine(out);
    EXPECT_EQ(summary->verdict, "Script finished");
    EXPECT_EQ(summary->requests, 6);
    EXPECT_EQ(summary->replies, 6);
    EXPECT_EQ(summary->events, static_cast<int>(events));
    EXPECT_EQ(summary->errors, 0);
}

struct FailingCase {
    const char* script;
    const char* failure;
    const char* counts;
};

class FailingScript : public ConsoleRun, public testing::WithParamInterface<FailingCase> {};

TEST_P(FailingScript, StopsAtItsLineAndTheHostStillShutsDown) {
    const Finished finished = run(GetParam().script);
    EXPECT_EQ(finished.exitCode, 1) << finished.output;
    const std::string failure = GetParam().failure;
    EXPECT_TRUE(has(finished.output, "!! " + failure + "\n")) << finished.output;
    EXPECT_FALSE(has(finished.output, "RequestGetCallState")) << "nothing after the failing line is sent";
    EXPECT_TRUE(has(finished.output, "-- host exited with code 0\n"));
    EXPECT_TRUE(lastLineStartsWith(finished.output, "Script failed (" + failure + "): " + GetParam().counts + " in "));
}

INSTANTIATE_TEST_SUITE_P(
    Waits, FailingScript,
    testing::Values(
        FailingCase{"RequestGetVersion\nwait 2500 0.2s\nRequestGetCallState\n",
                    "line 2: wait 2500: nothing matched within 0.2 s", "1 request, 1 reply, 0 events, 0 errors"},
        FailingCase{"RequestGetVersion\nwait RequestGetVersion\n\nwait RequestGetVersion 0.2s\nRequestGetCallState\n",
                    "line 4: wait RequestGetVersion: nothing matched within 0.2 s",
                    "1 request, 1 reply, 0 events, 0 errors"},
        FailingCase{"RequestGetVersion\nwait RequestGetVersion version=0 0.2s\nRequestGetCallState\n",
                    "line 2: wait RequestGetVersion version=\"0\": nothing matched within 0.2 s",
                    "1 request, 1 reply, 0 events, 0 errors"},
        FailingCase{"RequestGetVersion\nclose\nRequestGetCallState\n", "line 3: the host no longer reads its input",
                    "1 request, 1 reply, 0 events, 0 errors"}));

TEST_F(ConsoleRun, ScriptFromStandardInputAndErrorRepliesCounted) {
    const Finished finished = run("RequestGetVersion\nwait RequestGetVersion version=" TAVMO_HOST_VERSION
                                  "\nInEventMuteAudioIn\n"
                                  "wait InEventMuteAudioIn error=\"unknown error\"\n",
                                  {}, {}, true);
    EXPECT_EQ(finished.exitCode, 0) << finished.output;
    EXPECT_TRUE(has(finished.output,
                    R"(<< reply   {"_direction":2,"_id":2,"error":"unknown error","type":"InEventMuteAudioIn"})"));
    EXPECT_TRUE(lastLineStartsWith(finished.output, "Script finished: 2 requests, 2 replies, 0 events, 1 error in "));
}

// JSON goes out as typed, a type the protocol lacks too, so that the host's
// own answer to it can be seen; exit ends the script there.
TEST_F(ConsoleRun, JsonOfAnUnknownTypeIsSentAndExitEndsTheScript) {
    const Finished finished =
        run("{\"type\":\"Nope\",\"_direction\":1,\"_id\":7}\nRequestGetVersion\nwait RequestGetVersion\nexit\n"
            "RequestGetCallState\n");
    EXPECT_EQ(finished.exitCode, 0) << finished.output;
    EXPECT_TRUE(has(finished.output, R"(<< reply   {"_direction":2,"_id":7,"error":"unknown request","type":"Nope"})"));
    EXPECT_FALSE(has(finished.output, "RequestGetCallState")) << "nothing after exit is sent";
    EXPECT_TRUE(lastLineStartsWith(finished.output, "Script finished: 2 requests, 2 replies, 0 events, 1 error in "));
}

TEST_F(ConsoleRun, MistakesInAScriptAreAllListedAndTheHostIsNotStarted) {
    const Finished finished =
        run("RequestGetVersion\nInEventMuteAudioIn willMute\nwait\nwait RequestGetVersion 0s\nInEventStrat\n"
            "InEventMuteAudioIn willMute=yes\n");
    EXPECT_EQ(finished.exitCode, 2);
    EXPECT_EQ(
        linesOf(finished.errors),
        (std::vector<std::string>{
            "script.txt:2: expected name=value: willMute", "script.txt:3: wait needs a request type or an event code",
            "script.txt:4: a wait lasts more than 0 and at most 3600 seconds: 0s",
            "script.txt:5: InEventStrat: no such request; did you mean InEventStart?",
            "script.txt:6: willMute: expected a boolean, not yes (name:=json sends any JSON value)"}));
    EXPECT_EQ(finished.output, "");
}

TEST_F(ConsoleRun, ExitControlEndsTheHostWithoutCountingAsARequest) {
    const Finished finished = run("{EXIT}\n");
    EXPECT_EQ(finished.exitCode, 0) << finished.output;
    EXPECT_TRUE(has(finished.output, ">> control {EXIT}\n"));
    EXPECT_TRUE(has(finished.output, "-- host exited with code 0\n"));
    EXPECT_TRUE(lastLineStartsWith(finished.output, "Script finished: 0 requests, 0 replies, 0 events, 0 errors in "));
}

TEST_F(ConsoleRun, HostThatRefusesToStartIsReportedWithItsExitCode) {
    // The single-instance lock, held as a host already running would hold it.
    const int lock = ::open((runFolder() + "/ZOLT.EXE").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    const Finished finished = run("RequestGetVersion\nwait RequestGetVersion\n");
    ::close(lock);
    EXPECT_EQ(finished.exitCode, 1);
    EXPECT_TRUE(has(finished.output, "-- host exited with code 255 (-1)\n")) << finished.output;
    EXPECT_TRUE(lastLineStartsWith(finished.output, "Script failed (line "));
}

TEST_F(ConsoleRun, HostThatCannotBeFoundIsNamed) {
    const Finished finished = run("RequestGetVersion\n", {"--host", folder_.path() + "/missing"});
    EXPECT_EQ(finished.exitCode, 1);
    EXPECT_TRUE(has(finished.output, "!! cannot start " + folder_.path() + "/missing")) << finished.output;
}

TEST_F(ConsoleRun, RawShowsTheLengthPrefixAndEveryByte) {
    const Finished finished = run("RequestGetVersion\nwait RequestGetVersion\n", {"--raw"});
    ASSERT_EQ(finished.exitCode, 0) << finished.output;
    const std::string request = R"({"type":"RequestGetVersion","_direction":1,"_id":1})";
    const std::string reply =
        R"({"_direction":2,"_id":1,"type":"RequestGetVersion","version":")" TAVMO_HOST_VERSION R"("})";
    EXPECT_TRUE(has(finished.output, ">> request [" + hexByte(request.size()) + " 00 00 00] " + request + "\n"));
    EXPECT_TRUE(has(finished.output, "<< reply   [" + hexByte(reply.size() + 1) + " 00 00 00] " + reply + "\\n\n"))
        << finished.output;
}

struct ColourCase {
    std::vector<std::string> options;
    const char* noColor;
    bool coloured;
};

class Colouring : public ConsoleRun, public testing::WithParamInterface<ColourCase> {};

TEST_P(Colouring, OnlyWhenAskedForOutsideATerminal) {
    std::vector<std::pair<std::string, std::string>> environment;
    if (GetParam().noColor) environment.emplace_back("NO_COLOR", GetParam().noColor);
    const Finished finished = run("RequestGetVersion\nwait RequestGetVersion\n", GetParam().options, environment);
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(has(finished.output, "\033[32m<< reply  \033[0m {"), GetParam().coloured);
    EXPECT_EQ(has(finished.output, "\033["), GetParam().coloured);
}

INSTANTIATE_TEST_SUITE_P(Options, Colouring,
                         testing::Values(ColourCase{{}, nullptr, false},
                                         ColourCase{{"--color", "always"}, nullptr, true},
                                         ColourCase{{"--color=always"}, "1", true},
                                         ColourCase{{"--color", "never"}, "", false}));

}  // namespace
