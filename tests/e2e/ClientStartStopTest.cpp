// Starting and stopping the library, through the real host and the stand-in
// library.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "PageMessages.h"
#include "RegistrationTools.h"

namespace {

// The next reply, passing over the library's event messages.
std::optional<std::string> readReply(HostProcess& host) {
    for (;;) {
        std::optional<std::string> frame = host.readFrame();
        if (!frame || frame->rfind("{\"_direction\":2,\"code\":", 0) != 0) return frame;
    }
}

std::string ask(HostProcess& host, const std::string& type, const std::string& fields = "") {
    host.sendFrame(request(type, fields));
    return readReply(host).value_or("(no reply)");
}

TEST(ClientStartStop, StartsAndStopsTheLibraryAndRegistersTheCamera) {
    ScratchFolder folder;
    ToolInstallation installation = installRegistrationTool(folder);
    HostProcess host(folder);

    EXPECT_EQ(ask(host, "InEventStop"),
              "{\"_direction\":2,\"error\":\"TavmoClient not yet started\",\"type\":\"InEventStop\"}\n");
    EXPECT_EQ(ask(host, "InEventStart"),
              "{\"_direction\":2,\"result\":\"TavmoClient started\",\"type\":\"InEventStart\"}\n");
    EXPECT_EQ(installation.waitForRuns(false, 1), std::vector<std::string>{"/s TavmoWPVC.dll"});
    EXPECT_EQ(ask(host, "InEventStart"),
              "{\"_direction\":2,\"error\":\"TavmoClient already started\",\"type\":\"InEventStart\"}\n");
    EXPECT_EQ(ask(host, "RequestGetEndpointStatus"),
              "{\"_direction\":2,\"endpointStatus\":\"Registered\",\"type\":\"RequestGetEndpointStatus\"}\n");
    EXPECT_EQ(ask(host, "InEventStop"), "{\"_direction\":2,\"result\":\"ok\",\"type\":\"InEventStop\"}\n");
    EXPECT_EQ(ask(host, "RequestGetEndpointStatus"),
              "{\"_direction\":2,\"endpointStatus\":\"Inactive\",\"type\":\"RequestGetEndpointStatus\"}\n");
    EXPECT_EQ(ask(host, "InEventStart"),
              "{\"_direction\":2,\"result\":\"TavmoClient started\",\"type\":\"InEventStart\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    // Each start registers the absent camera; shutdown unregisters it.
    std::vector<std::string> runs = installation.waitForRuns(false, 3);
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, (std::vector<std::string>{"/s TavmoWPVC.dll", "/s TavmoWPVC.dll", "/u /s TavmoWPVC.dll"}));
    std::string log = host.logText();
    EXPECT_NE(log.find("OutputThread: InEventStart() TavmoClient started"), std::string::npos);
    EXPECT_NE(log.find("OutputThread: InEventStop() TavmoClient stopped."), std::string::npos);
}

TEST(ClientStartStop, LibraryInACallIsNotStopped) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"call-state 4"};
    HostProcess host(folder, options);

    EXPECT_EQ(ask(host, "InEventStart"),
              "{\"_direction\":2,\"result\":\"TavmoClient started\",\"type\":\"InEventStart\"}\n");
    EXPECT_EQ(ask(host, "InEventStop"),
              "{\"_direction\":2,\"error\":\"TavmoClient can't stop. Reason: Not in idle call state\","
              "\"type\":\"InEventStop\"}\n");
    EXPECT_EQ(ask(host, "RequestGetCallState"),
              "{\"_direction\":2,\"callState\":\"InConference\",\"type\":\"RequestGetCallState\"}\n");
    EXPECT_EQ(ask(host, "InEventStart"),
              "{\"_direction\":2,\"error\":\"TavmoClient already started\",\"type\":\"InEventStart\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    EXPECT_NE(host.logText().find("OutputThread: InEventStop(): TavmoClient can't stop. Reason: Busy (call state [4])"),
              std::string::npos);
}

TEST(ClientStartStop, LogLevelsReachTheLibrary) {
    ScratchFolder folder;
    HostProcess host(folder);
    const std::string before = request("RequestGetVersion", "\"_id\":1");
    const std::string after = request("RequestGetVersion", "\"_id\":2");

    host.sendFrame(before);
    ASSERT_TRUE(host.readFrame());
    EXPECT_EQ(ask(host, "RequestSetLogLevelsAndCategories", "\"levelsAndCategories\":\"ALL\""),
              "{\"_direction\":2,\"levelsAndCategories\":\"ALL\",\"result\":\"ok\",\"type\":"
              "\"RequestSetLogLevelsAndCategories\"}\n");
    host.sendFrame(after);
    ASSERT_TRUE(host.readFrame());
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    std::string log = host.logText();
    EXPECT_EQ(log.find("OutputThread: Handling request: [" + before + "]"), std::string::npos);
    EXPECT_NE(log.find("OutputThread: Handling request: [" + after + "]"), std::string::npos);
}

}  // namespace
