// The system's requests to end the host (SIGTERM, SIGHUP, SIGINT) take the
// way of the end of input, so that a call is left and the library stopped.
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "platform/Platform.h"

namespace platform {

namespace {

// Interrupts the reader's wait for input; ignored by default, so a stray one
// does no harm.
constexpr int kInputWakeSignal = SIGURG;
constexpr int kStopSignals[] = {SIGTERM, SIGHUP, SIGINT};

std::atomic<int> requestedStop{0};
static_assert(std::atomic<int>::is_always_lock_free, "used in a signal handler");

void onStopSignal(int signal) {
    if (requestedStop.exchange(signal) != 0) {
        // The second request: end now, as the signal itself would.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    int savedError = errno;
    wakeMainThread();
    errno = savedError;
}

void onInputWake(int) {}

}  // namespace

void watchStopSignals() {
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    // Other threads' calls go on as if nothing had happened.
    stop.sa_flags = SA_RESTART;
    for (int signal : kStopSignals) ::sigaction(signal, &stop, nullptr);
    struct sigaction wake {};
    wake.sa_handler = onInputWake;
    sigemptyset(&wake.sa_mask);
    // Without SA_RESTART, so that the reader's read() returns.
    wake.sa_flags = 0;
    ::sigaction(kInputWakeSignal, &wake, nullptr);
}

int stopSignal() { return requestedStop.load(); }

void endStandardInput(std::thread::native_handle_type reader) {
    // First the end for every later read, then the wake for a read under way:
    // whichever the reader is in, it finds the end.
    int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0) {
        ::dup2(nothing, 0);
        ::close(nothing);
    }
    ::pthread_kill(reader, kInputWakeSignal);
}

}  // namespace platform
