#include "HostProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

std::string configurationFolder(const std::string& root) { return root + "/config"; }

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void removeTree(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = path + "/" + name;
            struct stat info {};
            if (::lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                removeTree(child);
            else
                ::unlink(child.c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
}

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

void collectLogs(const std::string& folder, std::string& out) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.rfind("TavmoClientForWeb_", 0) != 0) continue;
        std::ifstream file(folder + "/" + name, std::ios::binary);
        out += std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
}

}  // namespace

std::string hostExecutable() {
    std::string configured = environmentValue("TAVMO_HOST_EXECUTABLE");
    return configured.empty() ? TAVMO_HOST_EXECUTABLE : configured;
}

bool windowsHost() {
    std::string executable = hostExecutable();
    return executable.size() > 4 && executable.compare(executable.size() - 4, 4, ".exe") == 0;
}

std::string hostPath(const std::string& path) {
    if (!windowsHost()) return path;
    std::string windowsPath = "Z:" + path;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    return windowsPath;
}

ToolInstallation installRegistrationTool(const TempFolder& folder) {
    const std::string installFolder = folder.path() + "/install";
    if (!windowsHost()) return ToolInstallation(configurationFolder(folder.path()), installFolder);
    std::string executable = hostExecutable();
    std::string tool = executable.substr(0, executable.find_last_of('/') + 1) + "RegSvrUsr.exe";
    return ToolInstallation(installFolder, RegistrySetup{splitWords(environmentValue("TAVMO_HOST_LAUNCHER")),
                                                         hostPath(installFolder), tool});
}

TempFolder::TempFolder() {
    std::string base = environmentValue("TMPDIR");
    std::string pattern = (base.empty() ? std::string("/tmp") : base) + "/tavmo-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
    path_ = buffer.data();
}

TempFolder::~TempFolder() {
    if (environmentValue("TAVMO_KEEP_TEST_FOLDERS").empty()) removeTree(path_);
}

HostProcess::HostProcess(const TempFolder& folder, const HostOptions& options) {
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::size_t equals = text.find('=');
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    std::string root = folder.path();
    ::mkdir((root + "/run").c_str(), 0700);
    if (windowsHost()) {
        // Wine takes these two from its prefix, whose settings refer to the
        // variables below (scripts/test-windows.sh). TMPDIR stays as it is:
        // it also chooses the Wine server, which all hosts must share.
        environment["TAVMO_TEST_LOCALAPPDATA"] = hostPath(root + "/appdata");
        environment["TAVMO_TEST_TEMP"] = hostPath(root);
    } else {
        environment["LOCALAPPDATA"] = root + "/appdata";
        environment["TMPDIR"] = root;
    }
    environment["XDG_RUNTIME_DIR"] = root + "/run";
    environment["XDG_CONFIG_HOME"] = configurationFolder(root);
    dataFolder_ = root + "/appdata/Tavmo/Data/User";
    if (!options.scenario.empty()) {
        std::string scenarioPath = root + "/scenario.txt";
        std::ofstream scenario(scenarioPath);
        for (const std::string& line : options.scenario) scenario << line << "\n";
        environment["TAVMO_STANDIN_SCENARIO"] = scenarioPath;
    }
    for (const auto& [name, value] : options.environment) environment[name] = value;
    for (const std::string& name : options.unsetEnvironment) environment.erase(name);

    std::vector<std::string> argv = splitWords(environmentValue("TAVMO_HOST_LAUNCHER"));
    argv.push_back(hostExecutable());
    argv.insert(argv.end(), options.arguments.begin(), options.arguments.end());
    std::vector<char*> argvPointers;
    for (std::string& argument : argv) argvPointers.push_back(argument.data());
    argvPointers.push_back(nullptr);
    std::vector<std::string> envp;
    for (const auto& [name, value] : environment) envp.push_back(name + "=" + value);
    std::vector<char*> envPointers;
    for (std::string& entry : envp) envPointers.push_back(entry.data());
    envPointers.push_back(nullptr);

    int toHost[2];
    int fromHost[2];
    if (::pipe2(toHost, O_CLOEXEC) != 0 || ::pipe2(fromHost, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toHost[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromHost[1], 1);
    posix_spawn_file_actions_addchdir_np(&actions, root.c_str());
    int failed = ::posix_spawnp(&pid_, argvPointers[0], &actions, nullptr, argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(toHost[0]);
    ::close(fromHost[1]);
    input_ = toHost[1];
    output_ = fromHost[0];
    if (failed != 0) throw std::runtime_error("cannot start " + argv[0]);
    ::signal(SIGPIPE, SIG_IGN);
}

HostProcess::~HostProcess() {
    closeInput();
    if (!exitCode_ && pid_ > 0) waitExit(std::chrono::seconds(30));
    if (output_ >= 0) ::close(output_);
}

void HostProcess::sendRaw(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t written = ::write(input_, bytes.data() + sent, bytes.size() - sent);
        if (written <= 0) return;
        sent += static_cast<std::size_t>(written);
    }
}

void HostProcess::sendFrame(const std::string& body) {
    auto length = static_cast<uint32_t>(body.size());
    std::string framed;
    for (int i = 0; i < 4; ++i) framed.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    sendRaw(framed + body);
}

void HostProcess::closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

bool HostProcess::fill(std::size_t wanted, std::chrono::steady_clock::time_point deadline) {
    while (buffered_.size() < wanted) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{output_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[65536];
        ssize_t got = ::read(output_, chunk, sizeof chunk);
        if (got <= 0) return false;
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

std::optional<std::string> HostProcess::readFrame(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    if (!fill(4, deadline)) return std::nullopt;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(static_cast<unsigned char>(buffered_[i])) << (8 * i);
    if (!fill(4 + length, deadline)) return std::nullopt;
    std::string body = buffered_.substr(4, length);
    buffered_.erase(0, 4 + length);
    return body;
}

std::optional<std::string> HostProcess::readLine(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (std::size_t end; (end = buffered_.find('\n')) == std::string::npos;)
        if (!fill(buffered_.size() + 1, deadline)) return std::nullopt;
    std::size_t end = buffered_.find('\n');
    std::string line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string HostProcess::readRest(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (fill(buffered_.size() + 1, deadline)) {
    }
    std::string rest;
    rest.swap(buffered_);
    return rest;
}

std::optional<int> HostProcess::waitExit(std::chrono::milliseconds timeout) {
    if (exitCode_) return exitCode_;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitCode_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    exitCode_ = 128 + SIGKILL;
    return std::nullopt;
}

std::string HostProcess::logText() const {
    std::string text;
    collectLogs(dataFolder_, text);
    return text;
}
