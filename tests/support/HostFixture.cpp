#include "HostFixture.h"

#include <cstdint>

#include "HostState.h"
#include "HostThreads.h"
#include "RequestHandler/DesktopTable.h"
#include "TavmoAgent.h"

void HostFixture::SetUp() {
    fake::reset();
    hostState = HostRunning;
    inConference = 0;
    iCamera = 0;
    bChromex64 = 0;
    clearDesktopTable();
    requestQueue.reset();
    eventQueue.reset();
    output_ = std::tmpfile();
    ASSERT_NE(output_, nullptr);
    TavmoAgent::setOutputStream(output_);
}

void HostFixture::TearDown() {
    TavmoAgent::setOutputStream(nullptr);
    if (output_) std::fclose(output_);
}

std::string HostFixture::writtenBytes() {
    std::fflush(output_);
    long end = std::ftell(output_);
    std::string bytes(static_cast<std::size_t>(end), '\0');
    std::rewind(output_);
    std::size_t got = std::fread(&bytes[0], 1, bytes.size(), output_);
    bytes.resize(got);
    std::fseek(output_, 0, SEEK_END);
    return bytes;
}

std::vector<std::string> HostFixture::writtenBodies() {
    std::string bytes = writtenBytes();
    std::vector<std::string> bodies;
    std::size_t at = 0;
    while (at + 4 <= bytes.size()) {
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        EXPECT_LE(at + 4 + length, bytes.size()) << "a frame is cut short";
        bodies.push_back(bytes.substr(at + 4, length));
        at += 4 + length;
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after the last frame";
    return bodies;
}

std::string HostFixture::answer(const std::string& text) {
    std::size_t before = writtenBodies().size();
    handleRequestText(text, clientStarted);
    std::vector<std::string> bodies = writtenBodies();
    EXPECT_EQ(bodies.size(), before + 1) << "one reply per request";
    return bodies.empty() ? std::string() : bodies.back();
}

std::string HostFixture::answer(const Json::Value& request) { return answer(json::writeCompact(request)); }

std::string frame(const std::string& body) {
    auto length = static_cast<uint32_t>(body.size());
    std::string framed;
    for (int i = 0; i < 4; ++i) framed.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    return framed + body;
}
