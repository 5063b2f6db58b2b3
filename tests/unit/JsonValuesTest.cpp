#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Json.h"
#include "JsonValues.h"

namespace {

// Parsed as the host parses a request, whose readers these are.
Json::Value parsedByTheHost(const std::string& text) {
    Json::Value value;
    EXPECT_TRUE(json::parse(text, value)) << text;
    return value;
}

struct LenientCase {
    const char* json;
    int32_t expected;
};

class ReadLenientInt : public ::testing::TestWithParam<LenientCase> {};

TEST_P(ReadLenientInt, ReadsTheValueAsTheHostReadsNumbers) {
    Json::Value holder = parsedByTheHost(std::string("[") + GetParam().json + "]");
    EXPECT_EQ(readLenientInt(holder[0]), GetParam().expected) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadLenientInt,
    ::testing::Values(LenientCase{"7", 7}, LenientCase{"-7", -7}, LenientCase{"\"12ab\"", 12},
                      LenientCase{"\" -3\"", -3}, LenientCase{"\"+5\"", 5}, LenientCase{"\"x\"", 0},
                      LenientCase{"\"\"", 0}, LenientCase{"\"99999999999\"", INT32_MAX},
                      LenientCase{"\"-99999999999\"", INT32_MIN}, LenientCase{"2.5", 3}, LenientCase{"-2.5", -2},
                      LenientCase{"1.2", 1}, LenientCase{"3.0", 3}, LenientCase{"3000000000", kInvalidInt},
                      LenientCase{"2147483647", INT32_MAX}, LenientCase{"-2147483648", INT32_MIN},
                      LenientCase{"2147483646.7", INT32_MAX}, LenientCase{"-2147483648.9", -2147483648},
                      LenientCase{"true", kInvalidInt}, LenientCase{"false", kInvalidInt},
                      LenientCase{"null", kInvalidInt}, LenientCase{"[]", kInvalidInt}, LenientCase{"{}", kInvalidInt},
                      LenientCase{"1e300", kInvalidInt}));

TEST(ReadMembers, AbsentMembersGiveTheDefault) {
    Json::Value request = parsedByTheHost(R"({"a":"5","t":true,"n":null,"r":2.5})");
    EXPECT_EQ(readIntMember(request, "a", 9), 5);
    EXPECT_EQ(readIntMember(request, "missing", 9), 9);
    EXPECT_EQ(readTextMember(request, "missing", "x86"), "x86");
    EXPECT_EQ(readTextMember(request, "t"), "true");
    EXPECT_EQ(readTextMember(request, "n"), "");
    EXPECT_EQ(readTextMember(request, "r"), "2.5");
}

TEST(ReadMembers, ArraysAndObjectsAreNotTexts) {
    Json::Value request = parsedByTheHost(R"({"a":[1],"o":{}})");
    EXPECT_THROW(readTextMember(request, "a"), Json::Exception);
    EXPECT_THROW(readTextMember(request, "o"), Json::Exception);
}

TEST(ReadMembers, StringMembersMustBeStrings) {
    Json::Value request = parsedByTheHost(R"({"s":"abc","nul":"ab\u0000cd","n":null,"i":5,"b":true,"a":[],"o":{}})");
    EXPECT_EQ(readStringMember(request, "s"), "abc");
    EXPECT_EQ(readStringMember(request, "nul"), "ab");
    EXPECT_EQ(readStringMember(request, "missing", "dflt"), "dflt");
    for (const char* key : {"n", "i", "b", "a", "o"})
        EXPECT_THROW(readStringMember(request, key), Json::Exception) << key;
}

struct FlagCase {
    const char* json;
    bool expected;
};

class ReadFlagMember : public ::testing::TestWithParam<FlagCase> {};

TEST_P(ReadFlagMember, ConvertsAsTheJsonLibraryDoes) {
    Json::Value request = parsedByTheHost(std::string(R"({"flag":)") + GetParam().json + "}");
    EXPECT_EQ(readFlagMember(request, "flag"), GetParam().expected) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(Values, ReadFlagMember,
                         ::testing::Values(FlagCase{"true", true}, FlagCase{"false", false}, FlagCase{"null", false},
                                           FlagCase{"0", false}, FlagCase{"2", true}, FlagCase{"-1", true},
                                           FlagCase{"0.0", false}, FlagCase{"0.5", true}));

TEST(ReadMembers, FlagsThatAreAbsentOrNoFlagRaise) {
    Json::Value request = parsedByTheHost(R"({"s":"true","a":[true],"o":{}})");
    for (const char* key : {"missing", "s", "a", "o"})
        EXPECT_THROW(readFlagMember(request, key), Json::Exception) << key;
}

// One parser reads text after text as a fresh one would: nothing of a text,
// nor of a failure, is left for the next.
TEST(JsonParser, ReusedGivesWhatAFreshParserGives) {
    const std::vector<std::string> texts = {
        R"({"type":"RequestGetVersion","_direction":1,"_id":1})",
        "{nope",
        R"({"a":[1,2,{"b":"c"}]})",
        std::string(10000, '[') + "1",
        "[1]",
        "",
        R"({"type":"RequestGetCallState","_direction":1,"_id":2})",
        R"({"x":1} trailing)",
    };
    // What parsing gave: its result and the value, or that it threw (as
    // the reader does on too deep a nesting).
    auto outcome = [](auto parse, const std::string& text) -> std::string {
        Json::Value value;
        try {
            bool parsed = parse(text, value);
            return (parsed ? "parsed " : "failed ") + json::writeCompact(value);
        } catch (const std::exception&) {
            return "threw";
        }
    };
    json::Parser parser;
    for (const std::string& text : texts)
        EXPECT_EQ(outcome([&](const std::string& t, Json::Value& v) { return parser.parse(t, v); }, text),
                  outcome(json::parse, text))
            << text.substr(0, 40);
}

}  // namespace
