// Runs a program to its end, as a shell would, and keeps what it printed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Finished {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

// `input` is the program's whole standard input. `environment` is set on
// top of this process's own; `folder` is its working folder.
Finished runProgram(const std::vector<std::string>& argv, const std::string& input,
                    const std::vector<std::pair<std::string, std::string>>& environment, const std::string& folder);

// A script's summary line, taken apart.
struct SummaryLine {
    std::string verdict;
    int requests = -1;
    int replies = -1;
    int events = -1;
    int errors = -1;
};

// Nothing when `line` is not "<verdict>: N requests, N replies, N events,
// N errors in S s".
std::optional<SummaryLine> readSummary(const std::string& line);

// The lines of `text`, without their line ends.
std::vector<std::string> linesOf(const std::string& text);
