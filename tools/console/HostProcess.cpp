#include "HostProcess.h"

#include <limits.h>
#include <unistd.h>

namespace console {
namespace {

constexpr const char* kHostName = "TavmoClientForWeb";
// The host gives each of its threads 10 s to end once its input has ended.
constexpr std::chrono::seconds kEndingLimit{30};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

Launch launchOf(const HostLaunch& host) {
    Launch launch;
    launch.command = host.launcher;
    launch.command.push_back(host.executable);
    for (std::string& argument : browserArguments(host.executable)) launch.command.push_back(std::move(argument));
    for (const auto& [name, value] : host.environment) launch.environment[name] = value;
    return launch;
}

}  // namespace

std::vector<std::string> browserArguments(const std::string& executable) {
    std::vector<std::string> arguments = {kExtensionOrigin};
    if (endsWith(executable, ".exe")) arguments.emplace_back("--parent-window=0");
    return arguments;
}

std::string hostBesideConsole() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return kHostName;
    const std::string self(path, static_cast<std::size_t>(length));
    const std::size_t slash = self.rfind('/');
    return self.substr(0, slash + 1) + kHostName;
}

std::string describe(const ExitStatus& status) {
    std::string text;
    if (status.signal != 0) {
        text = "host ended by signal " + std::to_string(status.signal);
    } else {
        text = "host exited with code " + std::to_string(status.code);
        // The host's own -1 reaches us as 255.
        if (status.code > 127) text += " (" + std::to_string(status.code - 256) + ")";
    }
    if (status.killed) text += " after it was killed for not ending in time";
    return text;
}

HostProcess::HostProcess(const HostLaunch& launch) : process_(launchOf(launch)) {}

HostProcess::~HostProcess() {
    process_.closeInput();
    process_.closeOutput();
    process_.waitExit(kEndingLimit);
}

bool HostProcess::write(std::string_view bytes) {
    if (!process_.inputOpen()) return false;
    if (process_.write(bytes)) return true;
    // The host has gone: every later write fails at once.
    process_.closeInput();
    return false;
}

std::string HostProcess::readOutput() {
    std::string bytes;
    // A deadline already reached takes what the output holds now.
    process_.receive(Subprocess::Clock::now(), bytes);
    return bytes;
}

ExitStatus HostProcess::waitForExit(std::chrono::milliseconds limit) {
    // Reaped by now: a host that outstays the limit is killed.
    process_.waitExit(limit);
    ExitStatus status;
    status.code = process_.exitCode().value();
    status.signal = process_.endingSignal();
    status.killed = process_.killed();
    return status;
}

}  // namespace console
