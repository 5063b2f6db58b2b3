#include "HostProcess.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "Frames.h"

namespace {

std::string configurationFolder(const std::string& root) { return root + "/config"; }

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
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

std::string logFilesIn(const std::string& folder) {
    std::string text;
    collectLogs(folder, text);
    return text;
}

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

ToolInstallation installRegistrationTool(const ScratchFolder& folder) {
    const std::string installFolder = folder.path() + "/install";
    if (!windowsHost()) return ToolInstallation(configurationFolder(folder.path()), installFolder);
    std::string executable = hostExecutable();
    std::string tool = executable.substr(0, executable.find_last_of('/') + 1) + "RegSvrUsr.exe";
    return ToolInstallation(installFolder, RegistrySetup{splitWords(environmentValue("TAVMO_HOST_LAUNCHER")),
                                                         hostPath(installFolder), tool});
}

namespace {

// The host with folders of its own under `root`, as HostProcess describes.
Launch hostLaunch(const std::string& root, const HostOptions& options) {
    Launch launch;
    launch.folder = root;
    ::mkdir((root + "/run").c_str(), 0700);
    if (windowsHost()) {
        // Wine takes these two from its prefix, whose settings refer to the
        // variables below (scripts/test-windows.sh). TMPDIR stays as it is:
        // it also chooses the Wine server, which all hosts must share.
        launch.environment["TAVMO_TEST_LOCALAPPDATA"] = hostPath(root + "/appdata");
        launch.environment["TAVMO_TEST_TEMP"] = hostPath(root);
    } else {
        launch.environment["LOCALAPPDATA"] = root + "/appdata";
        launch.environment["TMPDIR"] = root;
    }
    launch.environment["XDG_RUNTIME_DIR"] = root + "/run";
    launch.environment["XDG_CONFIG_HOME"] = configurationFolder(root);
    if (!options.scenario.empty()) {
        std::string scenarioPath = root + "/scenario.txt";
        std::ofstream scenario(scenarioPath);
        for (const std::string& line : options.scenario) scenario << line << "\n";
        launch.environment["TAVMO_STANDIN_SCENARIO"] = scenarioPath;
    }
    for (const auto& [name, value] : options.environment) launch.environment[name] = value;
    launch.unsetEnvironment = options.unsetEnvironment;
    launch.captureErrors = options.captureErrors;
    launch.command = splitWords(environmentValue("TAVMO_HOST_LAUNCHER"));
    launch.command.insert(launch.command.end(), options.launcher.begin(), options.launcher.end());
    launch.command.push_back(hostExecutable());
    launch.command.insert(launch.command.end(), options.arguments.begin(), options.arguments.end());
    return launch;
}

}  // namespace

HostProcess::HostProcess(const ScratchFolder& folder, const HostOptions& options)
    : dataFolder_(folder.path() + "/appdata/Tavmo/Data/User"), process_(hostLaunch(folder.path(), options)) {}

HostProcess::~HostProcess() {
    closeInput();
    waitExit(std::chrono::seconds(30));
}

void HostProcess::sendRaw(const std::string& bytes) { process_.write(bytes); }

void HostProcess::sendFrame(const std::string& body) { sendRaw(frame(body)); }

void HostProcess::closeInput() { process_.closeInput(); }

bool HostProcess::fill(std::size_t wanted, Subprocess::Clock::time_point deadline) {
    while (buffered_.size() < wanted)
        if (process_.receive(deadline, buffered_) != Subprocess::Received::Bytes) return false;
    return true;
}

std::optional<std::string> HostProcess::readFrame(std::chrono::milliseconds timeout) {
    auto deadline = Subprocess::Clock::now() + timeout;
    if (!fill(4, deadline)) return std::nullopt;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(static_cast<unsigned char>(buffered_[i])) << (8 * i);
    if (!fill(4 + length, deadline)) return std::nullopt;
    std::string body = buffered_.substr(4, length);
    buffered_.erase(0, 4 + length);
    return body;
}

std::optional<std::string> HostProcess::readLine(std::chrono::milliseconds timeout) {
    auto deadline = Subprocess::Clock::now() + timeout;
    for (std::size_t end; (end = buffered_.find('\n')) == std::string::npos;)
        if (!fill(buffered_.size() + 1, deadline)) return std::nullopt;
    std::size_t end = buffered_.find('\n');
    std::string line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string HostProcess::readRest(std::chrono::milliseconds timeout) {
    auto deadline = Subprocess::Clock::now() + timeout;
    while (fill(buffered_.size() + 1, deadline)) {
    }
    std::string rest;
    rest.swap(buffered_);
    return rest;
}

std::optional<int> HostProcess::waitExit(std::chrono::milliseconds timeout) { return process_.waitExit(timeout); }

std::string HostProcess::logText() const {
    std::string text;
    collectLogs(dataFolder_, text);
    return text;
}

EndedHost startAndEndInput(const ScratchFolder& folder, const HostOptions& options) {
    HostProcess host(folder, options);
    host.closeInput();
    EndedHost ended;
    ended.exitCode = host.waitExit();
    ended.log = host.logText();
    ended.pid = host.pid();
    return ended;
}

bool logHas(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }

bool waitForLog(const HostProcess& host, const std::string& text) {
    using namespace std::chrono_literals;
    auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (logHas(host.logText(), text)) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

HostOptions hangingWorkerOptions() {
    HostOptions options;
    options.scenario = {"stall-request 101508 600000"};
    return options;
}

bool hangWorker(HostProcess& host) {
    host.sendFrame(R"({"type":"RequestGetCallState","_direction":1})");
    return waitForLog(host, "Stalling request: [101508] for [600000] ms");
}
