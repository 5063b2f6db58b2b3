// The page's in-events through the real host and the stand-in library, which
// answers them as a conference would, with event messages.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "PageMessages.h"

namespace {

// One request's reply and the event messages that come with it. The library
// raises its events from its own thread, so they may come before or after
// the reply; among themselves they keep their order.
struct Exchange {
    std::string reply;
    std::vector<std::string> events;
};

Exchange exchange(HostProcess& host, const std::string& body, std::size_t eventCount) {
    host.sendFrame(body);
    Exchange result;
    while (result.reply.empty() || result.events.size() < eventCount) {
        std::optional<std::string> frame = host.readFrame();
        if (!frame) {
            ADD_FAILURE() << "after " << body << ": " << result.events.size() << " events"
                          << (result.reply.empty() ? ", no reply" : "");
            break;
        }
        if (parsed(*frame).isMember("type"))
            result.reply = *frame;
        else
            result.events.push_back(*frame);
    }
    return result;
}

// The reply and every event up to and including `last`.
Exchange exchangeThrough(HostProcess& host, const std::string& body, const std::string& last) {
    host.sendFrame(body);
    Exchange result;
    while (result.reply.empty() || result.events.empty() || result.events.back() != last) {
        std::optional<std::string> frame = host.readFrame();
        if (!frame) {
            ADD_FAILURE() << "after " << body << ": " << result.events.size() << " events, none " << last;
            break;
        }
        if (parsed(*frame).isMember("type"))
            result.reply = *frame;
        else
            result.events.push_back(*frame);
    }
    return result;
}

bool contains(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

std::string event(int code, const std::string& params) {
    return "{\"_direction\":2,\"code\":" + std::to_string(code) + ",\"params\":" + params + "}\n";
}

// One line without blanks, members in key order, as the host writes.
std::string compact(const Json::Value& value) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Json::writeString(writer, value);
}

std::string okReply(const std::string& type, const std::string& members = "") {
    return replyTo(request(type, members), R"({"result":"ok"})");
}

void startLibrary(HostProcess& host) {
    Exchange start = exchange(host, request("InEventStart"), 1);
    ASSERT_EQ(start.reply, "{\"_direction\":2,\"result\":\"TavmoClient started\",\"type\":\"InEventStart\"}\n");
    ASSERT_EQ(start.events, std::vector<std::string>{event(200, "null")});
}

void endHost(HostProcess& host) {
    host.closeInput();
    EXPECT_EQ(host.readRest(), "") << "no message beyond those expected";
    EXPECT_EQ(host.waitExit(), 0);
}

TEST(InEvents, MeetingAfterARememberedApprovalWithMuteAndChat) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"approved-domain meet.example.org"};
    HostProcess host(folder, options);
    startLibrary(host);
    ASSERT_EQ(exchange(host, request("RequestSetDomain", "\"domain\":\"meet.example.org\""), 0).reply,
              okReply("RequestSetDomain", "\"domain\":\"meet.example.org\""));

    // The meeting's first moments end with the moderator's unmuting.
    Exchange join = exchangeThrough(host, request("PrivateInEventStartMyMeeting"),
                                    event(1503, "{\"errorCode\":0,\"isMuted\":false}"));
    EXPECT_EQ(join.reply, okReply("PrivateInEventStartMyMeeting"));
    ASSERT_GE(join.events.size(), 2u);
    EXPECT_EQ(join.events[0], event(270003, "{\"joinStatus\":true}"));
    EXPECT_EQ(join.events[1], event(2500, "{\"callState\":\"Joining\"}"));
    EXPECT_TRUE(contains(join.events, event(1200, "null")));
    EXPECT_TRUE(contains(join.events, event(2500, "{\"callState\":\"InConference\"}")));

    Exchange mute = exchange(host, request("InEventMuteAudioIn", "\"willMute\":true"), 1);
    EXPECT_EQ(mute.reply, okReply("InEventMuteAudioIn", "\"willMute\":true"));
    EXPECT_EQ(mute.events, std::vector<std::string>{event(1500, "{\"errorCode\":0,\"isMuted\":true}")});
    Exchange unmute = exchange(host, request("InEventMuteVideo", "\"willMute\":0"), 1);
    EXPECT_EQ(unmute.events, std::vector<std::string>{event(1502, "{\"errorCode\":0,\"isMuted\":false}")});

    Exchange chat = exchange(host, request("InEventGroupChat", "\"message\":\"hello, room\""), 1);
    EXPECT_EQ(chat.reply, okReply("InEventGroupChat", "\"message\":\"hello, room\""));
    EXPECT_EQ(chat.events,
              std::vector<std::string>{event(2600,
                                             "{\"displayName\":\"Alex Moreau\",\"message\":\"Re: hello, room\",\"uri\":"
                                             "\"alex.moreau@conference.example\"}")});
    Exchange whisper = exchange(
        host, request("InEventPrivateChat", "\"uri\":\"sam.ortiz@conference.example\",\"message\":\"psst\""), 1);
    EXPECT_EQ(whisper.events, std::vector<std::string>{event(2601,
                                                             "{\"displayName\":\"Sam Ortiz\",\"message\":\"Re: "
                                                             "psst\",\"uri\":\"sam.ortiz@conference.example\"}")});

    Exchange leave = exchange(host, request("InEventLeave"), 3);
    EXPECT_EQ(leave.reply, okReply("InEventLeave"));
    EXPECT_EQ(leave.events, (std::vector<std::string>{event(2500, "{\"callState\":\"Disconnecting\"}"),
                                                      event(1203, "null"), event(2500, "{\"callState\":\"Idle\"}")}));
    EXPECT_EQ(exchange(host, request("RequestGetCallState"), 0).reply,
              "{\"_direction\":2,\"callState\":\"Idle\",\"type\":\"RequestGetCallState\"}\n");
    endHost(host);
}

TEST(InEvents, SignInAndLoginOutcomes) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"portal-account ann right-password"};
    HostProcess host(folder, options);
    startLibrary(host);

    const std::string signInFields =
        "\"serverAddress\":\"srv.example\",\"emcpSecured\":true,\"guestLogin\":false,\"showDialpad\":true,"
        "\"showStartmeeting\":false";
    Exchange signIn = exchangeThrough(host, request("InEventSignIn", signInFields), event(2303, "null"));
    EXPECT_EQ(signIn.reply, okReply("InEventSignIn", signInFields));
    EXPECT_TRUE(contains(signIn.events, event(300,
                                              "{\"guestLogin\":false,\"showDialpad\":true,\"showStartmeeting\":false,"
                                              "\"signinSecured\":true,\"signinType\":0}")));

    const std::string wrong = "\"portalUri\":\"https://portal.example\",\"userName\":\"ann\",\"userPass\":\"guess\"";
    Exchange refused = exchange(host, request("InEventLogin", wrong), 2);
    EXPECT_EQ(refused.reply, okReply("InEventLogin", wrong));
    EXPECT_EQ(refused.events,
              (std::vector<std::string>{
                  event(2300, "{\"error\":1,\"portalUri\":\"https://portal.example\",\"userName\":\"ann\"}"),
                  event(202002, "{\"reason\":1}")}));

    const std::string right =
        "\"portalUri\":\"https://portal.example\",\"userName\":\"ann\",\"userPass\":\"right-password\"";
    Exchange login = exchangeThrough(host, request("InEventLogin", right), event(2303, "null"));
    EXPECT_TRUE(contains(login.events, event(2300,
                                             "{\"error\":0,\"portalUri\":\"https://portal.example\","
                                             "\"userName\":\"ann\"}")));

    Exchange signOff =
        exchangeThrough(host, request("InEventSignoff"), event(2304, "{\"cause\":0,\"error\":0,\"guestLogin\":false}"));
    EXPECT_EQ(signOff.reply, okReply("InEventSignoff"));
    endHost(host);
    EXPECT_EQ(host.logText().find("right-password"), std::string::npos) << "the password is never logged";
}

TEST(InEvents, PortalAnswerAndWindowListArriveUnderTheirRequestIds) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"approved-domain meet.example.org"};
    HostProcess host(folder, options);
    startLibrary(host);
    exchange(host, request("RequestSetDomain", "\"domain\":\"meet.example.org\""), 0);

    const std::string fields =
        "\"requestId\":31,\"portalUri\":\"https://portal.example\",\"roomKey\":\"R00m\",\"guestName\":\"Visitor\"";
    // The guest joins the room; its first moments end with the moderator's
    // unmuting.
    Exchange link = exchangeThrough(host, request("PrivateInEventVcsoapGuestLink", fields),
                                    event(1503, "{\"errorCode\":0,\"isMuted\":false}"));
    EXPECT_EQ(link.reply, okReply("PrivateInEventVcsoapGuestLink", fields));
    ASSERT_GE(link.events.size(), 3u);
    EXPECT_EQ(link.events[0], event(270003, "{\"joinStatus\":true}"));
    Json::Value answer = parsed(link.events[2]);
    EXPECT_EQ(answer["code"].asInt(), 200900);
    EXPECT_EQ(answer["params"]["typeRequest"].asUInt(), 57u);
    EXPECT_EQ(answer["params"]["requestId"].asUInt(), 31u);

    Exchange list = exchange(host, request("InEventGetWindowsExt", "\"requestId\":\"42\""), 1);
    EXPECT_EQ(list.reply, okReply("InEventGetWindowsExt", "\"requestId\":\"42\""));
    ASSERT_EQ(list.events.size(), 1u);
    Json::Value windows = parsed(list.events[0]);
    EXPECT_EQ(windows["code"].asInt(), 270002);
    EXPECT_EQ(windows["params"]["requestId"].asUInt(), 42u);
    EXPECT_EQ(windows["params"]["WindowName"][0].asString(), "Quarterly report - Editor");
    EXPECT_EQ(windows["params"]["windowID"][1].asString(), "0000000000001A2C");
    endHost(host);
}

// The host's exit code covers the buffers handed over: a build with the leak
// checker ends non-zero when one of them is lost, whoever should free it.
TEST(InEvents, SpeakerTestTakesTheSoundAndARefusedOneIsAnswered) {
    ScratchFolder folder;
    const std::string sound = folder.path() + "/tone.wav";
    std::ofstream(sound, std::ios::binary) << "RIFF....WAVEfmt ";
    HostOptions options;
    options.scenario = {"refuse-event 201600"};
    HostProcess host(folder, options);
    EXPECT_EQ(exchange(host, request("InEventLeave"), 0).reply,
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_IN_EVENT_LEAVE\",\"type\":"
              "\"InEventLeave\"}\n")
        << "refused before the library is started";
    startLibrary(host);

    const std::string fields = "\"soundFileName\":" + compact(Json::Value(hostPath(sound)));
    Exchange start = exchange(host, request("InEventStartPrecallTestSpeaker", fields), 1);
    EXPECT_EQ(start.reply, okReply("InEventStartPrecallTestSpeaker", fields));
    EXPECT_EQ(start.events,
              std::vector<std::string>{event(2830,
                                             "{\"action\":\"DeviceTestStart\",\"deviceType\":\"AudioOut\",\"result\":"
                                             "\"DeviceTestSuccess\"}")});
    Exchange stop = exchange(host, request("InEventStopPrecallTestSpeaker"), 1);
    EXPECT_EQ(stop.events,
              std::vector<std::string>{event(2830,
                                             "{\"action\":\"DeviceTestStop\",\"deviceType\":\"AudioOut\",\"result\":"
                                             "\"DeviceTestSuccess\"}")});
    // A second sound that the library still holds when it is uninitialized.
    exchange(host, request("InEventStartPrecallTestSpeaker", fields), 1);

    EXPECT_EQ(exchange(host, request("InEventGetWindowsExt", "\"requestId\":1"), 0).reply,
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT\","
              "\"requestId\":1,\"type\":\"InEventGetWindowsExt\"}\n");
    EXPECT_EQ(exchange(host, request("InEventStartPrecallTestSpeaker", "\"soundFileName\":\"/nonexistent\""), 0).reply,
              "{\"_direction\":2,\"error\":\"cannot open file\",\"soundFileName\":\"/nonexistent\",\"type\":"
              "\"InEventStartPrecallTestSpeaker\"}\n");
    endHost(host);
    EXPECT_NE(host.logText().find("OutputThread: InEventGetWindowsExt() TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT"),
              std::string::npos);
}

}  // namespace
