// The window shares and windows-and-desktops records at the layout's offsets,
// and the desktop table that a listing leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "HostFixture.h"
#include "HostState.h"
#include "PageMessages.h"
#include "RecordImage.h"

namespace {

constexpr std::size_t kSharesSize = 20836;
constexpr std::size_t kRequestType = 0, kUris = 4, kNames = 10284, kNumApp = 20564, kCurrApp = 20568, kEventUri = 20572,
                      kNewApp = 20832;
constexpr std::size_t kSlot = 257;

constexpr std::size_t kListingSize = 75228;
constexpr std::size_t kWindowCount = 0, kWindowTitles = 4, kWindowApps = 32900, kWindowIds = 65796;
constexpr std::size_t kDesktopCount = 68356, kDesktopNames = 68360, kDesktopDevices = 72472, kDesktopRects = 74520;
constexpr std::size_t kSharesDisabled = 75224;

class Sharing : public HostFixture {
protected:
    std::string reply(int32_t code, const RecordImage& record, const std::string& type) {
        fake::library().requestAnswers[code] = record.answer();
        return answer(R"({"_direction":1,"type":")" + type + "\"}");
    }
    std::string sharesReply(const RecordImage& record) {
        return reply(TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES, record, "RequestGetWindowShares");
    }
    std::string listingReply(const RecordImage& record) {
        return reply(TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS, record, "RequestGetWindowsAndDesktops");
    }
};

// RequestGetWindowShares

TEST_F(Sharing, WindowSharesSkipEmptyNamesAndKeepTheListsPaired) {
    RecordImage record(kSharesSize);
    record.word(kRequestType, 2).word(kNumApp, 3).word(kCurrApp, 0xFFFFFFFFu).word(kNewApp, 7);
    record.text(kEventUri, "event:1");
    record.text(kNames + kSlot, "Slides").text(kUris + kSlot, "uri:1");
    record.text(kUris + 2 * kSlot, "uri:2 without a name");
    record.text(kNames + 3 * kSlot, "Board").text(kUris + 3 * kSlot, "uri:3");
    record.text(kNames, "slot 0 is never used");
    record.text(kNames + 4 * kSlot, "beyond numApp");
    EXPECT_EQ(sharesReply(record), R"({"_direction":2,"currApp":-1,"eventUri":"event:1","newApp":7,"numApp":3,)"
                                   R"("remoteAppName":["Slides","Board"],"remoteAppUri":["uri:1","uri:3"],)"
                                   R"("requestType":"ToggleSharingWindow","type":"RequestGetWindowShares"})"
                                   "\n");
    EXPECT_TRUE(sameBytes(fake::library().requests.at(0).record, RecordImage(kSharesSize)))
        << "asks with request type 0 and nothing else";
}

struct SharesCount {
    uint32_t numApp;
    Json::ArrayIndex listed;
};

class WindowSharesCount : public Sharing, public ::testing::WithParamInterface<SharesCount> {};

TEST_P(WindowSharesCount, StaysWithinSlotsOneTo39) {
    RecordImage record(kSharesSize);
    record.word(kNumApp, GetParam().numApp);
    for (std::size_t slot = 0; slot < 40; ++slot) record.text(kNames + slot * kSlot, "n" + std::to_string(slot));
    Json::Value names = parsed(sharesReply(record))["remoteAppName"];
    ASSERT_EQ(names.size(), GetParam().listed);
    if (GetParam().listed > 0) {
        EXPECT_EQ(names[GetParam().listed - 1].asString(), "n" + std::to_string(GetParam().listed));
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, WindowSharesCount,
                         ::testing::Values(SharesCount{0, 0}, SharesCount{1, 1}, SharesCount{39, 39},
                                           SharesCount{40, 39}, SharesCount{0x7FFFFFFF, 39},
                                           SharesCount{0xFFFFFFFFu, 0}));

struct RequestTypeName {
    int32_t code;
    const char* name;  // nullptr: no field
};

const RequestTypeName kRequestTypes[] = {
    {0, "ListSharingWindows"}, {1, "ChangeSharingWindow"},        {2, "ToggleSharingWindow"},
    {3, "StopSharingWindow"},  {4, "UpdateDisplaySharingWindow"}, {5, "AddSharingWindow"},
};

class ShareRequestType : public Sharing, public ::testing::WithParamInterface<RequestTypeName> {};

TEST_P(ShareRequestType, TravelsBothWays) {
    Json::Value reply = parsed(sharesReply(RecordImage(kSharesSize).word(kRequestType, GetParam().code)));
    EXPECT_EQ(reply["requestType"].asString(), GetParam().name);
    answer(R"({"_direction":1,"type":"RequestSetWindowShares","requestType":")" + std::string(GetParam().name) + "\"}");
    EXPECT_TRUE(sameBytes(fake::library().requests.back().record,
                          RecordImage(kSharesSize).word(kRequestType, GetParam().code)));
}

INSTANTIATE_TEST_SUITE_P(Codes, ShareRequestType, ::testing::ValuesIn(kRequestTypes));

TEST_F(Sharing, UnknownRequestTypeCodesGiveNoField) {
    for (uint32_t code : {6u, 0xFFFFFFFFu, 0x80000000u}) {
        std::string reply = sharesReply(RecordImage(kSharesSize).word(kRequestType, code));
        EXPECT_EQ(reply.find("requestType"), std::string::npos) << code;
    }
}

// RequestSetWindowShares

struct SetSharesCase {
    const char* name;
    std::string members;
    std::function<void(RecordImage&)> expect;
};

class SetWindowShares : public Sharing, public ::testing::WithParamInterface<SetSharesCase> {};

TEST_P(SetWindowShares, SendsExactly) {
    RecordImage expected(kSharesSize);
    GetParam().expect(expected);
    const std::string request = R"({"_direction":1,"type":"RequestSetWindowShares")" +
                                (GetParam().members.empty() ? "" : "," + GetParam().members) + "}";
    Json::Value reply = parsed(answer(request));
    EXPECT_EQ(reply["result"].asString(), "ok");
    ASSERT_EQ(fake::library().requests.size(), 1u);
    EXPECT_EQ(fake::library().requests[0].code, TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES);
    EXPECT_TRUE(sameBytes(fake::library().requests[0].record, expected));
}

std::string names(int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
    return "[" + list + "]";
}

const SetSharesCase kSetSharesCases[] = {
    {"NothingSendsZeros", "", [](RecordImage&) {}},
    {"EveryField",
     R"("requestType":"ChangeSharingWindow","remoteAppName":["a","b"],"remoteAppUri":["u1"],"numApp":5,)"
     R"("currApp":"2","newApp":1.5,"eventUri":"ev")",
     [](RecordImage& r) {
         r.word(kRequestType, 1).text(kNames + kSlot, "a").text(kNames + 2 * kSlot, "b").text(kUris + kSlot, "u1");
         r.word(kNumApp, 5).word(kCurrApp, 2).word(kNewApp, 2).text(kEventUri, "ev");
     }},
    {"UnknownRequestTypeIsZero", R"("requestType":"Share everything","numApp":1)",
     [](RecordImage& r) { r.word(kNumApp, 1); }},
    {"NumberAsRequestTypeIsZero", R"("requestType":3)", [](RecordImage&) {}},
    {"MoreThan39NamesStopAtSlot39", R"("remoteAppName":)" + names(45) + R"(,"remoteAppUri":)" + names(45),
     [](RecordImage& r) {
         for (int i = 0; i < 39; ++i) r.text(kNames + (i + 1) * kSlot, std::to_string(i));
         for (int i = 0; i < 39; ++i) r.text(kUris + (i + 1) * kSlot, std::to_string(i));
     }},
    {"TextsThatWouldFillTheirSlotsAreCut",
     R"("remoteAppName":[")" + std::string(257, 'n') + R"("],"remoteAppUri":[")" + std::string(300, 'u') +
         R"("],"eventUri":")" + std::string(257, 'e') + "\"",
     [](RecordImage& r) {
         r.text(kNames + kSlot, std::string(256, 'n')).text(kUris + kSlot, std::string(256, 'u'));
         r.text(kEventUri, std::string(256, 'e'));
     }},
    {"EmptyNameListNeedsNoAddresses", R"("remoteAppName":[])", [](RecordImage&) {}},
    {"NamesThatAreNoListAreIgnored", R"("remoteAppName":"a","remoteAppUri":5)", [](RecordImage&) {}},
    {"CountsAreReadLeniently", R"("numApp":null,"currApp":-3)",
     [](RecordImage& r) { r.word(kNumApp, 0x80000000u).word(kCurrApp, 0xFFFFFFFDu); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, SetWindowShares, ::testing::ValuesIn(kSetSharesCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SetWindowSharesFails : public Sharing, public ::testing::WithParamInterface<const char*> {};

TEST_P(SetWindowSharesFails, SendsNothing) {
    std::string reply = answer(R"({"_direction":1,"type":"RequestSetWindowShares",)" + std::string(GetParam()) + "}");
    EXPECT_EQ(parsed(reply)["error"].asString(), "unknown error");
    EXPECT_TRUE(fake::library().requests.empty());
}

INSTANTIATE_TEST_SUITE_P(Conversions, SetWindowSharesFails,
                         ::testing::Values(R"("remoteAppName":[1],"remoteAppUri":["u"])",
                                           R"("remoteAppName":[null],"remoteAppUri":["u"])", R"("remoteAppName":["a"])",
                                           R"("remoteAppName":["a"],"remoteAppUri":"u")",
                                           R"("remoteAppName":["a"],"remoteAppUri":[7])",
                                           R"("remoteAppName":["a","b"],"remoteAppUri":["u",null])", R"("eventUri":5)",
                                           R"("eventUri":null)", R"("requestType":[0])"));

// RequestGetWindowsAndDesktops

RecordImage twoDesktops() {
    RecordImage record(kListingSize);
    record.word(kDesktopCount, 2);
    record.text(kDesktopNames, "Display 1").text(kDesktopNames + 257, "Display 2");
    record.text(kDesktopDevices, "\\\\.\\DISPLAY1").text(kDesktopDevices + 128, std::string(128, 'D'));
    record.word(kDesktopRects, 0xFFFFFF00u).word(kDesktopRects + 4, 0).word(kDesktopRects + 8, 1920);
    record.word(kDesktopRects + 12, 1080).word(kDesktopRects + 16, 1920).word(kDesktopRects + 28, 0xFFFFFFFFu);
    return record;
}

const char* const kTwoDesktopsReply =
    R"("numSystemDesktops":2,"sysDesktopId":["1","2"],"sysDesktopName":["Display 1","Display 2"],)"
    R"("sysDesktopRect":[{"height":1080,"width":1920,"xPos":-256,"yPos":0},)"
    R"({"height":-1,"width":0,"xPos":1920,"yPos":0}],"type":"RequestGetWindowsAndDesktops"})";

TEST_F(Sharing, WindowsAndDesktopsAreListedAndTheDesktopsRemembered) {
    RecordImage record = twoDesktops();
    record.word(kWindowCount, 3);
    record.text(kWindowTitles, "Report").text(kWindowApps, "Editor").word(kWindowIds, 6699);
    record.text(kWindowTitles + 257, "no application").word(kWindowIds + 4, 1);
    record.text(kWindowTitles + 514, "Inbox").text(kWindowApps + 514, "Mail").word(kWindowIds + 8, 0xFFFFFFFFu);
    record.text(kWindowApps + 771, "beyond the count");
    EXPECT_EQ(listingReply(record),
              std::string(R"({"_direction":2,"appSharesDisabled":0,"appWindowAppName":["Editor","Mail"],)"
                          R"("appWindowId":["0000000000001A2B","00000000FFFFFFFF"],"appWindowName":["Report","Inbox"],)"
                          R"("numApplicationWindows":3,)") +
                  kTwoDesktopsReply + "\n");
    EXPECT_EQ(desktopDevice(0), "\\\\.\\DISPLAY1");
    EXPECT_EQ(desktopDevice(1), std::string(128, 'D')) << "a full device text is read up to the field's end";
    EXPECT_EQ(desktopDevice(2), "");
}

TEST_F(Sharing, DisabledApplicationSharingListsOnlyTheDesktops) {
    RecordImage record = twoDesktops();
    record.byte(kSharesDisabled, 1).word(kWindowCount, 1).text(kWindowApps, "Editor");
    EXPECT_EQ(listingReply(record),
              std::string(R"({"_direction":2,"appSharesDisabled":1,)") + kTwoDesktopsReply + "\n");
    EXPECT_TRUE(
        fake::logged("OutputThread: RequestGetWindowsAndDesktops() appSharesDisabled for Windows 8 and up.", 3));
    EXPECT_EQ(desktopDevice(0), "\\\\.\\DISPLAY1");
}

TEST_F(Sharing, DisabledFlagIsASignedByte) {
    Json::Value reply = parsed(listingReply(RecordImage(kListingSize).byte(kSharesDisabled, 0xFF)));
    EXPECT_EQ(reply["appSharesDisabled"].asInt(), -1);
    EXPECT_FALSE(reply.isMember("numApplicationWindows"));
}

TEST_F(Sharing, ListingCountsBeyondTheSlotsStayWithinThem) {
    RecordImage record(kListingSize);
    record.word(kWindowCount, 1000).word(kDesktopCount, 0xFFFFFFFFu);
    record.text(kWindowApps + 127 * 257, "last app");
    record.text(kDesktopDevices + 15 * 128, "last desktop");
    Json::Value reply = parsed(listingReply(record));
    EXPECT_EQ(reply["numApplicationWindows"].asUInt(), 1000u);
    ASSERT_EQ(reply["appWindowAppName"].size(), 1u);
    EXPECT_EQ(reply["appWindowAppName"][0].asString(), "last app");
    EXPECT_EQ(reply["numSystemDesktops"].asUInt(), 0xFFFFFFFFu);
    EXPECT_EQ(reply["sysDesktopId"].size(), 16u);
    EXPECT_EQ(reply["sysDesktopId"][15].asString(), "16");
    EXPECT_EQ(desktopDevice(15), "last desktop");
}

TEST_F(Sharing, ANewListingOnlyOverwritesTheDesktopsItHolds) {
    listingReply(twoDesktops());
    RecordImage one(kListingSize);
    one.word(kDesktopCount, 1).text(kDesktopDevices, "new first");
    listingReply(one);
    EXPECT_EQ(desktopDevice(0), "new first");
    EXPECT_EQ(desktopDevice(1), std::string(128, 'D'));
}

TEST_F(Sharing, RefusedListingLeavesTheDesktopTableAlone) {
    listingReply(twoDesktops());
    fake::library().requestAnswers[TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS] = [](void* record, uint32_t size) {
        std::memset(record, 'z', size);
        return 5;
    };
    EXPECT_EQ(answer(std::string(R"({"_direction":1,"type":"RequestGetWindowsAndDesktops"})")),
              R"({"_direction":2,"error":"TavmoClient error: TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS",)"
              R"("type":"RequestGetWindowsAndDesktops"})"
              "\n");
    EXPECT_EQ(desktopDevice(0), "\\\\.\\DISPLAY1");
    EXPECT_TRUE(fake::logged(
        "OutputThread: RequestGetWindowsAndDesktops() TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS: [5]", 1));
}

}  // namespace
