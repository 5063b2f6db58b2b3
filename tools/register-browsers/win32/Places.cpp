// Where registrations go on Windows: one manifest file, and for each browser a
// registry key under its NativeMessagingHosts whose default value is the
// manifest's path. Per user, the manifest lives in the user's local
// application data folder (the installation folder may not be the user's to
// write) and the setup key records the installation folder, through which the
// host finds the virtual camera's registration tool; system-wide, the
// manifest lies beside the host.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>

#include "Registration.h"

namespace fs = std::filesystem;

namespace registration::platform {

namespace {

constexpr const char* kCurrentUser = "HKEY_CURRENT_USER\\Software";
constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE\\Software";

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &converted[0], length);
    return converted;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &converted[0], length, nullptr,
                        nullptr);
    return converted;
}

std::string systemMessage(LONG code) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return utf8(message);
}

std::string backslashed(std::string path) {
    for (char& character : path)
        if (character == '/') character = '\\';
    return path;
}

// The browsers read the 64-bit view of the registry first; a 32-bit tool
// would otherwise write to the 32-bit view of HKEY_LOCAL_MACHINE.
constexpr REGSAM kView = KEY_WOW64_64KEY;

class RegistryStore : public Store {
public:
    std::optional<std::string> read(const Entry& entry) override {
        HKEY key = nullptr;
        LONG opened =
            RegOpenKeyExW(hive(entry), keyPath(entry, entry.relative).c_str(), 0, KEY_QUERY_VALUE | kView, &key);
        if (opened == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (opened != ERROR_SUCCESS) fail("cannot read", entry, opened);
        std::wstring name = wide(entry.name);
        DWORD type = 0;
        DWORD size = 0;
        LONG queried = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        if (queried == ERROR_SUCCESS)
            queried = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size);
        RegCloseKey(key);
        if (queried == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (queried != ERROR_SUCCESS) fail("cannot read", entry, queried);
        // A value of another type holds nothing that this tool writes.
        if (type != REG_SZ) return std::string();
        value.resize(size / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        return utf8(value);
    }

    void write(const Entry& entry) override {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExW(hive(entry), keyPath(entry, entry.relative).c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | kView, nullptr, &key, nullptr);
        if (result != ERROR_SUCCESS) fail("cannot write", entry, result);
        std::wstring value = wide(entry.content);
        result = RegSetValueExW(key, wide(entry.name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) fail("cannot write", entry, result);
    }

    void erase(const Entry& entry) override {
        HKEY key = nullptr;
        LONG result =
            RegOpenKeyExW(hive(entry), keyPath(entry, entry.relative).c_str(), 0, KEY_SET_VALUE | kView, &key);
        if (result == ERROR_SUCCESS) {
            result = RegDeleteValueW(key, wide(entry.name).c_str());
            RegCloseKey(key);
        }
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) fail("cannot remove", entry, result);
        std::string relative = entry.relative;
        while (!relative.empty() && isEmpty(entry, relative) &&
               RegDeleteKeyExW(hive(entry), keyPath(entry, relative).c_str(), kView, 0) == ERROR_SUCCESS) {
            std::size_t slash = relative.find_last_of('/');
            relative.resize(slash == std::string::npos ? 0 : slash);
        }
    }

    std::string location(const Entry& entry) const override {
        std::string key = entry.base + "\\" + backslashed(entry.relative);
        return entry.name.empty() ? key : key + ", value " + entry.name;
    }

private:
    static HKEY hive(const Entry& entry) {
        return entry.base.rfind("HKEY_LOCAL_MACHINE\\", 0) == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    }

    // The key below the hive: the rest of the base, then `relative`.
    static std::wstring keyPath(const Entry& entry, const std::string& relative) {
        return wide(entry.base.substr(entry.base.find('\\') + 1) + "\\" + backslashed(relative));
    }

    static bool isEmpty(const Entry& entry, const std::string& relative) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(hive(entry), keyPath(entry, relative).c_str(), 0, KEY_QUERY_VALUE | kView, &key) !=
            ERROR_SUCCESS)
            return false;
        DWORD subkeys = 0;
        DWORD values = 0;
        LONG queried = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return queried == ERROR_SUCCESS && subkeys == 0 && values == 0;
    }

    [[noreturn]] void fail(const char* what, const Entry& entry, LONG code) const {
        throw RegistrationError(std::string(what) + " " + location(entry) + ": " + systemMessage(code),
                                code == ERROR_ACCESS_DENIED);
    }
};

std::string localApplicationData() {
    wchar_t buffer[32768] = {};
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, 32768);
    if (length > 0 && length < 32768) return utf8(std::wstring(buffer, length));
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return utf8(folder);
    throw RegistrationError("the user's local application data folder is unknown", false);
}

Entry browserKey(const Browser& browser, Scope scope, const std::string& manifestPath) {
    Entry entry;
    entry.title = browser.title;
    entry.kind = EntryKind::RegistryValue;
    entry.base = scope == Scope::User ? kCurrentUser : kLocalMachine;
    entry.relative = std::string(browser.registryKey) + "/" + kHostName;
    entry.content = manifestPath;
    return entry;
}

}  // namespace

const char* const kAdministratorHint =
    "Registering for every user needs administrator rights: run it from a command prompt opened as administrator.";

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> converted;
    for (int index = 1; index < count; ++index) converted.push_back(utf8(words[index]));
    LocalFree(words);
    return converted;
}

std::string hostBesideThisTool() {
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        throw RegistrationError("cannot find this tool's own folder: " + systemMessage(GetLastError()), false);
    path.resize(length);
    return (fs::path(path).parent_path() / "TavmoClientForWeb.exe").u8string();
}

std::vector<Entry> entries(const Options& options, const std::string& hostPath) {
    if (!options.root.empty()) throw UsageError("--root is for Linux only");
    std::string installationFolder = fs::u8path(hostPath).parent_path().u8string();
    Entry manifest;
    manifest.title = "Manifest";
    manifest.base = options.scope == Scope::User ? localApplicationData() : installationFolder;
    manifest.relative = options.scope == Scope::User ? "Tavmo/TavmoClientForWeb" : "";
    manifest.name = std::string(kHostName) + ".json";
    manifest.content = manifestText(hostPath);
    std::string manifestPath = fileStore().location(manifest);
    for (const Browser& browser : knownBrowsers())
        manifest.neededBy.push_back(browserKey(browser, options.scope, manifestPath));

    std::vector<Entry> all;
    if (options.scope == Scope::User) {
        Entry setup;
        setup.title = "Setup";
        setup.kind = EntryKind::RegistryValue;
        setup.base = kCurrentUser;
        setup.relative = TAVMO_SETUP_PATH;
        setup.name = TAVMO_SETUP_ENTRY;
        setup.content = installationFolder + "\\";
        setup.neededBy = manifest.neededBy;
        all.push_back(setup);
    }
    all.push_back(manifest);
    for (const Browser* browser : options.browsers) all.push_back(browserKey(*browser, options.scope, manifestPath));
    return all;
}

Store& storeFor(EntryKind kind) {
    static RegistryStore registry;
    return kind == EntryKind::RegistryValue ? static_cast<Store&>(registry) : fileStore();
}

}  // namespace registration::platform
