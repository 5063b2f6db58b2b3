// An installation of the stand-in registration tool, as the host finds it:
// the setup naming the installation folder, and the two tools in it. Each
// tool appends the arguments of every run to a log file beside itself.
#pragma once

#include <chrono>
#include <string>
#include <vector>

// Where a Windows host under Wine finds the installation: the registry value
// it reads the folder from, written with Wine's registry tool.
struct RegistrySetup {
    std::vector<std::string> launcher;  // starts a Windows program, e.g. {"wine64"}
    std::string hostFolder;             // the installation folder as the host sees it
    std::string tool;                   // the registration tool built for Windows
};

class ToolInstallation {
public:
    // For a Linux host: writes <configHome>/Tavmo/TavmoClientForWeb/Setup
    // with the line "Application=<installFolder>/" and copies the tool into
    // the folder.
    ToolInstallation(const std::string& configHome, const std::string& installFolder);
    // For a Windows host: sets HKEY_CURRENT_USER\Software\Tavmo\TavmoClientForWeb\Setup
    // "Application" to the host's folder with its final backslash and copies
    // the Windows tool into the folder. The key goes again with the
    // installation: every host of the Wine prefix would find it.
    ToolInstallation(const std::string& installFolder, const RegistrySetup& setup);
    ~ToolInstallation();
    ToolInstallation(const ToolInstallation&) = delete;
    ToolInstallation& operator=(const ToolInstallation&) = delete;

    const std::string& folder() const { return folder_; }
    std::string toolPath(bool is64Bit) const;

    // The argument lines the tool has logged once it has logged `count`, or
    // what it logged when `timeout` ran out.
    std::vector<std::string> waitForRuns(bool is64Bit, std::size_t count,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    std::vector<std::string> runs(bool is64Bit) const;

private:
    void copyTool(const std::string& tool) const;

    std::string folder_;
    std::vector<std::string> registryLauncher_;  // empty for the setup file
};

// Writes the setup file with these lines, or removes it.
void writeSetupFile(const std::string& configHome, const std::vector<std::string>& lines);
void removeSetupFile(const std::string& configHome);
