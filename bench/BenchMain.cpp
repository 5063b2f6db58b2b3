// Runs every measurement on the host, the framed echo and the script host,
// and prints the table. Usage: see kUsage.
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Measurements.h"
#include "Report.h"
#include "Statistics.h"
#include "TavmoFacts.h"

namespace {

using namespace bench;

constexpr const char* kUsage =
    "usage: tavmo_bench [--requests N] [--pingpong N] [--events N] [--startups N] [--idle-seconds S]\n"
    "                   [--runs N] [--host PATH] [--noop-host PATH] [--echo PATH] [--python PATH]\n"
    "                   [--script PATH]\n";
constexpr const char* kExtensionOrigin = TAVMO_EXTENSION_ORIGIN;
constexpr int kBurstThreads = 4;

struct Settings {
    int requests = 200000;
    int pingPongs = 20000;
    int events = 200000;
    int startUps = 50;
    double idleSeconds = 10;
    int runs = 5;
    std::string host = TAVMO_BENCH_HOST;
    // A copy of the host beside the no-op library.
    std::string noOpHost = TAVMO_BENCH_NOOP_HOST;
    std::string echo = TAVMO_BENCH_ECHO;
    std::string python = TAVMO_BENCH_PYTHON;
    std::string script = TAVMO_BENCH_SCRIPT;
};

int positiveCount(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    long value = std::stol(text, &used);
    if (used != text.size() || value <= 0 || value > 100'000'000) throw std::invalid_argument(option + " " + text);
    return static_cast<int>(value);
}

Settings parseSettings(int argc, char** argv) {
    Settings settings;
    std::map<std::string, std::function<void(const std::string&)>> options = {
        {"--requests", [&](const std::string& v) { settings.requests = positiveCount("--requests", v); }},
        {"--pingpong", [&](const std::string& v) { settings.pingPongs = positiveCount("--pingpong", v); }},
        {"--events", [&](const std::string& v) { settings.events = positiveCount("--events", v); }},
        {"--startups", [&](const std::string& v) { settings.startUps = positiveCount("--startups", v); }},
        {"--idle-seconds", [&](const std::string& v) { settings.idleSeconds = std::stod(v); }},
        {"--runs", [&](const std::string& v) { settings.runs = positiveCount("--runs", v); }},
        {"--host", [&](const std::string& v) { settings.host = v; }},
        {"--noop-host", [&](const std::string& v) { settings.noOpHost = v; }},
        {"--echo", [&](const std::string& v) { settings.echo = v; }},
        {"--python", [&](const std::string& v) { settings.python = v; }},
        {"--script", [&](const std::string& v) { settings.script = v; }},
    };
    for (int i = 1; i < argc; i += 2) {
        auto option = options.find(argv[i]);
        if (option == options.end() || i + 1 >= argc) throw std::invalid_argument(argv[i]);
        option->second(argv[i + 1]);
    }
    if (settings.idleSeconds <= 0) throw std::invalid_argument("--idle-seconds");
    // Events are shared out over the burst threads.
    settings.events -= settings.events % kBurstThreads;
    if (settings.events == 0) throw std::invalid_argument("--events below " + std::to_string(kBurstThreads));
    return settings;
}

std::string machineName() {
    utsname names{};
    ::uname(&names);
    std::string model = "unknown processor";
    std::ifstream cpuInfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuInfo, line);) {
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    return std::string(names.nodename) + ", " + model + ", " + std::to_string(::sysconf(_SC_NPROCESSORS_ONLN)) +
           " cores, " + names.sysname + " " + names.release;
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string oneMinute, fiveMinutes;
    file >> oneMinute >> fiveMinutes;
    return oneMinute + " (1 min), " + fiveMinutes + " (5 min)";
}

std::string utcNow() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return text;
}

void progress(const std::string& text) { std::cerr << "tavmo_bench: " << text << std::endl; }

// Figures of the four programs for one row, each the median of its samples.
struct Samples {
    std::vector<double> host, noOpHost, echo, script;

    std::vector<double>& of(ProgramKind kind) {
        switch (kind) {
            case ProgramKind::Host: return host;
            case ProgramKind::NoOpHost: return noOpHost;
            case ProgramKind::Echo: return echo;
            case ProgramKind::Script: break;
        }
        return script;
    }
};

std::optional<double> medianOf(const std::vector<double>& values) {
    if (values.empty()) return std::nullopt;
    return median(values);
}

Row row(std::string measure, std::string unit, int decimals, const Samples& samples, Target target = {}) {
    Row result;
    result.measure = std::move(measure);
    result.unit = std::move(unit);
    result.decimals = decimals;
    result.host = medianOf(samples.host);
    result.noOpHost = medianOf(samples.noOpHost);
    result.echo = medianOf(samples.echo);
    result.script = medianOf(samples.script);
    result.target = target;
    return result;
}

std::vector<Row> measureAll(const Settings& settings) {
    const Program host{ProgramKind::Host, {settings.host, kExtensionOrigin}};
    const Program noOpHost{ProgramKind::NoOpHost, {settings.noOpHost, kExtensionOrigin}};
    const Program echo{ProgramKind::Echo, {settings.echo, kExtensionOrigin}};
    const Program script{ProgramKind::Script, {settings.python, settings.script, kExtensionOrigin}};
    const std::vector<Program> all = {host, noOpHost, echo, script};

    Samples versionRate, callStateRate, versionCpu, p50, p99, events1, events4, startUpMs, idleCpu, idleWakeUps,
        shutdownMs, conferenceShutdownMs;
    std::map<ProgramKind, double> peakMiB;
    auto throughput = [&](const Program& program, Request request, Samples& rates, Samples* cpu = nullptr) {
        Throughput result = pipelined(program, request, settings.requests);
        rates.of(program.kind).push_back(settings.requests / result.elapsed.count() / 1000);
        if (cpu) cpu->of(program.kind).push_back(result.cpuPerRequest.count());
        peakMiB[program.kind] = std::max(peakMiB[program.kind], result.peakResidentKiB / 1024.0);
    };
    auto eventRate = [&](int threads) {
        return settings.events / eventBurst(host, threads, settings.events).count() / 1000;
    };

    for (int run = 1; run <= settings.runs; ++run) {
        progress("run " + std::to_string(run) + " of " + std::to_string(settings.runs) + ": pipelined requests");
        for (const Program& program : all) throughput(program, Request::GetVersion, versionRate, &versionCpu);
        throughput(host, Request::GetCallState, callStateRate);
        throughput(noOpHost, Request::GetCallState, callStateRate);
        throughput(echo, Request::GetCallState, callStateRate);
        progress("run " + std::to_string(run) + ": ping-pong");
        for (const Program& program : all) {
            Latency latency = pingPong(program, settings.pingPongs);
            p50.of(program.kind).push_back(latency.p50.count());
            p99.of(program.kind).push_back(latency.p99.count());
        }
        progress("run " + std::to_string(run) + ": events");
        events1.host.push_back(eventRate(1));
        events4.host.push_back(eventRate(kBurstThreads));
        progress("run " + std::to_string(run) + ": shutdown");
        for (const Program& program : all)
            shutdownMs.of(program.kind).push_back(shutdown(program, false).count() * 1000);
        conferenceShutdownMs.host.push_back(shutdown(host, true).count() * 1000);
    }
    progress(std::to_string(settings.startUps) + " start-ups of each program");
    for (int i = 0; i < settings.startUps; ++i)
        for (const Program& program : all) startUpMs.of(program.kind).push_back(startUp(program).count() * 1000);

    std::vector<Program> idlers;
    for (int run = 0; run < settings.runs; ++run) idlers.insert(idlers.end(), all.begin(), all.end());
    auto window = std::chrono::milliseconds(static_cast<long>(settings.idleSeconds * 1000));
    progress("idle for " + std::to_string(window.count()) + " ms");
    std::vector<IdleCost> costs = idleTogether(idlers, window);
    for (std::size_t i = 0; i < idlers.size(); ++i) {
        idleCpu.of(idlers[i].kind).push_back(costs[i].cpuShare * 100);
        idleWakeUps.of(idlers[i].kind).push_back(costs[i].wakeUpsPerSecond);
    }

    // The event rows compare with the rate at which the echo passes messages.
    events1.echo = events4.echo = versionRate.echo;
    Samples peak;
    for (const Program& program : all) peak.of(program.kind).push_back(peakMiB[program.kind]);

    using Kind = Target::Kind;
    std::string idleLabel = "Idle CPU over " + std::to_string(window.count()) + " ms";
    return {
        row("Pipelined requests, RequestGetVersion", "k/s", 1, versionRate, {Kind::EchoRatioAtLeast, 0.6}),
        row("Pipelined requests, RequestGetCallState", "k/s", 1, callStateRate, {Kind::EchoRatioAtLeast, 0.6}),
        row("CPU per pipelined RequestGetVersion (user + system)", "us", 2, versionCpu),
        row("Ping-pong latency p50", "us", 1, p50, {Kind::EchoRatioAtMost, 2}),
        row("Ping-pong latency p99", "us", 1, p99),
        row("Events from 1 library thread (echo: its message rate)", "k/s", 1, events1, {Kind::EchoRatioAtLeast, 0.5}),
        row("Events from 4 library threads (echo: its message rate)", "k/s", 1, events4, {Kind::EchoRatioAtLeast, 0.5}),
        row("Start-up to the first reply", "ms", 2, startUpMs, {Kind::EchoRatioAtMost, 2}),
        row(idleLabel, "% of a core", 3, idleCpu, {Kind::AtMost, 0.1}),
        row("Idle wake-ups", "/s", 1, idleWakeUps),
        row("Shutdown after the input closed", "ms", 1, shutdownMs, {Kind::AtMost, 300}),
        row("Shutdown during a conference", "ms", 1, conferenceShutdownMs, {Kind::AtMost, 1000}),
        row("Peak resident memory, throughput runs", "MiB", 1, peak),
    };
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    try {
        settings = parseSettings(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "tavmo_bench: bad option " << error.what() << "\n" << kUsage;
        return 2;
    }
    std::string loadBefore = loadAverage();
    std::vector<Row> rows;
    try {
        rows = measureAll(settings);
    } catch (const std::exception& error) {
        std::cerr << "tavmo_bench: failed: " << error.what() << "\n";
        return 1;
    }
    std::cout << "Machine: " << machineName() << "\n"
              << "Date: " << utcNow() << "\n"
              << "Load average before: " << loadBefore << "; after: " << loadAverage() << "\n"
              << "Programs: host " << settings.host
              << " (with the stand-in library beside it), the same host copied beside "
              << "the no-op library " << settings.noOpHost << ", echo " << settings.echo << ", script host "
              << settings.python << " " << settings.script << "\n"
              << "Sizes: " << settings.requests << " pipelined requests, " << settings.pingPongs << " ping-pongs, "
              << settings.events << " events, " << settings.startUps << " start-ups; each figure the median of "
              << settings.runs << " runs\n\n"
              << renderTable(rows);
    return 0;
}
