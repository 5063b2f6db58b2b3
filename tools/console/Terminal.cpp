#include "Terminal.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace console {
namespace {

constexpr std::size_t kDefaultColumns = 80;
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGQUIT};

// Read by the signal handler, which may only make async-signal-safe calls.
int savedFd = -1;
termios savedSettings;

void restoreAndEnd(int signalNumber) {
    if (savedFd >= 0) ::tcsetattr(savedFd, TCSAFLUSH, &savedSettings);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

}  // namespace

bool isTerminal(int fd) { return ::isatty(fd) == 1; }

std::size_t terminalColumns(int fd) {
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
    return size.ws_col;
}

RawTerminal::RawTerminal(int fd) : fd_(fd) {
    if (::tcgetattr(fd, &savedSettings) != 0) return;
    termios raw = savedSettings;
    // Keys arrive one byte at a time, unechoed; Ctrl-C and Ctrl-D are read as
    // keys. Output processing stays, so "\n" still starts a new line.
    raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    savedFd = fd;
    for (int signalNumber : kEndingSignals) ::signal(signalNumber, restoreAndEnd);
    active_ = ::tcsetattr(fd, TCSAFLUSH, &raw) == 0;
}

RawTerminal::~RawTerminal() {
    if (!active_) return;
    ::tcsetattr(fd_, TCSAFLUSH, &savedSettings);
    for (int signalNumber : kEndingSignals) ::signal(signalNumber, SIG_DFL);
    savedFd = -1;
}

}  // namespace console
