#include "Session.h"

#include <poll.h>

#include <algorithm>

namespace console {
namespace {

// A page that never waits must not make the console hoard its messages.
constexpr std::size_t kMostUnmatched = 10000;
// The host gives each of its threads 10 s to end after its input ended.
constexpr std::chrono::seconds kShutdownLimit{60};

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1000000));
}

}  // namespace

Session::Session(HostProcess& host, Printer& printer) : host_(host), printer_(printer) {}

bool Session::send(const SendCommand& command) {
    if (!host_.write(frameMessage(command.body))) return false;
    if (!command.control) ++counts_.requests;
    printer_.sent(command);
    return true;
}

PumpEnd Session::pump(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                      int interruptFd) {
    for (;;) {
        if (done()) return PumpEnd::Done;
        if (hostEnded()) return PumpEnd::HostEnded;
        pollfd watched[2] = {{host_.outputFd(), POLLIN, 0}, {interruptFd, POLLIN, 0}};
        const int ready = ::poll(watched, interruptFd >= 0 ? 2 : 1, millisecondsUntil(deadline));
        if (ready == 0) return PumpEnd::TimedOut;
        if (ready < 0) continue;
        if (watched[0].revents != 0) receive(host_.readOutput());
        if (interruptFd >= 0 && watched[1].revents != 0 && !done()) return PumpEnd::Interrupted;
    }
}

PumpEnd Session::wait(const WaitCommand& wait, std::chrono::steady_clock::time_point deadline, int interruptFd) {
    return pump([&] { return takeMatch(wait); }, deadline, interruptFd);
}

ExitStatus Session::finish() {
    host_.closeInput();
    pump([] { return false; }, std::chrono::steady_clock::now() + kShutdownLimit);
    if (frames_.incompleteBytes() > 0)
        printer_.problem("the host's output ended inside a message (" + std::to_string(frames_.incompleteBytes()) +
                         " bytes)");
    return host_.waitForExit(kShutdownLimit);
}

void Session::receive(std::string bytes) {
    frames_.append(bytes);
    while (std::optional<std::string> body = frames_.next()) {
        ReceivedMessage message = classifyMessage(std::move(*body));
        if (message.kind == MessageKind::Event) ++counts_.events;
        if (message.kind == MessageKind::Reply) ++counts_.replies;
        if (message.kind == MessageKind::NotJson || isErrorReply(message)) ++counts_.errors;
        printer_.message(message);
        unmatched_.push_back(std::move(message));
        if (unmatched_.size() > kMostUnmatched) unmatched_.pop_front();
    }
}

bool Session::takeMatch(const WaitCommand& wait) {
    const auto match = std::find_if(unmatched_.begin(), unmatched_.end(),
                                    [&](const ReceivedMessage& message) { return matchesWait(wait, message); });
    if (match == unmatched_.end()) return false;
    unmatched_.erase(match);
    return true;
}

}  // namespace console
