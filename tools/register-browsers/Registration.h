// Registering the host with the browsers that may start it (Chrome, Chromium,
// Edge and Brave), for the current user or for every user of the machine, and
// removing those registrations again.
//
// A registration is a list of entries (files, and registry values on
// Windows). Registering writes them in order and stops at the first failure;
// removing goes through them backwards and deletes only what holds exactly
// what this installation would write, so another installation's
// registrations stay as they are.
#pragma once

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TavmoFacts.h"

namespace registration {

// The name under which browsers know the host, and the one extension that may
// start it (cmake/Facts.cmake, which the Windows installer's manifest is made
// from as well).
inline constexpr const char* kHostName = TAVMO_HOST_NAME;
inline constexpr const char* kExtensionOrigin = TAVMO_EXTENSION_ORIGIN;
inline constexpr const char* kHostDescription = TAVMO_HOST_DESCRIPTION;

enum class Command { Register, Unregister, Check };
enum class Scope { User, System };

// Where one browser looks for the hosts it may start.
struct Browser {
    const char* option;  // its name on the command line
    const char* title;   // its name in messages
    // Linux, per user: the folder under the user's configuration folder.
    const char* userFolder;
    // Linux, system-wide: a folder that exists without us, and the folders
    // under it that registration creates.
    const char* systemBase;
    const char* systemFolder;
    // Windows: the key under Software of HKEY_CURRENT_USER or
    // HKEY_LOCAL_MACHINE whose subkey named after the host holds the
    // manifest's path.
    const char* registryKey;
};

const std::vector<Browser>& knownBrowsers();

struct Options {
    Command command = Command::Check;
    Scope scope = Scope::User;
    std::vector<const Browser*> browsers;
    // The host's path; empty for the host beside this tool.
    std::string host;
    // System-wide folders under this folder instead of the root (Linux): for
    // staging a package, and for tests.
    std::string root;
};

// A command line that cannot be used.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The arguments after the program's name. Throws UsageError.
Options parseArguments(const std::vector<std::string>& arguments);
extern const char* const kUsage;

// The manifest that tells a browser how to start the host.
std::string manifestText(const std::string& hostPath);

enum class EntryKind { File, RegistryValue };

// One thing that a registration puts on the machine.
struct Entry {
    std::string title;
    EntryKind kind = EntryKind::File;
    // A folder (or registry key, with its hive) that exists without us and
    // that removal never touches.
    std::string base;
    // The folders (or keys) between `base` and the entry, separated by '/':
    // created when the entry is written, removed with it while empty.
    std::string relative;
    // The file, or the registry value ("" for the key's default value).
    std::string name;
    std::string content;
    // Entries that need this one: it stays while any of them is in place.
    std::vector<Entry> neededBy;
};

// A failure to read, write or remove an entry.
struct RegistrationError : std::runtime_error {
    RegistrationError(const std::string& message, bool permissionDenied)
        : std::runtime_error(message), permissionDenied(permissionDenied) {}
    bool permissionDenied;
};

// Reads, writes and removes entries of one kind. Failures throw
// RegistrationError.
class Store {
public:
    virtual ~Store() = default;
    // What the entry holds, or nothing when it does not exist.
    virtual std::optional<std::string> read(const Entry& entry) = 0;
    virtual void write(const Entry& entry) = 0;
    // Removes the entry, then those of its `relative` folders that are left empty.
    virtual void erase(const Entry& entry) = 0;
    // Where the entry is, as a user would look for it.
    virtual std::string location(const Entry& entry) const = 0;
};

// Files, on every platform.
Store& fileStore();

// What differs between platforms.
namespace platform {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> arguments(int argc, char** argv);
// The host installed beside this tool.
std::string hostBesideThisTool();
// What a registration of `options` puts on this machine for the host at
// `hostPath`, in the order it is written. Throws RegistrationError when a
// folder it needs is unknown, UsageError for options this platform lacks.
std::vector<Entry> entries(const Options& options, const std::string& hostPath);
Store& storeFor(EntryKind kind);
// What to do when a system-wide registration was refused.
extern const char* const kAdministratorHint;

}  // namespace platform

// Carries out the command line and reports on `out` and `errors`. Exit codes:
// 0 done (check: everything is in place), 1 failed (check: something is
// missing or differs), 2 unusable command line.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& errors);

}  // namespace registration
