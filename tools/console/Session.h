// One conversation with the host: sends requests, reads and shows what the
// host writes, and waits for replies and events.
//
// A wait is met by the oldest message that matches it and has not met an
// earlier wait, whenever it arrived, also before the wait began. So whether
// a script's waits are met does not depend on the order in which replies
// and events happen to arrive; conditions (callState=Idle) tell messages of
// one kind apart.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>

#include "Commands.h"
#include "Framing.h"
#include "HostProcess.h"
#include "Messages.h"
#include "Printer.h"

namespace console {

struct Counts {
    int requests = 0;
    int replies = 0;
    int events = 0;
    // Replies that carry "error", and messages that are not JSON objects.
    int errors = 0;
};

enum class PumpEnd { Done, TimedOut, HostEnded, Interrupted };

class Session {
public:
    Session(HostProcess& host, Printer& printer);

    // False when the host no longer reads its input.
    bool send(const SendCommand& command);
    // Shows the host's messages until one matches `wait` (Done), `deadline`
    // passes, the host's output ends or `interruptFd` becomes readable.
    PumpEnd wait(const WaitCommand& wait, std::chrono::steady_clock::time_point deadline, int interruptFd = -1);

    // Reads and shows the host's messages until `done()` holds, `deadline`
    // passes, the host's output ends, or `interruptFd` becomes readable.
    PumpEnd pump(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                 int interruptFd = -1);

    // Ends the host's input: the host shuts down.
    void closeInput() { host_.closeInput(); }
    // Ends the host's input, shows what it still writes and waits for its end.
    ExitStatus finish();

    bool hostEnded() const { return host_.outputFd() < 0; }
    const Counts& counts() const { return counts_; }

private:
    void receive(std::string bytes);
    bool takeMatch(const WaitCommand& wait);

    HostProcess& host_;
    Printer& printer_;
    FrameReader frames_;
    std::deque<ReceivedMessage> unmatched_;
    Counts counts_;
};

}  // namespace console
