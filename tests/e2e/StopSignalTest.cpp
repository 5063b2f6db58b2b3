// The system asks the host to end (SIGTERM at a logout or a shutdown, SIGHUP
// when its terminal goes, SIGINT from a keyboard): the host ends as at the
// end of its input, so a call is left and the library stopped; a second
// request ends it at once.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>

#include "HostProcess.h"

namespace {

using namespace std::chrono_literals;

class StopSignal : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (windowsHost()) GTEST_SKIP() << "a Windows host has no such signals";
    }
};

TEST_P(StopSignal, DuringACallLeavesItStopsTheLibraryAndExitsCleanly) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"raise 0 1200 -"};
    HostProcess host(folder, options);
    ASSERT_EQ(host.readFrame(), "{\"_direction\":2,\"code\":1200,\"params\":null}\n");
    ASSERT_EQ(::kill(host.pid(), GetParam()), 0);

    EXPECT_EQ(host.waitExit(), 0);
    const std::string log = host.logText();
    const std::string signalled = "MainThread: Signal [" + std::to_string(GetParam()) + "] received";
    const std::string pushed = R"(InputThread: Pushing: [{"type":"InEventLeave","_direction":1}])";
    for (const std::string& line : {signalled, pushed}) ASSERT_TRUE(logHas(log, line)) << line;
    EXPECT_LT(log.find(signalled), log.find(pushed));
    EXPECT_LT(log.find(pushed), log.find("MainThread: EXIT Starting cleanup..."));
    // The leave's reply, which nobody reads any more, shows it was carried out.
    EXPECT_NE(log.find("OutputThread: TavmoAgent::sendMessage(): not sending while exiting!", log.find(pushed)),
              std::string::npos);
    EXPECT_TRUE(logHas(log, "MainThread: EXIT\n"));
}

std::string signalName(const ::testing::TestParamInfo<int>& info) {
    switch (info.param) {
        case SIGTERM: return "SIGTERM";
        case SIGHUP: return "SIGHUP";
        default: return "SIGINT";
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT), signalName);

// The orderly way waits up to ten seconds for a worker that hangs in the
// library; a second request does not wait for it.
TEST(StopSignals, SecondRequestEndsTheHostAtOnce) {
    if (windowsHost()) GTEST_SKIP() << "a Windows host has no such signals";
    ScratchFolder folder;
    HostProcess host(folder, hangingWorkerOptions());
    ASSERT_TRUE(hangWorker(host));
    ASSERT_EQ(::kill(host.pid(), SIGTERM), 0);
    ASSERT_TRUE(waitForLog(host, "MainThread: InputThread WAIT_OBJECT_0")) << "the first took the orderly way";
    ASSERT_EQ(::kill(host.pid(), SIGTERM), 0);

    // Well before the orderly way would give up on the hanging worker.
    EXPECT_EQ(host.waitExit(5s), 128 + SIGTERM);
    EXPECT_FALSE(logHas(host.logText(), "MainThread: OutputThread WAIT_TIMEOUT on EXIT"));
}

}  // namespace
