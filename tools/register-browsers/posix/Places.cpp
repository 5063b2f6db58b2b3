// Where registrations go on Linux: a manifest in each browser's folder and,
// per user, the setup file through which the host finds its installation
// (and with it the virtual camera's registration tool).
#include <cstdlib>
#include <filesystem>

#include "Registration.h"

namespace fs = std::filesystem;

namespace registration::platform {

namespace {

std::string configurationFolder() {
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && *configured) return configured;
    const char* home = std::getenv("HOME");
    if (!home || !*home) throw RegistrationError("neither XDG_CONFIG_HOME nor HOME is set", false);
    return std::string(home) + "/.config";
}

Entry manifest(const Browser& browser, const Options& options, const std::string& text) {
    Entry entry;
    entry.title = browser.title;
    if (options.scope == Scope::User) {
        entry.base = configurationFolder();
        entry.relative = browser.userFolder;
    } else {
        entry.base =
            options.root.empty()
                ? browser.systemBase
                : (fs::path(options.root) / fs::path(browser.systemBase).relative_path()).lexically_normal().string();
        entry.relative = browser.systemFolder;
    }
    entry.name = std::string(kHostName) + ".json";
    entry.content = text;
    return entry;
}

}  // namespace

const char* const kAdministratorHint = "Registering for every user needs administrator rights: run it as root.";

std::vector<std::string> arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

std::string hostBesideThisTool() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) throw RegistrationError("cannot find this tool's own folder: " + error.message(), false);
    return (self.parent_path() / "TavmoClientForWeb").string();
}

std::vector<Entry> entries(const Options& options, const std::string& hostPath) {
    std::string text = manifestText(hostPath);
    std::vector<Entry> all;
    if (options.scope == Scope::User) {
        Entry setup;
        setup.title = "Setup";
        setup.base = configurationFolder();
        setup.relative = TAVMO_SETUP_FOLDER;
        setup.name = TAVMO_SETUP_NAME;
        setup.content = TAVMO_SETUP_ENTRY "=" + fs::path(hostPath).parent_path().string() + "/\n";
        for (const Browser& browser : knownBrowsers()) setup.neededBy.push_back(manifest(browser, options, text));
        all.push_back(setup);
    }
    for (const Browser* browser : options.browsers) all.push_back(manifest(*browser, options, text));
    return all;
}

Store& storeFor(EntryKind) { return fileStore(); }

}  // namespace registration::platform
