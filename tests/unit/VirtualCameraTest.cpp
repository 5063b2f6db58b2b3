#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "DeviceNotifications.h"
#include "HostFixture.h"
#include "HostState.h"
#include "RegistrationTools.h"
#include "RequestHandler/VirtualCamera.h"
#include "ScratchFolder.h"
#include "TavmoFacts.h"

namespace {

class VirtualCamera : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        configHome = scratch.path() + "/config";
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    }

    ToolInstallation install() { return ToolInstallation(configHome, scratch.path() + "/Tavmo Client"); }

    ScratchFolder scratch;
    std::string configHome;
};

struct RegistrationCase {
    bool is64Bit;
    int (*run)();
    const char* tool;
    const char* arguments;
    const char* doneLine;
};

class Registration : public VirtualCamera, public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(Registration, StartsTheToolOfTheBrowserArchitecture) {
    const RegistrationCase& c = GetParam();
    ToolInstallation installation = install();
    bChromex64 = c.is64Bit ? 1 : 0;

    EXPECT_EQ(c.run(), 0);

    EXPECT_EQ(installation.waitForRuns(c.is64Bit, 1), std::vector<std::string>{c.arguments + 1});
    EXPECT_TRUE(installation.runs(!c.is64Bit).empty()) << "the other build's tool was started";
    EXPECT_TRUE(fake::logged("OutputThread: CreateProcessReg() Success App: [" + installation.folder() + "/" + c.tool +
                                 "], Dll: [" + c.arguments + "]",
                             3));
    EXPECT_TRUE(fake::logged(c.doneLine, 3));
}

INSTANTIATE_TEST_SUITE_P(
    BothBuilds, Registration,
    ::testing::Values(
        RegistrationCase{false, RegCamera, "RegSvrUsr.exe", " /s TavmoWPVC.dll",
                         "OutputThread: RegCamera() - [DidErorovIdezireRozova] sucessfully registered."},
        RegistrationCase{true, RegCamera, "x64/RegSvrUsr64.exe", " /s TavmoWPVC64.dll",
                         "OutputThread: RegCamera64() - [DidErorovIdezireRozova] sucessfully registered."},
        RegistrationCase{false, UnregCamera, "RegSvrUsr.exe", " /u /s TavmoWPVC.dll",
                         "OutputThread: UnregCamera() - [DidErorovIdezireRozova] sucessfully unregistered."},
        RegistrationCase{true, UnregCamera, "x64/RegSvrUsr64.exe", " /u /s TavmoWPVC64.dll",
                         "OutputThread: UnregCamera64() - [DidErorovIdezireRozova] sucessfully unregistered."}));

struct BrokenSetupCase {
    const char* name;
    std::vector<std::string> setupLines;  // empty: no setup file
    std::string logLine;
};

class BrokenSetup : public VirtualCamera, public ::testing::WithParamInterface<BrokenSetupCase> {};

TEST_P(BrokenSetup, StartsNothingAndAnswersMinusOne) {
    ToolInstallation installation = install();
    if (GetParam().setupLines.empty())
        removeSetupFile(configHome);
    else
        writeSetupFile(configHome, GetParam().setupLines);

    EXPECT_EQ(RegCamera(), -1);
    EXPECT_EQ(UnregCamera(), -1);

    EXPECT_EQ(fake::logTexts(1), std::vector<std::string>(2, GetParam().logLine));
    EXPECT_TRUE(fake::logTexts(3).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Setups, BrokenSetup,
    ::testing::Values(
        BrokenSetupCase{"NoFile", {}, "OutputThread: GetAppPath(...) - RegOpenkeyEx(...) Failed. ERROR: [2]"},
        BrokenSetupCase{"NoApplicationLine",
                        {"[Setup]", "Version=1.3.7"},
                        "OutputThread: GetAppPath(...) - RegGetValue(...) Failed. ERROR: [2]"},
        BrokenSetupCase{
            "EmptyFolder", {TAVMO_SETUP_ENTRY "="}, "OutputThread: GetAppPath(...) - Unusable installation folder: []"},
        BrokenSetupCase{
            "FolderTooLongForTheTool",
            {TAVMO_SETUP_ENTRY "=/" + std::string(245, 'f') + "/"},
            "OutputThread: GetAppPath(...) - Unusable installation folder: [/" + std::string(245, 'f') + "/]"}),
    [](const auto& info) { return info.param.name; });

TEST_F(VirtualCamera, ReadsTheFolderFromTheApplicationLineOnly) {
    ToolInstallation installation = install();
    writeSetupFile(configHome, {TAVMO_SETUP_ENTRY "s=/nowhere/", TAVMO_SETUP_ENTRY "=" + installation.folder() + "/\r",
                                TAVMO_SETUP_ENTRY "=/elsewhere/"});
    EXPECT_EQ(RegCamera(), 0);
    EXPECT_EQ(installation.waitForRuns(false, 1).size(), 1u);
}

TEST_F(VirtualCamera, ToolThatCannotBeStartedReportsTheSystemError) {
    ToolInstallation installation = install();
    std::remove(installation.toolPath(false).c_str());

    EXPECT_EQ(RegCamera(), 2);

    EXPECT_EQ(fake::logTexts(1),
              (std::vector<std::string>{"OutputThread: CreateProcessReg() Failed App: [" +
                                            installation.toolPath(false) + "], Dll: [ /s TavmoWPVC.dll], ERROR: [2]",
                                        "OutputThread: RegCamera() - CreateProcess(...) Failed. ERROR: [2]"}));
}

// Processes whose parent is this one: running, or ended and not waited for.
int childProcesses() {
    int children = 0;
    DIR* processes = opendir("/proc");
    while (dirent* entry = processes ? readdir(processes) : nullptr) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::size_t close = text.rfind(')');
        char state = 0;
        int parent = 0;
        if (close != std::string::npos && std::sscanf(text.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid())
            ++children;
    }
    if (processes) closedir(processes);
    return children;
}

// A tool that has ended stays this process's child, as a zombie, until it is
// waited for.
TEST_F(VirtualCamera, FinishedToolsLeaveNoZombies) {
    ToolInstallation installation = install();
    for (int run = 0; run < 3; ++run) EXPECT_EQ(RegCamera(), 0);
    ASSERT_EQ(installation.waitForRuns(false, 3).size(), 3u);

    int children = childProcesses();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (children > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        children = childProcesses();
    }
    EXPECT_EQ(children, 0);
}

TEST_F(VirtualCamera, ToolGetsNoneOfTheHostsDescriptors) {
    ToolInstallation installation = install();
    std::string tool = installation.toolPath(false);
    {
        std::ofstream script(tool, std::ios::trunc);
        // The listing's own output takes descriptor 1.
        script << "#!/bin/sh\nexec ls -l /proc/$$/fd > \"$0.fds\"\n";
    }
    chmod(tool.c_str(), 0755);
    int browserPipe[2];
    ASSERT_EQ(pipe(browserPipe), 0);
    int savedInput = dup(0);
    dup2(browserPipe[0], 0);

    int started = RegCamera();
    dup2(savedInput, 0);
    close(savedInput);
    close(browserPipe[0]);
    close(browserPipe[1]);
    ASSERT_EQ(started, 0);

    std::string listing;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (listing.find("\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream fds(tool + ".fds");
        listing.assign(std::istreambuf_iterator<char>(fds), std::istreambuf_iterator<char>());
    }
    for (const char* standard : {" 0 -> /dev/null", " 2 -> /dev/null"})
        EXPECT_NE(listing.find(standard), std::string::npos) << listing;
    EXPECT_EQ(listing.find("pipe:"), std::string::npos) << listing;
}

// A registration tool that logs each run as the stand-in does and then runs
// until the test lets it end, logging its end to "<tool>.ends".
class HeldTool {
public:
    explicit HeldTool(const ToolInstallation& installation) : tool_(installation.toolPath(false)) {
        std::ofstream(tool_ + ".hold").put('\n');
        {
            std::ofstream script(tool_, std::ios::trunc);
            script << "#!/bin/sh\necho \"$*\" >> \"$0.log\"\nwhile [ -e \"$0.hold\" ]; do sleep 0.02; done\n"
                      "echo \"$*\" >> \"$0.ends\"\n";
        }
        chmod(tool_.c_str(), 0755);
    }
    ~HeldTool() { release(); }
    HeldTool(const HeldTool&) = delete;
    HeldTool& operator=(const HeldTool&) = delete;

    void release() const { std::remove((tool_ + ".hold").c_str()); }

    std::size_t ends() const {
        std::ifstream ends(tool_ + ".ends");
        std::size_t count = 0;
        for (std::string line; std::getline(ends, line);) ++count;
        return count;
    }

private:
    std::string tool_;
};

TEST_F(VirtualCamera, StatusPollsStartNoSecondToolWhileOneRuns) {
    ToolInstallation installation = install();
    HeldTool tool(installation);
    clientStarted = 1;
    auto pollRound = [this] {
        for (int i = 0; i < 11; ++i) answer(std::string(R"({"type":"RequestGetCameraStatus","_direction":1})"));
    };
    // Waits for any tool an earlier test left running, then starts the held one.
    ASSERT_EQ(RegCamera(), 0);
    ASSERT_EQ(installation.waitForRuns(false, 1).size(), 1u);

    for (int round = 0; round < 3; ++round) pollRound();
    EXPECT_EQ(childProcesses(), 1) << "tools started while one ran";
    EXPECT_EQ(installation.runs(false).size(), 1u);
    std::size_t skipped = 0;
    for (const std::string& line : fake::logTexts(3))
        skipped += line == "OutputThread: RegCamera() - The registration tool still runs, not started again.";
    EXPECT_EQ(skipped, 3u);

    tool.release();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (installation.runs(false).size() < 2 && std::chrono::steady_clock::now() < deadline) {
        pollRound();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(installation.waitForRuns(false, 2).size(), 2u) << "no tool was started once the first had ended";
}

TEST_F(VirtualCamera, UnregisteringWaitsUntilTheRegistrationToolHasEnded) {
    ToolInstallation installation = install();
    HeldTool tool(installation);
    ASSERT_EQ(RegCamera(), 0);
    ASSERT_EQ(installation.waitForRuns(false, 1).size(), 1u);

    int unregistered = -1;
    std::thread stop([&unregistered] { unregistered = UnregCamera(); });
    // Time for a tool started at once to show itself; one that waits shows
    // nothing whatever the time.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::size_t runsWhileHeld = installation.runs(false).size();
    std::size_t endsWhileHeld = tool.ends();
    tool.release();
    stop.join();

    EXPECT_EQ(runsWhileHeld, 1u) << "the unregistration started while the registration ran";
    EXPECT_EQ(endsWhileHeld, 0u);
    EXPECT_EQ(unregistered, 0);
    EXPECT_EQ(installation.waitForRuns(false, 2),
              (std::vector<std::string>{"/s TavmoWPVC.dll", "/u /s TavmoWPVC.dll"}));
}

struct StatusCase {
    int clientStarted;
    int32_t camera;
    unsigned expectedStatus;
};

class CameraStatus : public VirtualCamera, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CameraStatus, AnswersThePresenceAndRetriesOnlyWhileStartedAndAbsent) {
    clientStarted = GetParam().clientStarted;
    iCamera = GetParam().camera;
    bool retries = clientStarted == 1 && iCamera == 0;
    for (int poll = 1; poll <= 22; ++poll) {
        EXPECT_EQ(answer(std::string(R"({"type":"RequestGetCameraStatus","_direction":1})")),
                  "{\"_direction\":2,\"status\":" + std::to_string(GetParam().expectedStatus) +
                      ",\"type\":\"RequestGetCameraStatus\"}\n");
        std::size_t registrations = 0;
        for (const std::string& line : fake::logTexts(3))
            registrations += line == "OutputThread: RequestGetCameraStatus() Calling RegCamera().";
        EXPECT_EQ(registrations, retries ? static_cast<std::size_t>(poll / 11) : 0u) << "poll " << poll;
    }
}

INSTANTIATE_TEST_SUITE_P(States, CameraStatus,
                         ::testing::Values(StatusCase{1, 0, 0}, StatusCase{1, 1, 1}, StatusCase{0, 0, 0},
                                           StatusCase{0, 1, 1}));

TEST_F(VirtualCamera, StatusRetryCountSurvivesACameraThatCameAndWent) {
    ToolInstallation installation = install();
    clientStarted = 1;
    auto poll = [this] { answer(std::string(R"({"type":"RequestGetCameraStatus","_direction":1})")); };
    for (int i = 0; i < 5; ++i) poll();
    iCamera = 1;
    poll();
    iCamera = 0;
    for (int i = 0; i < 5; ++i) poll();
    EXPECT_TRUE(installation.runs(false).empty());
    poll();
    EXPECT_EQ(installation.waitForRuns(false, 1), std::vector<std::string>{"/s TavmoWPVC.dll"});
    EXPECT_EQ(cameraRetryCount, 0);
}

// The device watch starts beside the workers: a request that reads the
// camera's presence meanwhile answers what the watch saw while it started.
TEST_F(VirtualCamera, StatusAskedWhileTheDeviceWatchStartsAnswersWhatTheWatchSaw) {
    deviceWatchStarting();
    std::promise<void> asking;
    std::future<std::string> reply = std::async(std::launch::async, [&] {
        asking.set_value();
        return answer(std::string(R"({"type":"RequestGetCameraStatus","_direction":1})"));
    });
    asking.get_future().wait();
    onVideoDeviceChange(platform::DeviceChange::Arrival, "DidErorovIdezireRozova");
    deviceWatchSettled();
    EXPECT_EQ(reply.get(), "{\"_direction\":2,\"status\":1,\"type\":\"RequestGetCameraStatus\"}\n");
}

struct ResolutionCase {
    const char* fields;
    int32_t width;
    int32_t height;
};

class CameraResolution : public VirtualCamera, public ::testing::WithParamInterface<ResolutionCase> {};

TEST_P(CameraResolution, SendsTheSizeRecord) {
    std::string request =
        std::string(R"({"type":"RequestSetCameraResolution","_direction":1)") + GetParam().fields + "}";
    std::string reply = answer(request);
    EXPECT_NE(reply.find("\"result\":\"ok\""), std::string::npos) << reply;
    EXPECT_EQ(reply.find("\"error\""), std::string::npos) << reply;

    ASSERT_EQ(fake::library().requests.size(), 1u);
    const fake::SentRecord& sent = fake::library().requests[0];
    EXPECT_EQ(sent.code, TAVMO_CLIENT_REQUEST_PRIVATE);
    EXPECT_EQ(sent.privateCode, static_cast<uint32_t>(TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER));
    EXPECT_EQ(sent.sizeField, 8u);
    ASSERT_EQ(sent.inner.size(), 8u);
    int32_t width = 0;
    int32_t height = 0;
    std::memcpy(&width, sent.inner.data(), 4);
    std::memcpy(&height, sent.inner.data() + 4, 4);
    EXPECT_EQ(width, GetParam().width);
    EXPECT_EQ(height, GetParam().height);
    EXPECT_TRUE(fake::logged("OutputThread: RequestSetCameraResolution() Sending video resolution: [" +
                                 std::to_string(GetParam().width) + "] x [" + std::to_string(GetParam().height) +
                                 "] to TavmoClient.",
                             3));
}

INSTANTIATE_TEST_SUITE_P(Fields, CameraResolution,
                         ::testing::Values(ResolutionCase{"", 1920, 1080},
                                           ResolutionCase{R"(,"width":"1280","height":720.4)", 1280, 720},
                                           ResolutionCase{R"(,"width":640)", 640, 1080},
                                           ResolutionCase{R"(,"width":-5,"height":0)", -5, 0},
                                           ResolutionCase{R"(,"width":true,"height":[1])", INT32_MIN, INT32_MIN}));

TEST_F(VirtualCamera, RefusedResolutionIsReportedAsTheLibraryError) {
    fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER] = [](void*, uint32_t) {
        return 6;
    };
    EXPECT_EQ(answer(std::string(R"({"type":"RequestSetCameraResolution","_direction":1,"width":800})")),
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_"
              "BUFFER\",\"type\":\"RequestSetCameraResolution\",\"width\":800}\n");
    EXPECT_TRUE(fake::logged(
        "OutputThread: RequestSetCameraResolution() TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER: [6]", 1));
}

}  // namespace
