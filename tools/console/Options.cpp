#include "Options.h"

#include <cstdlib>
#include <sstream>

namespace console {
namespace {

constexpr double kLongestPace = 60;

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> split;
    for (std::string word; stream >> word;) split.push_back(word);
    return split;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::string value;
        bool hasValue = false;
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = argument.substr(equals + 1);
            argument.erase(equals);
            hasValue = true;
        }
        const auto takeValue = [&]() {
            if (hasValue) return true;
            if (i + 1 >= arguments.size()) {
                error = argument + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--raw" && !hasValue) {
            options.raw = true;
        } else if (argument == "--fit" && !hasValue) {
            options.fit = true;
        } else if (argument == "--host") {
            if (!takeValue()) return false;
            options.host = value;
        } else if (argument == "--launcher") {
            if (!takeValue()) return false;
            options.launcher = words(value);
        } else if (argument == "--data-dir") {
            if (!takeValue()) return false;
            options.dataDirectory = value;
        } else if (argument == "--pace") {
            if (!takeValue()) return false;
            char* end = nullptr;
            const double seconds = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(seconds >= 0 && seconds <= kLongestPace)) {
                error = "--pace takes seconds from 0 to 60, not " + value;
                return false;
            }
            options.pace = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        } else if (argument == "--name") {
            if (!takeValue()) return false;
            options.name = value;
        } else if (argument == "--color") {
            if (!takeValue()) return false;
            if (value == "auto") {
                options.colour = ColourChoice::Auto;
            } else if (value == "always") {
                options.colour = ColourChoice::Always;
            } else if (value == "never") {
                options.colour = ColourChoice::Never;
            } else {
                error = "--color takes auto, always or never, not " + value;
                return false;
            }
        } else if (argument != "-" && argument.rfind('-', 0) == 0) {
            error = "unknown option " + argument;
            return false;
        } else if (!options.script.empty()) {
            error = "only one script: " + options.script + " and " + argument;
            return false;
        } else {
            options.script = argument;
        }
    }
    return true;
}

bool colourWanted(ColourChoice choice, bool terminal, const char* noColour) {
    switch (choice) {
        case ColourChoice::Always: return true;
        case ColourChoice::Never: return false;
        case ColourChoice::Auto: break;
    }
    return terminal && (noColour == nullptr || noColour[0] == '\0');
}

const char* usageText() {
    return R"(Usage: tavmo-console [options] [script]
Starts the host as a browser does (the extension's origin on its command line,
framed messages on its standard input and output) and shows every request,
reply and event with the time since the start.

Without a script it reads requests as they are typed (on a terminal) or from
standard input. A script holds one request or command a line; type "help"
in the console, or see tools/console/README.md.

Options:
  --host PATH       the host program (default: TavmoClientForWeb beside this one)
  --launcher CMD    start the host through CMD, e.g. /usr/lib/wine/wine64
  --data-dir DIR    the host's local application data folder (LOCALAPPDATA):
                    its log files and the library's data go below it
  --raw             show each message's exact bytes: length prefix and body
  --fit             on a terminal, cut each message to one line of it
  --color WHEN      auto (on a terminal, unless NO_COLOR is set), always, never
  --pace SECONDS    in a script, pause before each note after the first
  --name TEXT       what the summary line of a script calls the run (Script)
  -h, --help        this text

Exit status: 0 when the script ran to its end and the host exited with 0;
1 otherwise; 2 for a command line or script that is not understood. In
interactive mode, the host's exit code.
)";
}

}  // namespace console
