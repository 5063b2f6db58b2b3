// The console's command line.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace console {

enum class ColourChoice { Auto, Always, Never };

struct Options {
    // Empty: TavmoClientForWeb beside the console.
    std::string host;
    std::vector<std::string> launcher;
    // The host's LOCALAPPDATA; empty: the console's own environment decides.
    std::string dataDirectory;
    bool raw = false;
    // On a terminal, each message on one line of it.
    bool fit = false;
    ColourChoice colour = ColourChoice::Auto;
    // A pause before each of the script's notes after the first, so that
    // someone can follow along; messages still show during it.
    std::chrono::milliseconds pace{0};
    // What the script's summary line calls the run.
    std::string name = "Script";
    // A script file, "-" for standard input; empty: interactive on a
    // terminal, otherwise a script on standard input.
    std::string script;
    bool help = false;
};

// False with `error` set when the command line is not understood.
bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);

// Colour on a terminal unless NO_COLOR holds a value, or as chosen.
bool colourWanted(ColourChoice choice, bool terminal, const char* noColour);

const char* usageText();

}  // namespace console
