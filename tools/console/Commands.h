// What one typed or scripted line asks for. A line is a request, in JSON
// (sent as typed) or in the short form
//
//     InEventControlCamera uri="two words" cameraCommand=ZoomIn preset=2
//
// (a type the protocol knows, then members as name=value, each of the JSON
// type the protocol gives it; name:=json sends a JSON value as it is;
// "_direction" 1 and a running "_id" are added unless given), or one of the
// console's own commands:
//
//     wait <type|event code> [name=value ...] [<seconds>s]
//     note <text>
//     close
//     help [<type>|<family>|<event code>]
//     exit, quit
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

#include "Protocol.h"

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
struct HelpCommand {
    std::string text;
};
// Ends the console (and so the host's input).
struct QuitCommand {};
struct NoCommand {};

using Command = std::variant<NoCommand, SendCommand, WaitCommand, NoteCommand, CloseCommand, HelpCommand, QuitCommand>;

struct ParsedLine {
    Command command;
    // Empty when the line was understood.
    std::string error;
};

// Reads one line. A short-form request takes `nextId` as its "_id" unless
// it names one, and then advances it.
ParsedLine parseLine(std::string_view line, long long& nextId, const Protocol& protocol = Protocol::builtIn());

// Reads a value whose type the protocol leaves open by its look: true,
// false, null, JSON numbers (as typed), "double-quoted" JSON texts,
// 'single-quoted' texts taken literally, JSON arrays and objects, and
// anything else as a bare text.
bool parseValue(std::string_view text, ShortFormValue& value, std::string& error);

// Reads a value as a member of `type` (a catalogue type): a text takes the
// bare word as it is, a number, boolean, array or object must be one.
bool parseTypedValue(std::string_view text, const std::string& type, ShortFormValue& value, std::string& error);

// The console's own commands, as a line starts with them.
const std::vector<std::string>& commandNames();

// The wait as a line of text, for messages about it.
std::string describe(const WaitCommand& wait);

// The console's help: `topic` empty for the whole, else a request type, a
// family or an event code. False with `text` saying why for a topic the
// protocol does not know.
bool helpText(std::string_view topic, const Protocol& protocol, std::string& text);

}  // namespace console
