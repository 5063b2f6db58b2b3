#include "Script.h"

#include <cstdio>
#include <variant>

namespace console {
namespace {

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string secondsText(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(duration.count()) / 1000);
    return text;
}

class ScriptRun {
public:
    ScriptRun(const Script& script, Session& session, Printer& printer, std::chrono::milliseconds pace)
        : script_(script), session_(session), printer_(printer), pace_(pace) {}

    ScriptOutcome run() {
        printer_.followProgress([this] { return progress(); });
        for (const ScriptLine& line : script_.lines) {
            if (std::holds_alternative<QuitCommand>(line.command)) break;
            std::string failure = std::visit([&](const auto& command) { return carryOut(command); }, line.command);
            showProgress();
            if (!failure.empty()) return {false, "line " + std::to_string(line.number) + ": " + failure};
        }
        return {};
    }

private:
    std::string carryOut(const NoCommand&) { return {}; }

    std::string carryOut(const SendCommand& command) {
        if (!session_.send(command)) return "the host no longer reads its input";
        return {};
    }

    std::string carryOut(const WaitCommand& wait) {
        switch (session_.wait(wait, std::chrono::steady_clock::now() + wait.timeout)) {
            case PumpEnd::Done:
            case PumpEnd::Interrupted: return {};
            case PumpEnd::TimedOut: return describe(wait) + ": nothing matched within " + secondsText(wait.timeout);
            case PumpEnd::HostEnded: return describe(wait) + ": the host ended first";
        }
        return {};
    }

    std::string carryOut(const NoteCommand& note) {
        if (step_ > 0 && pace_.count() > 0)
            session_.pump([] { return false; }, std::chrono::steady_clock::now() + pace_);
        ++step_;
        heading_ = note.text;
        printer_.note("[" + std::to_string(step_) + "/" + std::to_string(script_.notes) + "] " + note.text);
        return {};
    }

    std::string carryOut(const CloseCommand&) {
        session_.closeInput();
        return {};
    }

    std::string carryOut(const HelpCommand& help) {
        printer_.plain(help.text);
        return {};
    }

    std::string carryOut(const QuitCommand&) { return {}; }

    std::string progress() const {
        const Counts& counts = session_.counts();
        return "[" + std::to_string(step_) + "/" + std::to_string(script_.notes) + "] " + heading_ + " | " +
               std::to_string(counts.requests) + "/" + std::to_string(script_.requests) + " requests, " +
               counted(counts.replies, "reply", "replies") + ", " + counted(counts.events, "event", "events");
    }

    void showProgress() {
        const std::string text = progress();
        printer_.setBottomLine(text, text.size());
    }

    const Script& script_;
    Session& session_;
    Printer& printer_;
    std::chrono::milliseconds pace_;
    int step_ = 0;
    std::string heading_;
};

}  // namespace

Script readScript(std::istream& in, std::vector<ScriptProblem>& problems) {
    Script script;
    long long nextId = 1;
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        ParsedLine parsed = parseLine(text, nextId);
        if (!parsed.error.empty()) {
            problems.push_back({number, parsed.error});
            continue;
        }
        if (std::holds_alternative<NoCommand>(parsed.command)) continue;
        if (const auto* send = std::get_if<SendCommand>(&parsed.command); send && !send->control) ++script.requests;
        if (std::holds_alternative<NoteCommand>(parsed.command)) ++script.notes;
        script.lines.push_back({number, std::move(parsed.command)});
    }
    return script;
}

ScriptOutcome runScript(const Script& script, Session& session, Printer& printer, std::chrono::milliseconds pace) {
    ScriptOutcome outcome = ScriptRun(script, session, printer, pace).run();
    printer.followProgress(nullptr);
    printer.clearBottomLine();
    return outcome;
}

std::string summaryLine(const std::string& name, const ScriptOutcome& outcome, const Counts& counts, double seconds,
                        const ExitStatus& exit) {
    std::string verdict = name + " finished";
    if (!outcome.completed) {
        verdict = name + " failed (" + outcome.failure + ")";
    } else if (exit.code != 0 || exit.killed) {
        verdict = name + " failed (" + describe(exit) + ")";
    }
    char time[32];
    std::snprintf(time, sizeof time, "%.1f s", seconds);
    return verdict + ": " + counted(counts.requests, "request", "requests") + ", " +
           counted(counts.replies, "reply", "replies") + ", " + counted(counts.events, "event", "events") + ", " +
           counted(counts.errors, "error", "errors") + " in " + time;
}

}  // namespace console
