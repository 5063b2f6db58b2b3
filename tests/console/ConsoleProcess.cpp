#include "ConsoleProcess.h"

#include <cstdio>
#include <sstream>
#include <thread>

#include "Subprocess.h"

namespace {

// The tests' own time limit ends a program that never finishes.
constexpr std::chrono::hours kUnbounded(24);

}  // namespace

Finished runProgram(const std::vector<std::string>& argv, const std::string& input,
                    const std::vector<std::pair<std::string, std::string>>& environment, const std::string& folder) {
    Launch launch;
    launch.command = argv;
    for (const auto& [name, value] : environment) launch.environment[name] = value;
    launch.folder = folder;
    launch.captureErrors = true;
    Subprocess program(launch);
    // The input goes in beside the reading: written first, it could fill the
    // pipe and block while the program waits for its output to be read.
    std::thread writer([&] {
        program.write(input);
        program.closeInput();
    });
    Finished finished;
    try {
        while (program.receive(Subprocess::Clock::now() + kUnbounded, finished.output) != Subprocess::Received::Ended) {
        }
    } catch (...) {
        program.kill();
        writer.join();
        throw;
    }
    writer.join();
    finished.exitCode = program.waitExit(kUnbounded).value_or(-1);
    finished.errors = program.errors();
    return finished;
}

std::optional<SummaryLine> readSummary(const std::string& line) {
    const std::size_t colon = line.rfind(": ");
    if (colon == std::string::npos) return std::nullopt;
    SummaryLine summary;
    summary.verdict = line.substr(0, colon);
    char request[16], reply[16], event[16], error[16];
    double seconds = 0;
    int consumed = 0;
    const int read = std::sscanf(line.c_str() + colon + 2, "%d %15[a-z], %d %15[a-z], %d %15[a-z], %d %15s in %lf s%n",
                                 &summary.requests, request, &summary.replies, reply, &summary.events, event,
                                 &summary.errors, error, &seconds, &consumed);
    if (read != 9 || line.c_str()[colon + 2 + static_cast<std::size_t>(consumed)] != '\0') return std::nullopt;
    return summary;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}
