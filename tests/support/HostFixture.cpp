#include "HostFixture.h"

#include <chrono>
#include <cstdint>
#include <thread>

#include "Frames.h"
#include "HostState.h"
#include "HostThreads.h"
#include "ProcessState.h"
#include "TavmoAgent.h"

void HostFixture::SetUp() {
    resetProcessState();
    output_ = std::tmpfile();
    ASSERT_NE(output_, nullptr);
    TavmoAgent::setOutputStream(output_);
}

void HostFixture::TearDown() {
    // No delayed writer may outlive the output it writes to, nor the state
    // point into the test's objects.
    resetHostState();
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
    std::vector<std::string> bodies;
    EXPECT_TRUE(splitFrames(writtenBytes(), bodies)) << "a frame cut short, or bytes after the last frame";
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

bool eventually(const std::function<bool()>& done) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
