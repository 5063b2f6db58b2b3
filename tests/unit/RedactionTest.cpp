#include <gtest/gtest.h>

#include "Redaction.h"

namespace {

struct RedactionCase {
    const char* text;
    const char* expected;
};

class RedactSecrets : public ::testing::TestWithParam<RedactionCase> {};

TEST_P(RedactSecrets, HidesSecretValuesAndKeepsEverythingElse) {
    EXPECT_EQ(redactSecrets(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RedactSecrets,
    ::testing::Values(RedactionCase{R"({"password":"hunter2","user":"bob"})", R"({"password":"***","user":"bob"})"},
                      RedactionCase{R"({"PassWord" : "a\"b","x":1})", R"({"PassWord" : "***","x":1})"},
                      RedactionCase{R"({"webProxyPassword":"s","proxyPassword":"t"})",
                                    R"({"webProxyPassword":"***","proxyPassword":"***"})"},
                      RedactionCase{R"({"userPass":"a","portalAccessKey":"b","pak":"c","bak":"d"})",
                                    R"({"userPass":"***","portalAccessKey":"***","pak":"***","bak":"***"})"},
                      RedactionCase{R"({"authToken":"a","PIN":1234,"roomPIN":"9","moderatorPin":null})",
                                    R"({"authToken":"***","PIN":"***","roomPIN":"***","moderatorPin":"***"})"},
                      RedactionCase{R"({"a":{"b":[{"password":["x",{"y":"z"}]}]}})",
                                    R"({"a":{"b":[{"password":"***"}]}})"},
                      RedactionCase{R"({"pinned":"x","spin":"y","note":"password"})",
                                    R"({"pinned":"x","spin":"y","note":"password"})"},
                      RedactionCase{R"(["password","x"])", R"(["password","x"])"},
                      RedactionCase{R"({"password":"cut sho)", R"({"password":"***")"},
                      RedactionCase{R"({"pin":)", R"({"pin":"***")"},
                      RedactionCase{"not json at all", "not json at all"}, RedactionCase{"", ""}));

}  // namespace
