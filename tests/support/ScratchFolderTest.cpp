// The folders that every end-to-end test, the console tests and the
// benchmarks run their programs in.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "ScratchFolder.h"

namespace {

TEST(ScratchFolder, EachIsNewAndGoesWithEverythingInItButNothingOutside) {
    ScratchFolder outside;
    const std::string kept = outside.path() + "/kept.txt";
    std::ofstream(kept) << "mine";
    std::string removed;
    {
        ScratchFolder folder;
        ScratchFolder another;
        EXPECT_NE(folder.path(), another.path());
        removed = folder.path();
        ASSERT_EQ(::mkdir((removed + "/nested").c_str(), 0700), 0);
        std::ofstream(removed + "/nested/file.txt") << "scratch";
        ASSERT_EQ(::symlink(outside.path().c_str(), (removed + "/link").c_str()), 0);
    }
    struct stat info {};
    EXPECT_EQ(::lstat(removed.c_str(), &info), -1);
    EXPECT_EQ(::lstat(kept.c_str(), &info), 0) << "a link out of the folder is not followed";
}

}  // namespace
