// Logs lines through the library from two threads and then ends the way its
// arguments say, without TavmoClientUninitialize, so that a test can read
// what reached the log file:
//   standin_log_then_exit <log directory> <file name prefix> exit-0|exit-3|return|terminate
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "TavmoClient.h"

namespace {

// As the test that starts this program expects.
constexpr int kLinesPerThread = 200;

void TAVMO_CLIENT_CALL ignoreEvent(int32_t, const void*, uint32_t, uint32_t) {}

void logLines(const char* thread) {
    for (int i = 0; i < kLinesPerThread; ++i)
        TavmoClientLogFormatted(TAVMO_CLIENT_LOG_INFO, "child.cpp", 1, "", "%s line %d", thread, i);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 100;
    TavmoClientLogConfig config{};
    config.levelsAndCategories = "INFO";
    config.logDirectory = argv[1];
    config.fileNamePrefix = argv[2];
    if (!TavmoClientInitialize(&ignoreEvent, 0, &config)) return 101;

    std::thread other(logLines, "other");
    logLines("main");
    other.join();

    const std::string how = argv[3];
    if (how == "exit-0") std::exit(0);
    if (how == "exit-3") std::exit(3);
    if (how == "return") return 0;
    if (how == "terminate") std::terminate();
    return 102;
}
