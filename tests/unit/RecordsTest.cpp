#include <gtest/gtest.h>

#include <string>

#include "Records.h"

namespace {

TEST(CopyText, ShortTextIsNulPadded) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    copyText(field, "abc");
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0\0\0\0\0", 8));
}

TEST(CopyText, TextThatWouldFillTheFieldIsCutToKeepTheTerminator) {
    char field[4];
    copyText(field, "abcd");
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0", 4));
    copyText(field, "abcdefgh");
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0", 4));
}

TEST(CopyText, EmbeddedNulEndsTheTextForTheLibrary) {
    char field[6];
    copyText(field, std::string("a\0b", 3));
    EXPECT_EQ(readText(field), "a");
}

TEST(ReadText, StopsAtTheFieldEndWithoutTerminator) {
    const char field[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(readText(field), "wxyz");
    EXPECT_EQ(readText(field, 2), "wx");
}

}  // namespace
