#include <cstring>
#include <string>

#include "FakeApprovalDialog.h"
#include "HostFixture.h"
#include "HostState.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

const char* const kOpeningMessage = "{\"_direction\":2,\"code\":\"\",\"params\":\"\"}\n";
const char* const kJoinAllowed = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":true}}\n";
const char* const kJoinRefused = "{\"_direction\":2,\"code\":270003,\"params\":{\"joinStatus\":false}}\n";
const char* const kRefusal = "TavmoClient Can not get the Domain approval from enduser";

// Without answers for the fake dialog, asking the user is refused.
class WebsiteApproval : public HostFixture {
protected:
    // Lets the library answer the approved-domain query with `approved`, or
    // refuse it with `error`.
    void libraryAnswers(unsigned char approved, int32_t error = 0) {
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [approved, error](
                                                                                               void* record, uint32_t) {
            if (error == 0) static_cast<TavmoClientApprovedDomainQuery*>(record)->approved = approved;
            return error;
        };
    }

    std::string queriedDomain() {
        for (const fake::SentRecord& sent : fake::library().requests)
            if (sent.privateCode == TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN) {
                EXPECT_EQ(sent.sizeField, sizeof(TavmoClientApprovedDomainQuery));
                EXPECT_EQ(sent.inner.size(), 258u);
                EXPECT_EQ(sent.inner.at(257), 0) << "approved flag on entry";
                return std::string(reinterpret_cast<const char*>(sent.inner.data()));
            }
        ADD_FAILURE() << "no approved-domain query";
        return {};
    }
};

struct DomainCase {
    const char* name;
    const char* fields;
    const char* domain;
};

class SetDomain : public WebsiteApproval, public ::testing::WithParamInterface<DomainCase> {};

TEST_P(SetDomain, BecomesTheCurrentDomain) {
    currentDomain = "before.example";
    std::string reply = answer(std::string(R"({"type":"RequestSetDomain","_direction":1)") + GetParam().fields + "}");
    EXPECT_NE(reply.find("\"result\":\"ok\""), std::string::npos) << reply;
    EXPECT_EQ(currentDomain, GetParam().domain);
    EXPECT_TRUE(
        fake::logged(std::string("OutputThread: RequestSetDomain() [") + GetParam().domain + "] domain is set.", 3));
}

INSTANTIATE_TEST_SUITE_P(Fields, SetDomain,
                         ::testing::Values(DomainCase{"Named", R"(,"domain":"meet.example.org")", "meet.example.org"},
                                           DomainCase{"Absent", "", "Video Conferencing website"},
                                           DomainCase{"Empty", R"(,"domain":"")", ""},
                                           DomainCase{"CutAtNul", R"(,"domain":"a.example\u0000b.example")",
                                                      "a.example"}),
                         [](const auto& info) { return info.param.name; });

class SetDomainNotText : public WebsiteApproval, public ::testing::WithParamInterface<const char*> {};

TEST_P(SetDomainNotText, IsAnUnknownErrorAndKeepsTheDomain) {
    currentDomain = "before.example";
    std::string reply =
        answer(std::string(R"({"type":"RequestSetDomain","_direction":1,"domain":)") + GetParam() + "}");
    EXPECT_NE(reply.find("\"error\":\"unknown error\""), std::string::npos) << reply;
    EXPECT_EQ(reply.find("\"result\""), std::string::npos) << reply;
    EXPECT_EQ(currentDomain, "before.example");
}

INSTANTIATE_TEST_SUITE_P(Values, SetDomainNotText, ::testing::Values("5", "null", "true", "[\"a\"]", "{}"));

TEST_F(WebsiteApproval, ApprovedWebsiteIsNotAskedAgain) {
    currentDomain = "meet.example.org";
    libraryAnswers(1);
    Json::Value request(Json::objectValue);

    EXPECT_TRUE(PromptForUserApproval(request));

    EXPECT_EQ(queriedDomain(), "meet.example.org");
    EXPECT_EQ(writtenBodies(), std::vector<std::string>{kJoinAllowed});
    EXPECT_FALSE(request.isMember("error"));
    EXPECT_TRUE(fake::logged(
        "OutputThread: PromptForUserApproval(): [meet.example.org] domain is already approved by enduser", 3));
}

TEST_F(WebsiteApproval, QueryTheLibraryRefusesIsARefusalWithoutAsking) {
    currentDomain = "meet.example.org";
    libraryAnswers(1, 9);
    Json::Value request(Json::objectValue);

    EXPECT_FALSE(PromptForUserApproval(request));

    EXPECT_EQ(writtenBodies(), std::vector<std::string>{kJoinRefused});
    EXPECT_EQ(request["error"].asString(), kRefusal);
    EXPECT_EQ(fake::logTexts(1),
              (std::vector<std::string>{
                  "OutputThread: PromptForUserApproval() TavmoClientSendRequest() to get approved domains returned "
                  "error: [9]",
                  "OutputThread: PromptForUserApproval(): [meet.example.org] domain is not approved by enduser"}));
}

TEST_F(WebsiteApproval, UserWhoCannotBeAskedHasRefused) {
    currentDomain = "meet.example.org";
    libraryAnswers(0);
    Json::Value request(Json::objectValue);
    request["_id"] = 4;

    EXPECT_FALSE(PromptForUserApproval(request));

    EXPECT_EQ(writtenBodies(), (std::vector<std::string>{kOpeningMessage, kJoinRefused}));
    EXPECT_EQ(request["error"].asString(), kRefusal);
    EXPECT_EQ(request["_id"].asInt(), 4);
    EXPECT_EQ(fake::logTexts(1),
              (std::vector<std::string>{
                  "OutputThread: PromptForUserApproval() The approval dialog cannot be shown: no display.",
                  "OutputThread: PromptForUserApproval(): [meet.example.org] domain is not approved by enduser"}));
    for (const fake::SentRecord& sent : fake::library().requests)
        EXPECT_NE(sent.privateCode, static_cast<uint32_t>(TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN));
}

TEST_F(WebsiteApproval, LongDomainIsQueriedCutToItsFirst256Bytes) {
    currentDomain = std::string(256, 'a') + std::string(44, 'b');
    libraryAnswers(1);
    Json::Value request(Json::objectValue);

    EXPECT_TRUE(PromptForUserApproval(request));

    EXPECT_EQ(queriedDomain(), std::string(256, 'a'));
}

TEST_F(WebsiteApproval, UnnamedWebsiteIsQueriedAsTheEmptyText) {
    libraryAnswers(1);
    Json::Value request(Json::objectValue);

    EXPECT_TRUE(PromptForUserApproval(request));

    EXPECT_EQ(queriedDomain(), "");
}

// A website named by one byte or none is shown by the default name and
// cannot be remembered: the box is not offered, so a tick does not take.
struct ShownCase {
    const char* name;
    const char* fields;
    const char* shown;
    bool offered;
};

class ShownWebsite : public WebsiteApproval, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(ShownWebsite, IsRememberedOnlyWhenOffered) {
    answer(std::string(R"({"type":"RequestSetDomain","_direction":1)") + GetParam().fields + "}");
    libraryAnswers(0);
    fake::ApprovalDialogs dialogs({fake::kYesAndRemember});
    Json::Value request(Json::objectValue);

    EXPECT_TRUE(PromptForUserApproval(request));

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].websiteText, GetParam().shown);
    EXPECT_EQ(dialogs.shown()[0].offeredDoNotAskAgain, GetParam().offered);
    bool saved = false;
    for (const fake::SentRecord& sent : fake::library().requests)
        saved |= sent.privateCode == TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN;
    EXPECT_EQ(saved, GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShownWebsite,
    ::testing::Values(ShownCase{"Named", R"(,"domain":"meet.example.org")", "meet.example.org", true},
                      ShownCase{"Absent", "", "Video Conferencing website", true},
                      ShownCase{"Empty", R"(,"domain":"")", "Video Conferencing website", false},
                      ShownCase{"OneByte", R"(,"domain":"a")", "Video Conferencing website", false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
