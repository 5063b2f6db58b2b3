// What the simulated client answers to the page's in-events other than
// joining and leaving, one table row each: the events it raises and what they
// carry, and the settings that read back afterwards.
#include <algorithm>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

constexpr int32_t kLayoutChanged = 901;
using Bytes = std::vector<unsigned char>;
using Events = std::vector<RecordedEvent>;

template <typename Record>
Bytes bytesOf(const Record& record) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return Bytes(bytes, bytes + sizeof record);
}

template <typename Event>
Event as(const RecordedEvent& event) {
    Event value{};
    EXPECT_GE(event.block.size(), sizeof value) << "event " << event.code;
    std::memcpy(&value, event.block.data(), std::min(event.block.size(), sizeof value));
    return value;
}

Bytes flag(bool value) { return Bytes{static_cast<unsigned char>(value ? 1 : 0)}; }

Bytes int32(int32_t value) {
    TavmoClientInt32Value record{};
    record.value = value;
    return bytesOf(record);
}

Bytes roomSetting(int32_t settingId) {
    TavmoClientRoomSettingsInEvent settings{};
    settings.requestId = 500 + settingId;
    settings.roomType = 1;
    settings.roomSettingId = settingId;
    return bytesOf(settings);
}

Bytes cameraCommand(const char* uri, int32_t command) {
    TavmoClientControlCameraInEvent control{};
    std::strcpy(control.uri, uri);
    control.cameraCommand = command;
    std::strcpy(control.commandId, "c-1");
    return bytesOf(control);
}

Bytes pin(const char* uri) {
    TavmoClientPinParticipantInEvent record{};
    std::strcpy(record.uri, uri);
    record.videoMode = TAVMO_CLIENT_VIDEO_MODE_PIN_HIGH;
    return bytesOf(record);
}

Bytes shareWindow(int32_t handle) {
    TavmoClientShareInEvent share{};
    share.shareKind = TAVMO_CLIENT_SHARE_APPLICATION_WINDOW;
    share.window = handle;
    return bytesOf(share);
}

struct InCallCase {
    const char* name;
    std::string scenario;
    int32_t code;
    Bytes record;
    std::vector<int32_t> codes;
    std::function<void(const Events&)> check;
};

void PrintTo(const InCallCase& c, std::ostream* out) { *out << c.name; }

template <typename Record>
Record request(int32_t code, Record record = {}) {
    EXPECT_EQ(TavmoClientSendRequest(code, &record, sizeof record), 0) << code;
    return record;
}

std::string roomSettingAnswer(const Events& events) {
    std::string types;
    for (const auto& event : events) {
        if (event.code == TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP)
            types += std::to_string(as<TavmoClientPortalHeader>(event).typeRequest) + " ";
    }
    return types;
}

std::function<void(const Events&)> settingResult(int32_t settingId, int32_t result, const std::string& answers) {
    return [=](const Events& events) {
        const auto outcome = as<TavmoClientControlResultEvent>(events.back());
        EXPECT_EQ(outcome.requestId, static_cast<uint32_t>(500 + settingId));
        EXPECT_EQ(outcome.command, settingId);
        EXPECT_EQ(outcome.result, result);
        EXPECT_EQ(roomSettingAnswer(events), answers);
    };
}

std::function<void(const Events&)> acknowledged(int32_t inEvent) {
    return [=](const Events& events) {
        EXPECT_EQ(as<TavmoClientEventStatusEvent>(events[0]).eventID, inEvent);
        EXPECT_EQ(as<TavmoClientEventStatusEvent>(events[0]).eventStatus, 1);
    };
}

const std::string kInCall = "call-state 4\n";

std::vector<InCallCase> inCallCases() {
    TavmoClientPreviewInEvent preview{};
    preview.previewMode = TAVMO_CLIENT_PREVIEW_DOCK;
    TavmoClientResizeInEvent resize{0, 0, 648, 388};
    TavmoClientSendBandwidthInEvent bandwidth{1024, 2};
    TavmoClientLayoutInEvent layout{3, 5, 7, 9, 1};
    TavmoClientSetDisplayNameInEvent rename{};
    std::strcpy(rename.uri, "sam.ortiz@conference.example");
    std::strcpy(rename.displayName, "Samuel");
    TavmoClientSetDisplayNameInEvent renameStranger = rename;
    std::strcpy(renameStranger.uri, "nobody@conference.example");
    return {
        {"Preview",
         "",
         TAVMO_CLIENT_IN_EVENT_PREVIEW,
         bytesOf(preview),
         {1400},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientPreviewModeEvent>(events[0]).previewMode, TAVMO_CLIENT_PREVIEW_DOCK);
             EXPECT_EQ(request<TavmoClientPreviewModeRecord>(TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE).mode,
                       TAVMO_CLIENT_PREVIEW_DOCK);
         }},
        {"Resize",
         "",
         TAVMO_CLIENT_IN_EVENT_RESIZE,
         bytesOf(resize),
         {1700},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientSizeEvent>(events[0]).width, 648u);
             EXPECT_EQ(as<TavmoClientSizeEvent>(events[0]).height, 388u);
         }},
        {"ParticipantsLimit",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT,
         int32(2),
         {1800, 2100},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientLimitsEvent>(events[0]).userLimit, 2);
             EXPECT_EQ(as<TavmoClientCountEvent>(events[1]).count, 2) << "three present, two shown";
             EXPECT_EQ(
                 request<TavmoClientParticipantsLimitRecord>(TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT).userLimited,
                 2u);
         }},
        {"SendBandwidth",
         "",
         TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH,
         bytesOf(bandwidth),
         {1800},
         [](const Events& events) { EXPECT_EQ(as<TavmoClientLimitsEvent>(events[0]).bandwithLimit, 1024); }},
        {"PrivateLayoutReadsBack",
         "",
         TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT,
         bytesOf(layout),
         {2855},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientControlResultEvent>(events[0]).command, 3);
             TavmoClientLayout read{};
             TavmoClientPrivateRequest wrapper{TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT, &read,
                                               TAVMO_CLIENT_LAYOUT_SIZE_FIELD, 0};
             ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_PRIVATE, &wrapper, sizeof wrapper), 0);
             EXPECT_EQ(read.layoutNumber, 3u);
             EXPECT_EQ(read.participantsLimitSafe, 9u);
             EXPECT_EQ(read.layoutWide, 1u);
         }},
        {"LockRoom",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(1),
         {200900, 2820},
         settingResult(1, 0, "30 ")},
        {"MuteEverybody",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(3),
         {200900, 2820},
         settingResult(3, 0, "77 ")},
        {"ScheduleARoom",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(5),
         {200900, 2820},
         settingResult(5, 0, "50 ")},
        {"RecordTheCall",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(6),
         {200900, 200900, 2820},
         [](const Events& events) {
             settingResult(6, 0, "64 68 ")(events);
             EXPECT_EQ(request<TavmoClientConferenceInfoRecord>(TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO).recording, 1);
         }},
        {"InviteOthers",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(7),
         {200900, 1600, 2820},
         settingResult(7, 0, "51 ")},
        {"ModeratorLink",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(8),
         {200900, 2820},
         settingResult(8, 0, "62 ")},
        {"UnknownSetting",
         "",
         TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS,
         roomSetting(42),
         {2820},
         settingResult(42, 1, "")},
        {"PinSomeoneThere",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE,
         pin("alex.moreau@conference.example"),
         {2102},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientVideoModeEvent>(events[0]).videoMode, TAVMO_CLIENT_VIDEO_MODE_PIN_HIGH);
             EXPECT_EQ(as<TavmoClientVideoModeEvent>(events[0]).isSet, 1);
         }},
        {"PinSomeoneAbsent",
         "",
         TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE,
         pin("alex.moreau@conference.example"),
         {2102},
         [](const Events& events) { EXPECT_EQ(as<TavmoClientVideoModeEvent>(events[0]).isSet, 0); }},
        {"ViscaCommandIsAnswered",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA,
         cameraCommand("alex.moreau@conference.example", 7),
         {2101},
         [](const Events& events) {
             const auto answer = as<TavmoClientCameraControlEvent>(events[0]);
             EXPECT_STREQ(answer.srcParticipantID, "alex.moreau@conference.example");
             EXPECT_EQ(answer.cameraCommand, 8);
             EXPECT_STREQ(answer.commandId, "c-1");
         }},
        {"CameraThatCanBeSteered",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA,
         cameraCommand("kim.lee@conference.example", 1),
         {2104},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientCameraControlStatusEvent>(events[0]).statusCode, 0);
             EXPECT_STREQ(as<TavmoClientCameraControlStatusEvent>(events[0]).curFeccUri, "kim.lee@conference.example");
         }},
        {"CameraThatCannotBeSteered",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA,
         cameraCommand("sam.ortiz@conference.example", 7),
         {2104},
         [](const Events& events) { EXPECT_EQ(as<TavmoClientCameraControlStatusEvent>(events[0]).statusCode, 1); }},
        {"RenameAParticipant",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME,
         bytesOf(rename),
         {2103},
         [](const Events& events) {
             acknowledged(TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME)(events);
             TavmoClientParticipantNameRecord name{};
             name.index = 1;
             EXPECT_STREQ(request(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT, name).name, "Samuel");
         }},
        {"RenameAStranger",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME,
         bytesOf(renameStranger),
         {2103},
         [](const Events& events) { EXPECT_EQ(as<TavmoClientEventStatusEvent>(events[0]).eventStatus, 0); }},
        {"EchoDetection",
         "",
         TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT,
         flag(true),
         {2103},
         acknowledged(TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT)},
        {"FreezeImage",
         "",
         TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE,
         flag(true),
         {2103},
         acknowledged(TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE)},
        {"DialTone",
         "",
         TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE,
         Bytes{'5', 0, 0, 0, 0, 0, 0, 0},
         {2103},
         acknowledged(TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE)},
        {"Unshare", "", TAVMO_CLIENT_IN_EVENT_UNSHARE, {}, {2103}, acknowledged(TAVMO_CLIENT_IN_EVENT_UNSHARE)},
        {"ShareDuringACall",
         kInCall,
         TAVMO_CLIENT_IN_EVENT_SHARE,
         shareWindow(0x1A2B),
         {2007, 2004, 2002, 2003, 2005, 2000, 2001},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientWindowEvent>(events[0]).window, 0x1A2Bu);
             EXPECT_EQ(as<TavmoClientMouseEvent>(events[2]).button, 1u);
             EXPECT_EQ(as<TavmoClientMouseEvent>(events[4]).scrollDeltaY, -120);
             EXPECT_EQ(as<TavmoClientKeyEvent>(events[5]).key, 0x41u);
         }},
        {"ShareOutsideACall", "", TAVMO_CLIENT_IN_EVENT_SHARE, shareWindow(0x1A2B), {}, nullptr},
        {"GoOffline", "", TAVMO_CLIENT_IN_EVENT_SET_OFFLINE, flag(true), {200400}, nullptr},
        {"GoOnline", "", TAVMO_CLIENT_IN_EVENT_SET_OFFLINE, flag(false), {200600}, nullptr},
        {"CancelLogin", "", TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL, {}, {400}, nullptr},
        {"MuteCamera",
         "",
         TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO,
         flag(true),
         {1502},
         [](const Events& events) {
             EXPECT_EQ(as<TavmoClientMuteEvent>(events[0]).isMuted, 1);
             EXPECT_EQ(request<TavmoClientFlagValue>(TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO).value, 1);
         }},
    };
}

class ReactionTest : public StandInTest {
protected:
    // The events up to the layout mark, which follows everything asked before it.
    Events settle() {
        TavmoClientInt32Value preferred{};
        EXPECT_EQ(TavmoClientSendEvent(TAVMO_CLIENT_IN_EVENT_LAYOUT, &preferred, sizeof preferred), 1);
        const auto events = recorder_.waitForCode(kLayoutChanged);
        Events answered;
        for (const auto& event : events) {
            if (event.code == kLayoutChanged) break;
            if (event.code != TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED) answered.push_back(event);
        }
        return answered;
    }
};

class InCallTest : public ReactionTest, public ::testing::WithParamInterface<InCallCase> {};

TEST_P(InCallTest, RaisesItsEventsInOrder) {
    const InCallCase& c = GetParam();
    ASSERT_EQ(initialize(c.scenario), 1);
    ASSERT_EQ(start(), 1);
    Bytes record = c.record;
    ASSERT_EQ(
        TavmoClientSendEvent(c.code, record.empty() ? nullptr : record.data(), static_cast<uint32_t>(record.size())),
        1);
    const Events events = settle();
    std::vector<int32_t> codes;
    for (const auto& event : events) codes.push_back(event.code);
    ASSERT_EQ(codes, c.codes);
    if (c.check) c.check(events);
}

INSTANTIATE_TEST_SUITE_P(InEvents, InCallTest, ::testing::ValuesIn(inCallCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadRecordCase {
    const char* name;
    int32_t code;
    Bytes record;
};

void PrintTo(const BadRecordCase& c, std::ostream* out) { *out << c.name; }

class BadInEventRecordTest : public ReactionTest, public ::testing::WithParamInterface<BadRecordCase> {};

// A record that is not the in-event's is refused and changes nothing.
TEST_P(BadInEventRecordTest, IsRefusedWithoutAnyEvent) {
    const BadRecordCase& c = GetParam();
    ASSERT_EQ(initialize(kInCall), 1);
    ASSERT_EQ(start(), 1);
    Bytes record = c.record;
    EXPECT_EQ(TavmoClientSendEvent(c.code, record.data(), static_cast<uint32_t>(record.size())), 0);
    EXPECT_TRUE(settle().empty());
    EXPECT_EQ(request<TavmoClientPreviewModeRecord>(TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE).mode,
              TAVMO_CLIENT_PREVIEW_PIP);
}

Bytes unterminatedRename() {
    TavmoClientSetDisplayNameInEvent rename{};
    std::memset(rename.displayName, 'n', sizeof rename.displayName);
    return bytesOf(rename);
}

INSTANTIATE_TEST_SUITE_P(
    Records, BadInEventRecordTest,
    ::testing::Values(
        BadRecordCase{"PreviewTooShort", TAVMO_CLIENT_IN_EVENT_PREVIEW, Bytes(7, 2)},
        BadRecordCase{"FlagTooLong", TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL, Bytes(2, 1)},
        BadRecordCase{"UnshareWithARecord", TAVMO_CLIENT_IN_EVENT_UNSHARE, Bytes(4, 0)},
        BadRecordCase{"RenameWithoutTerminator", TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME, unterminatedRename()},
        BadRecordCase{"RoomSettingsTooShort", TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS, Bytes(31, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace standin_test
