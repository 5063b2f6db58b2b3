// Interactive mode: requests typed on a terminal, with line editing and a
// history kept across sessions, while the host's messages appear above.
#pragma once

#include <string>

#include "Printer.h"
#include "Session.h"

namespace console {

// Runs until the typing ends (Ctrl-D, or Ctrl-C on an empty line) or the
// host ends; returns the host's exit code.
int runInteractive(Session& session, Printer& printer, const std::string& historyFile);

// ~/.tavmo_console_history, or nothing without a home folder.
std::string defaultHistoryFile();

}  // namespace console
