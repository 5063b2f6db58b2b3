// What a running host has loaded: the approval dialogs' toolkit comes in only
// with the first dialog, so a host that never shows one does not pay for
// loading it at every start.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
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

// The mappings of a host that has answered its first request.
class StartupFootprint : public ::testing::Test {
protected:
    void SetUp() override {
        if (windowsHost()) GTEST_SKIP() << "reads the host's mappings from /proc";
        host_.emplace(folder_);
        host_->sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":1})");
        ASSERT_TRUE(host_->readFrame());
        // The library writes the log from a thread of its own.
        ASSERT_TRUE(waitForLog(*host_, "Process: ["));
        std::string processId = processIdFromLog(host_->logText());
        ASSERT_FALSE(processId.empty());
        std::ifstream file("/proc/" + processId + "/maps");
        maps_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        ASSERT_NE(maps_.find("libTavmoClientDll"), std::string::npos) << "not the host's mappings";
    }

    void TearDown() override {
        if (!host_) return;
        host_->closeInput();
        EXPECT_EQ(host_->waitExit(), 0);
    }

    bool mapped(const char* library) const { return maps_.find(library) != std::string::npos; }

private:
    ScratchFolder folder_;
    std::optional<HostProcess> host_;
    std::string maps_;
};

TEST_F(StartupFootprint, TheDialogToolkitIsNotLoadedUntilADialogIsShown) {
    EXPECT_FALSE(mapped("libgtk-3"));
    EXPECT_FALSE(mapped("libTavmoApprovalDialog"));
}

#if defined(TAVMO_HOST_CARRIES_JSONCPP)
// jsoncpp is built into the host; its shared library would bring the shared
// C++ runtime along and cost every start their loading and relocation.
TEST_F(StartupFootprint, JsoncppIsPartOfTheHostNotASharedLibrary) { EXPECT_FALSE(mapped("libjsoncpp")); }
#endif

}  // namespace
