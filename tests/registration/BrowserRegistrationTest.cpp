// The browser registration tool on Linux: the files it writes for each scope,
// that removal takes back exactly those, and its failures.
#include <gtest/gtest.h>
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Registration.h"
#include "TavmoFacts.h"

namespace fs = std::filesystem;

namespace {

const char* const kManifestName = TAVMO_HOST_NAME ".json";

std::string expectedManifest(const std::string& hostPath) {
    return "{\n"
           "  \"name\": \"" TAVMO_HOST_NAME
           "\",\n"
           "  \"description\": \"" TAVMO_HOST_DESCRIPTION
           "\",\n"
           "  \"path\": \"" +
           hostPath +
           "\",\n"
           "  \"type\": \"stdio\",\n"
           "  \"allowed_origins\": [\"" TAVMO_EXTENSION_ORIGIN
           "\"]\n"
           "}\n";
}

std::string contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Every file and folder under `root`, with the files' contents.
std::map<std::string, std::string> treeOf(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = fs::relative(entry.path(), root).string();
        tree[relative] = entry.is_directory() ? "(folder)" : contentOf(entry.path());
    }
    return tree;
}

class BrowserRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tavmo-registration-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        scratch_ = pattern;
        home_ = scratch_ / "home";
        host_ = (scratch_ / "install" / "TavmoClientForWeb").string();
        writeFile(host_, "");
        fs::create_directories(home_);
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override { fs::remove_all(scratch_); }

    int tool(std::vector<std::string> arguments, const std::string& host = "") {
        arguments.push_back("--host=" + (host.empty() ? host_ : host));
        out_.str("");
        errors_.str("");
        return registration::run(arguments, out_, errors_);
    }

    // The arguments with ROOT standing for a root folder under the scratch folder.
    std::vector<std::string> underScratchRoot(std::vector<std::string> arguments) const {
        for (std::string& argument : arguments)
            if (std::size_t at = argument.find("ROOT"); at != std::string::npos)
                argument.replace(at, 4, (scratch_ / "root").string());
        return arguments;
    }

    fs::path userManifest(const std::string& browserFolder) const {
        return home_ / ".config" / browserFolder / "NativeMessagingHosts" / kManifestName;
    }
    fs::path setupFile() const { return home_ / ".config" / TAVMO_SETUP_PATH; }

    fs::path scratch_;
    fs::path home_;
    std::string host_;
    std::ostringstream out_;
    std::ostringstream errors_;
};

struct Placement {
    const char* name;
    std::vector<std::string> arguments;
    const char* configurationHome;  // XDG_CONFIG_HOME under the scratch folder, or null
    std::vector<std::string> manifests;
    bool writesSetup;
};

void PrintTo(const Placement& placement, std::ostream* out) { *out << placement.name; }

class RegistrationPlacement : public BrowserRegistration, public ::testing::WithParamInterface<Placement> {};

TEST_P(RegistrationPlacement, WritesTheManifestsAndNothingElse) {
    const Placement& placement = GetParam();
    fs::path configuration = home_ / ".config";
    if (placement.configurationHome) {
        configuration = scratch_ / placement.configurationHome;
        ::setenv("XDG_CONFIG_HOME", configuration.c_str(), 1);
    }
    ASSERT_EQ(tool(underScratchRoot(placement.arguments)), 0) << errors_.str();

    std::map<std::string, std::string> expected = {{"install/TavmoClientForWeb", ""}};
    for (const std::string& manifest : placement.manifests)
        expected[manifest + "/" + kManifestName] = expectedManifest(host_);
    if (placement.writesSetup)
        expected[fs::relative(configuration / TAVMO_SETUP_PATH, scratch_).string()] =
            TAVMO_SETUP_ENTRY "=" + (scratch_ / "install").string() + "/\n";
    std::map<std::string, std::string> files;
    for (const auto& [path, content] : treeOf(scratch_))
        if (content != "(folder)") files[path] = content;
    EXPECT_EQ(files, expected);
    std::string out = out_.str();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), expected.size() - 1) << out;
}

INSTANTIATE_TEST_SUITE_P(
    ScopesAndFolders, RegistrationPlacement,
    ::testing::Values(
        Placement{"PerUserUnderHome",
                  {"register"},
                  nullptr,
                  {"home/.config/google-chrome/NativeMessagingHosts", "home/.config/chromium/NativeMessagingHosts",
                   "home/.config/microsoft-edge/NativeMessagingHosts",
                   "home/.config/BraveSoftware/Brave-Browser/NativeMessagingHosts"},
                  true},
        Placement{"PerUserUnderTheConfigurationHome",
                  {"register", "--user"},
                  "xdg",
                  {"xdg/google-chrome/NativeMessagingHosts", "xdg/chromium/NativeMessagingHosts",
                   "xdg/microsoft-edge/NativeMessagingHosts", "xdg/BraveSoftware/Brave-Browser/NativeMessagingHosts"},
                  true},
        Placement{"PerUserForTwoBrowsers",
                  {"register", "--browser", "brave,edge"},
                  nullptr,
                  {"home/.config/microsoft-edge/NativeMessagingHosts",
                   "home/.config/BraveSoftware/Brave-Browser/NativeMessagingHosts"},
                  true},
        Placement{"SystemWide",
                  {"register", "--system", "--root", "ROOT"},
                  nullptr,
                  {"root/etc/opt/chrome/native-messaging-hosts", "root/etc/chromium/native-messaging-hosts",
                   "root/etc/opt/edge/native-messaging-hosts", "root/etc/opt/brave.com/brave/native-messaging-hosts"},
                  false},
        Placement{"SystemWideForChromium",
                  {"register", "--system", "--browser=chromium", "--root=ROOT"},
                  nullptr,
                  {"root/etc/chromium/native-messaging-hosts"},
                  false}),
    [](const ::testing::TestParamInfo<Placement>& info) { return info.param.name; });

TEST_F(BrowserRegistration, ManifestPathIsAbsoluteAndEscaped) {
    fs::path odd = scratch_ / "a \"quoted\" \\ folder" / "TavmoClientForWeb";
    writeFile(odd, "");
    fs::path previous = fs::current_path();
    fs::current_path(scratch_);
    int exitCode = tool({"register", "--browser", "chrome"}, fs::relative(odd, scratch_).string());
    fs::current_path(previous);
    ASSERT_EQ(exitCode, 0) << errors_.str();

    Json::Value manifest;
    std::istringstream text(contentOf(userManifest("google-chrome")));
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), text, &manifest, nullptr));
    EXPECT_EQ(manifest["path"].asString(), odd.string());
    EXPECT_NE(text.str().find(R"(a \"quoted\" \\ folder)"), std::string::npos) << text.str();
}

TEST_F(BrowserRegistration, RegisteringAgainKeepsOrUpdatesTheManifests) {
    ASSERT_EQ(tool({"register"}), 0);
    std::map<std::string, std::string> first = treeOf(home_);
    ASSERT_EQ(tool({"register"}), 0);
    EXPECT_EQ(treeOf(home_), first);
    std::string again = out_.str();
    EXPECT_NE(again.find("Chrome: already registered ("), std::string::npos) << again;
    EXPECT_EQ(again.find(": registered"), std::string::npos) << again;

    std::string moved = (scratch_ / "moved" / "TavmoClientForWeb").string();
    writeFile(moved, "");
    ASSERT_EQ(tool({"register"}, moved), 0);
    EXPECT_EQ(contentOf(userManifest("chromium")), expectedManifest(moved));
    EXPECT_EQ(contentOf(setupFile()), TAVMO_SETUP_ENTRY "=" + (scratch_ / "moved").string() + "/\n");
}

TEST_F(BrowserRegistration, UnregisteringRestoresWhatWasThereBefore) {
    writeFile(home_ / ".config/google-chrome/NativeMessagingHosts/other.host.json", "{}");
    writeFile(home_ / ".config/chromium/Default/Preferences", "{}");
    writeFile(home_ / ".config/Tavmo/TavmoClientForWeb/Configuration", "kept");
    fs::create_directories(scratch_ / "root/etc/opt");
    std::map<std::string, std::string> before = treeOf(scratch_);

    ASSERT_EQ(tool({"register"}), 0);
    ASSERT_EQ(tool({"register", "--system", "--root", (scratch_ / "root").string()}), 0);
    ASSERT_NE(treeOf(scratch_), before);
    ASSERT_EQ(tool({"unregister", "--system", "--root", (scratch_ / "root").string()}), 0) << errors_.str();
    ASSERT_EQ(tool({"unregister"}), 0) << errors_.str();
    EXPECT_EQ(treeOf(scratch_), before);

    ASSERT_EQ(tool({"unregister"}), 0);
    EXPECT_NE(out_.str().find("Edge: not registered ("), std::string::npos) << out_.str();
    EXPECT_EQ(treeOf(scratch_), before);
}

TEST_F(BrowserRegistration, TheSetupStaysWhileAnotherBrowserIsRegistered) {
    ASSERT_EQ(tool({"register"}), 0);
    ASSERT_EQ(tool({"unregister", "--browser", "chrome,edge"}), 0);
    EXPECT_FALSE(fs::exists(userManifest("google-chrome")));
    EXPECT_FALSE(fs::exists(userManifest("microsoft-edge")));
    EXPECT_TRUE(fs::exists(userManifest("chromium")));
    EXPECT_TRUE(fs::exists(setupFile()));
    EXPECT_NE(out_.str().find("Setup: kept, other browsers still use it"), std::string::npos) << out_.str();

    ASSERT_EQ(tool({"unregister", "--browser", "brave", "--browser", "chromium"}), 0);
    EXPECT_FALSE(fs::exists(setupFile()));
}

TEST_F(BrowserRegistration, UnregisteringLeavesAnotherInstallationsRegistration) {
    ASSERT_EQ(tool({"register"}), 0);
    std::map<std::string, std::string> registered = treeOf(home_);
    std::string other = (scratch_ / "other" / "TavmoClientForWeb").string();
    writeFile(other, "");

    ASSERT_EQ(tool({"unregister"}, other), 0);
    EXPECT_EQ(treeOf(home_), registered);
    EXPECT_NE(out_.str().find("Brave: left alone, it holds another installation's registration"), std::string::npos)
        << out_.str();
}

TEST_F(BrowserRegistration, CheckTellsWhetherEveryRegistrationIsInPlace) {
    EXPECT_EQ(tool({"check"}), 1);
    EXPECT_NE(out_.str().find("Chromium: missing (" + userManifest("chromium").string() + ")"), std::string::npos)
        << out_.str();

    ASSERT_EQ(tool({"register"}), 0);
    EXPECT_EQ(tool({"check"}), 0);
    EXPECT_NE(out_.str().find("Edge: registered (" + userManifest("microsoft-edge").string() + ")"), std::string::npos)
        << out_.str();

    writeFile(userManifest("microsoft-edge"), "{}");
    EXPECT_EQ(tool({"check"}), 1);
    EXPECT_NE(out_.str().find("Edge: differs from this installation's ("), std::string::npos) << out_.str();
    EXPECT_EQ(tool({"check", "--browser", "chrome"}), 0);
}

struct Failure {
    const char* name;
    const char* blockedByAFile;  // a path under the scratch folder that is a file where a folder must be
    std::vector<std::string> arguments;
    const char* error;
    std::vector<std::string> registeredFirst;
};

void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.name; }

class RegistrationFailure : public BrowserRegistration, public ::testing::WithParamInterface<Failure> {};

TEST_P(RegistrationFailure, StopsAtTheFirstFailureWithExitCode1) {
    const Failure& failure = GetParam();
    writeFile(scratch_ / failure.blockedByAFile, "");
    EXPECT_EQ(tool(underScratchRoot(failure.arguments)), 1);
    EXPECT_EQ(errors_.str().rfind("TavmoRegisterBrowsers: " + std::string(failure.error), 0), 0) << errors_.str();
    std::string out = out_.str();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), failure.registeredFirst.size()) << out;
    for (const std::string& title : failure.registeredFirst)
        EXPECT_NE(out.find(title + ": registered ("), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Blocked, RegistrationFailure,
    ::testing::Values(
        Failure{"NoConfigurationFolder", "home/.config", {"register"}, "cannot create the folder for ", {}},
        Failure{"SystemFolderMissing",
                "root/etc",
                {"register", "--system", "--root", "ROOT"},
                "cannot create the folder for ",
                {}},
        Failure{"ThirdBrowser",
                "root/etc/opt/edge",
                {"register", "--system", "--root", "ROOT"},
                "cannot create the folder for ",
                {"Chrome", "Chromium"}}),
    [](const ::testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST_F(BrowserRegistration, AHostThatIsNotThereIsNotRegistered) {
    EXPECT_EQ(tool({"register"}, "/nonexistent/TavmoClientForWeb"), 1);
    EXPECT_EQ(errors_.str(), "TavmoRegisterBrowsers: there is no host at /nonexistent/TavmoClientForWeb\n");
    EXPECT_EQ(treeOf(home_), (std::map<std::string, std::string>{}));
}

TEST_F(BrowserRegistration, WithoutHomeThereIsNoUserRegistration) {
    ::unsetenv("HOME");
    EXPECT_EQ(tool({"register"}), 1);
    EXPECT_EQ(errors_.str(), "TavmoRegisterBrowsers: neither XDG_CONFIG_HOME nor HOME is set\n");
}

struct Usage {
    std::vector<std::string> arguments;
    const char* error;
};

TEST(RegistrationUsage, UnusableCommandLinesExitWith2AndSayWhy) {
    const std::vector<Usage> cases = {
        {{}, "no command given"},
        {{"install"}, "unknown command \"install\""},
        {{"register", "--browser", "opera"}, "unknown browser \"opera\" (known: chrome, chromium, edge, brave)"},
        {{"register", "--browser", "chrome,"}, "unknown browser \"\" (known: chrome, chromium, edge, brave)"},
        {{"register", "--user", "--system"}, "choose --user or --system, not both"},
        {{"register", "--root", "/tmp"}, "--root needs --system"},
        {{"register", "--system", "--host"}, "--host needs a value"},
        {{"check", "--host="}, "--host needs a value"},
        {{"unregister", "--force"}, "unknown argument \"--force\""},
    };
    for (const Usage& usage : cases) {
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(registration::run(usage.arguments, out, errors), 2) << usage.error;
        EXPECT_EQ(errors.str(), "TavmoRegisterBrowsers: " + std::string(usage.error) +
                                    "\nTavmoRegisterBrowsers --help shows how to use it.\n");
        EXPECT_EQ(out.str(), "");
    }
}

TEST(RegistrationUsage, OptionsInBothFormsAndBrowsersOnce) {
    registration::Options options = registration::parseArguments(
        {"unregister", "--system", "--browser", "edge,chrome", "--browser=edge", "--host=/h", "--root", "/r"});
    EXPECT_EQ(options.command, registration::Command::Unregister);
    EXPECT_EQ(options.scope, registration::Scope::System);
    std::vector<std::string> browsers;
    for (const registration::Browser* browser : options.browsers) browsers.push_back(browser->option);
    EXPECT_EQ(browsers, (std::vector<std::string>{"edge", "chrome"}));
    EXPECT_EQ(options.host, "/h");
    EXPECT_EQ(options.root, "/r");

    registration::Options defaults = registration::parseArguments({"check"});
    EXPECT_EQ(defaults.scope, registration::Scope::User);
    EXPECT_EQ(defaults.browsers.size(), 4u);
}

}  // namespace
