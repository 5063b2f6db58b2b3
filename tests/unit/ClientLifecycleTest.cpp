// Starting and stopping the library, and setting its log levels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "HostState.h"
#include "OutEventHandler.h"
#include "PageMessages.h"
#include "RegistrationTools.h"
#include "ScratchFolder.h"
#include "TavmoFacts.h"

namespace {

const std::string kStart = R"({"type":"InEventStart","_direction":1,"_id":3})";
const std::string kStop = R"({"type":"InEventStop","_direction":1,"_id":4})";
const char* const kRegistered = "OutputThread: RegCamera() - [DidErorovIdezireRozova] sucessfully registered.";
const char* const kUnregistered = "OutputThread: UnregCamera() - [DidErorovIdezireRozova] sucessfully unregistered.";

// The library's view: a window to hand over and an installation whose
// registration tool logs each run.
class ClientLifecycle : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        hWindow = &window;
        std::string configHome = scratch.path() + "/config";
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        installation = std::make_unique<ToolInstallation>(configHome, scratch.path() + "/Tavmo Client");
    }

    // Waits for the tool runs the log reports, so none outlives the folder.
    void expectToolRuns(const char* doneLine, std::size_t runs) {
        bool done = fake::logged(doneLine, 3);
        EXPECT_EQ(done, runs > 0) << doneLine;
        if (done) {
            EXPECT_EQ(installation->waitForRuns(false, runs).size(), runs);
        }
    }

    int window = 0;
    ScratchFolder scratch;
    std::unique_ptr<ToolInstallation> installation;
};

struct StartCase {
    const char* name;
    bool alreadyStarted;
    TavmoClientBool startResult;
    bool hasWindow;
    int32_t camera;
    int clientStartedBefore;
    int clientStartedAfter;
    const char* added;
    std::vector<std::string> calls;
    int logLevel;
    const char* logLine;
};

const std::vector<std::string> kStartCalls = {"IsStarted", "SynchronizeStart", "Start", "SynchronizeEnd"};

class Start : public ClientLifecycle, public ::testing::WithParamInterface<StartCase> {};

TEST_P(Start, AnswersAndKeepsClientStarted) {
    const StartCase& c = GetParam();
    fake::library().started = c.alreadyStarted;
    fake::library().startResult = c.startResult;
    if (!c.hasWindow) hWindow = nullptr;
    iCamera = c.camera;
    clientStarted = c.clientStartedBefore;

    EXPECT_EQ(answer(kStart), replyTo(kStart, c.added));

    EXPECT_EQ(clientStarted, c.clientStartedAfter);
    EXPECT_EQ(fake::library().calls, c.calls);
    EXPECT_TRUE(fake::logged(c.logLine, c.logLevel)) << c.logLine;
    EXPECT_TRUE(fake::library().requests.empty());
    expectToolRuns(kRegistered, !c.alreadyStarted && c.camera == 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Start,
    ::testing::Values(StartCase{"Starts", false, 1, true, 0, 0, 1, R"({"result":"TavmoClient started"})", kStartCalls,
                                3, "OutputThread: InEventStart() TavmoClient started"},
                      StartCase{"CameraPresentIsLeftAlone", false, 1, true, 1, 0, 1,
                                R"({"result":"TavmoClient started"})", kStartCalls, 3,
                                "OutputThread: InEventStart() TavmoClient started"},
                      StartCase{"AlreadyStarted",
                                true,
                                1,
                                true,
                                0,
                                1,
                                1,
                                R"({"error":"TavmoClient already started"})",
                                {"IsStarted"},
                                1,
                                "OutputThread: InEventStart() TavmoClient already started"},
                      StartCase{"LibraryRefuses", false, 0, true, 0, 1, 0, R"({"error":"TavmoClient could not start"})",
                                kStartCalls, 1, "OutputThread: InEventStart() TavmoClientStart() returned error"},
                      StartCase{"NoWindow",
                                false,
                                1,
                                false,
                                0,
                                1,
                                0,
                                "{}",
                                {"IsStarted"},
                                1,
                                "OutputThread: InEventStart() hWindow: [NULL]"}),
    [](const auto& info) { return info.param.name; });

TEST_F(ClientLifecycle, StartHandsTheLibraryTheWindowAreaAndProfile) {
    answer(kStart);
    const fake::StartArguments& start = fake::library().start;
    EXPECT_EQ(start.callback, &TavmoClientCallback);
    EXPECT_EQ(start.window, &window);
    EXPECT_EQ(start.videoRect.x, 0);
    EXPECT_EQ(start.videoRect.y, 0);
    EXPECT_EQ(start.videoRect.width, 1920);
    EXPECT_EQ(start.videoRect.height, 1080);
    EXPECT_EQ(start.profileTexts,
              (std::vector<std::string>{"\\Tavmo\\TavmoClientForWeb\\", "SOFTWARE\\Tavmo\\TavmoClientForWeb\\",
                                        "TavmoClientForWeb", TAVMO_HOST_VERSION, "\\TavmoClientForWeb\\", "\\Tavmo"}));
    EXPECT_EQ(start.profileReserved, std::vector<uint32_t>(4, 0));
    EXPECT_EQ(start.levelsAndCategories,
              "FATAL ERROR WARNING INFO@AppGuiUser INFO@AppGui INFO@App INFO@KepApp INFO@KepUi INFO@AppEmcpClient "
              "INFO@AppWebProxy");
    EXPECT_EQ(start.synchronizeDepth, 1);
    EXPECT_EQ(fake::library().synchronizeDepth, 0);
    expectToolRuns(kRegistered, 1);
}

struct StopCase {
    const char* name;
    bool started;
    int32_t callState;
    int32_t callStateResult;
    TavmoClientBool stopResult;
    int32_t camera;
    int clientStartedBefore;
    int clientStartedAfter;
    const char* added;
    std::vector<std::string> calls;
    int logLevel;
    const char* logLine;
};

const std::vector<std::string> kStopCalls = {"IsStarted", "SynchronizeStart", "Stop", "SynchronizeEnd"};

class Stop : public ClientLifecycle, public ::testing::WithParamInterface<StopCase> {};

TEST_P(Stop, StopsOnlyAnIdleLibrary) {
    const StopCase& c = GetParam();
    fake::library().started = c.started;
    fake::library().stopResult = c.stopResult;
    fake::library().requestAnswers[TAVMO_CLIENT_REQUEST_GET_CALL_STATE] = [c](void* record, uint32_t size) {
        if (c.callStateResult == 0) std::memcpy(record, &c.callState, size);
        return c.callStateResult;
    };
    iCamera = c.camera;
    clientStarted = c.clientStartedBefore;

    EXPECT_EQ(answer(kStop), replyTo(kStop, c.added));

    EXPECT_EQ(clientStarted, c.clientStartedAfter);
    EXPECT_EQ(fake::library().calls, c.calls);
    EXPECT_TRUE(fake::logged(c.logLine, c.logLevel)) << c.logLine;
    const auto& requests = fake::library().requests;
    if (c.started) {
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].code, TAVMO_CLIENT_REQUEST_GET_CALL_STATE);
        EXPECT_EQ(requests[0].record, std::vector<unsigned char>(4, 0));
    } else {
        EXPECT_TRUE(requests.empty());
    }
    expectToolRuns(kUnregistered, c.camera == 1 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Stop,
    ::testing::Values(StopCase{"Stops", true, 0, 0, 1, 1, 1, 0, R"({"result":"ok"})", kStopCalls, 3,
                               "OutputThread: InEventStop() TavmoClient stopped."},
                      StopCase{"StillStopping", true, 0, 0, 0, 0, 1, 0, R"({"result":"ok"})", kStopCalls, 3,
                               "OutputThread: InEventStop() TavmoClient is stopping. Might need a second."},
                      StopCase{"CallStateUnknownCountsAsIdle", true, 3, 9, 1, 0, 1, 0, R"({"result":"ok"})", kStopCalls,
                               3, "OutputThread: InEventStop() TavmoClient stopped."},
                      StopCase{"NotStarted",
                               false,
                               0,
                               0,
                               1,
                               1,
                               1,
                               0,
                               R"({"error":"TavmoClient not yet started"})",
                               {"IsStarted"},
                               1,
                               "OutputThread: InEventStop() TavmoClient not yet started"},
                      StopCase{"InACall",
                               true,
                               4,
                               0,
                               1,
                               1,
                               1,
                               1,
                               R"({"error":"TavmoClient can't stop. Reason: Not in idle call state"})",
                               {"IsStarted"},
                               3,
                               "OutputThread: InEventStop(): TavmoClient can't stop. Reason: Busy (call state [4])"},
                      StopCase{"Ringing",
                               true,
                               1,
                               0,
                               1,
                               0,
                               0,
                               0,
                               R"({"error":"TavmoClient can't stop. Reason: Not in idle call state"})",
                               {"IsStarted"},
                               3,
                               "OutputThread: InEventStop(): TavmoClient can't stop. Reason: Busy (call state [1])"}),
    [](const auto& info) { return info.param.name; });

struct LevelsCase {
    const char* name;
    std::string members;
    int32_t libraryResult;
    std::string sentText;  // empty: nothing is sent
    const char* added;
};

class LogLevels : public HostFixture, public ::testing::WithParamInterface<LevelsCase> {};

TEST_P(LogLevels, SendsTheTextInItsField) {
    const LevelsCase& c = GetParam();
    fake::library().requestAnswers[TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES] = [c](void*, uint32_t) {
        return c.libraryResult;
    };
    std::string text = R"({"type":"RequestSetLogLevelsAndCategories","_direction":1)" + c.members + "}";

    EXPECT_EQ(answer(text), replyTo(text, c.added));

    const auto& requests = fake::library().requests;
    if (c.sentText.empty()) {
        EXPECT_TRUE(requests.empty());
        return;
    }
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 102000);
    std::vector<unsigned char> field(201, 0);
    std::memcpy(field.data(), c.sentText.data(), c.sentText.size());
    EXPECT_EQ(requests[0].record, field);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogLevels,
    ::testing::Values(
        LevelsCase{"Absent", "", 0, "", "{}"}, LevelsCase{"Empty", R"(,"levelsAndCategories":"")", 0, "", "{}"},
        LevelsCase{"Null", R"(,"levelsAndCategories":null)", 0, "", "{}"},
        LevelsCase{"Text", R"(,"levelsAndCategories":"FATAL ERROR INFO@App")", 0, "FATAL ERROR INFO@App",
                   R"({"result":"ok"})"},
        LevelsCase{"Number", R"(,"levelsAndCategories":5)", 0, "5", R"({"result":"ok"})"},
        LevelsCase{"TooLong", R"(,"levelsAndCategories":")" + std::string(250, 'x') + "\"", 0, std::string(200, 'x'),
                   R"({"result":"ok"})"},
        LevelsCase{"Refused", R"(,"levelsAndCategories":"ALL")", 6, "ALL",
                   R"({"error":"TavmoClient error: TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES"})"},
        LevelsCase{"NotAText", R"(,"levelsAndCategories":["ALL"])", 0, "", R"({"error":"unknown error"})"}),
    [](const auto& info) { return info.param.name; });

TEST_F(LogLevels, RefusalIsLoggedWithTheLibrarysCode) {
    fake::library().requestAnswers[TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES] = [](void*, uint32_t) {
        return 6;
    };
    answer(std::string(R"({"type":"RequestSetLogLevelsAndCategories","_direction":1,"levelsAndCategories":"ALL"})"));
    EXPECT_EQ(fake::logTexts(1), std::vector<std::string>{"OutputThread: RequestSetLogLevelsAndCategories() "
                                                          "TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES: [6]"});
}

}  // namespace
