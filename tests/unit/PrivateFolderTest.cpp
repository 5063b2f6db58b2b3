// Folders and files of the user's own: what another user of the machine could
// have put in the host's way (a link, a FIFO, a folder or file of theirs, a
// folder anyone may write) is refused and left as it is.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "platform/posix/private/PrivateFolder.h"
#include "support/ScratchFolder.h"

namespace {

// A user id that no file of this test belongs to, for files "of another user".
constexpr uid_t kOtherUser = 4242;

bool isRoot() { return ::geteuid() == 0; }

void makeFolder(const std::string& path, mode_t mode) {
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0) << path;
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

struct FolderCase {
    const char* name;
    // Builds the layout below the scratch folder; returns the folder to open.
    std::function<std::string(const std::string& root)> layout;
    bool create;
    int error;  // 0: the folder is taken
    bool needsRoot = false;
};

void PrintTo(const FolderCase& folderCase, std::ostream* out) { *out << folderCase.name; }

class OwnFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(OwnFolder, IsTakenOnlyWhenNoOtherUserCanChangeIt) {
    const FolderCase& c = GetParam();
    if (c.needsRoot && !isRoot()) GTEST_SKIP() << "only root can give a folder to another user";
    ScratchFolder scratch;
    const std::string folder = c.layout(scratch.path());
    errno = 0;
    int fd = privatefolder::openOwnFolder(folder, c.create);
    if (fd >= 0) ::close(fd);
    if (c.error == 0) {
        EXPECT_GE(fd, 0) << "errno " << errno;
        EXPECT_EQ(modeOf(folder) & 022, 0u);
    } else {
        EXPECT_EQ(fd, -1);
        EXPECT_EQ(errno, c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, OwnFolder,
    ::testing::Values(
        FolderCase{"OwnPrivateFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/own", 0700);
                       return root + "/own";
                   },
                   false, 0},
        FolderCase{"MissingFoldersAreMadePrivate", [](const std::string& root) { return root + "/a/b/c"; }, true, 0},
        FolderCase{"MissingFolderWithoutCreate", [](const std::string& root) { return root + "/none"; }, false, ENOENT},
        FolderCase{"WorldWritableFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/open", 0777);
                       return root + "/open";
                   },
                   false, EPERM},
        FolderCase{"GroupWritableFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/group", 0770);
                       return root + "/group";
                   },
                   false, EPERM},
        FolderCase{"LinkInTheFoldersPlace",
                   [](const std::string& root) {
                       makeFolder(root + "/target", 0700);
                       ::symlink((root + "/target").c_str(), (root + "/link").c_str());
                       return root + "/link";
                   },
                   true, ELOOP},
        FolderCase{"FileInTheFoldersPlace",
                   [](const std::string& root) {
                       writeFile(root + "/file", "x");
                       return root + "/file/below";
                   },
                   true, ENOTDIR},
        FolderCase{"InsideAFolderAnyoneMayWriteWithoutTheStickyBit",
                   [](const std::string& root) {
                       makeFolder(root + "/shared", 0777);
                       makeFolder(root + "/shared/mine", 0700);
                       return root + "/shared/mine";
                   },
                   false, EPERM},
        FolderCase{"InsideAStickyFolderAnyoneMayWrite",
                   [](const std::string& root) {
                       makeFolder(root + "/tmp", 01777);
                       return root + "/tmp/mine";
                   },
                   true, 0},
        FolderCase{"ThroughAnOwnLinkInAnOwnFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/real", 0700);
                       ::symlink("real", (root + "/alias").c_str());
                       return root + "/alias/inner";
                   },
                   true, 0},
        FolderCase{"ThroughALinkToAFolderAnyoneMayWrite",
                   [](const std::string& root) {
                       makeFolder(root + "/open", 0777);
                       ::symlink("open", (root + "/alias").c_str());
                       return root + "/alias/inner";
                   },
                   true, EPERM},
        FolderCase{"RelativePath", [](const std::string&) { return std::string("relative/folder"); }, true, EINVAL},
        FolderCase{"AnotherUsersFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/theirs", 0700);
                       ::chown((root + "/theirs").c_str(), kOtherUser, kOtherUser);
                       return root + "/theirs";
                   },
                   false, EPERM, true},
        FolderCase{"OwnFolderInsideAnotherUsersFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/theirs", 0755);
                       makeFolder(root + "/theirs/Tavmo", 0700);
                       ::chown((root + "/theirs").c_str(), kOtherUser, kOtherUser);
                       return root + "/theirs/Tavmo";
                   },
                   false, EPERM, true},
        FolderCase{"AnotherUsersLinkInAStickyFolder",
                   [](const std::string& root) {
                       makeFolder(root + "/tmp", 01777);
                       makeFolder(root + "/mine", 0700);
                       ::symlink((root + "/mine").c_str(), (root + "/tmp/link").c_str());
                       ::lchown((root + "/tmp/link").c_str(), kOtherUser, kOtherUser);
                       return root + "/tmp/link/inner";
                   },
                   true, EPERM, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OwnFolder, MadeFoldersAreForTheUserAlone) {
    ScratchFolder scratch;
    mode_t previous = ::umask(0);
    bool made = privatefolder::makeOwnFolder(scratch.path() + "/x/y");
    ::umask(previous);
    ASSERT_TRUE(made);
    EXPECT_EQ(modeOf(scratch.path() + "/x"), 0700u);
    EXPECT_EQ(modeOf(scratch.path() + "/x/y"), 0700u);
}

struct FileCase {
    const char* name;
    // Puts something at <folder>/file before it is opened.
    std::function<void(const std::string& folder, const std::string& victim)> plant;
    int error;  // 0: opened
    bool needsRoot = false;
};

void PrintTo(const FileCase& fileCase, std::ostream* out) { *out << fileCase.name; }

class OwnFile : public ::testing::TestWithParam<FileCase> {};

// The victim is a file elsewhere that a link or hard link would make the
// host empty; whatever is refused stays as it was.
TEST_P(OwnFile, OnlyARegularFileOfTheUsersIsOpened) {
    const FileCase& c = GetParam();
    if (c.needsRoot && !isRoot()) GTEST_SKIP() << "only root can give a file to another user";
    ScratchFolder scratch;
    const std::string folder = scratch.path() + "/folder";
    const std::string victim = scratch.path() + "/victim";
    makeFolder(folder, 0700);
    writeFile(victim, "keep me");
    c.plant(folder, victim);
    int folderFd = privatefolder::openOwnFolder(folder, false);
    ASSERT_GE(folderFd, 0);
    errno = 0;
    int fd = privatefolder::openOwnFile(folderFd, "file", O_WRONLY);
    int error = errno;
    ::close(folderFd);
    if (c.error == 0) {
        ASSERT_GE(fd, 0) << "errno " << error;
        EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "blocking again once checked";
        EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
        ::close(fd);
        EXPECT_EQ(modeOf(folder + "/file"), 0600u);
    } else {
        EXPECT_EQ(fd, -1);
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(readFile(victim), "keep me");
}

INSTANTIATE_TEST_SUITE_P(
    Plants, OwnFile,
    ::testing::Values(
        FileCase{"NewFileIsCreatedForTheUserAlone", [](const std::string&, const std::string&) {}, 0},
        FileCase{"OwnFileReadableByOthersIsMadePrivate",
                 [](const std::string& folder, const std::string&) {
                     writeFile(folder + "/file", "old");
                     ::chmod((folder + "/file").c_str(), 0666);
                 },
                 0},
        FileCase{"LinkToAnotherFile",
                 [](const std::string& folder, const std::string& victim) {
                     ::symlink(victim.c_str(), (folder + "/file").c_str());
                 },
                 ELOOP},
        FileCase{"DanglingLink",
                 [](const std::string& folder, const std::string&) {
                     ::symlink("/nonexistent/created-by-the-host", (folder + "/file").c_str());
                 },
                 ELOOP},
        // Opened for writing without a reader, a FIFO would block for ever.
        FileCase{"FifoWithoutReader",
                 [](const std::string& folder, const std::string&) { ::mkfifo((folder + "/file").c_str(), 0600); },
                 ENXIO},
        FileCase{"FolderInTheFilesPlace",
                 [](const std::string& folder, const std::string&) { ::mkdir((folder + "/file").c_str(), 0700); },
                 EISDIR},
        FileCase{"AnotherUsersFile",
                 [](const std::string& folder, const std::string&) {
                     writeFile(folder + "/file", "theirs");
                     ::chmod((folder + "/file").c_str(), 0666);
                     ::chown((folder + "/file").c_str(), kOtherUser, kOtherUser);
                 },
                 EPERM, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A FIFO that has a reader opens, but is no file: it is refused all the same.
TEST(OwnFile, FifoWithAReaderIsRefused) {
    ScratchFolder scratch;
    const std::string fifo = scratch.path() + "/file";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    int folderFd = privatefolder::openOwnFolder(scratch.path(), false);
    ASSERT_GE(folderFd, 0);
    errno = 0;
    EXPECT_EQ(privatefolder::openOwnFile(folderFd, "file", O_RDWR), -1);
    EXPECT_EQ(errno, EPERM);
    ::close(folderFd);
    ::close(reader);
}

class HomeAndState : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_STATE_HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(HomeAndState, WithoutHomeThePasswordDatabaseNamesIt) {
    ::unsetenv("HOME");
    ::unsetenv("XDG_STATE_HOME");
    const std::string home = privatefolder::homeFolder();
    ASSERT_FALSE(home.empty()) << "every account of this machine has a home in the password database";
    EXPECT_EQ(privatefolder::stateFolder(), home + "/.local/state");
    ::setenv("HOME", "/somewhere", 1);
    EXPECT_EQ(privatefolder::homeFolder(), "/somewhere");
    EXPECT_EQ(privatefolder::stateFolder(), "/somewhere/.local/state");
    ::setenv("XDG_STATE_HOME", "relative/state", 1);
    EXPECT_EQ(privatefolder::stateFolder(), "/somewhere/.local/state") << "a relative state folder is ignored";
    ::setenv("XDG_STATE_HOME", "/state", 1);
    EXPECT_EQ(privatefolder::stateFolder(), "/state");
}

}  // namespace
