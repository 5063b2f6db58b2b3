// A browser disconnects a host that writes a message longer than 1 MiB, yet
// the page may send longer requests, which the reply echoes. Requests over
// 2 MiB are not read into memory at all.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "HostProcess.h"
#include "TavmoFacts.h"

namespace {

TEST(ReplyLimit, EchoOfOneAndAHalfMegabytesIsAnsweredWithItsErrorAndTheHostGoesOn) {
    ScratchFolder folder;
    HostProcess host(folder);
    const std::string echoed(1500 * 1000, 'e');
    host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":11,"_tabId":4,"echoed":")" + echoed + "\"}");
    EXPECT_EQ(
        host.readFrame(),
        "{\"_direction\":2,\"_id\":11,\"_tabId\":4,\"error\":\"Reply too large\",\"type\":\"RequestGetVersion\"}\n");

    host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":12})");
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"_id\":12,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    const std::string wouldBeReply = R"({"_direction":2,"_id":11,"_tabId":4,"echoed":")" + echoed +
                                     R"(","type":"RequestGetVersion","version":")" TAVMO_HOST_VERSION R"("})" + "\n";
    EXPECT_NE(host.logText().find("OutputThread: TavmoAgent::sendMessage(): Reply too large: [" +
                                  std::to_string(wouldBeReply.size()) + "] bytes, sending the error instead"),
              std::string::npos);
}

// The peak of the process's resident memory in KiB, or -1 where it cannot
// be read.
long peakMemoryKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Parsed, 64 MiB of small numbers took the host to 3.3 GB.
TEST(RequestLimit, RequestOverTwoMebibytesIsAnsweredWithItsErrorWithoutBeingKept) {
    ScratchFolder folder;
    HostProcess host(folder);
    host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":1})");
    ASSERT_TRUE(host.readFrame());
    const long before = peakMemoryKiB(host.pid());

    std::string numbers = R"({"type":"RequestGetVersion","_direction":1,"_id":2,"numbers":[)";
    const std::size_t kBodyBytes = 64 * 1024 * 1024;
    while (numbers.size() < kBodyBytes - 2) numbers += "1,";
    numbers.resize(kBodyBytes - 2);
    numbers.back() = '1';
    numbers += "]}";
    host.sendFrame(numbers);
    EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"error\":\"Request too large\"}\n");
    host.sendFrame(R"({"type":"RequestGetVersion","_direction":1,"_id":3})");
    EXPECT_EQ(host.readFrame(),
              "{\"_direction\":2,\"_id\":3,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n");
    const long after = peakMemoryKiB(host.pid());
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    EXPECT_NE(
        host.logText().find("InputThread: Request too large: [" + std::to_string(kBodyBytes) + "] bytes, dropped"),
        std::string::npos);
    if (!windowsHost() && before > 0) {
        EXPECT_LT(after - before, 8 * 1024) << "KiB more at the peak, from " << before;
    }
}

}  // namespace
