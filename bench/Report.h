// The table the benchmark prints: one row per figure, the host (with the
// stand-in library and with the no-op library) beside the framed echo and the
// script host, with the ratios and the host's target.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct Target {
    enum class Kind { None, EchoRatioAtLeast, EchoRatioAtMost, AtMost };
    Kind kind = Kind::None;
    double bound = 0;
};

struct Row {
    std::string measure;
    std::string unit;
    int decimals = 1;
    std::optional<double> host;
    std::optional<double> noOpHost;
    std::optional<double> echo;
    std::optional<double> script;
    Target target;
};

std::string describeTarget(const Row& row);

// Nothing when the row has no target or lacks a figure the target needs.
std::optional<bool> targetMet(const Row& row);

// A Markdown table.
std::string renderTable(const std::vector<Row>& rows);

}  // namespace bench
