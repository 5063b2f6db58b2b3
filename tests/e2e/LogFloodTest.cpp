// A page that sends bad requests makes the host log them at the default
// level. It must neither fill the disk through the log nor forge log lines.
#include <gtest/gtest.h>

#include <string>

#include "HostProcess.h"

namespace {

TEST(LogFlood, BadRequestsAreLoggedCutShortAndOnALineOfTheirOwn) {
    ScratchFolder folder;
    HostProcess host(folder);
    const std::string notJson(1024 * 1024, 'x');
    constexpr int kFloods = 20;
    for (int i = 0; i < kFloods; ++i) {
        host.sendFrame(notJson);
        EXPECT_EQ(host.readFrame(), "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n");
    }
    const std::string forged = "1999-01-01 00:00:00.000Z ERROR Source/main.cpp:1 MainThread: forged";
    host.sendFrame(R"({"type":"A\n)" + forged + R"(","_direction":1})");
    ASSERT_TRUE(host.readFrame());
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    const std::string logs = host.logText();
    // Twenty mebibytes of requests were twenty mebibytes of log.
    EXPECT_LT(logs.size(), 256u * 1024) << "bytes of log";
    const std::string cut = "OutputThread: Not a valid JSON object: [" + std::string(4096, 'x') + "... [" +
                            std::to_string(notJson.size()) + " bytes]]";
    std::size_t cutLines = 0;
    for (std::size_t at = logs.find(cut); at != std::string::npos; at = logs.find(cut, at + 1)) ++cutLines;
    EXPECT_EQ(cutLines, static_cast<std::size_t>(kFloods));
    EXPECT_NE(logs.find("OutputThread: handleRequest() Unknown request: [A\\n" + forged + "]"), std::string::npos);
    EXPECT_EQ(logs.find("\n" + forged), std::string::npos) << "a line was forged";
}

}  // namespace
