// Soak and load: the real host with the stand-in library, under a long stream
// of pipelined requests while four library threads raise events at once.
//
//   soak_tool [--requests N] [--events N] [--window N] [--max-growth-mib N]
//
// It fails at the first frame that is not whole and of a known shape, at a
// reply out of order, missing or of the wrong kind, and at a burst event out
// of its thread's order or delivered twice (SoakCheck.h). It also fails when
// the host's resident memory at the end of the run exceeds what it was at
// 10 % of the run by more than --max-growth-mib (0: not checked, as under
// sanitizers, whose allocators hold freed memory back on purpose). Memory is
// sampled at every whole percent of the messages received, so the samples
// do not depend on the machine's speed.
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "HostProcess.h"
#include "SoakCheck.h"

namespace {

// A liveness bound, not a speed requirement: a host that says nothing for
// this long has lost something.
constexpr std::chrono::minutes kSilenceLimit{5};

struct Options {
    soak::RunSize size{1'000'000, 1'000'000};
    uint64_t window = 1000;
    uint64_t maxGrowthMiB = 64;
};

[[noreturn]] void usage(const std::string& problem) {
    throw std::invalid_argument(problem +
                                "\nusage: soak_tool [--requests N] [--events N] [--window N] "
                                "[--max-growth-mib N]");
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        std::string name = argv[i];
        if (i + 1 >= argc) usage("no value after " + name);
        char* end = nullptr;
        uint64_t value = std::strtoull(argv[i + 1], &end, 10);
        if (*end || end == argv[i + 1]) usage(std::string("not a number: ") + argv[i + 1]);
        if (name == "--requests")
            options.size.requests = value;
        else if (name == "--events")
            options.size.events = value;
        else if (name == "--window")
            options.window = value;
        else if (name == "--max-growth-mib")
            options.maxGrowthMiB = value;
        else
            usage("unknown option " + name);
    }
    if (options.size.requests == 0 || options.window == 0) usage("--requests and --window must be at least 1");
    if (options.size.events % soak::kBurstThreads != 0) usage("--events must be a multiple of 4");
    return options;
}

// Keeps at most `window` requests unanswered: the writer waits here.
class Pacer {
public:
    explicit Pacer(uint64_t window) : window_(window) {}

    // False once the run has stopped.
    bool awaitRoom(uint64_t sent) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return sent - answered_ < window_ || stopped_; });
        return !stopped_;
    }
    void answered(uint64_t count) {
        std::lock_guard<std::mutex> lock(mutex_);
        answered_ = count;
        changed_.notify_all();
    }
    void stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

private:
    const uint64_t window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t answered_ = 0;
    bool stopped_ = false;
};

uint64_t residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtoull(line.c_str() + 6, nullptr, 10);
    throw soak::Breach("the host has no VmRSS");
}

struct Memory {
    uint64_t atTenPercentKiB = 0;
    uint64_t atEndKiB = 0;
    uint64_t peakKiB = 0;
};

// Reads and checks frames until the run is complete, sampling the host's
// memory at each whole percent of it.
Memory follow(HostProcess& host, soak::Tally& tally, Pacer& pacer, const soak::RunSize& size) {
    const uint64_t expected = size.requests + size.events;
    Memory memory;
    uint64_t nextPercent = 0;
    while (!tally.complete()) {
        std::optional<std::string> body = host.readFrame(kSilenceLimit);
        if (!body) throw soak::Breach("the host fell silent");
        uint64_t repliesBefore = tally.replies();
        tally.take(*body);
        if (tally.replies() != repliesBefore) pacer.answered(tally.replies());
        uint64_t received = tally.replies() + tally.burstEvents();
        if (received * 100 < nextPercent * expected && !tally.complete()) continue;
        uint64_t resident = residentKiB(host.pid());
        memory.peakKiB = std::max(memory.peakKiB, resident);
        if (nextPercent == 10) memory.atTenPercentKiB = resident;
        memory.atEndKiB = resident;
        ++nextPercent;
    }
    return memory;
}

int run(const Options& options) {
    ScratchFolder folder;
    HostOptions hostOptions;
    if (options.size.events > 0) hostOptions.scenario = {soak::burstScenario(options.size)};
    HostProcess host(folder, hostOptions);
    soak::Tally tally(options.size);
    Pacer pacer(options.window);

    std::thread writer([&] {
        for (uint64_t id = 0; id < options.size.requests && pacer.awaitRoom(id); ++id)
            host.sendFrame(soak::requestText(id));
    });
    Memory memory;
    std::string failure;
    try {
        memory = follow(host, tally, pacer, options.size);
    } catch (const soak::Breach& breach) {
        failure = breach.what();
    }
    pacer.stop();
    writer.join();
    host.closeInput();
    // After a failure the host may still be writing; it cannot end while its
    // output is full.
    host.readRest(kSilenceLimit);
    std::optional<int> exitCode = host.waitExit(kSilenceLimit);

    auto count = [](uint64_t value) { return static_cast<unsigned long long>(value); };
    long long growthKiB = static_cast<long long>(memory.atEndKiB) - static_cast<long long>(memory.atTenPercentKiB);
    std::printf("requests answered:    %llu of %llu\n", count(tally.replies()), count(options.size.requests));
    std::printf("burst events:         %llu of %llu (other events: %llu)\n", count(tally.burstEvents()),
                count(options.size.events), count(tally.otherEvents()));
    std::printf("host memory (VmRSS):  %llu KiB at 10 %%, %llu KiB at the end, %llu KiB at most\n",
                count(memory.atTenPercentKiB), count(memory.atEndKiB), count(memory.peakKiB));
    std::printf("growth 10 %% to 100 %%: %lld KiB\n", growthKiB);

    if (failure.empty() && exitCode != 0)
        failure = "the host ended with " + (exitCode ? std::to_string(*exitCode) : std::string("no exit"));
    if (failure.empty() && options.maxGrowthMiB > 0 && growthKiB > static_cast<long long>(options.maxGrowthMiB) * 1024)
        failure = "the host's memory grew by more than " + std::to_string(options.maxGrowthMiB) + " MiB";
    if (!failure.empty()) {
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
        return 1;
    }
    std::printf("passed\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soak_tool: %s\n", error.what());
        return 2;
    }
}
