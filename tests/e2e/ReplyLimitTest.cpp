// A browser disconnects a host that writes a message longer than 1 MiB, yet
// the page may send far longer requests, which the reply echoes.
#include <gtest/gtest.h>

#include <string>

#include "HostProcess.h"
#include "TavmoVersion.h"

namespace {

TEST(ReplyLimit, EchoOfTwoMebibytesIsAnsweredWithItsErrorAndTheHostGoesOn) {
    ScratchFolder folder;
    HostProcess host(folder);
    const std::string echoed(2 * 1024 * 1024, 'e');
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

}  // namespace
