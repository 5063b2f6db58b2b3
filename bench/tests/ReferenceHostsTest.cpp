// The reference programs behave as the table assumes: the echo returns every
// frame unchanged, the script host answers like a host, the host on the no-op
// library answers every request without an event, and all end with their
// input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Measurements.h"
#include "TavmoFacts.h"
#include "support/ScratchFolder.h"

namespace bench {
namespace {

const Program kEcho{ProgramKind::Echo, {TAVMO_BENCH_ECHO}};
const Program kScript{ProgramKind::Script, {TAVMO_BENCH_PYTHON, TAVMO_BENCH_SCRIPT}};
const Program kNoOpHost{ProgramKind::NoOpHost, {TAVMO_BENCH_NOOP_HOST, TAVMO_EXTENSION_ORIGIN}};

Launch launchOf(const Program& program) {
    Launch launch;
    launch.command = program.command;
    // What the script host answers with (bench/script_host.py).
    if (program.kind == ProgramKind::Script) launch.environment["TAVMO_HOST_VERSION"] = TAVMO_HOST_VERSION;
    return launch;
}

TEST(EchoHost, ReturnsEveryFrameUnchangedAndEndsWithItsInput) {
    ChildProcess echo(launchOf(kEcho));
    const std::vector<std::string> bodies = {"{}", "", std::string(100000, 'z'), "{\"_id\":1}"};
    std::string all;
    for (const std::string& body : bodies) all += frame(body);
    echo.send(all);
    for (const std::string& body : bodies) EXPECT_EQ(echo.readFrame(), body);
    // A frame cut short is not echoed.
    echo.send(frame("{\"lost\":true}").substr(0, 7));
    echo.closeInput();
    EXPECT_THROW(echo.readFrame(), std::runtime_error);
    EXPECT_EQ(echo.wait(), 0);
}

TEST(ScriptHost, AnswersTheVersionAndRefusesWhatItCannotDo) {
    ChildProcess script(launchOf(kScript));
    struct Case {
        std::string request;
        std::string reply;
    };
    const Case cases[] = {
        {requestBody(Request::GetVersion, 12),
         R"({"type": "RequestGetVersion", "_direction": 2, "_id": 12, "version": ")" TAVMO_HOST_VERSION R"("})"},
        {requestBody(Request::GetCallState, 13),
         R"({"type": "RequestGetCallState", "_direction": 2, "_id": 13, "error": "Unknown request type"})"},
        {"[1,2]", R"({"error": "Not a valid JSON object", "_direction": 2})"},
        {"{\"type\":", R"({"error": "Not a valid JSON object", "_direction": 2})"},
    };
    for (const Case& c : cases) {
        script.send(frame(c.request));
        EXPECT_EQ(script.readFrame(), c.reply) << c.request;
    }
    script.closeInput();
    EXPECT_EQ(script.wait(), 0);
}

// The host's start and stop, its requests and an in-event all succeed on the
// no-op library, and each reply comes straight back: no event is waited for.
TEST(NoOpHost, AnswersStartStopRequestsAndInEventsWithoutEvents) {
    ScratchFolder folder;
    Launch launch = launchOf(kNoOpHost);
    launch.folder = folder.path();
    launch.environment = {{"LOCALAPPDATA", folder.path() + "/appdata"},
                          {"TMPDIR", folder.path()},
                          {"XDG_RUNTIME_DIR", folder.path()},
                          {"XDG_CONFIG_HOME", folder.path() + "/config"}};
    ChildProcess host(launch);
    struct Case {
        std::string type;
        std::string answer;
    };
    const Case cases[] = {
        {"InEventStart", R"("result":"TavmoClient started")"},
        {"InEventStart", R"("error":"TavmoClient already started")"},
        {"RequestGetCallState", R"("callState":"Idle")"},
        {"InEventLeave", R"("result":"ok")"},
        {"InEventStop", R"("result":"ok")"},
        {"InEventStop", R"("error":"TavmoClient not yet started")"},
        {"RequestGetVersion", R"("version":")" TAVMO_HOST_VERSION R"(")"},
    };
    long id = 1;
    for (const Case& c : cases) {
        host.send(frame(R"({"type":")" + c.type + R"(","_direction":1,"_id":)" + std::to_string(id) + "}"));
        std::string reply = host.readFrame();
        EXPECT_EQ(idOf(reply), id) << reply;
        EXPECT_NE(reply.find(c.answer), std::string::npos) << c.type << ": " << reply;
        ++id;
    }
    host.closeInput();
    EXPECT_EQ(host.wait(), 0);
}

// A spawned process shares the spawner's memory until it runs its program,
// and the system's peak figure at the exit may still count that.
TEST(ChildProcess, PeakMemoryIsTheProgramsOwnNotTheSpawners) {
    constexpr std::size_t kSpawnerBytes = 256u << 20;
    std::vector<char> ballast(kSpawnerBytes, 1);
    ChildProcess echo(launchOf(kEcho));
    echo.send(frame("{}"));
    ASSERT_EQ(echo.readFrame(), "{}");
    long peak = echo.peakResidentKiB();
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, static_cast<long>(kSpawnerBytes / 1024 / 4)) << "ballast " << ballast.size();
    echo.closeInput();
    EXPECT_EQ(echo.wait(), 0);
}

// The measurements themselves, on the two programs that need no library.
TEST(Measurements, RunOnTheReferenceHosts) {
    for (const Program& program : {kEcho, kScript}) {
        Throughput throughput = pipelined(program, Request::GetVersion, 300);
        EXPECT_GT(throughput.elapsed.count(), 0);
        EXPECT_GT(throughput.peakResidentKiB, 0);
        EXPECT_GT(throughput.cpuPerRequest.count(), 0);
        Latency latency = pingPong(program, 50);
        EXPECT_LE(latency.p50, latency.p99);
        EXPECT_GT(startUp(program).count(), 0);
        EXPECT_GT(shutdown(program, false).count(), 0);
    }
    EXPECT_THROW(shutdown(kEcho, true), std::invalid_argument);
    EXPECT_THROW(eventBurst(kEcho, 1, 10), std::invalid_argument);
}

TEST(Measurements, IdleCostIsMeasuredForEachProgram) {
    std::vector<IdleCost> costs = idleTogether({kEcho, kScript}, std::chrono::milliseconds(100));
    ASSERT_EQ(costs.size(), 2u);
    for (const IdleCost& cost : costs) {
        EXPECT_GE(cost.cpuShare, 0);
        EXPECT_GE(cost.wakeUpsPerSecond, 0);
    }
}

}  // namespace
}  // namespace bench
