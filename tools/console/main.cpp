// tavmo-console: talks to the host as a browser does, for page developers.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "HostProcess.h"
#include "Interactive.h"
#include "Options.h"
#include "Script.h"
#include "Session.h"
#include "Terminal.h"

namespace {

constexpr int kFailed = 1;
constexpr int kNotUnderstood = 2;

bool loadScript(const std::string& path, console::Script& script) {
    std::vector<console::ScriptProblem> problems;
    if (path == "-") {
        script = console::readScript(std::cin, problems);
    } else {
        std::ifstream file(path);
        if (!file) {
            std::fprintf(stderr, "tavmo-console: cannot read %s\n", path.c_str());
            return false;
        }
        script = console::readScript(file, problems);
    }
    for (const console::ScriptProblem& problem : problems)
        std::fprintf(stderr, "%s:%d: %s\n", path == "-" ? "<stdin>" : path.c_str(), problem.line,
                     problem.error.c_str());
    return problems.empty();
}

console::HostLaunch launchFor(const console::Options& options) {
    console::HostLaunch launch;
    launch.executable = options.host.empty() ? console::hostBesideConsole() : options.host;
    launch.launcher = options.launcher;
    if (!options.dataDirectory.empty()) launch.environment.emplace_back("LOCALAPPDATA", options.dataDirectory);
    return launch;
}

}  // namespace

int main(int argc, char** argv) {
    console::Options options;
    std::string error;
    if (!console::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "tavmo-console: %s\n\n%s", error.c_str(), console::usageText());
        return kNotUnderstood;
    }
    if (options.help) {
        std::fputs(console::usageText(), stdout);
        return 0;
    }
    const bool interactive = options.script.empty() && console::isTerminal(STDIN_FILENO);
    console::Script script;
    if (!interactive && !loadScript(options.script.empty() ? "-" : options.script, script)) return kNotUnderstood;

    const bool outputTerminal = console::isTerminal(STDOUT_FILENO);
    console::PrintStyle style;
    style.raw = options.raw;
    if (options.fit && outputTerminal) style.fitColumns = console::terminalColumns(STDOUT_FILENO);
    style.colour = console::colourWanted(options.colour, outputTerminal, std::getenv("NO_COLOR"));
    console::Printer printer(stdout, style, outputTerminal);

    const console::HostLaunch launch = launchFor(options);
    try {
        console::HostProcess host(launch);
        printer.info("host started: " + launch.executable + " (process " + std::to_string(host.pid()) + ")");
        console::Session session(host, printer);
        if (interactive) return console::runInteractive(session, printer, console::defaultHistoryFile());

        const console::ScriptOutcome outcome = console::runScript(script, session, printer, options.pace);
        if (!outcome.completed) printer.problem(outcome.failure);
        const console::ExitStatus exit = session.finish();
        printer.info(console::describe(exit));
        printer.plain(console::summaryLine(options.name, outcome, session.counts(), printer.secondsSinceStart(), exit));
        return outcome.completed && exit.code == 0 && !exit.killed ? 0 : kFailed;
    } catch (const std::exception& failure) {
        printer.problem(failure.what());
        return kFailed;
    }
}
