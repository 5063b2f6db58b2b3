// Script mode: requests and commands from a file, one a line, checked as a
// whole before the host starts, then carried out in order.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "Commands.h"
#include "HostProcess.h"
#include "Printer.h"
#include "Session.h"

namespace console {

struct ScriptLine {
    int number = 0;
    Command command;
};

struct Script {
    std::vector<ScriptLine> lines;
    int requests = 0;
    int notes = 0;
};

struct ScriptProblem {
    int line = 0;
    std::string error;
};

// Every line that cannot be understood goes into `problems`.
Script readScript(std::istream& in, std::vector<ScriptProblem>& problems);

struct ScriptOutcome {
    bool completed = true;
    // Where and why the script stopped.
    std::string failure;
};

// `pace`: a pause before each note after the first.
ScriptOutcome runScript(const Script& script, Session& session, Printer& printer,
                        std::chrono::milliseconds pace = std::chrono::milliseconds(0));

// "Demo finished: 14 requests, 14 replies, 37 events, 0 errors in 3.2 s",
// or "Demo failed (<why>): ..." when the script stopped early or the host did
// not exit with 0.
std::string summaryLine(const std::string& name, const ScriptOutcome& outcome, const Counts& counts, double seconds,
                        const ExitStatus& exit);

}  // namespace console
