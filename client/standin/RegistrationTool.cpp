// Stand-in for the installation's registration tool of the virtual camera:
// it registers nothing, it only appends its arguments, one run a line, to
// "<its own file name>.log" beside itself, so that tests can read the exact
// command lines the host started it with.
#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string ownPath(const char* argv0) {
#if defined(_WIN32)
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return std::string(path, length);
#else
    char path[4096] = {};
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) return std::string(path, static_cast<std::size_t>(length));
#endif
    return argv0 ? argv0 : "RegSvrUsr";
}

}  // namespace

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    line += "\n";
    FILE* log = std::fopen((ownPath(argc > 0 ? argv[0] : nullptr) + ".log").c_str(), "ab");
    if (!log) return 1;
    bool written = std::fwrite(line.data(), 1, line.size(), log) == line.size();
    return std::fclose(log) == 0 && written ? 0 : 1;
}
