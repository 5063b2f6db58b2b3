// One measurement each: every function starts the programs it needs, drives
// them as a browser would, checks every answer, and returns what it timed.
// A wrong or missing answer throws, so that a broken program cannot look fast.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace bench {

// NoOpHost: the host with a library whose every call does nothing.
enum class ProgramKind { Host, NoOpHost, Echo, Script };

struct Program {
    ProgramKind kind = ProgramKind::Host;
    std::vector<std::string> command;
};

enum class Request { GetVersion, GetCallState };

std::string requestBody(Request request, long id);

// Throws std::runtime_error when `body` is not what `kind` answers to the
// request with this id: the echo returns the request unchanged, the others
// answer with the request's id and the requested member, without an error.
void checkReply(ProgramKind kind, Request request, long id, const std::string& body);

struct Throughput {
    std::chrono::duration<double> elapsed{0};
    long peakResidentKiB = 0;
    // The program's CPU time (all threads, start and exit included) over
    // the requests: less sensitive than the rate to what else the machine runs.
    std::chrono::duration<double, std::micro> cpuPerRequest{0};
};
// `count` requests written as fast as the program takes them, timed until
// the last reply has been read.
Throughput pipelined(const Program& program, Request request, int count);

struct Latency {
    std::chrono::duration<double, std::micro> p50{0};
    std::chrono::duration<double, std::micro> p99{0};
};
// One request at a time, each written once the previous reply was read.
Latency pingPong(const Program& program, int count);

// The host only: the library raises `count` call-state events, shared out
// over `threads` threads, once the client has started. Timed from the start
// request until the last event has been read.
std::chrono::duration<double> eventBurst(const Program& host, int threads, int count);

// From the spawn until the reply to the first request has been read.
std::chrono::duration<double> startUp(const Program& program);

struct IdleCost {
    // CPU time over wall time: 0.001 is 0.1 % of one core.
    double cpuShare = 0;
    double wakeUpsPerSecond = 0;
};
// Each program is started and answers one request; then all of them sit
// idle together for `window`.
std::vector<IdleCost> idleTogether(const std::vector<Program>& programs, std::chrono::milliseconds window);

// From closing the program's input until it has exited. During a conference
// (host only), the client was started and a meeting entered before.
std::chrono::duration<double> shutdown(const Program& program, bool duringConference);

}  // namespace bench
