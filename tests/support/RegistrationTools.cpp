#include "RegistrationTools.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "TavmoFacts.h"
extern char** environ;

namespace fs = std::filesystem;

namespace {

const char* const kSetupKey = "HKCU\\" TAVMO_SETUP_KEY;

fs::path setupFile(const std::string& configHome) { return fs::path(configHome) / TAVMO_SETUP_PATH; }

// Runs Wine's registry tool through `launcher` with these arguments; its
// exit status, or -1 when it could not be started.
int runRegistryTool(const std::vector<std::string>& launcher, const std::vector<std::string>& arguments) {
    std::vector<std::string> words = launcher;
    words.emplace_back("reg");
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = -1;
    int failed = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

void writeSetupFile(const std::string& configHome, const std::vector<std::string>& lines) {
    fs::create_directories(setupFile(configHome).parent_path());
    std::ofstream setup(setupFile(configHome), std::ios::trunc);
    for (const std::string& line : lines) setup << line << "\n";
}

void removeSetupFile(const std::string& configHome) { fs::remove(setupFile(configHome)); }

ToolInstallation::ToolInstallation(const std::string& configHome, const std::string& installFolder)
    : folder_(installFolder) {
    copyTool(TAVMO_REGISTRATION_TOOL);
    writeSetupFile(configHome, {"[Setup]", TAVMO_SETUP_ENTRY "=" + folder_ + "/"});
}

ToolInstallation::ToolInstallation(const std::string& installFolder, const RegistrySetup& setup)
    : folder_(installFolder) {
    copyTool(setup.tool);
    if (runRegistryTool(setup.launcher,
                        {"add", kSetupKey, "/v", TAVMO_SETUP_ENTRY, "/d", setup.hostFolder + "\\", "/f"}) != 0)
        throw std::runtime_error("cannot write the installation folder into the registry");
    registryLauncher_ = setup.launcher;
}

ToolInstallation::~ToolInstallation() {
    if (!registryLauncher_.empty()) runRegistryTool(registryLauncher_, {"delete", kSetupKey, "/f"});
}

void ToolInstallation::copyTool(const std::string& tool) const {
    fs::create_directories(fs::path(folder_) / "x64");
    for (bool is64Bit : {false, true}) fs::copy_file(tool, toolPath(is64Bit), fs::copy_options::overwrite_existing);
}

std::string ToolInstallation::toolPath(bool is64Bit) const {
    return folder_ + (is64Bit ? "/x64/RegSvrUsr64.exe" : "/RegSvrUsr.exe");
}

std::vector<std::string> ToolInstallation::runs(bool is64Bit) const {
    std::vector<std::string> lines;
    std::ifstream log(toolPath(is64Bit) + ".log");
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> ToolInstallation::waitForRuns(bool is64Bit, std::size_t count,
                                                       std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::string> lines = runs(is64Bit);
    while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = runs(is64Bit);
    }
    return lines;
}
