// A program under measurement, started as a browser starts a host: framed
// messages through its standard input and output, in a folder of its own.
#pragma once

#include <chrono>
#include <string>

#include "Frames.h"
#include "Subprocess.h"
#include "support/ScratchFolder.h"

namespace bench {

// Every wait is bounded, so that a program that hangs fails the run instead
// of stalling it; the bound is a guard, not a measurement. The program is
// killed at once when the ChildProcess goes.
class ChildProcess : public Subprocess {
public:
    explicit ChildProcess(const Launch& launch, std::chrono::seconds guard = std::chrono::seconds(60));

    // Writes all of `bytes`; throws when the program closed its input.
    void send(const std::string& bytes);

    // The next framed body; throws when the output ends or the guard passes.
    std::string readFrame();

    // Waits for the exit and returns the exit code (128 + the signal for a
    // program that a signal ended); throws when the guard passes.
    int wait();

    // The most memory the program has held resident so far. Read from the
    // running process: the figure the system reports at the exit may still
    // hold the memory of the process that spawned it.
    long peakResidentKiB() const;

    // CPU time of the threads alive now, and how often they gave up the CPU
    // of their own accord (each such switch is one wake-up later).
    std::chrono::nanoseconds threadCpuTime() const;
    long voluntarySwitches() const;

private:
    std::chrono::seconds guard_;
    FrameReader reader_;
};

}  // namespace bench
