// Private events and the window list, compared byte for byte.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#include "EventRecords.h"
#include "HostFixture.h"
#include "OutEventHandler.h"
#include "Records.h"

namespace {

class PrivateEvents : public HostFixture {
protected:
    std::vector<std::string> translate(int32_t code, const Block& block) {
        OnPrivateOutEvent(code, block);
        return writtenBodies();
    }
};

std::string eventMessage(int32_t code, const std::string& params) {
    return "{\"_direction\":2,\"code\":" + std::to_string(code) + ",\"params\":" + params + "}\n";
}

template <typename Record, typename Fill>
Block record(Fill fill) {
    Record value{};
    fill(value);
    return blockOf(value);
}

struct PrivateCase {
    const char* name;
    int32_t code;
    Block block;
    const char* params;
};

class PrivateEventCases : public PrivateEvents, public ::testing::WithParamInterface<PrivateCase> {};

TEST_P(PrivateEventCases, WritesItsMessage) {
    EXPECT_EQ(translate(GetParam().code, GetParam().block),
              std::vector<std::string>{eventMessage(GetParam().code, GetParam().params)});
    EXPECT_TRUE(fake::logged(
        "OutEventThread: OnPrivateOutEvent() Entering EVENT: [" + std::to_string(GetParam().code) + "]", 3));
}

std::string caseName(const ::testing::TestParamInfo<PrivateCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Events, PrivateEventCases,
    ::testing::Values(
        PrivateCase{"Code200400", 200400, Block{1, 2, 3}, "null"}, PrivateCase{"Code200600", 200600, Block{}, "null"},
        PrivateCase{"Code201300", 201300, Block{1}, "null"}, PrivateCase{"Code201400", 201400, Block{}, "null"},
        PrivateCase{"WebProxy", 201200,
                    record<TavmoClientWebProxyEvent>([](auto& e) { copyText(e.webProxyURL, "http://proxy:8080"); }),
                    R"({"webProxyURL":"http://proxy:8080"})"},
        PrivateCase{"Notice", 201600, record<TavmoClientNoticeEvent>([](auto& e) { copyText(e.message, "note"); }),
                    R"({"message":"note"})"},
        PrivateCase{"RoomKey", 201700, record<TavmoClientRoomKeyEvent>([](auto& e) {
                        e.hasPin = 1;
                        copyText(e.portalUri, "https://p");
                        copyText(e.roomKey, "KEY");
                    }),
                    R"({"hasPin":true,"portalUri":"https://p","roomKey":"KEY"})"},
        PrivateCase{"TokenStatus", 201900, Block{0, 7}, R"({"status":false,"useToken":true})"},
        PrivateCase{"Reason", 202000, record<TavmoClientReasonEvent>([](auto& e) { e.reason = -4; }),
                    R"({"reason":-4})"},
        PrivateCase{"OtherReason", 202002, record<TavmoClientReasonEvent>([](auto& e) { e.reason = 9; }),
                    R"({"reason":9})"},
        PrivateCase{"LoginNotice", 202001, record<TavmoClientLoginNoticeEvent>([](auto& e) {
                        e.loginType = 2;
                        copyText(e.portalUri, "https://p");
                        copyText(e.userName, "ann");
                        e.guestLogin = 1;
                    }),
                    R"({"guestLogin":true,"loginType":2,"portalUri":"https://p","userName":"ann"})"},
        PrivateCase{"UnlistedInsideTheRange", 250000, Block{1, 2, 3, 4}, "null"},
        PrivateCase{"LowestOfTheRange", 200100, Block{}, "null"},
        PrivateCase{"HighestOfTheRange", 299999, Block{}, "null"}),
    caseName);

TEST_F(PrivateEvents, UnlistedCodeInsideTheRangeIsLoggedAsUnknown) {
    translate(250000, Block{});
    EXPECT_TRUE(fake::logged("OutEventThread: OnPrivateOutEvent() Unknown EVENT: [250000]", 3));
}

TEST_F(PrivateEvents, CodesOutsideTheRangeAreLoggedAsErrorsAndNotWritten) {
    for (int32_t code : {199999, 200099, 300000, 98, -1, INT32_MIN}) {
        EXPECT_TRUE(translate(code, Block{1, 2, 3, 4}).empty()) << code;
        EXPECT_TRUE(
            fake::logged("OutEventThread: OnPrivateOutEvent() Unknown EVENT: [" + std::to_string(code) + "]", 1))
            << code;
        EXPECT_FALSE(
            fake::logged("OutEventThread: OnPrivateOutEvent() Entering EVENT: [" + std::to_string(code) + "]"));
    }
}

TEST_F(PrivateEvents, DeviceNoticesDifferOnlyInTheirCode) {
    Block block = record<TavmoClientDeviceNoticeEvent>([](auto& e) {
        e.deviceType = 3;
        e.changeType = -1;
        copyText(e.deviceName, "Cam");
    });
    OnPrivateOutEvent(202100, block);
    OnPrivateOutEvent(202110, block);
    const char* params = R"({"changeType":-1,"deviceName":"Cam","deviceType":3})";
    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{eventMessage(202100, params), eventMessage(202110, params)}));
}

// The window list record is large; tests build it on the heap.
std::unique_ptr<TavmoClientWindowList> windowList() {
    auto list = std::make_unique<TavmoClientWindowList>();
    std::memset(list.get(), 0, sizeof *list);
    list->requestId = 7;
    list->totalResponseMessages = 2;
    list->thisMessageNumberInSequance = 1;
    list->totalNumApplicationWindows = 130;
    return list;
}

const char* const kWindowListCounts =
    R"("numOfRecordsInThisMessage":%s,"requestId":7,"thisMessageNumberInSequance":1,"totalNumApplicationWindows":130,"totalResponseMessages":2)";

std::string counts(const std::string& numOfRecords) {
    std::string text = kWindowListCounts;
    return text.replace(text.find("%s"), 2, numOfRecords);
}

TEST_F(PrivateEvents, WindowListCarriesEachWindowAtTheSameIndexOfEveryArray) {
    auto list = windowList();
    list->numOfRecordsInThisMessage = 2;
    list->style[0] = 0x10000000;
    list->exStyle[0] = 0xFFFFFFFF;
    list->parentHandle[0] = 0x1A2B;
    copyText(list->className[0], "Chrome_WidgetWin_1");
    list->windowId[0] = 0xABCDEF01;
    copyText(list->title[0], "Page");
    copyText(list->ownerName[0], "browser");
    list->rect[0] = {-8, 10, 800, 600};
    list->style[1] = 1;
    list->windowId[1] = 2;
    copyText(list->title[1], "Editor");
    list->rect[1] = {0, -20, 1, 2};
    std::string expected =
        eventMessage(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT,
                     R"({"Win32":{"WindowClassName":["Chrome_WidgetWin_1",""],"dwExStyle":[4294967295,0],)"
                     R"("dwStyle":[268435456,1],"parentHandle":["0000000000001A2B","0000000000000000"]},)"
                     R"("WindowName":["Page","Editor"],"WindowOwnerName":["browser",""],)" +
                         counts("2") +
                         R"(,"windowID":["00000000ABCDEF01","0000000000000002"],)"
                         R"("windowRect":[{"height":600,"width":800,"xPos":-8,"yPos":10},)"
                         R"({"height":2,"width":1,"xPos":0,"yPos":-20}]})");
    EXPECT_EQ(translate(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list)),
              std::vector<std::string>{expected});
}

TEST_F(PrivateEvents, WindowListWithoutWindowsHasNullArrays) {
    for (int32_t none : {0, -3}) {
        auto list = windowList();
        list->numOfRecordsInThisMessage = none;
        list->style[0] = 5;
        OnPrivateOutEvent(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list));
        EXPECT_EQ(writtenBodies().back(),
                  eventMessage(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT,
                               R"({"Win32":{"WindowClassName":null,"dwExStyle":null,"dwStyle":null,)"
                               R"("parentHandle":null},"WindowName":null,"WindowOwnerName":null,)" +
                                   counts(std::to_string(static_cast<uint32_t>(none))) +
                                   R"(,"windowID":null,"windowRect":null})"));
    }
}

Json::Value parsedParams(const std::string& body) {
    Json::Value message;
    EXPECT_TRUE(json::parse(body, message)) << body;
    return message["params"];
}

TEST_F(PrivateEvents, WindowCountIsLimitedToTheRecordsCapacity) {
    auto list = windowList();
    list->numOfRecordsInThisMessage = 1000;
    copyText(list->title[127], "last");
    Json::Value params = parsedParams(translate(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list)).at(0));
    EXPECT_EQ(params["numOfRecordsInThisMessage"].asUInt(), 1000u);
    for (const char* key : {"WindowName", "WindowOwnerName", "windowID", "windowRect"})
        EXPECT_EQ(params[key].size(), 128u) << key;
    for (const char* key : {"dwStyle", "dwExStyle", "parentHandle", "WindowClassName"})
        EXPECT_EQ(params["Win32"][key].size(), 128u) << key;
    EXPECT_EQ(params["WindowName"][127].asString(), "last");
}

TEST_F(PrivateEvents, WindowCountIsLimitedToTheWindowsTheBlockHolds) {
    auto list = windowList();
    list->numOfRecordsInThisMessage = 1000;
    list->rect[1] = {1, 2, 3, 4};
    std::size_t twoWindows = offsetof(TavmoClientWindowList, rect) + 2 * sizeof(TavmoClientWindowRect);
    Json::Value params =
        parsedParams(translate(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list, twoWindows + 5)).at(0));
    EXPECT_EQ(params["windowRect"].size(), 2u);
    EXPECT_EQ(params["windowRect"][1]["height"].asUInt(), 4u);
    EXPECT_EQ(params["Win32"]["dwStyle"].size(), 2u);
}

TEST_F(PrivateEvents, WindowListCutBeforeItsWindowsHasNone) {
    auto list = windowList();
    list->numOfRecordsInThisMessage = 3;
    Json::Value params = parsedParams(translate(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list, 20)).at(0));
    EXPECT_EQ(params["requestId"].asUInt(), 7u);
    EXPECT_TRUE(params["windowID"].isNull());
}

TEST_F(PrivateEvents, WindowTextThatFillsItsFieldIsCutAtTheFieldsEnd) {
    auto list = windowList();
    list->numOfRecordsInThisMessage = 1;
    fillField(list->className[0], 'C');
    copyText(list->className[1], "next");
    fillField(list->ownerName[0], 'O');
    Json::Value params = parsedParams(translate(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, blockOf(*list)).at(0));
    EXPECT_EQ(params["Win32"]["WindowClassName"][0].asString(), std::string(257, 'C'));
    EXPECT_EQ(params["WindowOwnerName"][0].asString(), std::string(257, 'O'));
}

TEST_F(PrivateEvents, TextAtTheEndOfAShortBlockEndsThere) {
    EXPECT_EQ(translate(201600, Block{'h', 'i'}),
              std::vector<std::string>{eventMessage(201600, R"({"message":"hi"})")});
}

}  // namespace
