// A program started with pipes on its standard streams, for the console, the
// tests and the benchmarks. Only its own pipe ends reach the program (every
// other descriptor is close-on-exec), a program that closed its input is a
// failed write rather than a signal, and the program is always reaped.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Launch {
    std::vector<std::string> command;
    // Added to (or replacing in) this process's environment.
    std::map<std::string, std::string> environment;
    // Variables the program does not get at all, after the above.
    std::vector<std::string> unsetEnvironment;
    // The working folder; empty for this process's own.
    std::string folder;
    // Standard error through a pipe as well; otherwise it is this process's.
    bool captureErrors = false;
};

class Subprocess {
public:
    using Clock = std::chrono::steady_clock;
    enum class Received { Bytes, Ended, TimedOut };

    // Throws when the program cannot be started.
    explicit Subprocess(const Launch& launch);
    // Closes the input and kills a program that is still running.
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    pid_t pid() const { return pid_; }

    // Writes all of `bytes`; false when the program closed its input (or
    // closeInput() was called).
    bool write(std::string_view bytes);
    void closeInput();
    bool inputOpen() const { return input_ >= 0; }

    // Waits until `deadline` for output and appends what arrived to `output`;
    // what arrives on a captured standard error is kept in errors(). Ended
    // once every captured stream has ended.
    Received receive(Clock::time_point deadline, std::string& output);
    const std::string& errors() const { return errors_; }
    // The standard output, for a poll() of one's own before receive(); -1
    // once receive() saw its end or closeOutput() was called.
    int outputFd() const { return output_; }
    // Reads no more: a program that writes on gets a broken pipe.
    void closeOutput();

    // Ends the program at once; a later waitExit() reports the signal.
    void kill();
    // Once waitExit() has returned: this process ended the program, by kill()
    // or at the timeout of waitExit().
    // A program may have ended by itself just before the signal was sent.
    bool killed() const { return killSent_ && endingSignal_ == SIGKILL; }
    // The exit code (0 to 255, 128 + the signal for a program that a signal
    // ended), or nothing when the program is still running after `timeout`;
    // it is then killed.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);
    // Once waitExit() has returned: the exit code as above, and the signal
    // that ended the program (0 when it exited), which tells a signal from a
    // program's own exit code above 128.
    std::optional<int> exitCode() const { return exitCode_; }
    int endingSignal() const { return endingSignal_; }
    // The CPU time (user and system, all threads) of the whole run, known
    // once waitExit() has returned.
    std::chrono::microseconds cpuTime() const { return cpuTime_; }

private:
    bool reap(int options);

    pid_t pid_ = -1;
    int pidFd_ = -1;
    int input_ = -1;
    int output_ = -1;
    int errorOutput_ = -1;
    std::string errors_;
    std::optional<int> exitCode_;
    int endingSignal_ = 0;
    bool killSent_ = false;
    std::chrono::microseconds cpuTime_{0};
};
