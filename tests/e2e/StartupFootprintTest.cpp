// What a running host has loaded: the approval dialogs' toolkit comes in only
// with the first dialog, so a host that never shows one does not pay for
// loading it at every start.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "HostProcess.h"

namespace {

std::string processIdFromLog(const std::string& log) {
    const std::string key = "Process: [";
    std::size_t at = log.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    return log.substr(at, log.find(']', at) - at);
}

TEST(StartupFootprint, TheDialogToolkitIsNotLoadedUntilADialogIsShown) {
    if (windowsHost()) GTEST_SKIP() << "reads the host's mappings from /proc";
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":1})");
    ASSERT_TRUE(host.readFrame());

    // The library writes the log from a thread of its own.
    ASSERT_TRUE(waitForLog(host, "Process: ["));
    std::string processId = processIdFromLog(host.logText());
    ASSERT_FALSE(processId.empty());
    std::ifstream file("/proc/" + processId + "/maps");
    std::string maps((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_NE(maps.find("libTavmoClientDll"), std::string::npos) << "not the host's mappings";
    EXPECT_EQ(maps.find("libgtk-3"), std::string::npos);
    EXPECT_EQ(maps.find("libTavmoApprovalDialog"), std::string::npos);

    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
}

}  // namespace
