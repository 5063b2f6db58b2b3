// Puts the host's process-wide state back to start-up before and after each
// unit test and captures what the message writer writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FakeTavmoClient.h"
#include "Json.h"
#include "PageMessages.h"

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The framed messages written so far, as raw bodies.
    std::vector<std::string> writtenBodies();
    // Everything the writer wrote, byte for byte.
    std::string writtenBytes();

    // Runs one request text through parsing, dispatch and the writer, and
    // returns the reply's body.
    std::string answer(const std::string& text);
    std::string answer(const Json::Value& request);

    int clientStarted = 0;

private:
    FILE* output_ = nullptr;
};

// Waits for something another thread does; a fault that never does it fails
// the test once the generous limit has passed, which no healthy run reaches.
bool eventually(const std::function<bool()>& done);
