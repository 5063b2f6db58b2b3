#include "Measurements.h"

#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>

#include "ChildProcess.h"
#include "Statistics.h"
#include "TavmoFacts.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCallStateEvent = 2500;
const std::string kIdleCallStateEvent = "{\"_direction\":2,\"code\":2500,\"params\":{\"callState\":\"Idle\"}}\n";
const std::string kClientStartedEvent = "{\"_direction\":2,\"code\":200,\"params\":null}\n";
const std::string kInConferenceEvent = "{\"_direction\":2,\"code\":2500,\"params\":{\"callState\":\"InConference\"}}\n";
constexpr const char* kApprovedDomain = "meet.example.org";

// A running program with a folder of its own for its logs, data, temporary
// files and single-instance lock, so that several can run side by side.
class Running {
public:
    explicit Running(const Program& program, const std::vector<std::string>& scenario = {})
        : process_(launch(program, scenario)) {}

    ChildProcess& process() { return *process_; }

    // Closes the input and expects an orderly exit.
    void finish() {
        process_->closeInput();
        int code = process_->wait();
        if (code != 0) throw std::runtime_error("exit code " + std::to_string(code));
    }

private:
    std::unique_ptr<ChildProcess> launch(const Program& program, const std::vector<std::string>& scenario) {
        Launch launch;
        launch.command = program.command;
        launch.folder = folder_.path();
        launch.environment = {{"LOCALAPPDATA", folder_.path() + "/appdata"},
                              {"TMPDIR", folder_.path()},
                              {"XDG_RUNTIME_DIR", folder_.path()},
                              {"XDG_CONFIG_HOME", folder_.path() + "/config"}};
        if (!scenario.empty()) {
            std::string path = folder_.path() + "/scenario.txt";
            std::ofstream file(path);
            for (const std::string& line : scenario) file << line << '\n';
            launch.environment["TAVMO_STANDIN_SCENARIO"] = path;
        }
        // What the script host answers with (bench/script_host.py).
        if (program.kind == ProgramKind::Script) launch.environment["TAVMO_HOST_VERSION"] = TAVMO_HOST_VERSION;
        return std::make_unique<ChildProcess>(launch);
    }

    ScratchFolder folder_;
    std::unique_ptr<ChildProcess> process_;
};

void expectHost(const Program& program) {
    if (program.kind != ProgramKind::Host) throw std::invalid_argument("a measurement of the host only");
}

void askAndCheck(Running& running, ProgramKind kind, long id) {
    running.process().send(frame(requestBody(Request::GetVersion, id)));
    checkReply(kind, Request::GetVersion, id, running.process().readFrame());
}

// Starts the client and reads the start's reply, the library's start event
// and `events` raised events, which may come in any order.
void startClient(Running& host, const std::string& raisedEvent = "", int events = 0) {
    host.process().send(frame(R"({"type":"InEventStart","_direction":1,"_id":1})"));
    bool replied = false;
    bool started = false;
    while (!replied || !started || events > 0) {
        std::string body = host.process().readFrame();
        if (body == raisedEvent && events > 0)
            --events;
        else if (body == kClientStartedEvent && !started)
            started = true;
        else if (idOf(body) == 1 && !replied && body.find("\"error\"") == std::string::npos)
            replied = true;
        else
            throw std::runtime_error("unexpected while starting the client: " + body);
    }
}

}  // namespace

std::string requestBody(Request request, long id) {
    const char* type = request == Request::GetVersion ? "RequestGetVersion" : "RequestGetCallState";
    return std::string("{\"type\":\"") + type + "\",\"_direction\":1,\"_id\":" + std::to_string(id) + "}";
}

void checkReply(ProgramKind kind, Request request, long id, const std::string& body) {
    auto fail = [&](const char* what) {
        throw std::runtime_error(std::string(what) + " in reply to request " + std::to_string(id) + ": " + body);
    };
    if (kind == ProgramKind::Echo) {
        if (body != requestBody(request, id)) fail("not the request");
        return;
    }
    if (idOf(body) != id) fail("wrong or no id");
    if (body.find("\"error\"") != std::string::npos) fail("an error");
    const char* member = request == Request::GetVersion ? "\"version\"" : "\"callState\"";
    if (body.find(member) == std::string::npos) fail("no answer");
}

Throughput pipelined(const Program& program, Request request, int count) {
    std::string requests;
    for (int id = 0; id < count; ++id) requests += frame(requestBody(request, id));
    Running running(program);
    auto begin = Clock::now();
    std::exception_ptr writeFailure;
    std::thread writer([&] {
        try {
            running.process().send(requests);
        } catch (...) {
            writeFailure = std::current_exception();
        }
    });
    try {
        for (int id = 0; id < count; ++id) checkReply(program.kind, request, id, running.process().readFrame());
    } catch (...) {
        // Ends a write that the program will never take.
        running.process().kill();
        writer.join();
        throw;
    }
    Throughput result;
    result.elapsed = Clock::now() - begin;
    writer.join();
    if (writeFailure) std::rethrow_exception(writeFailure);
    result.peakResidentKiB = running.process().peakResidentKiB();
    running.finish();
    result.cpuPerRequest = std::chrono::duration<double, std::micro>(running.process().cpuTime()) / count;
    return result;
}

Latency pingPong(const Program& program, int count) {
    Running running(program);
    askAndCheck(running, program.kind, -1);
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(count));
    for (int id = 0; id < count; ++id) {
        std::string request = frame(requestBody(Request::GetVersion, id));
        auto begin = Clock::now();
        running.process().send(request);
        std::string reply = running.process().readFrame();
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
        checkReply(program.kind, Request::GetVersion, id, reply);
    }
    running.finish();
    Latency latency;
    latency.p50 = std::chrono::duration<double, std::micro>(percentile(micros, 0.50));
    latency.p99 = std::chrono::duration<double, std::micro>(percentile(micros, 0.99));
    return latency;
}

std::chrono::duration<double> eventBurst(const Program& host, int threads, int count) {
    expectHost(host);
    if (threads <= 0 || count % threads != 0) throw std::invalid_argument("events must share out evenly");
    Running running(host, {"raise-burst " + std::to_string(threads) + " " + std::to_string(count / threads) + " " +
                           std::to_string(kCallStateEvent) + " 00000000"});
    auto begin = Clock::now();
    startClient(running, kIdleCallStateEvent, count);
    std::chrono::duration<double> elapsed = Clock::now() - begin;
    running.finish();
    return elapsed;
}

std::chrono::duration<double> startUp(const Program& program) {
    auto begin = Clock::now();
    Running running(program);
    askAndCheck(running, program.kind, 0);
    std::chrono::duration<double> elapsed = Clock::now() - begin;
    running.finish();
    return elapsed;
}

std::vector<IdleCost> idleTogether(const std::vector<Program>& programs, std::chrono::milliseconds window) {
    std::vector<std::unique_ptr<Running>> running;
    for (const Program& program : programs) {
        running.push_back(std::make_unique<Running>(program));
        askAndCheck(*running.back(), program.kind, 0);
    }
    struct Sample {
        std::chrono::nanoseconds cpu;
        long switches;
    };
    std::vector<Sample> before;
    for (auto& each : running) before.push_back({each->process().threadCpuTime(), each->process().voluntarySwitches()});
    auto begin = Clock::now();
    std::this_thread::sleep_for(window);
    std::vector<IdleCost> costs;
    for (std::size_t i = 0; i < running.size(); ++i) {
        std::chrono::duration<double> elapsed = Clock::now() - begin;
        ChildProcess& process = running[i]->process();
        IdleCost cost;
        cost.cpuShare = std::chrono::duration<double>(process.threadCpuTime() - before[i].cpu) / elapsed;
        cost.wakeUpsPerSecond = static_cast<double>(process.voluntarySwitches() - before[i].switches) / elapsed.count();
        costs.push_back(cost);
    }
    for (auto& each : running) each->finish();
    return costs;
}

std::chrono::duration<double> shutdown(const Program& program, bool duringConference) {
    Running running(program, {std::string("approved-domain ") + kApprovedDomain});
    if (duringConference) {
        expectHost(program);
        startClient(running);
        running.process().send(frame(R"({"type":"RequestSetDomain","_direction":1,"_id":2,"domain":")" +
                                     std::string(kApprovedDomain) + "\"}"));
        running.process().send(frame(R"({"type":"PrivateInEventStartMyMeeting","_direction":1,"_id":3})"));
        for (std::string body; body != kInConferenceEvent;) {
            body = running.process().readFrame();
            if (idOf(body) && body.find("\"error\"") != std::string::npos)
                throw std::runtime_error("no meeting: " + body);
        }
    } else {
        askAndCheck(running, program.kind, 0);
    }
    auto begin = Clock::now();
    running.finish();
    return Clock::now() - begin;
}

}  // namespace bench
