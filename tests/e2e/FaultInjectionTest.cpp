// The host against a browser, a machine and a library that fail it: input
// that ends anywhere, a worker that hangs in the library, folders that cannot
// be written, a registration tool that is missing, and events that race the
// shutdown. Whatever fails, the host answers what it can and exits cleanly.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Frames.h"
#include "HostProcess.h"
#include "PageMessages.h"
#include "RegistrationTools.h"
#include "TavmoFacts.h"

namespace {

using namespace std::chrono_literals;

const std::string kVersionRequest = R"({"type":"RequestGetVersion","_direction":1,"_id":7})";
const std::string kVersionReply =
    "{\"_direction\":2,\"_id\":7,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n";

// Lines of `log` appear in this order.
void expectInOrder(const std::string& log, const std::vector<std::string>& lines) {
    std::size_t at = 0;
    for (const std::string& line : lines) {
        std::size_t found = log.find(line, at);
        EXPECT_NE(found, std::string::npos) << "missing, or out of order: " << line;
        if (found != std::string::npos) at = found + line.size();
    }
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The temporary folder and the local application data folder of one host. A
// Windows host under Wine takes both from its prefix, which refers to the
// variables that HostProcess sets for it.
void useTemporaryFolder(HostOptions& options, const std::string& folder) {
    if (windowsHost())
        options.environment["TAVMO_TEST_TEMP"] = hostPath(folder);
    else
        options.environment["TMPDIR"] = folder;
}

void useLocalAppData(HostOptions& options, const std::string& folder) {
    options.environment[windowsHost() ? "TAVMO_TEST_LOCALAPPDATA" : "LOCALAPPDATA"] = hostPath(folder);
}

// ---------------------------------------------------------------------------
// The input ends at every byte of a recorded session.

struct Exchange {
    std::string request;
    std::string reply;
};

// Short, so that a host under Wine, which takes a second or two to start,
// gets through every cut in a few minutes.
const std::vector<Exchange> kSession = {
    {R"({"_direction":1,"type":"RequestGetVersion"})",
     "{\"_direction\":2,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n"},
    {"{}", "{\"_direction\":2,\"error\":\"No or invalid direction\"}\n"},
    {R"({"_direction":1,"_id":3})", "{\"_direction\":2,\"_id\":3,\"error\":\"unknown request\"}\n"},
};

// The replies to the requests that arrived whole when the input ends after
// `cut` bytes of the session.
std::vector<std::string> repliesBefore(std::size_t cut) {
    std::vector<std::string> replies;
    std::size_t end = 0;
    for (const Exchange& exchange : kSession) {
        end += frame(exchange.request).size();
        if (end > cut) break;
        replies.push_back(exchange.reply);
    }
    return replies;
}

// The replies are awaited before the input ends: once it has ended, the host
// drops what it has not yet answered, as the page is gone.
TEST(FaultInjection, InputEndingAtAnyByteOfASessionIsAnsweredAsFarAsItCameAndEndsCleanly) {
    std::string session;
    for (const Exchange& exchange : kSession) session += frame(exchange.request);

    auto runCut = [&session](std::size_t cut) {
        ScratchFolder folder;
        HostProcess host(folder);
        host.sendRaw(session.substr(0, cut));
        for (const std::string& reply : repliesBefore(cut))
            EXPECT_EQ(host.readFrame(), reply) << "input cut after " << cut << " bytes";
        host.closeInput();
        EXPECT_EQ(host.readRest(), "") << "input cut after " << cut << " bytes";
        EXPECT_EQ(host.waitExit(), 0) << "input cut after " << cut << " bytes";
    };
    // Hosts under Wine share one single-instance lock, so they run one at a time.
    const std::size_t lanes = windowsHost() ? 1 : 4;
    std::vector<std::thread> workers;
    for (std::size_t lane = 0; lane < lanes; ++lane)
        workers.emplace_back([&, lane] {
            for (std::size_t cut = lane; cut <= session.size(); cut += lanes) runCut(cut);
        });
    for (std::thread& worker : workers) worker.join();
}

// ---------------------------------------------------------------------------

TEST(FaultInjection, WorkerHangingInTheLibraryIsGivenUpAndTheShutdownStillRuns) {
    ScratchFolder folder;
    HostProcess host(folder, hangingWorkerOptions());
    ASSERT_TRUE(hangWorker(host));
    host.closeInput();

    // The host gives each worker 10 seconds after the input ended.
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_EQ(host.readRest(100ms), "");
    expectInOrder(host.logText(), {"MainThread: InputThread WAIT_OBJECT_0",
                                   "MainThread: OutputThread WAIT_TIMEOUT on EXIT, Terminating thread...",
                                   "MainThread: OutEventThread WAIT_OBJECT_0", "MainThread: EXIT Starting cleanup...",
                                   "OutputThread: GetAppPath(...)", "MainThread: EXIT\n"});
}

struct TemporaryFolderFault {
    const char* name;
    bool fileInItsPlace;
};

void PrintTo(const TemporaryFolderFault& fault, std::ostream* out) { *out << fault.name; }

class UnwritableTemporaryFolder : public ::testing::TestWithParam<TemporaryFolderFault> {};

TEST_P(UnwritableTemporaryFolder, LeavesNoCaptureFileAndTheHostAnswers) {
    ScratchFolder folder;
    const std::string temporary = folder.path() + "/temporary";
    if (GetParam().fileInItsPlace) writeFile(temporary, "not a folder");
    HostOptions options;
    useTemporaryFolder(options, temporary);
    HostProcess host(folder, options);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    EXPECT_TRUE(logHas(host.logText(),
                       "MainThread: Can't redirect stdout to file: [" + hostPath(temporary + "/ZOLTStdout.txt") + "]"));
    EXPECT_FALSE(exists(temporary + "/ZOLTStdout.txt"));
    EXPECT_FALSE(exists(folder.path() + "/ZOLTStdout.txt"));
}

INSTANTIATE_TEST_SUITE_P(Faults, UnwritableTemporaryFolder,
                         ::testing::Values(TemporaryFolderFault{"Missing", false},
                                           TemporaryFolderFault{"FileInItsPlace", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaultInjection, UncreatableLogDirectoryLeavesTheHostWorking) {
    ScratchFolder folder;
    const std::string appData = folder.path() + "/appdata-file";
    writeFile(appData, "not a folder");
    HostOptions options;
    useLocalAppData(options, appData);
    HostProcess host(folder, options);
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_TRUE(exists(folder.path() + "/ZOLTStdout.txt")) << "start-up went on after the log directory";
}

// Without LOCALAPPDATA, as a browser on Linux starts the host, the logs and
// the library's data go into the user's own state folder. Without HOME the
// password database names the home (OtherUsersTest.cpp, as another account,
// so that no test writes into the home of the account that runs the tests).
TEST(FaultInjection, WithoutLocalAppDataTheLogsGoToTheUsersStateFolder) {
    if (windowsHost()) GTEST_SKIP() << "Wine sets the variable from its prefix; the Windows platform tests cover this";
    struct Case {
        const char* name;
        std::map<std::string, std::string> foldersBelowTestFolder;
        std::vector<std::string> unset;
        const char* logFolderBelowTestFolder;
    };
    const Case cases[] = {
        {"state home named", {{"XDG_STATE_HOME", "/state"}, {"HOME", "/home"}}, {}, "/state"},
        {"home only", {{"HOME", "/home"}}, {"XDG_STATE_HOME"}, "/home/.local/state"},
    };
    for (const Case& testCase : cases) {
        ScratchFolder folder;
        HostOptions options;
        options.unsetEnvironment = testCase.unset;
        options.unsetEnvironment.push_back("LOCALAPPDATA");
        for (const auto& [name, below] : testCase.foldersBelowTestFolder)
            options.environment[name] = folder.path() + below;
        HostProcess host(folder, options);
        host.sendFrame(kVersionRequest);
        EXPECT_EQ(host.readFrame(), kVersionReply) << testCase.name;
        host.closeInput();
        EXPECT_EQ(host.waitExit(), 0) << testCase.name;

        const std::string logFolder = folder.path() + testCase.logFolderBelowTestFolder + "/Tavmo/Data/User";
        EXPECT_TRUE(
            logHas(logFilesIn(logFolder), "MainThread: TavmoClientForWeb Path to log files are: [" + logFolder + "/]"))
            << testCase.name;
        EXPECT_EQ(host.logText(), "") << testCase.name << ": nothing in the folder LOCALAPPDATA would have named";
    }
}

// The installation names a folder, but its registration tools are gone: the
// camera is not registered, and starting and stopping go on all the same.
TEST(FaultInjection, MissingRegistrationToolIsLoggedAndStartAndShutdownGoOn) {
    ScratchFolder folder;
    const std::string installation = folder.path() + "/installation";
    ::mkdir(installation.c_str(), 0700);
    writeSetupFile(folder.path() + "/config", {TAVMO_SETUP_ENTRY "=" + installation + "/"});
    HostProcess host(folder);
    host.sendFrame(R"({"type":"InEventStart","_direction":1,"_id":1})");
    std::vector<std::string> written = {host.readFrame().value_or(""), host.readFrame().value_or("")};
    EXPECT_NE(std::find(written.begin(), written.end(),
                        "{\"_direction\":2,\"_id\":1,\"result\":\"TavmoClient started\",\"type\":\"InEventStart\"}\n"),
              written.end())
        << ::testing::PrintToString(written);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    const std::string tool = installation + "/RegSvrUsr.exe";
    expectInOrder(
        host.logText(),
        {"OutputThread: CreateProcessReg() Failed App: [" + tool + "], Dll: [ /s TavmoWPVC.dll], ERROR: [",
         "OutputThread: RegCamera() - CreateProcess(...) Failed. ERROR: [", "MainThread: EXIT Starting cleanup...",
         "OutputThread: CreateProcessReg() Failed App: [" + tool + "], Dll: [ /u /s TavmoWPVC.dll], ERROR: [",
         "MainThread: EXIT\n"});
}

// Library threads keep raising events, without the library's lock, while the
// host shuts down: every frame that reaches the page is whole. The burst is
// longer than any run; it ends only when the host uninitializes the library,
// so it is still going when the input ends however slow the machine.
TEST(FaultInjection, EventsRacingTheShutdownLeaveEveryWrittenFrameWhole) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise-burst 4 10000000 1700 0000000000000000"};
    HostProcess host(folder, options);
    host.sendFrame(R"({"type":"InEventStart","_direction":1})");
    std::string first;
    while (first.find("\"code\":1700") == std::string::npos) {
        std::optional<std::string> frame = host.readFrame();
        ASSERT_TRUE(frame) << "no burst event arrived";
        first = *frame;
    }
    host.closeInput();
    std::string rest = host.readRest();
    EXPECT_EQ(host.waitExit(), 0);

    std::vector<std::string> bodies;
    EXPECT_TRUE(splitFrames(rest, bodies)) << "a frame cut short, or bytes after the last whole one";
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    for (const std::string& body : bodies) {
        Json::Value message;
        ASSERT_TRUE(reader->parse(body.data(), body.data() + body.size(), &message, nullptr)) << body;
        EXPECT_EQ(message["_direction"], 2) << body;
    }
    const std::string log = host.logText();
    // The burst can fill more log files after the input ended than the library
    // keeps; the line of the input's end then went with the older files, and
    // every line left was written after it.
    std::size_t inputEnded = log.find("InputThread: EXIT");
    if (inputEnded == std::string::npos) {
        ASSERT_EQ(log.find(" Initialized. argc: "), std::string::npos)
            << "the input's end is not logged, although no log file was removed";
        inputEnded = 0;
    }
    EXPECT_NE(log.find("TavmoClientCallback() Received", inputEnded), std::string::npos)
        << "no event arrived after the input ended";
}

}  // namespace
