#include <sys/stat.h>

#include <functional>
#include <string>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class ApprovedDomainTest : public StandInTest {};

TEST_F(ApprovedDomainTest, SavedDomainSurvivesUninitializeAndInitialize) {
    ASSERT_EQ(initialize(), 1);
    EXPECT_FALSE(domainApproved("example.org"));
    ASSERT_EQ(saveDomain("Example.org"), 0);
    EXPECT_TRUE(domainApproved("example.org"));
    EXPECT_FALSE(domainApproved("other.org"));
    EXPECT_FALSE(domainApproved("example.org.evil"));
    TavmoClientUninitialize();

    ASSERT_EQ(initialize(), 1);
    EXPECT_TRUE(domainApproved("EXAMPLE.ORG"));
    EXPECT_FALSE(domainApproved("other.org"));
    EXPECT_EQ(readFile(dataDirectory() / "ApprovedDomains.txt"), "Example.org\n");
}

TEST_F(ApprovedDomainTest, SavingTwiceKeepsOneLine) {
    ASSERT_EQ(initialize(), 1);
    ASSERT_EQ(saveDomain("a.example"), 0);
    ASSERT_EQ(saveDomain("b.example"), 0);
    ASSERT_EQ(saveDomain("A.EXAMPLE"), 0);
    EXPECT_EQ(readFile(dataDirectory() / "ApprovedDomains.txt"), "a.example\nb.example\n");
}

TEST_F(ApprovedDomainTest, EnvironmentOverridesTheDataDirectory) {
    const fs::path overridden = dir_.path() / "overridden";
    setEnvironment("TAVMO_STANDIN_DATA_DIR", overridden.string());
    ASSERT_EQ(initialize(), 1);
    ASSERT_EQ(saveDomain("moved.example"), 0);
    EXPECT_EQ(readFile(overridden / "ApprovedDomains.txt"), "moved.example\n");
    EXPECT_FALSE(fs::exists(dataDirectory() / "ApprovedDomains.txt"));
}

TEST_F(ApprovedDomainTest, HandEditedFileIsReadAndExtendedCleanly) {
    writeFile(dataDirectory() / "ApprovedDomains.txt", "crlf.example\r\nlast.example");
    ASSERT_EQ(initialize(), 1);
    EXPECT_TRUE(domainApproved("crlf.example"));
    EXPECT_TRUE(domainApproved("last.example"));
    ASSERT_EQ(saveDomain("new.example"), 0);
    EXPECT_TRUE(domainApproved("last.example"));
    EXPECT_TRUE(domainApproved("new.example"));
    EXPECT_EQ(readFile(dataDirectory() / "ApprovedDomains.txt"), "crlf.example\r\nlast.example\nnew.example\n");
}

TEST_F(ApprovedDomainTest, ScenarioDomainsAreApprovedButNotStored) {
    ASSERT_EQ(initialize("approved-domain Scenario.example\n"), 1);
    EXPECT_TRUE(domainApproved("scenario.example"));
    EXPECT_FALSE(fs::exists(dataDirectory() / "ApprovedDomains.txt"));
    TavmoClientUninitialize();
    clearEnvironment("TAVMO_STANDIN_SCENARIO");
    ASSERT_EQ(initialize(), 1);
    EXPECT_FALSE(domainApproved("scenario.example"));
}

TEST_F(ApprovedDomainTest, UnwritableDataDirectoryIsAStorageError) {
    const fs::path blocker = dir_.path() / "not-a-directory";
    writeFile(blocker, "x");
    dataDirectory_ = blocker / "data";
    ASSERT_EQ(initialize(), 1);
    EXPECT_EQ(saveDomain("lost.example"), 4);
    EXPECT_FALSE(domainApproved("lost.example"));
}

struct ChangeableFolder {
    const char* name;
    // Makes `folder` with the other user's list of approved websites in it.
    std::function<void(const fs::path& folder, const fs::path& aside)> make;
};

void PrintTo(const ChangeableFolder& folder, std::ostream* out) { *out << folder.name; }

class FolderOthersCanChange : public StandInTest, public ::testing::WithParamInterface<ChangeableFolder> {};

// Another user who can write the folder could approve websites for this
// user, or read the logs: the library takes neither from there nor puts
// anything there.
TEST_P(FolderOthersCanChange, HoldsNeitherApprovedWebsitesNorLogs) {
    const fs::path folder = dir_.path() / "folder";
    GetParam().make(folder, dir_.path() / "aside");
    dataDirectory_ = folder;
    logDirectory_ = folder;
    ASSERT_EQ(initialize(), 1);
    EXPECT_FALSE(domainApproved("planted.example"));
    EXPECT_EQ(saveDomain("mine.example"), 4);
    TavmoClientLog(TAVMO_CLIENT_LOG_ERROR, "a.cpp", 1, "", "a line for the log");
    EXPECT_TRUE(logFiles().empty());
    EXPECT_EQ(readFile(folder / "ApprovedDomains.txt"), "planted.example\n");
}

void makeWithList(const fs::path& folder, mode_t mode) {
    fs::create_directories(folder);
    writeFile(folder / "ApprovedDomains.txt", "planted.example\n");
    ::chmod(folder.c_str(), mode);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderOthersCanChange,
    ::testing::Values(
        ChangeableFolder{"AnyoneMayWrite", [](const fs::path& folder, const fs::path&) { makeWithList(folder, 0777); }},
        ChangeableFolder{"GroupMayWrite", [](const fs::path& folder, const fs::path&) { makeWithList(folder, 0770); }},
        ChangeableFolder{"LinkInItsPlace",
                         [](const fs::path& folder, const fs::path& aside) {
                             makeWithList(aside, 0700);
                             fs::create_directory_symlink(aside, folder);
                         }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace standin_test
