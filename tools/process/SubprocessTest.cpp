// The process support that the console, every end-to-end test, the console
// tests and the benchmarks stand on.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "Subprocess.h"

namespace {

using namespace std::chrono_literals;

Launch shell(const std::string& script) {
    Launch launch;
    launch.command = {"/bin/sh", "-c", script};
    return launch;
}

// Everything the program prints until its output ends.
std::string outputOf(Subprocess& program) {
    std::string output;
    while (program.receive(Subprocess::Clock::now() + 60s, output) == Subprocess::Received::Bytes) {
    }
    return output;
}

std::string run(const Launch& launch) {
    Subprocess program(launch);
    std::string output = outputOf(program);
    EXPECT_EQ(program.waitExit(60s), 0) << output;
    return output;
}

// The descriptors above the standard three that this process holds, or only
// those that a program it starts would inherit.
std::set<std::string> descriptors(bool onlyInheritable) {
    std::set<std::string> open;
    DIR* dir = ::opendir("/proc/self/fd");
    const int listing = ::dirfd(dir);
    while (dirent* entry = ::readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] == '.' || fd <= 2 || fd == listing) continue;
        if (!onlyInheritable || !(::fcntl(fd, F_GETFD) & FD_CLOEXEC)) open.insert(entry->d_name);
    }
    ::closedir(dir);
    return open;
}

// The lines of `text` other than the standard descriptors "0", "1" and "2".
std::set<std::string> descriptorsListed(const std::string& text) {
    std::set<std::string> listed;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        listed.insert(text.substr(at, end - at));
    for (const char* standard : {"0", "1", "2"}) listed.erase(standard);
    return listed;
}

TEST(Subprocess, ReportsTheExitCodeOrTheSignalThatEndedTheProgram) {
    const struct {
        const char* script;
        int exitCode;
        int signal;
    } cases[] = {
        {"exit 0", 0, 0},
        {"exit 3", 3, 0},
        {"exit 137", 128 + SIGKILL, 0},
        {"exit 255", 255, 0},
        {"kill -TERM $$", 128 + SIGTERM, SIGTERM},
        {"kill -KILL $$", 128 + SIGKILL, SIGKILL},
    };
    for (const auto& c : cases) {
        Subprocess program(shell(c.script));
        EXPECT_EQ(program.waitExit(60s), c.exitCode) << c.script;
        EXPECT_EQ(program.waitExit(0ms), c.exitCode) << "asked again: " << c.script;
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.script;
        EXPECT_EQ(program.endingSignal(), c.signal) << c.script;
        EXPECT_FALSE(program.killed()) << "a signal from elsewhere: " << c.script;
    }
}

TEST(Subprocess, EnvironmentIsThisProcesssWithTheOverlaySetAndUnset) {
    ::setenv("TAVMO_TEST_KEPT", "kept", 1);
    ::setenv("TAVMO_TEST_REPLACED", "old", 1);
    ::setenv("TAVMO_TEST_REMOVED", "present", 1);
    Launch launch = shell(
        "printf '%s|%s|%s|%s' \"$TAVMO_TEST_KEPT\" \"$TAVMO_TEST_REPLACED\" \"${TAVMO_TEST_REMOVED-unset}\" "
        "\"$TAVMO_TEST_ADDED\"");
    launch.environment = {{"TAVMO_TEST_REPLACED", "new"}, {"TAVMO_TEST_ADDED", "a=b c"}};
    launch.unsetEnvironment = {"TAVMO_TEST_REMOVED"};
    EXPECT_EQ(run(launch), "kept|new|unset|a=b c");
    EXPECT_STREQ(std::getenv("TAVMO_TEST_REPLACED"), "old") << "the overlay is the program's alone";
}

TEST(Subprocess, RunsInTheFolderItIsGiven) {
    char folder[] = "/tmp/tavmo-subprocess-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    Launch launch = shell("pwd -P");
    launch.folder = folder;
    const std::string output = run(launch);
    char* resolved = ::realpath(folder, nullptr);
    ::rmdir(folder);
    EXPECT_EQ(output, std::string(resolved) + "\n");
    std::free(resolved);
}

TEST(Subprocess, ProgramGetsNoneOfTheOtherProgramsPipes) {
    const std::set<std::string> expected = descriptors(true);
    Subprocess other(shell("cat"));
    // The shell's own descriptors, listed while it waits for the listing.
    Launch launch = shell("ls /proc/$$/fd");
    launch.captureErrors = true;
    EXPECT_EQ(descriptorsListed(run(launch)), expected);
    EXPECT_EQ(descriptors(true), expected) << "no descriptor of ours is left inheritable";
}

TEST(Subprocess, ProgramGetsTheDefaultActionForABrokenPipe) {
    Subprocess first(shell("true"));  // this process now ignores broken pipes
    const std::string status = run(shell("grep SigIgn /proc/self/status"));
    const unsigned long ignored = std::stoul(status.substr(status.find(':') + 1), nullptr, 16);
    EXPECT_EQ(ignored & (1ul << (SIGPIPE - 1)), 0u) << status;
}

TEST(Subprocess, WritingToAProgramThatClosedItsInputFailsWithoutASignal) {
    Subprocess program(shell("exec 0<&-; echo closed; exec sleep 60"));
    std::string output;
    while (output != "closed\n")
        ASSERT_EQ(program.receive(Subprocess::Clock::now() + 60s, output), Subprocess::Received::Bytes);
    EXPECT_FALSE(program.write("anyone there?"));
    program.kill();
    EXPECT_EQ(program.waitExit(60s), 128 + SIGKILL);
    EXPECT_TRUE(program.killed());
}

TEST(Subprocess, InputArrivesWholeAndItsEndIsTheProgramsEndOfInput) {
    Subprocess program(shell("wc -c"));
    const std::string bytes(1 << 20, 'x');  // more than a pipe holds
    std::string counted;
    std::thread reader([&] { counted = outputOf(program); });
    EXPECT_TRUE(program.write(bytes));
    program.closeInput();
    reader.join();
    EXPECT_EQ(std::stoul(counted), bytes.size());
    EXPECT_FALSE(program.inputOpen());
    EXPECT_FALSE(program.write("late")) << "the input is closed";
    EXPECT_EQ(program.waitExit(60s), 0);
}

TEST(Subprocess, ReceiveTellsBytesFromTheEndAndFromNothingYet) {
    Subprocess program(shell("cat"));
    std::string output;
    EXPECT_EQ(program.receive(Subprocess::Clock::now() + 20ms, output), Subprocess::Received::TimedOut);
    EXPECT_EQ(output, "");
    ASSERT_TRUE(program.write("abc"));
    while (output.size() < 3)
        ASSERT_EQ(program.receive(Subprocess::Clock::now() + 60s, output), Subprocess::Received::Bytes);
    EXPECT_EQ(output, "abc");
    EXPECT_GE(program.outputFd(), 0);
    program.closeInput();
    EXPECT_EQ(program.receive(Subprocess::Clock::now() + 60s, output), Subprocess::Received::Ended);
    EXPECT_EQ(program.receive(Subprocess::Clock::now() + 60s, output), Subprocess::Received::Ended);
    EXPECT_EQ(program.outputFd(), -1) << "nothing left to poll";
}

TEST(Subprocess, WhatArrivedCanBeTakenAsItIsOnceAPollSaysItIsThere) {
    Subprocess program(shell("echo ready; exec cat"));
    pollfd readable{program.outputFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&readable, 1, 60000), 1);
    std::string output;
    EXPECT_EQ(program.receive(Subprocess::Clock::now(), output), Subprocess::Received::Bytes);
    EXPECT_EQ(output, "ready\n");
    EXPECT_EQ(program.receive(Subprocess::Clock::now(), output), Subprocess::Received::TimedOut) << "nothing more yet";
}

TEST(Subprocess, AProgramWritingToOutputNoLongerReadGetsABrokenPipe) {
    Subprocess program(shell("exec yes"));
    program.closeOutput();
    EXPECT_EQ(program.outputFd(), -1);
    EXPECT_EQ(program.waitExit(60s), 128 + SIGPIPE);
    EXPECT_EQ(program.endingSignal(), SIGPIPE);
    EXPECT_FALSE(program.killed());
}

TEST(Subprocess, CapturedErrorsAreKeptApartAndDrainedBesideTheOutput) {
    // Each stream alone fills its pipe many times over: reading only one of
    // them would leave the program stuck on the other.
    Launch launch =
        shell("i=0; while [ $i -lt 20000 ]; do echo out-line-$i; echo err-line-$i >&2; i=$((i+1)); done; exit 7");
    launch.captureErrors = true;
    Subprocess program(launch);
    const std::string output = outputOf(program);
    EXPECT_EQ(program.waitExit(60s), 7);
    EXPECT_EQ(output.find("err-"), std::string::npos);
    EXPECT_EQ(program.errors().find("out-"), std::string::npos);
    for (const std::string* stream : {&output, &program.errors()})
        EXPECT_NE(stream->find("-line-19999\n"), std::string::npos);
}

TEST(Subprocess, AProgramThatOutstaysTheTimeoutIsKilled) {
    Subprocess program(shell("exec sleep 60"));
    EXPECT_EQ(program.waitExit(10ms), std::nullopt);
    EXPECT_EQ(program.waitExit(0ms), 128 + SIGKILL);
    EXPECT_EQ(::kill(program.pid(), 0), -1) << "killed and reaped";
    EXPECT_EQ(program.endingSignal(), SIGKILL);
    EXPECT_TRUE(program.killed());
}

TEST(Subprocess, GoingAwayKillsAndReapsTheProgram) {
    pid_t pid;
    {
        Subprocess program(shell("exec sleep 60"));
        pid = program.pid();
    }
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1) << "no zombie left behind";
    EXPECT_EQ(errno, ECHILD);
}

TEST(Subprocess, AProgramThatCannotStartThrowsAndLeavesNoDescriptors) {
    const std::set<std::string> before = descriptors(false);
    Launch launch;
    launch.command = {"/nonexistent/program"};
    launch.captureErrors = true;
    EXPECT_THROW(Subprocess{launch}, std::system_error);
    Launch empty;
    EXPECT_THROW(Subprocess{empty}, std::invalid_argument);
    EXPECT_EQ(descriptors(false), before);
}

}  // namespace
