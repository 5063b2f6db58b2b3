// The virtual camera's requests and registration, and the website's name,
// through the real host and the stand-in library.
#include <gtest/gtest.h>

#include <string>

#include "HostProcess.h"
#include "PageMessages.h"
#include "RegistrationTools.h"

namespace {

TEST(CameraAndApproval, ShutdownUnregistersTheCameraOfTheDeclaredBrowser) {
    ScratchFolder folder;
    ToolInstallation installation = installRegistrationTool(folder);
    HostProcess host(folder);
    host.sendFrame(request("RequestSetChromeArch", "\"chromeArch\":\"x64\""));
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"chromeArch\":\"x64\",\"chromeArchSet\":\"64 bit\",\"type\":"
              "\"RequestSetChromeArch\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    EXPECT_EQ(installation.waitForRuns(true, 1), std::vector<std::string>{"/u /s TavmoWPVC64.dll"});
    EXPECT_TRUE(installation.runs(false).empty());
    EXPECT_NE(host.logText().find("OutputThread: UnregCamera64() - [DidErorovIdezireRozova] sucessfully unregistered."),
              std::string::npos);
}

TEST(CameraAndApproval, ShutdownWithoutInstallationOnlyLogs) {
    ScratchFolder folder;
    EndedHost host = startAndEndInput(folder);
    EXPECT_EQ(host.exitCode, 0);
    const std::string& log = host.log;
    EXPECT_NE(log.find("OutputThread: GetAppPath(...) - RegOpenkeyEx(...) Failed. ERROR: [2]"), std::string::npos);
    EXPECT_LT(log.find("MainThread: EXIT Starting cleanup..."), log.find("GetAppPath(...)"));
}

TEST(CameraAndApproval, ResolutionReachesTheLibraryOrComesBackRefused) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(request("RequestSetCameraResolution", "\"width\":\"1280\",\"height\":720.25,\"_id\":1"));
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"_id\":1,\"height\":720.25,\"result\":\"ok\",\"type\":\"RequestSetCameraResolution\","
              "\"width\":\"1280\"}\n");
    host.sendFrame(request("RequestSetCameraResolution", "\"width\":0"));
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_"
              "BUFFER\",\"type\":\"RequestSetCameraResolution\",\"width\":0}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_NE(host.logText().find("Virtual camera buffer: [1280] x [720]"), std::string::npos);
}

TEST(CameraAndApproval, StatusAndDomainAreAnswered) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(request("RequestGetCameraStatus"));
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"status\":0,\"type\":\"RequestGetCameraStatus\"}\n");
    host.sendFrame(request("RequestSetDomain", "\"domain\":\"meet.example.org\""));
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"domain\":\"meet.example.org\",\"result\":\"ok\",\"type\":\"RequestSetDomain\"}\n");
    host.sendFrame(request("RequestSetDomain", "\"domain\":7"));
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"domain\":7,\"error\":\"unknown error\",\"type\":\"RequestSetDomain\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
}

}  // namespace
