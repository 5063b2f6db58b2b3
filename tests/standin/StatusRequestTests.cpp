// The status requests of the stand-in: values that were set read back, what
// belongs to a call follows the call state, and a record of the wrong size is
// refused.
#include <cstring>
#include <string>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class StatusRequestTest : public StandInTest {
protected:
    template <typename Record>
    int32_t send(int32_t code, Record& record) {
        return TavmoClientSendRequest(code, &record, sizeof record);
    }

    int32_t getInt32(int32_t code) {
        TavmoClientInt32Value value{};
        EXPECT_EQ(send(code, value), 0) << code;
        return value.value;
    }

    int32_t setInt32(int32_t code, int32_t number) {
        TavmoClientInt32Value value{};
        value.value = number;
        return send(code, value);
    }

    bool getFlag(int32_t code) {
        TavmoClientFlagValue value{};
        EXPECT_EQ(send(code, value), 0) << code;
        return value.value != 0;
    }

    TavmoClientBool sendFlagEvent(int32_t code, unsigned char flag) { return TavmoClientSendEvent(code, &flag, 1); }
};

struct SetterCase {
    int32_t setCode;
    int32_t getCode;
    int32_t accepted;
    int32_t refused;
};

class SettersReadBack : public StatusRequestTest, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(SettersReadBack, AcceptedValuesStayAndRefusedOnesChangeNothing) {
    const SetterCase& c = GetParam();
    ASSERT_EQ(initialize(), 1);
    EXPECT_EQ(setInt32(c.setCode, c.accepted), 0);
    EXPECT_EQ(getInt32(c.getCode), c.accepted);
    EXPECT_EQ(setInt32(c.setCode, c.refused), 2);
    EXPECT_EQ(getInt32(c.getCode), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettersReadBack,
    ::testing::Values(
        SetterCase{TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN, TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN, 65535, 65536},
        SetterCase{TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT, TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT, 0, -1},
        SetterCase{TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS, TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS, 768, -2},
        SetterCase{TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS, TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS, -1, INT32_MIN}));

TEST_F(StatusRequestTest, MuteInEventsSetWhatTheMuteQueriesAnswer) {
    ASSERT_EQ(initialize(), 1);
    ASSERT_EQ(start(), 1);
    const std::pair<int32_t, int32_t> pairs[] = {
        {TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN, TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN},
        {TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT, TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT},
        {TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO, TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO}};
    for (const auto& [event, query] : pairs) {
        EXPECT_FALSE(getFlag(query)) << query;
        ASSERT_EQ(sendFlagEvent(event, 1), 1) << event;
        EXPECT_TRUE(getFlag(query)) << query;
        for (const auto& [otherEvent, otherQuery] : pairs) {
            if (otherEvent != event) {
                EXPECT_FALSE(getFlag(otherQuery)) << "muting " << event << " changed " << otherQuery;
            }
        }
        ASSERT_EQ(sendFlagEvent(event, 0), 1) << event;
        EXPECT_FALSE(getFlag(query)) << query;
    }
    EXPECT_FALSE(getFlag(TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN));
    EXPECT_FALSE(getFlag(TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO));
}

TEST_F(StatusRequestTest, ParticipantNamesAreThoseOfTheConference) {
    ASSERT_EQ(initialize("call-state 4\n"), 1);
    EXPECT_EQ(getInt32(TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS), 3);
    const std::vector<std::string> names = {"Alex Moreau", "Sam Ortiz", "Kim Lee", "", ""};
    const int32_t indexes[] = {0, 1, 2, 3, -1};
    for (std::size_t i = 0; i < names.size(); ++i) {
        TavmoClientParticipantNameRecord record{};
        record.index = indexes[i];
        std::memset(record.name, 'x', sizeof record.name);
        ASSERT_EQ(send(TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT, record), 0);
        EXPECT_EQ(record.index, indexes[i]);
        EXPECT_EQ(record.found, names[i].empty() ? 0 : 1) << indexes[i];
        EXPECT_EQ(std::string(record.name, strnlen(record.name, sizeof record.name)), names[i]);
    }
}

struct CallCase {
    int32_t callState;
    int32_t displayContext;
    const char* displayText;
    const char* invitingUser;
    bool hasRouter;
};

class FollowsTheCall : public StatusRequestTest, public ::testing::WithParamInterface<CallCase> {};

TEST_P(FollowsTheCall, SessionAnswersMatchTheCallState) {
    const CallCase& c = GetParam();
    ASSERT_EQ(initialize("call-state " + std::to_string(c.callState) + "\n"), 1);

    TavmoClientSessionDisplayRecord display{};
    ASSERT_EQ(send(TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO, display), 0);
    EXPECT_EQ(display.context, c.displayContext);
    EXPECT_STREQ(display.text, c.displayText);

    TavmoClientInvitingUserRecord inviting{};
    ASSERT_EQ(send(TAVMO_CLIENT_REQUEST_GET_INVITING_USER, inviting), 0);
    EXPECT_STREQ(inviting.invitingUser, c.invitingUser);

    TavmoClientRouterRecord router{};
    ASSERT_EQ(send(TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER, router), 0);
    EXPECT_EQ(router.routerAddress[0] != '\0', c.hasRouter);
}

INSTANTIATE_TEST_SUITE_P(CallStates, FollowsTheCall,
                         ::testing::Values(CallCase{0, 3, "", "", false},
                                           CallCase{1, 2, "Alex Moreau", "Alex Moreau", true},
                                           CallCase{2, 1, "Sam Ortiz", "", true},
                                           CallCase{4, 0, "Stand-in conference room", "", true}));

TEST_F(StatusRequestTest, AudioEnergyOnlyInAConferenceAndNotFromAMutedMicrophone) {
    ASSERT_EQ(initialize("call-state 4\n"), 1);
    ASSERT_EQ(start(), 1);
    TavmoClientAudioEnergyRecord energy{};
    ASSERT_EQ(
        sendPrivate(TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO, &energy, TAVMO_CLIENT_AUDIO_ENERGY_SIZE_FIELD),
        0);
    EXPECT_GT(energy.rendererEnergy, 0);
    EXPECT_GT(energy.capturerEnergy, 0);

    ASSERT_EQ(sendFlagEvent(TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN, 1), 1);
    ASSERT_EQ(sendPrivate(TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO, &energy, sizeof energy), 0);
    EXPECT_GT(energy.rendererEnergy, 0);
    EXPECT_EQ(energy.capturerEnergy, 0);
    EXPECT_EQ(sendPrivate(TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO, &energy, 5), 2);
}

TEST_F(StatusRequestTest, ProxyCredentialsMakeTheSettingsValid) {
    ASSERT_EQ(initialize(), 1);
    EXPECT_FALSE(getFlag(TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID));

    TavmoClientWebProxyCredentialsRecord credentials{};
    std::memset(credentials.userName, 'u', sizeof credentials.userName);
    EXPECT_EQ(send(TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, credentials), 2) << "user name unterminated";
    EXPECT_FALSE(getFlag(TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID));

    credentials.userName[sizeof credentials.userName - 1] = '\0';
    EXPECT_EQ(send(TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, credentials), 0);
    EXPECT_TRUE(getFlag(TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID));
}

TEST_F(StatusRequestTest, LabelMustEndInsideItsField) {
    ASSERT_EQ(initialize(), 1);
    TavmoClientLabelRecord label{};
    std::memset(label.label, 'L', sizeof label.label);
    EXPECT_EQ(send(TAVMO_CLIENT_REQUEST_SET_LABEL, label), 2);
    label.label[TAVMO_CLIENT_LABEL_MAX_BYTES] = '\0';
    EXPECT_EQ(send(TAVMO_CLIENT_REQUEST_SET_LABEL, label), 0);
}

struct SizeCase {
    int32_t code;
    uint32_t size;
};

class RecordSize : public StatusRequestTest, public ::testing::WithParamInterface<SizeCase> {};

// One byte short or one too many, or no record at all, is refused without
// touching the bytes the host passed.
TEST_P(RecordSize, OnlyTheExactSizeIsAnswered) {
    ASSERT_EQ(initialize(), 1);
    const SizeCase& c = GetParam();
    for (uint32_t size : {c.size - 1, c.size + 1}) {
        std::vector<unsigned char> record(size, 0xAB);
        EXPECT_EQ(TavmoClientSendRequest(c.code, record.data(), size), 2) << size;
        EXPECT_EQ(record, std::vector<unsigned char>(size, 0xAB));
    }
    EXPECT_EQ(TavmoClientSendRequest(c.code, nullptr, c.size), 2);
    std::vector<unsigned char> record(c.size, 0);
    EXPECT_EQ(TavmoClientSendRequest(c.code, record.data(), c.size), 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, RecordSize,
                         ::testing::Values(SizeCase{TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN, 1},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_EID, 129},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_LID, 129},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT, 4},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT, 136},
                                           SizeCase{TAVMO_CLIENT_REQUEST_SET_LABEL, 40},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION, 12},
                                           SizeCase{TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED, 12},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_CURRENT_USER, 870},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT, 12},
                                           SizeCase{TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD, 129},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_INVITING_USER, 64},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER, 128},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO, 388},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO, 2},
                                           SizeCase{TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE, 8},
                                           SizeCase{TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE, 1}));

}  // namespace
}  // namespace standin_test
