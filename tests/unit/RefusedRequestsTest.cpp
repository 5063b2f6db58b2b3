// A refused configuration, sharing or statistics request answers only with
// the library constant's name, whatever the library left in the record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HostFixture.h"

namespace {

struct Refusal {
    const char* type;
    int32_t code;
    const char* constant;
};

class RefusedRequest : public HostFixture, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedRequest, RepliesWithTheConstantOnly) {
    fake::library().requestAnswers[GetParam().code] = [](void* record, uint32_t size) {
        std::memset(record, 0x41, size);
        return 7;
    };
    EXPECT_EQ(answer(std::string(R"({"_direction":1,"type":")") + GetParam().type + "\"}"),
              std::string(R"({"_direction":2,"error":"TavmoClient error: )") + GetParam().constant + R"(","type":")" +
                  GetParam().type + "\"}\n");
    EXPECT_TRUE(
        fake::logged(std::string("OutputThread: ") + GetParam().type + "() " + GetParam().constant + ": [7]", 1));
}

#define REFUSAL(type, constant) \
    Refusal { type, constant, #constant }

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequest,
    ::testing::Values(REFUSAL("RequestGetConfiguration", TAVMO_CLIENT_REQUEST_GET_CONFIGURATION),
                      REFUSAL("RequestSetConfiguration", TAVMO_CLIENT_REQUEST_SET_CONFIGURATION),
                      REFUSAL("RequestGetWindowShares", TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES),
                      REFUSAL("RequestSetWindowShares", TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES),
                      REFUSAL("RequestGetWindowsAndDesktops", TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS),
                      REFUSAL("RequestGetParticipantStatisticsAt", TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT),
                      REFUSAL("RequestGetParticipants", TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST),
                      REFUSAL("RequestGetFeccList", TAVMO_CLIENT_REQUEST_GET_FECC_LIST),
                      REFUSAL("RequestGetEncodeResolution", TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION),
                      REFUSAL("RequestGetVideoFrameRateInfo", TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO),
                      REFUSAL("RequestGetMediaInfo", TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO),
                      REFUSAL("RequestGetRateShaperInfo", TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO),
                      REFUSAL("RequestGetBandwidthInfo", TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO),
                      REFUSAL("RequestGetConnectivityInfo", TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO)),
    [](const auto& info) { return std::string(info.param.type); });

}  // namespace
