#include "RegistrationTools.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace {

fs::path setupFile(const std::string& configHome) {
    return fs::path(configHome) / "Tavmo" / "TavmoClientForWeb" / "Setup";
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
    fs::create_directories(fs::path(folder_) / "x64");
    for (bool is64Bit : {false, true})
        fs::copy_file(TAVMO_REGISTRATION_TOOL, toolPath(is64Bit), fs::copy_options::overwrite_existing);
    writeSetupFile(configHome, {"[Setup]", "Application=" + folder_ + "/"});
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

ScratchFolder::ScratchFolder() {
    fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        fs::path candidate = base / ("tavmo-scratch-" + std::to_string(std::random_device{}()));
        if (fs::create_directory(candidate)) path_ = candidate.string();
    }
    if (path_.empty()) throw std::runtime_error("no scratch folder");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}
