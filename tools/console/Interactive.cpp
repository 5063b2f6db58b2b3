#include "Interactive.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "Completion.h"
#include "LineEditor.h"
#include "Terminal.h"

namespace console {
namespace {

constexpr int kKeyboard = 0;
constexpr char kCtrlC = 0x03;
constexpr const char* kPrompt = "> ";
constexpr const char* kHistoryName = "/.tavmo_console_history";

std::vector<std::string> loadHistory(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

void saveHistory(const std::string& path, const std::vector<std::string>& lines) {
    if (path.empty()) return;
    std::ofstream file(path, std::ios::trunc);
    for (const std::string& line : lines) file << line << '\n';
}

// Keys typed since the last look, or nothing at the keyboard's end.
std::optional<std::string> readKeys() {
    char keys[256];
    const ssize_t got = ::read(kKeyboard, keys, sizeof keys);
    if (got <= 0) return std::nullopt;
    return std::string(keys, static_cast<std::size_t>(got));
}

class InteractiveRun {
public:
    InteractiveRun(Session& session, Printer& printer) : session_(session), printer_(printer) {}

    void run(LineEditor& editor) {
        printer_.info(
            "type a request such as RequestGetVersion, \"help\" for more; Tab completes, exit or Ctrl-D ends");
        bool typing = true;
        while (typing && !session_.hostEnded()) {
            showLine(editor);
            const PumpEnd end =
                session_.pump([] { return false; }, std::chrono::steady_clock::time_point::max(), kKeyboard);
            if (end != PumpEnd::Interrupted) continue;
            std::optional<std::string> keys = readKeys();
            if (!keys) break;
            for (const char key : *keys) {
                if (!typing) break;
                typing = handleKey(editor, key);
            }
        }
        printer_.clearBottomLine();
    }

private:
    bool handleKey(LineEditor& editor, char key) {
        const bool wasEmpty = editor.text().empty();
        switch (editor.feed(key)) {
            case LineEditor::Outcome::Editing: return true;
            case LineEditor::Outcome::EndOfInput: return false;
            case LineEditor::Outcome::Interrupted: return !wasEmpty;
            case LineEditor::Outcome::Listing: showListing(editor.listing()); return true;
            case LineEditor::Outcome::Submitted: break;
        }
        const std::string line = editor.takeLine();
        printer_.clearBottomLine();
        ParsedLine parsed = parseLine(line, nextId_);
        // A request shows as it is sent; anything else as it was typed.
        if (!std::holds_alternative<SendCommand>(parsed.command)) printer_.plain(kPrompt + line);
        if (!parsed.error.empty()) {
            printer_.problem(parsed.error);
            return true;
        }
        if (std::holds_alternative<QuitCommand>(parsed.command)) return false;
        std::visit([&](const auto& command) { carryOut(command); }, parsed.command);
        return true;
    }

    void carryOut(const NoCommand&) {}
    void carryOut(const QuitCommand&) {}

    void carryOut(const SendCommand& command) {
        if (!session_.send(command)) printer_.problem("the host no longer reads its input");
    }

    void carryOut(const WaitCommand& wait) {
        printer_.setBottomLine("waiting: " + describe(wait) + " (Ctrl-C gives up)", 0);
        const auto deadline = std::chrono::steady_clock::now() + wait.timeout;
        for (;;) {
            switch (session_.wait(wait, deadline, kKeyboard)) {
                case PumpEnd::Done: return;
                case PumpEnd::HostEnded: return;
                case PumpEnd::TimedOut: printer_.problem(describe(wait) + ": nothing matched in time"); return;
                case PumpEnd::Interrupted: break;
            }
            std::optional<std::string> keys = readKeys();
            if (!keys || keys->find(kCtrlC) != std::string::npos) {
                printer_.info("stopped waiting");
                return;
            }
        }
    }

    void carryOut(const NoteCommand& note) { printer_.note(note.text); }

    void carryOut(const CloseCommand&) {
        printer_.info("the host's input is closed; it shuts down");
        session_.closeInput();
    }

    void carryOut(const HelpCommand& help) { printer_.plain(help.text); }

    void showListing(const std::vector<std::string>& words) {
        std::string text;
        for (const std::string& word : words) text += (text.empty() ? "" : "  ") + word;
        printer_.plain(text);
    }

    void showLine(const LineEditor& editor) {
        const VisibleLine visible =
            visibleLine(kPrompt, editor.text(), editor.cursor(), terminalColumns(STDOUT_FILENO));
        printer_.setBottomLine(visible.text, visible.cursorColumn);
    }

    Session& session_;
    Printer& printer_;
    long long nextId_ = 1;
};

}  // namespace

std::string defaultHistoryFile() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + kHistoryName : std::string();
}

int runInteractive(Session& session, Printer& printer, const std::string& historyFile) {
    LineEditor editor;
    editor.setHistory(loadHistory(historyFile));
    editor.setCompleter([](std::string_view line) { return complete(line, Protocol::builtIn()); });
    {
        RawTerminal raw(kKeyboard);
        InteractiveRun(session, printer).run(editor);
    }
    saveHistory(historyFile, editor.history());
    const ExitStatus exit = session.finish();
    printer.info(describe(exit));
    return exit.code;
}

}  // namespace console
