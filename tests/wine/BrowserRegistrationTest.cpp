// The browser registration tool on Windows: the registry values and the
// manifest it writes for each scope, read back through the registry itself,
// and that removal takes back exactly those.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "Registration.h"
#include "TavmoFacts.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::wstring> kBrowserKeys = {
    L"Software\\Google\\Chrome\\NativeMessagingHosts\\" TAVMO_HOST_NAME,
    L"Software\\Chromium\\NativeMessagingHosts\\" TAVMO_HOST_NAME,
    L"Software\\Microsoft\\Edge\\NativeMessagingHosts\\" TAVMO_HOST_NAME,
    L"Software\\BraveSoftware\\Brave-Browser\\NativeMessagingHosts\\" TAVMO_HOST_NAME,
};
const wchar_t* const kSetupKey = L"" TAVMO_SETUP_KEY;

// A text value of the registry (the default value without a name), or
// nothing when the key or the value is missing.
std::optional<std::wstring> registryText(HKEY hive, const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t value[4096] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(hive, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

bool keyExists(HKEY hive, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(hive, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

void setRegistryText(HKEY hive, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(hive, key.c_str(), name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::string contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string jsonEscaped(const std::string& path) {
    std::string escaped;
    for (char character : path) escaped += character == '\\' ? std::string("\\\\") : std::string(1, character);
    return escaped;
}

class WindowsRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("tavmo-registration-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_ / "install");
        host_ = scratch_ / "install" / "TavmoClientForWeb.exe";
        std::ofstream(host_).put('\0');
        wchar_t previous[32768] = {};
        if (GetEnvironmentVariableW(L"LOCALAPPDATA", previous, 32768) > 0) previousAppData_ = previous;
        SetEnvironmentVariableW(L"LOCALAPPDATA", (scratch_ / "appdata").c_str());
    }

    void TearDown() override {
        for (const char* scope : {"--user", "--system"}) tool({"unregister", scope});
        SetEnvironmentVariableW(L"LOCALAPPDATA", previousAppData_ ? previousAppData_->c_str() : nullptr);
        fs::remove_all(scratch_);
    }

    int tool(std::vector<std::string> arguments, const fs::path& host = {}) {
        arguments.push_back("--host=" + (host.empty() ? host_ : host).u8string());
        out_.str("");
        errors_.str("");
        return registration::run(arguments, out_, errors_);
    }

    fs::path userManifest() const {
        return scratch_ / "appdata" / "Tavmo" / "TavmoClientForWeb" / TAVMO_HOST_NAME ".json";
    }

    fs::path scratch_;
    fs::path host_;
    std::optional<std::wstring> previousAppData_;
    std::ostringstream out_;
    std::ostringstream errors_;
};

struct Scope {
    const char* option;
    HKEY hive;
    bool manifestBesideTheHost;
};

class WindowsRegistrationScope : public WindowsRegistration, public ::testing::WithParamInterface<Scope> {};

TEST_P(WindowsRegistrationScope, EveryBrowsersKeyNamesTheManifestUntilRemoved) {
    const Scope& scope = GetParam();
    fs::path manifest = scope.manifestBesideTheHost ? host_.parent_path() / TAVMO_HOST_NAME ".json" : userManifest();
    ASSERT_EQ(tool({"register", scope.option}), 0) << errors_.str();

    for (const std::wstring& key : kBrowserKeys) EXPECT_EQ(registryText(scope.hive, key), manifest.wstring());
    std::string text = contentOf(manifest);
    EXPECT_NE(text.find("  \"path\": \"" + jsonEscaped(host_.u8string()) + "\",\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  \"allowed_origins\": [\"" TAVMO_EXTENSION_ORIGIN "\"]\n"), std::string::npos) << text;
    if (scope.hive == HKEY_CURRENT_USER)
        EXPECT_EQ(registryText(HKEY_CURRENT_USER, kSetupKey, L"" TAVMO_SETUP_ENTRY),
                  host_.parent_path().wstring() + L"\\");
    else
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kSetupKey));

    ASSERT_EQ(tool({"unregister", scope.option}), 0) << errors_.str();
    for (const std::wstring& key : kBrowserKeys) EXPECT_FALSE(keyExists(scope.hive, key));
    EXPECT_FALSE(keyExists(scope.hive, L"Software\\Chromium"));
    EXPECT_FALSE(keyExists(scope.hive, L"Software\\BraveSoftware"));
    EXPECT_TRUE(keyExists(scope.hive, L"Software\\Microsoft"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kSetupKey));
    EXPECT_FALSE(fs::exists(manifest));
}

INSTANTIATE_TEST_SUITE_P(Scopes, WindowsRegistrationScope,
                         ::testing::Values(Scope{"--user", HKEY_CURRENT_USER, false},
                                           Scope{"--system", HKEY_LOCAL_MACHINE, true}),
                         [](const ::testing::TestParamInfo<Scope>& info) {
                             return info.param.hive == HKEY_CURRENT_USER ? "PerUser" : "SystemWide";
                         });

TEST_F(WindowsRegistration, KeysThatHoldMoreThanTheRegistrationStay) {
    setRegistryText(HKEY_CURRENT_USER, L"Software\\Google\\Chrome", L"Other", L"kept");
    ASSERT_EQ(tool({"register"}), 0);
    ASSERT_EQ(tool({"unregister"}), 0);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, L"Software\\Google\\Chrome", L"Other"), L"kept");
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, L"Software\\Google\\Chrome\\NativeMessagingHosts"));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Google");
}

TEST_F(WindowsRegistration, TheManifestStaysWhileAnotherBrowserUsesIt) {
    ASSERT_EQ(tool({"register"}), 0);
    ASSERT_EQ(tool({"unregister", "--browser", "edge"}), 0);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kBrowserKeys[2]));
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, kBrowserKeys[0]), userManifest().wstring());
    EXPECT_TRUE(fs::exists(userManifest()));
    EXPECT_TRUE(registryText(HKEY_CURRENT_USER, kSetupKey, L"" TAVMO_SETUP_ENTRY));
    EXPECT_EQ(tool({"check"}), 1);
    EXPECT_EQ(tool({"check", "--browser", "chrome,chromium,brave"}), 0) << out_.str();
}

TEST_F(WindowsRegistration, AnotherInstallationsKeyIsLeftAlone) {
    ASSERT_EQ(tool({"register", "--browser", "chrome"}), 0);
    setRegistryText(HKEY_CURRENT_USER, kBrowserKeys[0], nullptr, L"C:\\Elsewhere\\" TAVMO_HOST_NAME ".json");
    EXPECT_EQ(tool({"check", "--browser", "chrome"}), 1);
    ASSERT_EQ(tool({"unregister", "--browser", "chrome"}), 0);
    EXPECT_EQ(registryText(HKEY_CURRENT_USER, kBrowserKeys[0]), L"C:\\Elsewhere\\" TAVMO_HOST_NAME ".json");
    EXPECT_NE(out_.str().find("Chrome: left alone, it holds another installation's registration"), std::string::npos)
        << out_.str();
    EXPECT_FALSE(fs::exists(userManifest()));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Google");
}

}  // namespace
