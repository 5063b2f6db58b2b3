// A fresh folder under $TMPDIR (or /tmp), removed with everything in it;
// kept when TAVMO_KEEP_TEST_FOLDERS is set, for a look after a failure.
#pragma once

#include <string>

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
