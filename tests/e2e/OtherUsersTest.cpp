// Another user of the machine against this user's host: what they put in a
// folder that both can write (a link, a FIFO, a file or folder of theirs, a
// lock they hold, a list of approved websites) changes nothing for the host,
// which keeps its files only in folders of the user's own. The host runs as a
// second account that each test creates and removes; the tests (root) play
// the other user. Without root they are skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "HostProcess.h"
#include "TavmoFacts.h"

namespace {

const std::string kVersionRequest = R"({"type":"RequestGetVersion","_direction":1,"_id":7})";
const std::string kVersionReply =
    "{\"_direction\":2,\"_id\":7,\"type\":\"RequestGetVersion\",\"version\":\"" TAVMO_HOST_VERSION "\"}\n";

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::optional<struct stat> statusOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return info;
}

int run(const std::vector<std::string>& command) {
    Launch launch;
    launch.command = command;
    launch.captureErrors = true;
    Subprocess process(launch);
    std::string ignored;
    while (process.receive(Subprocess::Clock::now() + std::chrono::seconds(30), ignored) ==
           Subprocess::Received::Bytes) {
    }
    return process.waitExit(std::chrono::seconds(30)).value_or(-1);
}

// An account of its own for one test, with its home in the test's folder.
class SecondAccount {
public:
    explicit SecondAccount(const std::string& home) : name_("tavmopeer" + std::to_string(::getpid())) {
        // Tests that run side by side may find the password file locked.
        for (int attempt = 0; attempt < 50 && !created_; ++attempt) {
            created_ = run({"useradd", "--no-create-home", "--home-dir", home, "--shell", "/usr/sbin/nologin",
                            "--user-group", name_}) == 0;
            if (!created_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        passwd* entry = created_ ? ::getpwnam(name_.c_str()) : nullptr;
        if (!entry) return;
        uid_ = entry->pw_uid;
        gid_ = entry->pw_gid;
        ::mkdir(home.c_str(), 0700);
        give(home);
    }
    ~SecondAccount() {
        if (!created_) return;
        for (int attempt = 0; attempt < 50 && run({"userdel", name_}) != 0; ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SecondAccount(const SecondAccount&) = delete;
    SecondAccount& operator=(const SecondAccount&) = delete;

    bool ready() const { return created_ && uid_ != 0; }
    uid_t uid() const { return uid_; }
    void give(const std::string& path) const { ::lchown(path.c_str(), uid_, gid_); }
    // Runs a command as this account, with the environment it is given.
    std::vector<std::string> launcher() const {
        return {"setpriv", "--reuid=" + std::to_string(uid_), "--regid=" + std::to_string(gid_), "--clear-groups",
                "--"};
    }

private:
    std::string name_;
    bool created_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

class OtherUsers : public ::testing::Test {
protected:
    void SetUp() override {
        if (windowsHost()) GTEST_SKIP() << "a Windows host keeps its files in the user's own temporary folder";
        if (::geteuid() != 0) GTEST_SKIP() << "creating a second account (useradd) needs root";
        if (::access("/usr/sbin/useradd", X_OK) != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "useradd or setpriv is missing";
        // The second account must reach its folders below the test's own.
        ::chmod(folder_.path().c_str(), 0755);
        account_ = std::make_unique<SecondAccount>(home());
        if (!account_->ready()) GTEST_SKIP() << "no second account could be created";
        // A folder that every user may write, as /tmp, made by the other user.
        ::mkdir(shared().c_str(), 0700);
        ::chmod(shared().c_str(), 01777);
    }

    std::string home() const { return folder_.path() + "/peer-home"; }
    std::string shared() const { return folder_.path() + "/shared"; }
    std::string stateFolder() const { return home() + "/.local/state"; }
    std::string runtimeFolder() const { return stateFolder() + "/Tavmo/Runtime"; }
    std::string logFolder() const { return stateFolder() + "/Tavmo/Data/User"; }

    // The host of the second account as a browser on Linux starts it: none of
    // the folder variables set, unless `environment` sets them.
    HostOptions asSecondAccount(const std::map<std::string, std::string>& environment = {}) const {
        HostOptions options;
        options.launcher = account_->launcher();
        options.unsetEnvironment = {"HOME",         "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "TMPDIR",
                                    "LOCALAPPDATA", "DISPLAY",        "WAYLAND_DISPLAY"};
        for (const auto& [name, value] : environment) {
            options.environment[name] = value;
            options.unsetEnvironment.erase(
                std::remove(options.unsetEnvironment.begin(), options.unsetEnvironment.end(), name),
                options.unsetEnvironment.end());
        }
        return options;
    }

    ScratchFolder folder_;
    std::unique_ptr<SecondAccount> account_;
};

void answersAndEnds(HostProcess& host) {
    host.sendFrame(kVersionRequest);
    EXPECT_EQ(host.readFrame(), kVersionReply);
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
}

TEST_F(OtherUsers, WithoutEnvironmentTheHostKeepsEverythingInFoldersOfTheUsersOwnHome) {
    HostProcess host(folder_, asSecondAccount());
    answersAndEnds(host);

    for (const std::string& folder : {runtimeFolder(), logFolder()}) {
        std::optional<struct stat> info = statusOf(folder);
        ASSERT_TRUE(info) << folder;
        EXPECT_EQ(info->st_uid, account_->uid()) << folder;
        EXPECT_EQ(info->st_mode & 0777, 0700u) << folder;
    }
    for (const char* name : {"ZOLTStdout.txt", "ZOLT.EXE"}) {
        std::optional<struct stat> info = statusOf(runtimeFolder() + "/" + name);
        ASSERT_TRUE(info) << name;
        EXPECT_TRUE(S_ISREG(info->st_mode)) << name;
        EXPECT_EQ(info->st_uid, account_->uid()) << name;
        EXPECT_EQ(info->st_mode & 0777, 0600u) << name;
    }
    const std::string log = logFilesIn(logFolder());
    EXPECT_TRUE(logHas(log, "MainThread: TavmoClientForWeb Path to log files are: [" + logFolder() + "/]"));
    EXPECT_TRUE(
        logHas(log, "MainThread: Sucessfully redirected stdout to file: [" + runtimeFolder() + "/ZOLTStdout.txt]"));
    for (const char* name : {"/tmp/ZOLTStdout.txt", "/tmp/ZOLT.EXE", "/tmp/Tavmo"}) {
        std::optional<struct stat> info = statusOf(name);
        EXPECT_TRUE(!info || info->st_uid != account_->uid()) << name << " made by the host";
    }
}

struct Plant {
    const char* name;
    // Puts the other user's thing at `path`; `victim` is a file of the
    // second account that must stay as it is.
    std::function<void(const std::string& path, const std::string& victim)> put;
};

void PrintTo(const Plant& plant, std::ostream* out) { *out << plant.name; }

class CaptureFileInASharedFolder : public OtherUsers, public ::testing::WithParamInterface<Plant> {};

// TMPDIR is the user's choice, and a folder that the other user can write is
// refused before anything in it is opened.
TEST_P(CaptureFileInASharedFolder, IsRefusedAndTheHostAnswersWithoutIt) {
    const std::string victim = home() + "/.bashrc";
    writeFile(victim, "the user's settings\n");
    account_->give(victim);
    const std::string planted = shared() + "/ZOLTStdout.txt";
    GetParam().put(planted, victim);

    HostProcess host(folder_, asSecondAccount({{"TMPDIR", shared()}}));
    answersAndEnds(host);

    EXPECT_EQ(readFile(victim), "the user's settings\n");
    std::optional<struct stat> info = statusOf(planted);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->st_uid, 0u) << "still the other user's";
    if (S_ISREG(info->st_mode)) {
        EXPECT_EQ(readFile(planted), "the other user's\n");
    }
    const std::string log = logFilesIn(logFolder());
    EXPECT_TRUE(logHas(log, " MainThread: Can't redirect stdout to file: [" + planted +
                                "], it is not the user's own; going on without it"))
        << log;
    EXPECT_TRUE(logHas(log, "ERROR")) << "said at level 1";
}

INSTANTIATE_TEST_SUITE_P(Plants, CaptureFileInASharedFolder,
                         ::testing::Values(Plant{"LinkToTheUsersFile",
                                                 [](const std::string& path, const std::string& victim) {
                                                     ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
                                                 }},
                                           Plant{"FileAnyoneMayWrite",
                                                 [](const std::string& path, const std::string&) {
                                                     writeFile(path, "the other user's\n");
                                                     ::chmod(path.c_str(), 0666);
                                                 }},
                                           Plant{"Fifo",
                                                 [](const std::string& path, const std::string&) {
                                                     ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
                                                 }}),
                         [](const auto& info) { return std::string(info.param.name); });

// A FIFO in the user's own TMPDIR (left by the user, or by a program of
// theirs) is no capture file either: the start does not hang on it.
TEST_F(OtherUsers, FifoInTheUsersOwnTemporaryFolderIsRefusedWithoutHanging) {
    const std::string temporary = home() + "/tmp";
    ::mkdir(temporary.c_str(), 0700);
    account_->give(temporary);
    ASSERT_EQ(::mkfifo((temporary + "/ZOLTStdout.txt").c_str(), 0600), 0);
    account_->give(temporary + "/ZOLTStdout.txt");

    HostProcess host(folder_, asSecondAccount({{"TMPDIR", temporary}}));
    answersAndEnds(host);
    EXPECT_TRUE(logHas(logFilesIn(logFolder()), "MainThread: Can't redirect stdout to file: [" + temporary +
                                                    "/ZOLTStdout.txt], it is not a regular file; going on without it"));
}

// The other user's lock, held where the runtime folder is named, keeps
// nobody else's host from starting: a runtime folder that is not the user's
// own is passed over for one under the user's state folder.
TEST_F(OtherUsers, AnotherUsersLockDoesNotKeepTheHostFromStartingButItsOwnDoes) {
    const std::string theirs = shared() + "/ZOLT.EXE";
    int held = ::open(theirs.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    HostProcess first(folder_, asSecondAccount({{"XDG_RUNTIME_DIR", shared()}}));
    first.sendFrame(kVersionRequest);
    ASSERT_EQ(first.readFrame(), kVersionReply);
    {
        HostProcess second(folder_, asSecondAccount());
        EXPECT_EQ(second.waitExit(), 255) << "the same user's second host";
    }
    first.sendFrame(kVersionRequest);
    EXPECT_EQ(first.readFrame(), kVersionReply);
    first.closeInput();
    EXPECT_EQ(first.waitExit(), 0);
    ::close(held);

    EXPECT_TRUE(statusOf(runtimeFolder() + "/ZOLT.EXE"));
    EXPECT_TRUE(logHas(logFilesIn(logFolder()), "MainThread: CreateMutexExA(...) can't own the mutex ERROR: ["));
}

struct DataFolderCase {
    const char* name;
    bool othersFolder;
    const char* reply;
};

void PrintTo(const DataFolderCase& c, std::ostream* out) { *out << c.name; }

class ApprovedWebsites : public OtherUsers, public ::testing::WithParamInterface<DataFolderCase> {};

// The same list of approved websites lets the host join without asking when
// it lies in the user's own folder, and counts for nothing in the other
// user's, where the host neither reads it nor writes its logs.
TEST_P(ApprovedWebsites, CountOnlyFromTheUsersOwnFolder) {
    const DataFolderCase& c = GetParam();
    const std::string base = c.othersFolder ? shared() : home() + "/appdata";
    std::string path = base;
    for (const char* part : {"", "/Tavmo", "/Tavmo/Data", "/Tavmo/Data/User"}) {
        path = base + part;
        ::mkdir(path.c_str(), 0700);
        if (!c.othersFolder)
            account_->give(path);
        else if (*part)
            ::chmod(path.c_str(), 0777);  // so that the host would write its logs there
    }
    writeFile(path + "/ApprovedDomains.txt", "meet.example.org\n");
    if (!c.othersFolder) account_->give(path + "/ApprovedDomains.txt");

    HostProcess host(folder_, asSecondAccount({{"LOCALAPPDATA", base}}));
    auto replyTo = [&host](const std::string& type, const std::string& fields) {
        host.sendFrame("{\"type\":\"" + type + "\",\"_direction\":1" + fields + "}");
        for (std::optional<std::string> frame = host.readFrame(); frame; frame = host.readFrame()) {
            Json::Value message;
            std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
            if (reader->parse(frame->data(), frame->data() + frame->size(), &message, nullptr) &&
                message["type"].asString() == type)
                return message;
        }
        return Json::Value("(no reply to " + type + ")");
    };
    EXPECT_EQ(replyTo("InEventStart", "")["result"].asString(), "TavmoClient started");
    EXPECT_EQ(replyTo("RequestSetDomain", ",\"domain\":\"meet.example.org\"")["result"].asString(), "ok");
    Json::Value meeting = replyTo("PrivateInEventStartMyMeeting", "");
    EXPECT_EQ(meeting.get("error", meeting.get("result", "")).asString(), c.reply) << meeting.toStyledString();
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);

    const std::string theirLogs = logFilesIn(shared() + "/Tavmo/Data/User");
    EXPECT_EQ(theirLogs, "") << "logs where the other user reads them";
}

INSTANTIATE_TEST_SUITE_P(Folders, ApprovedWebsites,
                         ::testing::Values(DataFolderCase{"InTheUsersOwnFolder", false, "ok"},
                                           DataFolderCase{"InAnotherUsersFolder", true,
                                                          "TavmoClient Can not get the Domain approval from enduser"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
