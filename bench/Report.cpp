#include "Report.h"

#include <cstdio>

namespace bench {
namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string figure(const std::optional<double>& value, const Row& row) {
    return value ? fixed(*value, row.decimals) + " " + row.unit : "n/a";
}

std::optional<double> ratio(const std::optional<double>& value, const std::optional<double>& reference) {
    if (!value || !reference || *reference == 0) return std::nullopt;
    return *value / *reference;
}

std::string ratioText(const std::optional<double>& value) { return value ? fixed(*value, 2) + "x" : "n/a"; }

}  // namespace

std::string describeTarget(const Row& row) {
    switch (row.target.kind) {
        case Target::Kind::None: return "";
        case Target::Kind::EchoRatioAtLeast: return ">= " + fixed(row.target.bound, 2) + "x echo";
        case Target::Kind::EchoRatioAtMost: return "<= " + fixed(row.target.bound, 2) + "x echo";
        case Target::Kind::AtMost: return "<= " + fixed(row.target.bound, row.decimals) + " " + row.unit;
    }
    return "";
}

std::optional<bool> targetMet(const Row& row) {
    switch (row.target.kind) {
        case Target::Kind::None: return std::nullopt;
        case Target::Kind::EchoRatioAtLeast: {
            auto toEcho = ratio(row.host, row.echo);
            if (!toEcho) return std::nullopt;
            return *toEcho >= row.target.bound;
        }
        case Target::Kind::EchoRatioAtMost: {
            auto toEcho = ratio(row.host, row.echo);
            if (!toEcho) return std::nullopt;
            return *toEcho <= row.target.bound;
        }
        case Target::Kind::AtMost:
            if (!row.host) return std::nullopt;
            return *row.host <= row.target.bound;
    }
    return std::nullopt;
}

std::string renderTable(const std::vector<Row>& rows) {
    std::string table =
        "| Measure | Host + stand-in | Host + no-op library | Echo (C) | Script host (Python) | Host / echo | "
        "No-op / echo | Host / script | Target | Met |\n"
        "|---|---:|---:|---:|---:|---:|---:|---:|---|---|\n";
    for (const Row& row : rows) {
        std::optional<bool> met = targetMet(row);
        table += "| " + row.measure + " | " + figure(row.host, row) + " | " + figure(row.noOpHost, row) + " | " +
                 figure(row.echo, row) + " | " + figure(row.script, row) + " | " +
                 ratioText(ratio(row.host, row.echo)) + " | " + ratioText(ratio(row.noOpHost, row.echo)) + " | " +
                 ratioText(ratio(row.host, row.script)) + " | " + describeTarget(row) + " | " +
                 (met ? (*met ? "yes" : "no") : "") + " |\n";
    }
    return table;
}

}  // namespace bench
