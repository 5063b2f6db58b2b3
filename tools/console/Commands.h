// What one typed or scripted line asks for. A line is a request, in JSON
// (sent as typed) or in the short form
//
//     InEventMuteAudioIn willMute=true label="two words" index=2
//
// (the type, then members as name=value; values are true, false, null,
// numbers, "quoted" or 'quoted' texts, JSON arrays or objects, or bare
// texts; "_direction" 1 and a running "_id" are added unless given), or one
// of the console's own commands:
//
//     wait <type|event code> [name=value ...] [<seconds>s]
//     note <text>
//     close
//     help
//
// Blank lines and lines starting with # do nothing.
#pragma once

#include <json/json.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace console {

inline constexpr std::chrono::milliseconds kDefaultWaitTimeout{10000};

// A short-form value: its JSON value, and its JSON text as it is sent
// (numbers, quoted texts, arrays and objects exactly as typed).
struct ShortFormValue {
    Json::Value value;
    std::string json;
};

struct SendCommand {
    std::string body;
    // "{EXIT}": read by the host's input as a control text, not answered as
    // a request.
    bool control = false;
};

// Passes once a reply of `type`, or an event with code `eventCode`, arrives
// whose members (an event's params) hold the given values.
struct WaitCommand {
    std::string type;
    std::optional<long long> eventCode;
    std::vector<std::pair<std::string, ShortFormValue>> conditions;
    std::chrono::milliseconds timeout = kDefaultWaitTimeout;
};

struct NoteCommand {
    std::string text;
};
struct CloseCommand {};
struct HelpCommand {};
struct NoCommand {};

using Command = std::variant<NoCommand, SendCommand, WaitCommand, NoteCommand, CloseCommand, HelpCommand>;

struct ParsedLine {
    Command command;
    // Empty when the line was understood.
    std::string error;
};

// Reads one line. A short-form request takes `nextId` as its "_id" unless
// it names one, and then advances it.
ParsedLine parseLine(std::string_view line, long long& nextId);

// Reads a value as the short form writes it (see above).
bool parseValue(std::string_view text, ShortFormValue& value, std::string& error);

// The wait as a line of text, for messages about it.
std::string describe(const WaitCommand& wait);

// The text of the console's help.
const char* helpText();

}  // namespace console
