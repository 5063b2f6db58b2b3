#include "ParsedJson.h"

#include <gtest/gtest.h>

#include <memory>

namespace console {

Json::Value parsedJson(const std::string& text) {
    Json::Value value;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, nullptr)) << text;
    return value;
}

}  // namespace console
