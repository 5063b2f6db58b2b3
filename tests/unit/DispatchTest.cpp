#include <gtest/gtest.h>

#include "HostFixture.h"
#include "HostState.h"
#include "HostThreads.h"
#include "TavmoFacts.h"

namespace {

class Dispatch : public HostFixture {};

struct EnvelopeCase {
    const char* request;
    const char* reply;
};

class Envelope : public HostFixture, public ::testing::WithParamInterface<EnvelopeCase> {};

TEST_P(Envelope, RepliesExactly) { EXPECT_EQ(answer(std::string(GetParam().request)), GetParam().reply); }

INSTANTIATE_TEST_SUITE_P(
    Requests, Envelope,
    ::testing::Values(
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":1,"_id":7,"error":"mine"})",
                     "{\"_direction\":2,\"_id\":7,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION
                     "\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":"1"})",
                     "{\"_direction\":2,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":1.2})",
                     "{\"_direction\":2,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion"})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":0})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":2})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":null})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":true})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":"x"})",
                     "{\"_direction\":2,\"error\":\"No or invalid direction\",\"type\":\"RequestGetVersion\"}\n"},
        EnvelopeCase{R"({"_direction":1,"error":"x"})", "{\"_direction\":2,\"error\":\"unknown request\"}\n"},
        EnvelopeCase{R"({"type":5,"_direction":1})",
                     "{\"_direction\":2,\"error\":\"Type is not a string\",\"type\":5}\n"},
        EnvelopeCase{R"({"type":null,"_direction":1})",
                     "{\"_direction\":2,\"error\":\"Type is not a string\",\"type\":null}\n"},
        EnvelopeCase{R"({"type":"requestgetversion","_direction":1})",
                     "{\"_direction\":2,\"error\":\"unknown request\",\"type\":\"requestgetversion\"}\n"},
        EnvelopeCase{"", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"not json", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"[1,2]", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"\"text\"", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"42", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"true", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{"null", "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"},
        EnvelopeCase{R"({"type":"RequestGetVersion","_direction":1)",
                     "{\"_direction\":2,\"error\":\"Not a valid JSON object\"}\n"}));

TEST_F(Dispatch, DebugModeSkipsTheDirectionCheck) {
    hostState = HostDebug;
    handleRequestText(R"({"type":"RequestGetVersion"})", clientStarted);
    EXPECT_EQ(writtenBytes(),
              "{\"_direction\":2,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n");
}

TEST_F(Dispatch, UnknownRequestIsLoggedWithItsType) {
    answer(std::string(R"({"type":"Nope","_direction":1})"));
    EXPECT_TRUE(fake::logged("OutputThread: handleRequest() Processing Request: [Nope]", 3));
    EXPECT_TRUE(fake::logged("OutputThread: handleRequest() Unknown request: [Nope]", 1));
}

TEST_F(Dispatch, DeeplyNestedJsonIsAnsweredWithoutCrashing) {
    std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::string reply = answer(deep);
    EXPECT_NE(reply.find("\"error\""), std::string::npos) << reply;
}

TEST_F(Dispatch, InvalidUtf8IsAnswered) {
    std::string reply = answer(std::string("{\"type\":\"\xff\xfe\",\"_direction\":1}"));
    EXPECT_NE(reply.find("\"error\":\"unknown request\""), std::string::npos) << reply;
}

struct ChromeArchCase {
    const char* request;
    const char* archSet;
    int bChromex64;
};

class ChromeArch : public HostFixture, public ::testing::WithParamInterface<ChromeArchCase> {};

TEST_P(ChromeArch, SelectsTheBrowserArchitecture) {
    bChromex64 = 1 - GetParam().bChromex64;
    std::string reply = answer(std::string(GetParam().request));
    EXPECT_NE(reply.find(std::string("\"chromeArchSet\":\"") + GetParam().archSet + "\""), std::string::npos) << reply;
    EXPECT_EQ(bChromex64.load(), GetParam().bChromex64);
    EXPECT_TRUE(fake::logged(
        "OutputThread: RequestSetChromeArch() bChromex64: [" + std::to_string(GetParam().bChromex64) + "]", 3));
}

INSTANTIATE_TEST_SUITE_P(
    Arches, ChromeArch,
    ::testing::Values(
        ChromeArchCase{R"({"type":"RequestSetChromeArch","_direction":1,"chromeArch":"x64"})", "64 bit", 1},
        ChromeArchCase{R"({"type":"RequestSetChromeArch","_direction":1,"chromeArch":"X64"})", "32 bit", 0},
        ChromeArchCase{R"({"type":"RequestSetChromeArch","_direction":1,"chromeArch":"x64 "})", "32 bit", 0},
        ChromeArchCase{R"({"type":"RequestSetChromeArch","_direction":1})", "32 bit", 0},
        ChromeArchCase{R"({"type":"RequestSetChromeArch","_direction":1,"chromeArch":64})", "32 bit", 0}));

TEST_F(Dispatch, ChromeArchThatIsNoTextIsAnUnknownError) {
    EXPECT_EQ(answer(std::string(R"({"type":"RequestSetChromeArch","_direction":1,"chromeArch":[1]})")),
              "{\"_direction\":2,\"chromeArch\":[1],\"error\":\"unknown error\",\"type\":\"RequestSetChromeArch\"}\n");
    EXPECT_TRUE(fake::logged(
        "OutputThread: handleRequest() Unknown Exception while processing request: [RequestSetChromeArch]", 1));
}

}  // namespace
