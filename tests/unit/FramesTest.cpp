// Splitting the writer's output into messages, which every test that reads
// the output relies on: a cut or a stray byte must not pass unnoticed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Frames.h"
#include "HostFixture.h"

namespace {

using Bodies = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string bytes;
    bool whole;
    Bodies bodies;  // those before any cut
};

TEST(Frames, FramedBodiesAreSplitAndCutsAreReported) {
    const std::string zeroLength("\0\0\0\0", 4);
    const SplitCase cases[] = {
        {"nothing", "", true, {}},
        {"one frame", frame("{}\n"), true, {"{}\n"}},
        {"two frames", frame("{}\n") + frame("[1]\n"), true, {"{}\n", "[1]\n"}},
        {"an empty body", zeroLength + frame("x"), true, {"", "x"}},
        {"a length of more than one byte", frame(std::string(300, 'a')), true, {std::string(300, 'a')}},
        {"a body cut short", frame("{}\n") + frame("abcdef").substr(0, 7), false, {"{}\n"}},
        {"a length cut short", frame("{}\n") + std::string("\x05\0", 2), false, {"{}\n"}},
        {"a stray byte", std::string("x"), false, {}},
    };
    for (const SplitCase& c : cases) {
        Bodies bodies;
        EXPECT_EQ(splitFrames(c.bytes, bodies), c.whole) << c.name;
        EXPECT_EQ(bodies, c.bodies) << c.name;
    }
}

TEST(Frames, DebugLinesKeepTheirNewlineAndAnUnendedLineIsReported) {
    const SplitCase cases[] = {
        {"nothing", "", true, {}},
        {"two lines", "{}\n{\"a\":1}\n", true, {"{}\n", "{\"a\":1}\n"}},
        {"an empty line", "\n", true, {"\n"}},
        {"a line without end", "{}\n{", false, {"{}\n"}},
    };
    for (const SplitCase& c : cases) {
        Bodies bodies;
        EXPECT_EQ(splitLines(c.bytes, bodies), c.whole) << c.name;
        EXPECT_EQ(bodies, c.bodies) << c.name;
    }
}

}  // namespace
