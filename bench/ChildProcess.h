// A program under measurement, started as a browser starts a host: framed
// messages through its standard input and output, in a folder of its own.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "Frames.h"

namespace bench {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Launch {
    std::vector<std::string> command;
    // Added to (or replacing in) this process's environment.
    std::map<std::string, std::string> environment;
    std::string folder;
};

// Every wait is bounded, so that a program that hangs fails the run instead
// of stalling it; the bound is a guard, not a measurement.
class ChildProcess {
public:
    explicit ChildProcess(const Launch& launch, std::chrono::seconds guard = std::chrono::seconds(60));
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // Writes all of `bytes`; throws when the program closed its input.
    void send(const std::string& bytes);
    void closeInput();
    // Ends the program at once; a later wait() reports the signal.
    void kill();

    // The next framed body; throws when the output ends or the guard passes.
    std::string readFrame();

    // Waits for the exit and returns the exit code (128 + the signal for a
    // program that a signal ended); throws when the guard passes.
    int wait();
    // The CPU time (user and system, all threads) of the whole run; known
    // once wait() has returned.
    std::chrono::microseconds cpuTime() const { return cpuTime_; }

    // The most memory the program has held resident so far. Read from the
    // running process: the figure the system reports at the exit may still
    // hold the memory of the process that spawned it.
    long peakResidentKiB() const;

    // CPU time of the threads alive now, and how often they gave up the CPU
    // of their own accord (each such switch is one wake-up later).
    std::chrono::nanoseconds threadCpuTime() const;
    long voluntarySwitches() const;

private:
    bool fill();

    pid_t pid_ = -1;
    int pidFd_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::chrono::seconds guard_;
    FrameReader reader_;
    bool exited_ = false;
    std::chrono::microseconds cpuTime_{0};
};

}  // namespace bench
