// The host executable with the stand-in library, driven through pipes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#if defined(TAVMO_HOST_WATCHES_UDEV)
#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "HostProcess.h"
#include "TavmoFacts.h"

namespace {

#if defined(TAVMO_HOST_WATCHES_UDEV)
// Whether this machine lets a process listen to the kernel's device messages,
// as the host's device watch does.
bool deviceMessagesReachUs() {
    int watch = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
    if (watch < 0) return false;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = 1;
    bool bound = bind(watch, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(watch);
    return bound;
}
#endif

const std::string kVersionRequest = R"({"type":"RequestGetVersion","_direction":1,"_id":7})";
const std::string kVersionReply =
    "{\"_direction\":2,\"_id\":7,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n";

TEST(HostLifecycle, AnswersARequestAndExitsCleanlyWhenInputEnds) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    std::string log = host.logText();
    for (const char* line :
         {"InputThread: STARTED", "OutputThread: STARTED", "OutEventThread: STARTED",
          "MainThread: InputThread WAIT_OBJECT_0", "MainThread: OutputThread WAIT_OBJECT_0",
          "MainThread: OutEventThread WAIT_OBJECT_0", "MainThread: EXIT Starting cleanup...", "MainThread: EXIT"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

// The device watch is set up while the workers already read: a host whose
// input ends before that still sets it up, and ends in the fixed order.
TEST(HostLifecycle, WithoutAnyRequestSetsUpTheDeviceWatchAndEndsInOrder) {
    ScratchFolder folder;
    EndedHost host = startAndEndInput(folder);
    EXPECT_EQ(host.exitCode, 0);
    const std::string& log = host.log;
    std::size_t previous = 0;
    for (const char* line :
         {"MainThread: CreateWindowEx(...)", "MainThread: RegisterDeviceNotification(...)",
          "MainThread: InputThread WAIT_OBJECT_0", "MainThread: OutputThread WAIT_OBJECT_0",
          "MainThread: OutEventThread WAIT_OBJECT_0", "MainThread: EXIT Starting cleanup...", "MainThread: EXIT"}) {
        std::size_t at = log.find(line, previous);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << log;
        previous = at + std::strlen(line);
    }
#if defined(TAVMO_HOST_WATCHES_UDEV)
    // libudev is opened, not linked: a name it lacks shows only here. A
    // machine that gives no process the kernel's device messages (some
    // containers) cannot show it.
    if (!deviceMessagesReachUs()) GTEST_SKIP() << "no device messages on this machine";
    EXPECT_NE(log.find("MainThread: RegisterDeviceNotification(...) hNotify: ["), std::string::npos) << log;
#endif
}

// The thread is named by the id that ps -L, debuggers and the Task Manager
// show; on Linux the main thread's kernel id is the process id.
TEST(HostLifecycle, StartLogNamesTheMainThreadByItsSystemId) {
    ScratchFolder folder;
    EndedHost host = startAndEndInput(folder);
    EXPECT_EQ(host.exitCode, 0);
    const std::string& log = host.log;
    const std::string start = "MainThread: TavmoClientForWeb_" TAVMO_HOST_VERSION " Initialized. argc: [2], ";
    std::size_t at = log.find(start);
    ASSERT_NE(at, std::string::npos) << log;
    long process = 0;
    long thread = 0;
    ASSERT_EQ(std::sscanf(log.c_str() + at + start.size(), "Process: [%ld], Thread: [%ld]", &process, &thread), 2)
        << log.substr(at, 200);
    EXPECT_GT(thread, 0);
    if (!windowsHost()) {
        EXPECT_EQ(process, host.pid);
        EXPECT_EQ(thread, process);
    }
}

TEST(HostLifecycle, ExitMessageEndsTheHostLikeTheEndOfInput) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame("{EXIT}");
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_EQ(host.readRest(std::chrono::milliseconds(100)), "");
}

TEST(HostLifecycle, PipelinedRequestsAreAnsweredOnceEachInOrder) {
    ScratchFolder folder;
    HostProcess host(folder);
    std::string burst;
    const int count = 500;
    for (int i = 0; i < count; ++i) {
        std::string body = R"({"type":"RequestGetVersion","_direction":1,"_id":)" + std::to_string(i) + "}";
        auto length = static_cast<uint32_t>(body.size());
        for (int b = 0; b < 4; ++b) burst.push_back(static_cast<char>((length >> (8 * b)) & 0xFF));
        burst += body;
    }
    host.sendRaw(burst);
    for (int i = 0; i < count; ++i) {
        std::optional<std::string> reply = host.readFrame();
        ASSERT_TRUE(reply) << "reply " << i;
        EXPECT_EQ(*reply, "{\"_direction\":2,\"_id\":" + std::to_string(i) +
                              ",\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n");
    }
    host.closeInput();
    EXPECT_EQ(host.readRest(), "") << "no reply beyond one per request";
    EXPECT_EQ(host.waitExit(), 0);
}

TEST(HostLifecycle, BadFramesAreAnsweredAndTheHostKeepsRunning) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame("");
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n");
    host.sendFrame("\xff\xfe{[");
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n");
    host.sendFrame(std::string(50000, '[') + std::string(50000, ']'));
    std::optional<std::string> deep = host.readFrame();
    ASSERT_TRUE(deep);
    EXPECT_NE(deep->find("\"error\""), std::string::npos);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
    host.sendRaw(std::string("\x10\x00\x00\x00{\"type\"", 11));
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_NE(host.logText().find("InputThread: EOF While Reading Message: [{\"type\"]"), std::string::npos);
}

struct RefusedStart {
    std::vector<std::string> arguments;
    const char* logLine;
};

void PrintTo(const RefusedStart& start, std::ostream* out) { *out << ::testing::PrintToString(start.arguments); }

const char* const kNoArguments = "MainThread: TavmoClientForWeb, invalid number of arguments, exiting.";
const char* const kOtherCaller = "MainThread: TavmoClientForWeb, invalid extension id, exiting.";

// Near misses of the accepted id: the id cut short, in capitals, split over
// two arguments.
const std::string kId = TAVMO_EXTENSION_ID;
std::string originOf(const std::string& id) { return "chrome-extension://" + id + "/"; }
std::string inCapitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A refused start also says why on standard error, which the browser keeps
// in its own log: the one place a user looks when the page only sees the
// host end.
// The log folder is written as the host's platform writes paths.
std::string refusalStart(const std::string& why) { return "TavmoClientForWeb: " + why + " (the log is in "; }

class StartRefused : public ::testing::TestWithParam<RefusedStart> {};

// A caller without the product's id gets nothing done: its request is never
// answered.
TEST_P(StartRefused, ExitsWithMinusOneAndAnswersNothing) {
    ScratchFolder folder;
    HostOptions options;
    options.arguments = GetParam().arguments;
    options.captureErrors = true;
    HostProcess host(folder, options);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.waitExit(), 255);
    EXPECT_EQ(host.readRest(std::chrono::milliseconds(100)), "");
    EXPECT_NE(host.logText().find(GetParam().logLine), std::string::npos);
    const std::string why = GetParam().logLine == std::string(kNoArguments)
                                ? "started without the calling extension's origin"
                                : "the caller is not extension " TAVMO_EXTENSION_ID;
    EXPECT_NE(host.errors().find(refusalStart(why + "; not started")), std::string::npos) << host.errors();
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartRefused,
                         ::testing::Values(RefusedStart{{}, kNoArguments},
                                           RefusedStart{{"chrome-extension://someotherextension/"}, kOtherCaller},
                                           RefusedStart{{"-Debug"}, kOtherCaller},
                                           RefusedStart{{originOf(kId.substr(0, kId.size() - 1))}, kOtherCaller},
                                           RefusedStart{{originOf(inCapitals(kId))}, kOtherCaller},
                                           RefusedStart{{"chrome-extension://" + kId.substr(0, kId.size() / 2),
                                                         kId.substr(kId.size() / 2) + "/"},
                                                        kOtherCaller}));

TEST(HostLifecycle, AcceptedIdAnywhereInAnArgumentIsAccepted) {
    ScratchFolder folder;
    HostOptions options;
    options.arguments = {"--parent-window=0", "xx" TAVMO_EXTENSION_ID "xx"};
    HostProcess host(folder, options);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
}

TEST(HostLifecycle, DebugModeSpeaksLinesWithoutLengthsAndNeedsNoDirection) {
    ScratchFolder folder;
    HostOptions options;
    options.arguments = {"-debug"};
    HostProcess host(folder, options);
    host.sendRaw("{\"type\":\"RequestGetVersion\"}\n");
    EXPECT_EQ(host.readLine(),
              "{\"_direction\":2,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
}

TEST(HostLifecycle, SecondInstanceEndsAtOnceAndTheFirstKeepsAnswering) {
    ScratchFolder folder;
    HostProcess first(folder);
    first.sendFrame(kVersionRequest);
    ASSERT_EQ(first.readFrame(), kVersionReply);
    {
        HostOptions options;
        options.captureErrors = true;
        HostProcess second(folder, options);
        EXPECT_EQ(second.waitExit(), 255);
        second.readRest(std::chrono::milliseconds(100));
        EXPECT_NE(second.errors().find(refusalStart("another host is running; this one ends")), std::string::npos)
            << second.errors();
    }
    first.sendFrame(kVersionRequest);
    EXPECT_EQ(first.readFrame(), kVersionReply);
    EXPECT_NE(first.logText().find("MainThread: CreateMutexExA(...) can't own the mutex ERROR: ["), std::string::npos);
}

TEST(HostLifecycle, StrayOutputGoesToTheCaptureFileNotThePage) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(kVersionRequest);
    ASSERT_EQ(host.readFrame(), kVersionReply);
    std::ifstream capture(folder.path() + "/ZOLTStdout.txt");
    EXPECT_TRUE(capture.good()) << "capture file in the temporary folder";
    EXPECT_TRUE(waitForLog(host, "MainThread: Sucessfully redirected stdout to file: [" +
                                     hostPath(folder.path() + "/ZOLTStdout.txt") + "]"));
}

TEST(HostLifecycle, LibraryEventsReachThePageAsEventMessages) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 99999 -"};
    HostProcess host(folder, options);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":99999,\"params\":null}\n");
}

}  // namespace
