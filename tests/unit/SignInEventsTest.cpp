#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InEventTestSupport.h"
#include "PageMessages.h"

namespace inevent_test {
namespace {

constexpr std::size_t kSignInBytes = 5944;
constexpr std::size_t kNumberProxiesAt = 5412;
constexpr const char* kFlags = R"("emcpSecured":false,"guestLogin":false,"showDialpad":false,"showStartmeeting":false)";

RecordBuilder proxies(const std::vector<std::string>& addresses, const std::vector<std::string>& ports, int32_t count) {
    RecordBuilder record(kSignInBytes);
    for (std::size_t slot = 0; slot < addresses.size(); ++slot) record.text(1188 + 128 * slot, addresses[slot]);
    for (std::size_t slot = 0; slot < ports.size(); ++slot) record.text(2212 + 8 * slot, ports[slot]);
    return record.int32(kNumberProxiesAt, count);
}

struct SentCase {
    std::string request;
    int32_t code;
    Bytes record;
};

class PortalSent : public InEventTest, public ::testing::WithParamInterface<SentCase> {};

TEST_P(PortalSent, SendsTheRecordAndAnswersOk) {
    const SentCase& c = GetParam();
    rememberApproval(true);
    EXPECT_EQ(lastBodyAfter(c.request), okReply(c.request));
    std::vector<fake::SentRecord> sent = events();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].code, c.code);
    EXPECT_EQ(sent[0].record, c.record);
}

INSTANTIATE_TEST_SUITE_P(
    SignIn, PortalSent,
    ::testing::Values(
        SentCase{request("InEventSignIn",
                         R"("serverAddress":"srv","serverPort":"123456789","userName":")" + std::string(200, 'u') +
                             R"(","portalAccessKey":"k3y","portalAddress":"portal","portalVersion":"22.1",)"
                             R"("vmIdentity":"vm-1","locationTag":"eu","proxyType":3,"numberProxies":5,)"
                             R"("emcpSecured":7,"guestLogin":null,"showDialpad":0.5,"showStartmeeting":true)"),
                 100,
                 proxies({}, {}, 1)
                     .text(0, "srv")
                     .text(192, "1234567")
                     .text(200, std::string(189, 'u'))
                     .text(390, "k3y")
                     .text(647, "portal")
                     .text(775, "22.1")
                     .text(1031, "vm-1")
                     .text(1095, "eu")
                     .int32(1184, 3)
                     .int32(5416, 1)
                     .byte(5421, 1)
                     .byte(5422, 1)},
        SentCase{request("InEventSignIn", std::string(kFlags) + R"(,"tavmoProxyAddress":"p0","tavmoProxyPort":"443")"),
                 100, proxies({"p0"}, {"443"}, 1)},
        SentCase{request("InEventSignIn", std::string(kFlags) + R"(,"tavmoProxyAddress":[],"numberProxies":2)"), 100,
                 proxies({}, {}, 0)},
        // Ten addresses fill the eight slots whatever numberProxies says; the
        // ninth, no string, is never read. Ports never change the count.
        SentCase{
            request("InEventSignIn", std::string(kFlags) +
                                         R"(,"tavmoProxyAddress":["a0","a1","a2","a3","a4","a5","a6","a7",5,"a9"],)"
                                         R"("numberProxies":3,"tavmoProxyPort":["1","2","3"])"),
            100, proxies({"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7"}, {"1", "2", "3"}, 8)},
        SentCase{request("InEventLogin", R"("portalUri":"https://portal","userName":"ann","userPass":"pw")"), 1600,
                 RecordBuilder(648).text(0, "https://portal").text(257, "ann").text(385, "pw")},
        SentCase{request("PrivateInEventVcsoapGuestLink",
                         R"("requestId":"41","portalUri":"https://portal","roomKey":"AbC","guestName":"Guest",)"
                         R"("pin":"12345678901234567890")"),
                 201000,
                 RecordBuilder(652)
                     .int32(0, 57)
                     .int32(4, 41)
                     .text(12, "https://portal")
                     .text(269, "AbC")
                     .text(397, "Guest")
                     .text(525, "1234567890123456")}));

class PortalBadInput : public InEventTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(PortalBadInput, IsAnUnknownErrorAndSendsNothing) {
    rememberApproval(true);
    EXPECT_EQ(lastBodyAfter(GetParam()), errorReply(GetParam(), "unknown error"));
    EXPECT_TRUE(events().empty());
}

INSTANTIATE_TEST_SUITE_P(
    SignIn, PortalBadInput,
    ::testing::Values(request("InEventSignIn", R"("emcpSecured":false,"guestLogin":false,"showDialpad":false)"),
                      request("InEventSignIn", R"("emcpSecured":"no","guestLogin":false,"showDialpad":false,)"
                                               R"("showStartmeeting":false)"),
                      request("InEventSignIn", std::string(kFlags) + R"(,"serverAddress":5)"),
                      request("InEventSignIn", std::string(kFlags) + R"(,"tavmoProxyAddress":{"a":"b"})"),
                      request("InEventSignIn", std::string(kFlags) + R"(,"tavmoProxyPort":["1",2])"),
                      request("InEventLogin", R"("userPass":null)"),
                      request("PrivateInEventVcsoapGuestLink", R"("roomKey":["k"])")));

TEST_F(InEventTest, LoginNeverLogsThePassword) {
    answer(request("InEventLogin", R"("userName":"ann","userPass":"s3cret-pass")"));
    ASSERT_EQ(events().size(), 1u);
    for (const std::string& line : fake::logTexts()) EXPECT_EQ(line.find("s3cret"), std::string::npos) << line;
}

}  // namespace
}  // namespace inevent_test
