// Configuration, sharing and conference statistics through the real host and
// the stand-in library.
#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "HostProcess.h"
#include "PageMessages.h"

namespace {

// The next reply, passing over the library's event messages.
std::string readReply(HostProcess& host) {
    for (;;) {
        std::optional<std::string> frame = host.readFrame();
        if (!frame) return "(no reply)";
        if (frame->rfind("{\"_direction\":2,\"code\":", 0) != 0) return *frame;
    }
}

std::string ask(HostProcess& host, const std::string& type, const std::string& fields = "") {
    host.sendFrame(request(type, fields));
    return readReply(host);
}

std::string compact(Json::Value value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

Json::Value askParsed(HostProcess& host, const std::string& type, const std::string& fields = "") {
    return parsed(ask(host, type, fields));
}

// The page sends back the whole configuration it read, with its changes.
std::string setFields(Json::Value configuration, const Json::Value& changes) {
    for (const std::string& key : changes.getMemberNames()) configuration[key] = changes[key];
    for (const char* envelope : {"type", "_direction"}) configuration.removeMember(envelope);
    std::string fields = compact(configuration);
    return fields == "{}" ? "" : fields.substr(1, fields.size() - 2);
}

TEST(Configuration, ChangesSurviveARestartAndTheDevicesStayTheLibrarys) {
    ScratchFolder folder;
    {
        HostProcess host(folder);
        Json::Value configuration = askParsed(host, "RequestGetConfiguration");
        ASSERT_FALSE(configuration.isMember("error")) << configuration;
        EXPECT_GE(configuration["microphones"].size(), 1u);
        EXPECT_EQ(configuration["microphones"].size(), configuration["numberMicrophones"].asUInt());

        Json::Value changes =
            parsed(R"({"userID":"alice","serverAddress":"conference.example","videoPreferences":"Advanced720p30",)"
                   R"("enableAutoAnswer":1,"currentCamera":1,"mediaLowPort":40000,"microphones":["Not mine"]})");
        Json::Value reply = askParsed(host, "RequestSetConfiguration", setFields(configuration, changes));
        EXPECT_EQ(reply["result"].asString(), "ok") << reply;
        host.closeInput();
        EXPECT_EQ(host.waitExit(), 0);
    }
    HostProcess host(folder);
    Json::Value configuration = askParsed(host, "RequestGetConfiguration");
    EXPECT_EQ(configuration["userID"].asString(), "alice");
    EXPECT_EQ(configuration["serverAddress"].asString(), "conference.example");
    EXPECT_EQ(configuration["videoPreferences"].asString(), "Advanced720p30");
    EXPECT_EQ(configuration["enableAutoAnswer"].asUInt(), 1u);
    EXPECT_EQ(configuration["currentCamera"].asUInt(), 1u);
    EXPECT_EQ(configuration["mediaLowPort"].asUInt(), 40000u);
    EXPECT_NE(configuration["microphones"][0].asString(), "Not mine");

    Json::Value connectivity = askParsed(host, "RequestGetConnectivityInfo");
    EXPECT_EQ(connectivity["serverAddress"].asString(), "conference.example");
    EXPECT_EQ(connectivity["userName"].asString(), "alice");
}

// The stand-in refuses any text without its terminator inside its field, as
// the library may; the host's cut keeps such values acceptable.
TEST(Configuration, TextsThatWouldFillTheirFieldsArriveTerminated) {
    ScratchFolder folder;
    HostProcess host(folder);
    const std::string user(64, 'u');
    const std::string port = "123456";
    Json::Value reply =
        askParsed(host, "RequestSetConfiguration", "\"userID\":\"" + user + "\",\"serverPort\":\"" + port + "\"");
    EXPECT_EQ(reply["result"].asString(), "ok") << reply;
    Json::Value configuration = askParsed(host, "RequestGetConfiguration");
    EXPECT_EQ(configuration["userID"].asString(), user.substr(1));
    EXPECT_EQ(configuration["serverPort"].asString(), "12345");
}

TEST(Configuration, FailedConversionChangesNothing) {
    ScratchFolder folder;
    HostProcess host(folder);
    EXPECT_EQ(ask(host, "RequestSetConfiguration", R"("enableLogging":1,"userID":12345)"),
              R"({"_direction":2,"enableLogging":1,"error":"unknown Exception","type":"RequestSetConfiguration",)"
              R"("userID":12345})"
              "\n");
    EXPECT_EQ(askParsed(host, "RequestGetConfiguration")["enableLogging"].asUInt(), 0u);
    EXPECT_NE(host.logText().find("OutputThread: RequestSetConfiguration() Unknown Exception at key: [userID]"),
              std::string::npos);
}

TEST(Sharing, ListsTheWindowsAndDesktopsThatCouldBeShared) {
    ScratchFolder folder;
    HostProcess host(folder);
    EXPECT_EQ(ask(host, "RequestGetWindowsAndDesktops"),
              R"({"_direction":2,"appSharesDisabled":0,"appWindowAppName":["Editor","Mail","Terminal"],)"
              R"("appWindowId":["0000000000001A2B","00000000002C0041","00000000003E00A7"],)"
              R"("appWindowName":["Quarterly report - Editor","Inbox - Mail","Terminal"],"numApplicationWindows":4,)"
              R"("numSystemDesktops":2,"sysDesktopId":["1","2"],"sysDesktopName":["Display 1","Display 2"],)"
              R"("sysDesktopRect":[{"height":1080,"width":1920,"xPos":0,"yPos":0},)"
              R"({"height":1024,"width":1280,"xPos":1920,"yPos":0}],"type":"RequestGetWindowsAndDesktops"})"
              "\n");
}

TEST(Sharing, WindowSharesReadBackAsSet) {
    ScratchFolder folder;
    HostProcess host(folder);
    Json::Value shares = askParsed(host, "RequestGetWindowShares");
    EXPECT_EQ(shares["remoteAppName"].size(), shares["remoteAppUri"].size());
    EXPECT_EQ(shares["requestType"].asString(), "ListSharingWindows");

    EXPECT_EQ(ask(host, "RequestSetWindowShares",
                  R"("requestType":"ChangeSharingWindow","remoteAppName":["Slides","Board"],)"
                  R"("remoteAppUri":["share:1","share:2"],"numApp":2,"currApp":2,"eventUri":"events"})"),
              R"({"_direction":2,"currApp":2,"eventUri":"events","numApp":2,"remoteAppName":["Slides","Board"],)"
              R"("remoteAppUri":["share:1","share:2"],"requestType":"ChangeSharingWindow","result":"ok",)"
              R"("type":"RequestSetWindowShares"})"
              "\n");
    EXPECT_EQ(ask(host, "RequestGetWindowShares"),
              R"({"_direction":2,"currApp":2,"eventUri":"events","newApp":0,"numApp":2,)"
              R"("remoteAppName":["Slides","Board"],"remoteAppUri":["share:1","share:2"],)"
              R"("requestType":"ChangeSharingWindow","type":"RequestGetWindowShares"})"
              "\n");
}

struct StatisticsQuery {
    const char* type;
    const char* someKey;
};

class StatisticsQueries : public ::testing::TestWithParam<StatisticsQuery> {};

TEST_P(StatisticsQueries, AreAnsweredByTheLibrary) {
    ScratchFolder folder;
    HostProcess host(folder);
    Json::Value reply = askParsed(host, GetParam().type);
    EXPECT_FALSE(reply.isMember("error")) << reply;
    EXPECT_TRUE(reply.isMember(GetParam().someKey)) << reply;
}

INSTANTIATE_TEST_SUITE_P(Requests, StatisticsQueries,
                         ::testing::Values(StatisticsQuery{"RequestGetParticipantStatisticsAt", "videoResolution"},
                                           StatisticsQuery{"RequestGetParticipants", "numParticipants"},
                                           StatisticsQuery{"RequestGetFeccList", "privacyMode"},
                                           StatisticsQuery{"RequestGetEncodeResolution", "rect"},
                                           StatisticsQuery{"RequestGetVideoFrameRateInfo", "captureFrameRate"},
                                           StatisticsQuery{"RequestGetMediaInfo", "mediaRTT"},
                                           StatisticsQuery{"RequestGetRateShaperInfo", "delayVideoPriorytyNormal"},
                                           StatisticsQuery{"RequestGetBandwidthInfo", "ActualRecvBwMax"},
                                           StatisticsQuery{"RequestGetConnectivityInfo", "portalVersion"},
                                           StatisticsQuery{"RequestGetLayout", "participants_limit_safe"}),
                         [](const auto& info) { return std::string(info.param.type); });

// The library's figures describe a call; the scenario starts it in one.
HostOptions duringACall() {
    HostOptions options;
    options.scenario = {"call-state 4"};
    return options;
}

TEST(Statistics, ParticipantsOfTheSimulatedConference) {
    ScratchFolder folder;
    HostProcess host(folder, duringACall());
    Json::Value participants = askParsed(host, "RequestGetParticipants");
    const Json::ArrayIndex count = participants["numParticipants"].asUInt();
    ASSERT_GT(count, 0u);
    ASSERT_EQ(participants["name"].size(), count);

    Json::Value last =
        askParsed(host, "RequestGetParticipantStatisticsAt", "\"index\":\"" + std::to_string(count - 1) + "\"");
    EXPECT_TRUE(last["result"].asBool());
    EXPECT_EQ(last["name"], participants["name"][count - 1]);
    Json::Value beyond = askParsed(host, "RequestGetParticipantStatisticsAt", "\"index\":" + std::to_string(count));
    EXPECT_FALSE(beyond["result"].asBool());
    EXPECT_EQ(beyond["index"].asUInt(), count);
}

// Polls rather than waits a fixed time: only the change is asserted.
TEST(Statistics, MediaCountersMoveAsTheConferenceGoesOn) {
    ScratchFolder folder;
    HostProcess host(folder, duringACall());
    const Json::Value first = askParsed(host, "RequestGetMediaInfo");
    bool moved = false;
    for (int attempt = 0; attempt < 100 && !moved; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Json::Value now = askParsed(host, "RequestGetMediaInfo");
        moved = now["numNacks"].asUInt() > first["numNacks"].asUInt();
    }
    EXPECT_TRUE(moved);
}

}  // namespace
