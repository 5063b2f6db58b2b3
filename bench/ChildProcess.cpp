#include "ChildProcess.h"

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace bench {
namespace {

std::vector<std::string> threadIds(pid_t pid) {
    std::vector<std::string> ids;
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') ids.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return ids;
}

// The number after `key` in a /proc status file; 0 when it is not there.
long statusField(const std::string& path, const std::string& key) {
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

std::string threadFile(pid_t pid, const std::string& thread, const char* name) {
    return "/proc/" + std::to_string(pid) + "/task/" + thread + "/" + name;
}

}  // namespace

ChildProcess::ChildProcess(const Launch& launch, std::chrono::seconds guard) : Subprocess(launch), guard_(guard) {}

void ChildProcess::send(const std::string& bytes) {
    if (!write(bytes)) throw std::system_error(errno, std::generic_category(), "writing to the program");
}

std::string ChildProcess::readFrame() {
    for (std::string bytes;; bytes.clear()) {
        if (auto body = reader_.next()) return *body;
        switch (receive(Clock::now() + guard_, bytes)) {
            case Received::Bytes: reader_.append(bytes.data(), bytes.size()); break;
            case Received::Ended: throw std::runtime_error("the program's output ended");
            case Received::TimedOut:
                throw std::runtime_error("no output within " + std::to_string(guard_.count()) + " s");
        }
    }
}

int ChildProcess::wait() {
    if (std::optional<int> code = waitExit(guard_)) return *code;
    throw std::runtime_error("no exit within " + std::to_string(guard_.count()) + " s");
}

long ChildProcess::peakResidentKiB() const {
    return statusField("/proc/" + std::to_string(pid()) + "/status", "VmHWM:");
}

std::chrono::nanoseconds ChildProcess::threadCpuTime() const {
    std::chrono::nanoseconds total{0};
    for (const std::string& thread : threadIds(pid())) {
        std::ifstream file(threadFile(pid(), thread, "schedstat"));
        long long onCpu = 0;
        if (file >> onCpu) total += std::chrono::nanoseconds(onCpu);
    }
    return total;
}

long ChildProcess::voluntarySwitches() const {
    long total = 0;
    for (const std::string& thread : threadIds(pid()))
        total += statusField(threadFile(pid(), thread, "status"), "voluntary_ctxt_switches:");
    return total;
}

}  // namespace bench
