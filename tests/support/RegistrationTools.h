// An installation of the stand-in registration tool, as the host finds it:
// the setup file naming the installation folder, and the two tools in it.
// Each tool appends the arguments of every run to a log file beside itself.
#pragma once

#include <chrono>
#include <string>
#include <vector>

class ToolInstallation {
public:
    // Writes <configHome>/Tavmo/TavmoClientForWeb/Setup with the line
    // "Application=<installFolder>/" and copies the tool into the folder.
    ToolInstallation(const std::string& configHome, const std::string& installFolder);

    const std::string& folder() const { return folder_; }
    std::string toolPath(bool is64Bit) const;

    // The argument lines the tool has logged once it has logged `count`, or
    // what it logged when `timeout` ran out.
    std::vector<std::string> waitForRuns(bool is64Bit, std::size_t count,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    std::vector<std::string> runs(bool is64Bit) const;

private:
    std::string folder_;
};

// A fresh folder under the temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes the setup file with these lines, or removes it.
void writeSetupFile(const std::string& configHome, const std::vector<std::string>& lines);
void removeSetupFile(const std::string& configHome);
