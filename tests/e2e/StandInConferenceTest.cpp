// The stand-in library's conference as a page sees it through the real host:
// the event sequences that docs/STAND-IN.md documents, request by request.
#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "HostProcess.h"
#include "PageMessages.h"

namespace {

// An event message as the expectations name it: the code, with the call
// state, the portal answer's type or the mute state where the code has one.
std::string label(const Json::Value& event) {
    const int code = event["code"].asInt();
    const Json::Value& params = event["params"];
    std::string name = std::to_string(code);
    if (code == 2500) return name + ":" + params["callState"].asString();
    if (code == 200900) return name + ":" + std::to_string(params["typeRequest"].asUInt());
    if (code >= 1500 && code <= 1504) return name + (params["isMuted"].asBool() ? ":muted" : ":unmuted");
    return name;
}

std::vector<std::string> labels(const std::vector<Json::Value>& events) {
    std::vector<std::string> result;
    for (const auto& event : events) result.push_back(label(event));
    return result;
}

// Replies and events arrive interleaved: the library raises its events from
// its own thread. Each kind keeps its own order.
class Page {
public:
    explicit Page(HostProcess& host) : host_(host) {}

    Json::Value ask(const std::string& type, const std::string& fields = "") {
        host_.sendFrame("{\"type\":\"" + type + "\",\"_direction\":1" + fields + "}");
        while (replies_.empty()) {
            if (!readOne()) return Json::Value("(no reply to " + type + ")");
        }
        Json::Value reply = replies_.front();
        replies_.pop_front();
        return reply;
    }

    // The events up to and including the first one labelled `last`.
    std::vector<Json::Value> eventsThrough(const std::string& last) {
        std::vector<Json::Value> events;
        for (;;) {
            while (events_.empty()) {
                if (!readOne()) {
                    ADD_FAILURE() << "no event " << last << " after " << ::testing::PrintToString(labels(events));
                    return events;
                }
            }
            events.push_back(events_.front());
            events_.pop_front();
            if (label(events.back()) == last) return events;
        }
    }

    void end() {
        host_.closeInput();
        EXPECT_EQ(host_.waitExit(), 0);
        EXPECT_TRUE(events_.empty() && replies_.empty()) << "messages nobody expected";
    }

private:
    bool readOne() {
        std::optional<std::string> frame = host_.readFrame();
        if (!frame) return false;
        Json::Value message = parsed(*frame);
        (message.isMember("type") ? replies_ : events_).push_back(message);
        return true;
    }

    HostProcess& host_;
    std::deque<Json::Value> replies_;
    std::deque<Json::Value> events_;
};

const std::vector<std::string> kLeaving = {"2500:Disconnecting", "1203", "2500:Idle"};

std::vector<std::string> joinSequence(const std::vector<std::string>& before, const std::string& joinAnswer,
                                      const std::vector<std::string>& afterJoin) {
    std::vector<std::string> sequence = before;
    for (const char* step : {"2500:Joining", "700"}) sequence.push_back(step);
    sequence.push_back(joinAnswer);
    for (const char* step : {"1200", "1201", "1210", "1210", "1202", "1210", "1210", "1202", "1210", "1210", "1202",
                             "2500:InConference", "1601"})
        sequence.push_back(step);
    sequence.insert(sequence.end(), afterJoin.begin(), afterJoin.end());
    for (const char* step : {"1210", "2802", "2800", "2811", "2810", "2720", "201600", "2200", "1503:muted", "1211",
                             "1211", "1202", "2720", "2200", "1503:unmuted"})
        sequence.push_back(step);
    return sequence;
}

void start(Page& page) {
    EXPECT_EQ(page.ask("InEventStart")["result"].asString(), "TavmoClient started");
    EXPECT_EQ(labels(page.eventsThrough("200")), std::vector<std::string>{"200"});
}

HostOptions approving(const std::string& domain) {
    HostOptions options;
    options.scenario = {"approved-domain " + domain};
    return options;
}

TEST(StandInConference, StartJoinChatMuteStatisticsLeaveStopAndRestart) {
    ScratchFolder folder;
    HostProcess host(folder, approving("meet.example.org"));
    Page page(host);
    start(page);
    EXPECT_EQ(page.ask("RequestSetDomain", ",\"domain\":\"meet.example.org\"")["result"].asString(), "ok");

    EXPECT_EQ(page.ask("PrivateInEventStartMyMeeting")["result"].asString(), "ok");
    EXPECT_EQ(labels(page.eventsThrough("1503:unmuted")),
              joinSequence({"270003"}, "200900:7", {"200900:74", "200900:52"}));
    EXPECT_EQ(page.ask("RequestGetNumParticipants")["numParticipants"].asUInt(), 2u);

    EXPECT_EQ(page.ask("InEventGroupChat", ",\"message\":\"hello, room\"")["result"].asString(), "ok");
    const auto chat = page.eventsThrough("2600");
    ASSERT_EQ(labels(chat), std::vector<std::string>{"2600"});
    EXPECT_EQ(chat[0]["params"]["displayName"].asString(), "Alex Moreau");
    EXPECT_EQ(chat[0]["params"]["message"].asString(), "Re: hello, room");

    EXPECT_EQ(page.ask("InEventMuteAudioIn", ",\"willMute\":true")["result"].asString(), "ok");
    EXPECT_EQ(labels(page.eventsThrough("1500:muted")), std::vector<std::string>{"1500:muted"});

    // Only the change is asserted; the polling has no time limit of its own.
    const unsigned firstNacks = page.ask("RequestGetMediaInfo")["numNacks"].asUInt();
    unsigned nacks = firstNacks;
    for (int attempt = 0; attempt < 200 && nacks == firstNacks; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        nacks = page.ask("RequestGetMediaInfo")["numNacks"].asUInt();
    }
    EXPECT_GT(nacks, firstNacks);

    EXPECT_EQ(page.ask("InEventLeave")["result"].asString(), "ok");
    EXPECT_EQ(labels(page.eventsThrough("2500:Idle")), kLeaving);
    EXPECT_EQ(page.ask("InEventStop")["result"].asString(), "ok");

    start(page);
    EXPECT_EQ(page.ask("RequestGetCallState")["callState"].asString(), "Idle");
    EXPECT_EQ(page.ask("RequestGetNumParticipants")["numParticipants"].asUInt(), 0u);
    page.end();
}

TEST(StandInConference, WrongPasswordFailsAndTheDocumentedOneLogsIn) {
    ScratchFolder folder;
    HostProcess host(folder);
    Page page(host);
    start(page);
    const std::string portal = ",\"portalUri\":\"https://portal.example\",\"userName\":\"ann\"";

    EXPECT_EQ(page.ask("InEventLogin", portal + ",\"userPass\":\"guess\"")["result"].asString(), "ok");
    const auto refused = page.eventsThrough("202002");
    ASSERT_EQ(labels(refused), (std::vector<std::string>{"2300", "202002"}));
    EXPECT_EQ(refused[0]["params"]["error"].asUInt(), 1u);

    EXPECT_EQ(page.ask("InEventLogin", portal + ",\"userPass\":\"standin\"")["result"].asString(), "ok");
    const auto login = page.eventsThrough("2303");
    EXPECT_EQ(labels(login),
              (std::vector<std::string>{"202001", "200900:8", "2300", "201900", "200900:20", "200900:61", "200900:54",
                                        "2715", "200900:70", "2710", "200900:12", "200900:69", "2303"}));
    EXPECT_EQ(login[2]["params"]["error"].asUInt(), 0u);
    EXPECT_EQ(login[4]["params"]["accountData"]["displayName"].asString(), "ann");
    page.end();
}

TEST(StandInConference, GuestLinkIsResolvedByThePortalAndJoined) {
    ScratchFolder folder;
    HostProcess host(folder, approving("meet.example.org"));
    Page page(host);
    start(page);
    page.ask("RequestSetDomain", ",\"domain\":\"meet.example.org\"");

    const std::string link = ",\"requestId\":31,\"portalUri\":\"https://portal.example\",\"guestName\":\"Visitor\"";
    EXPECT_EQ(page.ask("PrivateInEventVcsoapGuestLink", link + ",\"roomKey\":\"R00m\"")["result"].asString(), "ok");
    const auto joined = page.eventsThrough("1503:unmuted");
    EXPECT_EQ(labels(joined), joinSequence({"270003", "201700", "200900:57", "202001", "2305", "200900:55"},
                                           "200900:58", {"200900:24"}));
    ASSERT_GT(joined.size(), 2u);
    const Json::Value& answer = joined[2]["params"];
    EXPECT_EQ(answer["type"].asString(), "PrivateOutEventVcsoapGuestLink");
    EXPECT_EQ(answer["requestId"].asUInt(), 31u);
    EXPECT_EQ(answer["result"].asInt(), 1000);
    EXPECT_EQ(answer["un"].asString(), "Visitor");

    EXPECT_EQ(page.ask("InEventLeave")["result"].asString(), "ok");
    EXPECT_EQ(labels(page.eventsThrough("2500:Idle")), kLeaving);
    EXPECT_EQ(page.ask("PrivateInEventVcsoapGuestLink", link)["result"].asString(), "ok");
    const auto unknown = page.eventsThrough("200900:57");
    ASSERT_EQ(labels(unknown), (std::vector<std::string>{"270003", "200900:57"}));
    EXPECT_EQ(unknown[1]["params"]["result"].asInt(), 1026);
    EXPECT_EQ(unknown[1]["params"]["fault"].asString(), "InvalidArgument");
    EXPECT_EQ(page.ask("RequestGetCallState")["callState"].asString(), "Idle");
    page.end();
}

TEST(StandInConference, StopWaitsUntilTheCallIsLeft) {
    ScratchFolder folder;
    HostProcess host(folder, approving("meet.example.org"));
    Page page(host);
    start(page);
    page.ask("RequestSetDomain", ",\"domain\":\"meet.example.org\"");
    page.ask("PrivateInEventStartMyMeeting");
    page.eventsThrough("1503:unmuted");

    EXPECT_EQ(page.ask("InEventStop")["error"].asString(), "TavmoClient can't stop. Reason: Not in idle call state");
    EXPECT_EQ(page.ask("InEventStart")["error"].asString(), "TavmoClient already started");
    EXPECT_EQ(page.ask("InEventCancel")["result"].asString(), "ok");
    EXPECT_EQ(labels(page.eventsThrough("2500:Idle")), kLeaving);
    EXPECT_EQ(page.ask("InEventStop")["result"].asString(), "ok");
    start(page);
    page.end();
}

}  // namespace
