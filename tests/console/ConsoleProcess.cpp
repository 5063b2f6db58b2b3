#include "ConsoleProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

Finished runProgram(const std::vector<std::string>& argv, const std::string& input,
                    const std::vector<std::pair<std::string, std::string>>& environment, const std::string& folder) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : environment) variables[name] = value;
    std::vector<std::string> entries;
    for (const auto& [name, value] : variables) entries.push_back(name + "=" + value);
    std::vector<std::string> arguments = argv;
    std::vector<char*> argvPointers = pointersTo(arguments);
    std::vector<char*> environmentPointers = pointersTo(entries);

    int in[2];
    int out[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    const int failed =
        ::posix_spawnp(&pid, argvPointers[0], &actions, nullptr, argvPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (failed != 0) throw std::runtime_error("cannot start " + argv[0]);
    ::signal(SIGPIPE, SIG_IGN);

    // The whole input at once would fill the pipe and block while the
    // program waits for us to read its output.
    std::size_t written = 0;
    int inputFd = in[1];
    if (input.empty()) {
        ::close(inputFd);
        inputFd = -1;
    }
    Finished finished;
    std::string* sinks[] = {&finished.output, &finished.errors};
    int outputs[] = {out[0], err[0]};
    while (outputs[0] >= 0 || outputs[1] >= 0) {
        pollfd watched[3] = {{outputs[0], POLLIN, 0}, {outputs[1], POLLIN, 0}, {inputFd, POLLOUT, 0}};
        if (::poll(watched, 3, -1) < 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (outputs[i] < 0 || watched[i].revents == 0) continue;
            char chunk[65536];
            const ssize_t got = ::read(outputs[i], chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
            } else {
                ::close(outputs[i]);
                outputs[i] = -1;
            }
        }
        if (inputFd >= 0 && watched[2].revents != 0) {
            const ssize_t sent = ::write(inputFd, input.data() + written, input.size() - written);
            if (sent > 0) written += static_cast<std::size_t>(sent);
            if (sent <= 0 || written == input.size()) {
                ::close(inputFd);
                inputFd = -1;
            }
        }
    }
    if (inputFd >= 0) ::close(inputFd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return finished;
}

ScratchFolder::ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tavmo-console-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::optional<SummaryLine> readSummary(const std::string& line) {
    const std::size_t colon = line.rfind(": ");
    if (colon == std::string::npos) return std::nullopt;
    SummaryLine summary;
    summary.verdict = line.substr(0, colon);
    char request[16], reply[16], event[16], error[16];
    double seconds = 0;
    int consumed = 0;
    const int read = std::sscanf(line.c_str() + colon + 2, "%d %15[a-z], %d %15[a-z], %d %15[a-z], %d %15s in %lf s%n",
                                 &summary.requests, request, &summary.replies, reply, &summary.events, event,
                                 &summary.errors, error, &seconds, &consumed);
    if (read != 9 || line.c_str()[colon + 2 + static_cast<std::size_t>(consumed)] != '\0') return std::nullopt;
    return summary;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}
