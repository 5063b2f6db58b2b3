// The status requests: what each sends to the library, byte for byte, and
// what the page gets back. Expected records are spelled out byte by byte
// rather than built from the record structs, so a wrong struct layout shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "PageMessages.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes le32(uint32_t value) {
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

Bytes byte(unsigned value) { return {static_cast<unsigned char>(value)}; }

Bytes zeros(std::size_t count) { return Bytes(count, 0); }

// A text field of `width` bytes: the text, then NUL up to the width.
Bytes text(const std::string& value, std::size_t width) {
    Bytes field(width, 0);
    std::memcpy(field.data(), value.data(), std::min(value.size(), width));
    return field;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

void answerWith(int32_t code, bool isPrivate, const Bytes& answer) {
    fake::RequestAnswer fill = [answer](void* record, uint32_t) {
        std::memcpy(record, answer.data(), answer.size());
        return 0;
    };
    if (isPrivate)
        fake::library().privateAnswers[static_cast<uint32_t>(code)] = fill;
    else
        fake::library().requestAnswers[code] = fill;
}

struct StatusCase {
    std::string request;
    int32_t code;  // the private code for a private request
    bool isPrivate;
    Bytes sent;    // the record (inner record) as the library receives it
    Bytes answer;  // what the library writes into it
    std::string added;
};

StatusCase get(const std::string& type, int32_t code, Bytes answer, const std::string& added) {
    Bytes sent = zeros(answer.size());
    return {request(type), code, false, sent, std::move(answer), added};
}

StatusCase put(const std::string& type, const std::string& members, int32_t code, Bytes sent,
               const std::string& added = R"({"result":"ok"})") {
    Bytes answer = sent;
    return {request(type, members), code, false, std::move(sent), std::move(answer), added};
}

void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.request; }

class StatusRequest : public HostFixture, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusRequest, SendsTheRecordAndRepliesWithItsFields) {
    const StatusCase& c = GetParam();
    if (!c.isPrivate) {
        ASSERT_EQ(c.sent.size(), c.answer.size()) << "a record has one size";
    }
    answerWith(c.code, c.isPrivate, c.answer);

    EXPECT_EQ(answer(c.request), replyTo(c.request, c.added));

    ASSERT_EQ(fake::library().requests.size(), 1u);
    const fake::SentRecord& sent = fake::library().requests[0];
    if (c.isPrivate) {
        EXPECT_EQ(sent.code, TAVMO_CLIENT_REQUEST_PRIVATE);
        EXPECT_EQ(sent.privateCode, static_cast<uint32_t>(c.code));
        EXPECT_EQ(sent.sizeField, c.sent.size());
        EXPECT_EQ(sent.inner, c.sent);
    } else {
        EXPECT_EQ(sent.code, c.code);
        EXPECT_EQ(sent.record, c.sent);
    }
    EXPECT_TRUE(fake::logTexts(1).empty());
}

const std::string kLongLabel = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";

INSTANTIATE_TEST_SUITE_P(
    Getters, StatusRequest,
    ::testing::Values(
        get("RequestGetCallState", 101508, le32(0), R"({"callState":"Idle"})"),
        get("RequestGetCallState", 101508, le32(1), R"({"callState":"Ringing"})"),
        get("RequestGetCallState", 101508, le32(2), R"({"callState":"Calling"})"),
        get("RequestGetCallState", 101508, le32(3), R"({"callState":"Joining"})"),
        get("RequestGetCallState", 101508, le32(4), R"({"callState":"InConference"})"),
        get("RequestGetCallState", 101508, le32(5), R"({"callState":"Disconnecting"})"),
        get("RequestGetCallState", 101508, le32(6), "{}"), get("RequestGetCallState", 101508, le32(0xFFFFFFFF), "{}"),
        get("RequestGetMutedAudioOut", 101001, byte(1), R"({"isMuted":true})"),
        get("RequestGetMutedAudioIn", 101000, byte(0), R"({"isMuted":false})"),
        get("RequestGetMutedVideo", 101002, byte(2), R"({"isMuted":false})"),
        get("RequestGetMutedServerAudioIn", 101003, byte(1), R"({"isMuted":true})"),
        get("RequestGetMutedServerVideo", 101004, byte(255), R"({"isMuted":false})"),
        get("RequestGetVolumeAudioIn", 100300, le32(40000), R"({"volume":40000})"),
        get("RequestGetVolumeAudioOut", 100302, le32(static_cast<uint32_t>(-5)), R"({"volume":-5})"),
        get("RequestGetEID", 100200, text("E-1", 129), R"({"EID":"E-1"})"),
        get("RequestGetLID", 100201, Bytes(129, 'L'), R"({"LID":")" + std::string(129, 'L') + R"("})"),
        get("RequestGetNumParticipants", 101609, le32(0xFFFFFFFF), R"({"numParticipants":4294967295})"),
        get("RequestGetSendMaxKbps", 100400, le32(768), R"({"value":768})"),
        get("RequestGetReceiveMaxKbps", 100402, le32(static_cast<uint32_t>(-1)), R"({"value":-1})"),
        get("RequestCheckRecommended", 101301, cat({le32(2), le32(1), byte(1), zeros(3)}),
            R"({"deviceIndex":1,"deviceType":2,"isRecommended":true})"),
        get("RequestGetCurrentUser", 101500, cat({text("u-7", 128), text("Ada Byron", 742)}),
            R"({"currentUserID":"u-7","currentUserDisplay":"Ada Byron"})"),
        get("RequestGetParticipantsLimit", 101502, cat({le32(1), le32(2), le32(0xFFFFFFFF)}),
            R"({"bandwidthLimited":1,"cpuLimited":2,"userLimited":4294967295})"),
        get("RequestGetWebProxySettingsValid", 101400, byte(2), R"({"isValid":true})"),
        get("RequestGetWebProxySettingsValid", 101400, byte(0), R"({"isValid":false})"),
        get("RequestGetInvitingUser", 101504, text("Carol", 64), R"({"invitingUser":"Carol"})"),
        get("RequestGetCurrentSessionTavmoRouter", 101505, text("10.1.2.3:17992", 128),
            R"({"routerAddress":"10.1.2.3:17992"})"),
        get("RequestGetCurrentCpuUtilization", 101607, le32(0x80000000), R"({"value":2147483648})"),
        get("RequestGetEndpointStatus", 101800, le32(0), R"({"endpointStatus":"Inactive"})"),
        get("RequestGetEndpointStatus", 101800, le32(1), R"({"endpointStatus":"Registered"})"),
        get("RequestGetEndpointStatus", 101800, le32(2), R"({"endpointStatus":"Active"})"),
        get("RequestGetEndpointStatus", 101800, le32(3), "{}"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(0), text("Room", 384)}),
            R"({"sessionDisplayContext":"Conf","sessionDisplayText":"Room"})"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(1), text("Dialling", 384)}),
            R"({"sessionDisplayContext":"OutCall","sessionDisplayText":"Dialling"})"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(2), zeros(384)}),
            R"({"sessionDisplayContext":"InCall","sessionDisplayText":""})"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(3), zeros(384)}),
            R"({"sessionDisplayContext":"Idle","sessionDisplayText":""})"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(7), zeros(384)}),
            R"({"sessionDisplayContext":"Conf","sessionDisplayText":""})"),
        get("RequestGetCurrentSessionDisplayInfo", 101501, cat({le32(0xFFFFFFFF), zeros(384)}),
            R"({"sessionDisplayContext":"Conf","sessionDisplayText":""})"),
        get("RequestGetConferenceInfo", 101507, cat({byte(1), byte(0)}), R"({"recording":true,"webcasting":false})"),
        get("RequestGetConferenceInfo", 101507, cat({byte(0), byte(3)}), R"({"recording":false,"webcasting":true})"),
        get("RequestGetPreviewMode", 100900, cat({le32(0), le32(1)}), R"({"previewMode":"None"})"),
        get("RequestGetPreviewMode", 100900, cat({le32(1), le32(0)}), R"({"previewMode":"Pip"})"),
        get("RequestGetPreviewMode", 100900, cat({le32(2), le32(0)}), R"({"previewMode":"Dock"})"),
        get("RequestGetPreviewMode", 100900, cat({le32(3), le32(0)}), R"({"previewMode":"None"})"),
        get("RequestGetPreviewMode", 100900, cat({le32(4), le32(0)}), R"({"previewMode":"Other"})"),
        get("RequestGetPreviewMode", 100900, cat({le32(9), le32(0)}), R"({"previewMode":"None"})"),
        StatusCase{request("RequestGetAudioEnergyInfo"), 302000, true, zeros(4), cat({le32(300), le32(-2)}),
                   R"({"rendererEnergy":300,"capturerEnergy":-2})"}));

INSTANTIATE_TEST_SUITE_P(
    WithInputs, StatusRequest,
    ::testing::Values(
        StatusCase{request("RequestGetParticipantNameAt", R"("index":"2")"), 101610, false, cat({le32(2), zeros(132)}),
                   cat({le32(2), byte(0), text("Bob", 131)}), R"({"result":false,"index":2,"name":"Bob"})"},
        StatusCase{request("RequestGetParticipantNameAt"), 101610, false, zeros(136),
                   cat({le32(0), byte(1), text("Ann", 131)}), R"({"result":true,"index":0,"name":"Ann"})"},
        StatusCase{request("RequestGetParticipantNameAt", R"("index":5)"), 101610, false, cat({le32(5), zeros(132)}),
                   cat({le32(3), byte(7), text("Cy", 131)}), R"({"result":true,"index":3,"name":"Cy"})"},
        StatusCase{request("RequestGetEchoRecommendation", R"("speakerIndex":1,"micIndex":"2")"), 101300, false,
                   cat({le32(1), le32(2), zeros(4)}), cat({le32(1), le32(2), byte(1), zeros(3)}),
                   R"({"speakerIndex":1,"micIndex":2,"disableEcho":true})"},
        StatusCase{request("RequestGetEchoRecommendation"), 101300, false, zeros(12), zeros(12),
                   R"({"speakerIndex":0,"micIndex":0,"disableEcho":false})"},
        put("RequestSetSendMaxKbps", "", 100401, le32(static_cast<uint32_t>(-1))),
        put("RequestSetSendMaxKbps", R"("value":512.4)", 100401, le32(512)),
        put("RequestSetReceiveMaxKbps", R"("value":"2048kbps")", 100403, le32(2048)),
        put("RequestSetReceiveMaxKbps", R"("value":null)", 100403, le32(0x80000000)),
        put("RequestSetLabel", R"("labelText":")" + kLongLabel + R"(")", 100600,
            cat({zeros(4), text(kLongLabel.substr(0, 33), 36)})),
        put("RequestSetLabel", R"("labelText":"Room 1")", 100600, cat({zeros(4), text("Room 1", 36)})),
        put("RequestSetLabel", R"("labelText":"ab\u0000cd")", 100600, cat({zeros(4), text("ab", 36)})),
        put("RequestSetLabel", "", 100600, zeros(40)),
        put("RequestSetWebProxyCredentials", R"("username":"proxyuser","password":"s3cret","persist":true)", 101402,
            cat({byte(1), text("proxyuser", 64), text("s3cret", 64)})),
        put("RequestSetWebProxyCredentials",
            R"("username":")" + std::string(70, 'u') + R"(","password":5,"persist":null)", 101402,
            cat({byte(0), text(std::string(63, 'u'), 64), text("5", 64)})),
        put("RequestSetWebProxyCredentials",
            R"("password":")" + std::string(64, 'p') + R"(","username":null,"persist":2.5)", 101402,
            cat({byte(1), zeros(64), text(std::string(63, 'p'), 64)})),
        put("RequestSetWebProxyCredentials", R"("username":false,"password":true,"persist":0)", 101402,
            cat({byte(0), text("false", 64), text("true", 64)})),
        put("RequestEnableAppShare", R"("isEnable":1)", 100502, byte(1), "{}"),
        put("RequestEnableAppShare", R"("isEnable":"0")", 100502, byte(0), "{}"),
        put("RequestEnableAppShare", "", 100502, byte(0), "{}"),
        put("RequestEnableAppShare", R"("isEnable":-7)", 100502, byte(1), "{}"),
        put("RequestEnableAppShare", R"("isEnable":null)", 100502, byte(1), "{}")));

// A refusal adds only "error", logs the handler and the constant, and reads
// nothing back.
struct RefusalCase {
    const char* type;
    const char* constant;
    int32_t code;
    bool isPrivate;
    const char* members;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.type; }

class StatusRefusal : public HostFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(StatusRefusal, AnswersWithTheConstantsName) {
    const RefusalCase& c = GetParam();
    fake::RequestAnswer refuse = [](void* record, uint32_t size) {
        std::memset(record, 1, size);
        return 7;
    };
    if (c.isPrivate)
        fake::library().privateAnswers[static_cast<uint32_t>(c.code)] = refuse;
    else
        fake::library().requestAnswers[c.code] = refuse;
    std::string text = request(c.type, c.members);

    EXPECT_EQ(answer(text), replyTo(text, std::string(R"({"error":"TavmoClient error: )") + c.constant + "\"}"));

    EXPECT_EQ(fake::logTexts(1),
              std::vector<std::string>{std::string("OutputThread: ") + c.type + "() " + c.constant + ": [7]"});
    ASSERT_EQ(fake::library().requests.size(), 1u);
    EXPECT_EQ(
        c.isPrivate ? fake::library().requests[0].privateCode : static_cast<uint32_t>(fake::library().requests[0].code),
        static_cast<uint32_t>(c.code));
}

INSTANTIATE_TEST_SUITE_P(
    EveryRequest, StatusRefusal,
    ::testing::Values(
        RefusalCase{"RequestGetCallState", "TAVMO_CLIENT_REQUEST_GET_CALL_STATE", 101508, false, ""},
        RefusalCase{"RequestGetMutedAudioOut", "TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT", 101001, false, ""},
        RefusalCase{"RequestGetMutedAudioIn", "TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN", 101000, false, ""},
        RefusalCase{"RequestGetMutedVideo", "TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO", 101002, false, ""},
        RefusalCase{"RequestGetMutedServerAudioIn", "TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN", 101003, false,
                    ""},
        RefusalCase{"RequestGetMutedServerVideo", "TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO", 101004, false, ""},
        RefusalCase{"RequestGetVolumeAudioIn", "TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN", 100300, false, ""},
        RefusalCase{"RequestSetVolumeAudioIn", "TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN", 100301, false,
                    R"("volume":10)"},
        RefusalCase{"RequestGetVolumeAudioOut", "TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT", 100302, false, ""},
        RefusalCase{"RequestSetVolumeAudioOut", "TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT", 100303, false,
                    R"("volume":10)"},
        RefusalCase{"RequestGetEID", "TAVMO_CLIENT_REQUEST_GET_EID", 100200, false, ""},
        RefusalCase{"RequestGetLID", "TAVMO_CLIENT_REQUEST_GET_LID", 100201, false, ""},
        RefusalCase{"RequestGetAudioEnergyInfo", "TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO", 302000, true,
                    ""},
        RefusalCase{"RequestGetNumParticipants", "TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS", 101609, false, ""},
        RefusalCase{"RequestGetParticipantNameAt", "TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT", 101610, false,
                    R"("index":1)"},
        RefusalCase{"RequestGetSendMaxKbps", "TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS", 100400, false, ""},
        RefusalCase{"RequestSetSendMaxKbps", "TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS", 100401, false, ""},
        RefusalCase{"RequestGetReceiveMaxKbps", "TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS", 100402, false, ""},
        RefusalCase{"RequestSetReceiveMaxKbps", "TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS", 100403, false, ""},
        RefusalCase{"RequestSetLabel", "TAVMO_CLIENT_REQUEST_SET_LABEL", 100600, false, R"("labelText":"x")"},
        RefusalCase{"RequestGetEchoRecommendation", "TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION", 101300, false,
                    R"("speakerIndex":4,"micIndex":5)"},
        RefusalCase{"RequestCheckRecommended", "TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED", 101301, false, ""},
        RefusalCase{"RequestGetCurrentUser", "TAVMO_CLIENT_REQUEST_GET_CURRENT_USER", 101500, false, ""},
        RefusalCase{"RequestGetParticipantsLimit", "TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT", 101502, false, ""},
        RefusalCase{"RequestGetWebProxySettingsValid", "TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID", 101400,
                    false, ""},
        RefusalCase{"RequestGetInvitingUser", "TAVMO_CLIENT_REQUEST_GET_INVITING_USER", 101504, false, ""},
        RefusalCase{"RequestGetCurrentSessionTavmoRouter", "TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER",
                    101505, false, ""},
        RefusalCase{"RequestGetCurrentCpuUtilization", "TAVMO_CLIENT_REQUEST_GET_CURRENT_CPU_UTIL", 101607, false, ""},
        RefusalCase{"RequestGetEndpointStatus", "TAVMO_CLIENT_REQUEST_GET_ENDPOINT_STATUS", 101800, false, ""},
        RefusalCase{"RequestGetCurrentSessionDisplayInfo", "TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO",
                    101501, false, ""},
        RefusalCase{"RequestGetConferenceInfo", "TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO", 101507, false, ""},
        RefusalCase{"RequestGetPreviewMode", "TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE", 100900, false, ""},
        RefusalCase{"RequestSetWebProxyCredentials", "TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD", 101402,
                    false, R"("persist":true)"},
        RefusalCase{"RequestEnableAppShare", "TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE", 100502, false,
                    R"("isEnable":1)"}));

// A member the handler cannot convert is answered by the dispatcher, and the
// library hears nothing.
class StatusBadInput : public HostFixture, public ::testing::WithParamInterface<std::string> {};

TEST_P(StatusBadInput, IsAnUnknownErrorAndSendsNothing) {
    EXPECT_EQ(answer(GetParam()), replyTo(GetParam(), R"({"error":"unknown error"})"));
    EXPECT_TRUE(fake::library().requests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Members, StatusBadInput,
    ::testing::Values(request("RequestSetLabel", R"("labelText":5)"), request("RequestSetLabel", R"("labelText":null)"),
                      request("RequestSetLabel", R"("labelText":true)"),
                      request("RequestSetLabel", R"("labelText":["a"])"),
                      request("RequestSetLabel", R"("labelText":{})"),
                      request("RequestSetWebProxyCredentials", R"("username":"u","password":"p")"),
                      request("RequestSetWebProxyCredentials", R"("persist":"true")"),
                      request("RequestSetWebProxyCredentials", R"("persist":[true])"),
                      request("RequestSetWebProxyCredentials", R"("persist":{})"),
                      request("RequestSetWebProxyCredentials", R"("username":["u"],"persist":true)"),
                      request("RequestSetWebProxyCredentials", R"("password":{},"persist":true)")));

struct VolumeCase {
    const char* members;
    uint32_t sent;
    const char* logged;  // the value in the invalid-volume line; null for none
};

void PrintTo(const VolumeCase& c, std::ostream* out) { *out << "{" << c.members << "}"; }

class VolumeSetter : public HostFixture,
                     public ::testing::WithParamInterface<std::tuple<std::pair<const char*, int32_t>, VolumeCase>> {};

TEST_P(VolumeSetter, ClampsToTheHighestVolume) {
    const char* type = std::get<0>(GetParam()).first;
    int32_t code = std::get<0>(GetParam()).second;
    const VolumeCase& c = std::get<1>(GetParam());
    std::string text = request(type, c.members);

    EXPECT_EQ(answer(text), replyTo(text, R"({"result":"ok"})"));

    ASSERT_EQ(fake::library().requests.size(), 1u);
    EXPECT_EQ(fake::library().requests[0].code, code);
    EXPECT_EQ(fake::library().requests[0].record, le32(c.sent));
    std::vector<std::string> expectedLog;
    if (c.logged)
        expectedLog.push_back(std::string("OutputThread: ") + type + "() Invalid volume: [" + c.logged +
                              "], setting it to [65535]");
    EXPECT_EQ(fake::logTexts(1), expectedLog);
}

INSTANTIATE_TEST_SUITE_P(BothSides, VolumeSetter,
                         ::testing::Combine(::testing::Values(std::make_pair("RequestSetVolumeAudioIn", 100301),
                                                              std::make_pair("RequestSetVolumeAudioOut", 100303)),
                                            ::testing::Values(VolumeCase{"", 65535, nullptr},
                                                              VolumeCase{R"("volume":0)", 0, nullptr},
                                                              VolumeCase{R"("volume":65535)", 65535, nullptr},
                                                              VolumeCase{R"("volume":"300")", 300, nullptr},
                                                              VolumeCase{R"("volume":12.5)", 13, nullptr},
                                                              VolumeCase{R"("volume":-1)", 65535, "-1"},
                                                              VolumeCase{R"("volume":65536)", 65535, "65536"},
                                                              VolumeCase{R"("volume":65535.6)", 65535, "65536"},
                                                              VolumeCase{R"("volume":null)", 65535, "-2147483648"},
                                                              VolumeCase{R"("volume":"loud")", 0, nullptr})));

}  // namespace
