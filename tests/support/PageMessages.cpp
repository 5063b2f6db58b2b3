#include "PageMessages.h"

#include <gtest/gtest.h>

#include <memory>

std::string request(const std::string& type, const std::string& members) {
    return R"({"type":")" + type + R"(","_direction":1)" + (members.empty() ? "" : "," + members) + "}";
}

std::string replyTo(const std::string& requestText, const std::string& added) {
    return replyTo(parsed(requestText), parsed(added));
}

std::string replyTo(Json::Value request, const Json::Value& added) {
    for (const std::string& key : added.getMemberNames()) request[key] = added[key];
    request["_direction"] = 2;
    // The host's writer (json::writeCompact), which the host's tests link
    // but the tests of the executable do not.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    return Json::FastWriter().write(request);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

Json::Value parsed(const std::string& text) {
    Json::Value value;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, nullptr)) << text;
    return value;
}
