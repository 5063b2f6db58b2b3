#include "Registration.h"

#include <json/json.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace registration {

namespace {

constexpr const char* kProgram = "TavmoRegisterBrowsers";

// The value of option `name` at `arguments[index]`, either "--name value"
// (which moves `index` on) or "--name=value"; nothing if it is another option.
std::optional<std::string> optionValue(const std::vector<std::string>& arguments, std::size_t& index,
                                       const std::string& name) {
    const std::string& argument = arguments[index];
    if (argument.compare(0, name.size() + 1, name + "=") == 0) {
        std::string value = argument.substr(name.size() + 1);
        if (value.empty()) throw UsageError(name + " needs a value");
        return value;
    }
    if (argument != name) return std::nullopt;
    if (index + 1 >= arguments.size() || arguments[index + 1].empty()) throw UsageError(name + " needs a value");
    return arguments[++index];
}

const Browser& browserNamed(const std::string& option) {
    for (const Browser& browser : knownBrowsers())
        if (option == browser.option) return browser;
    std::string known;
    for (const Browser& browser : knownBrowsers()) known += std::string(known.empty() ? "" : ", ") + browser.option;
    throw UsageError("unknown browser \"" + option + "\" (known: " + known + ")");
}

void addBrowsers(const std::string& list, std::vector<const Browser*>& chosen) {
    for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
        comma = list.find(',', start);
        const Browser* browser = &browserNamed(list.substr(start, comma - start));
        if (std::find(chosen.begin(), chosen.end(), browser) == chosen.end()) chosen.push_back(browser);
    }
}

Command commandNamed(const std::string& name) {
    if (name == "register") return Command::Register;
    if (name == "unregister") return Command::Unregister;
    if (name == "check") return Command::Check;
    throw UsageError("unknown command \"" + name + "\"");
}

// An absolute path to an existing file: the manifest's "path" must be one.
std::string existingHost(const Options& options) {
    std::string given = options.host.empty() ? platform::hostBesideThisTool() : options.host;
    std::error_code error;
    fs::path host = fs::absolute(fs::u8path(given), error).lexically_normal().make_preferred();
    if (error || !fs::is_regular_file(host, error))
        throw RegistrationError("there is no host at " + host.u8string(), false);
    return host.u8string();
}

// A JSON string.
std::string quoted(const std::string& text) {
    Json::StreamWriterBuilder writer;
    writer["emitUTF8"] = true;
    return Json::writeString(writer, Json::Value(text));
}

// Whether the entry holds exactly what this installation writes there.
bool inPlace(const Entry& entry) { return platform::storeFor(entry.kind).read(entry) == entry.content; }

void report(std::ostream& out, const Entry& entry, const char* state) {
    out << entry.title << ": " << state << " (" << platform::storeFor(entry.kind).location(entry) << ")\n";
}

int registerEntries(const std::vector<Entry>& entries, std::ostream& out) {
    for (const Entry& entry : entries) {
        if (inPlace(entry)) {
            report(out, entry, "already registered");
            continue;
        }
        platform::storeFor(entry.kind).write(entry);
        report(out, entry, "registered");
    }
    return 0;
}

int unregisterEntries(const std::vector<Entry>& entries, std::ostream& out) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        Store& store = platform::storeFor(entry->kind);
        std::optional<std::string> content = store.read(*entry);
        if (!content) {
            report(out, *entry, "not registered");
        } else if (*content != entry->content) {
            report(out, *entry, "left alone, it holds another installation's registration");
        } else if (std::any_of(entry->neededBy.begin(), entry->neededBy.end(), inPlace)) {
            report(out, *entry, "kept, other browsers still use it");
        } else {
            store.erase(*entry);
            report(out, *entry, "removed");
        }
    }
    return 0;
}

int checkEntries(const std::vector<Entry>& entries, std::ostream& out) {
    bool complete = true;
    for (const Entry& entry : entries) {
        std::optional<std::string> content = platform::storeFor(entry.kind).read(entry);
        complete = complete && content == entry.content;
        report(out, entry,
               !content                    ? "missing"
               : *content == entry.content ? "registered"
                                           : "differs from this installation's");
    }
    return complete ? 0 : 1;
}

}  // namespace

const char* const kUsage =
    "usage: TavmoRegisterBrowsers register|unregister|check [--user|--system] [--browser NAME[,NAME...]]\n"
    "                             [--host PATH] [--root FOLDER]\n"
    "  register    lets the browsers start the host (Chrome, Chromium, Edge and Brave unless --browser says)\n"
    "  unregister  removes what register wrote\n"
    "  check       shows each registration and whether it is in place (exit code 1 if not)\n"
    "  --user      for the current user (the default)\n"
    "  --system    for every user of this machine; needs administrator rights\n"
    "  --browser   chrome, chromium, edge or brave; repeatable\n"
    "  --host      the host to register instead of the one beside this tool\n"
    "  --root      with --system (Linux): the system's folders under FOLDER instead of /\n";

const std::vector<Browser>& knownBrowsers() {
    static const std::vector<Browser> browsers = {
        {"chrome", "Chrome", "google-chrome/NativeMessagingHosts", "/etc/opt", "chrome/native-messaging-hosts",
         "Google/Chrome/NativeMessagingHosts"},
        {"chromium", "Chromium", "chromium/NativeMessagingHosts", "/etc", "chromium/native-messaging-hosts",
         "Chromium/NativeMessagingHosts"},
        {"edge", "Edge", "microsoft-edge/NativeMessagingHosts", "/etc/opt", "edge/native-messaging-hosts",
         "Microsoft/Edge/NativeMessagingHosts"},
        {"brave", "Brave", "BraveSoftware/Brave-Browser/NativeMessagingHosts", "/etc/opt",
         "brave.com/brave/native-messaging-hosts", "BraveSoftware/Brave-Browser/NativeMessagingHosts"},
    };
    return browsers;
}

Options parseArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw UsageError("no command given");
    Options options;
    options.command = commandNamed(arguments[0]);
    std::optional<Scope> scope;
    auto chooseScope = [&scope](Scope chosen) {
        if (scope && *scope != chosen) throw UsageError("choose --user or --system, not both");
        scope = chosen;
    };
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == "--user") {
            chooseScope(Scope::User);
        } else if (arguments[index] == "--system") {
            chooseScope(Scope::System);
        } else if (auto browsers = optionValue(arguments, index, "--browser")) {
            addBrowsers(*browsers, options.browsers);
        } else if (auto host = optionValue(arguments, index, "--host")) {
            options.host = *host;
        } else if (auto root = optionValue(arguments, index, "--root")) {
            options.root = *root;
        } else {
            throw UsageError("unknown argument \"" + arguments[index] + "\"");
        }
    }
    options.scope = scope.value_or(Scope::User);
    if (!options.root.empty() && options.scope != Scope::System) throw UsageError("--root needs --system");
    if (options.browsers.empty())
        for (const Browser& browser : knownBrowsers()) options.browsers.push_back(&browser);
    return options;
}

std::string manifestText(const std::string& hostPath) {
    std::string text = "{\n";
    text += "  \"name\": " + quoted(kHostName) + ",\n";
    text += "  \"description\": " + quoted(kHostDescription) + ",\n";
    text += "  \"path\": " + quoted(hostPath) + ",\n";
    text += "  \"type\": \"stdio\",\n";
    text += "  \"allowed_origins\": [" + quoted(kExtensionOrigin) + "]\n";
    return text + "}\n";
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& errors) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    Options options;
    try {
        options = parseArguments(arguments);
        std::vector<Entry> entries = platform::entries(options, existingHost(options));
        switch (options.command) {
            case Command::Register: return registerEntries(entries, out);
            case Command::Unregister: return unregisterEntries(entries, out);
            case Command::Check: return checkEntries(entries, out);
        }
    } catch (const UsageError& error) {
        errors << kProgram << ": " << error.what() << "\n" << kProgram << " --help shows how to use it.\n";
        return 2;
    } catch (const RegistrationError& error) {
        errors << kProgram << ": " << error.what() << "\n";
        if (error.permissionDenied && options.scope == Scope::System) errors << platform::kAdministratorHint << "\n";
        return 1;
    }
    return 1;
}

}  // namespace registration
