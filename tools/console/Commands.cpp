#include "Commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>

namespace console {
namespace {

constexpr const char* kExitControl = "{EXIT}";
constexpr double kLongestWaitSeconds = 3600;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isIdentifier(std::string_view text) {
    if (text.empty() || isDigit(text.front())) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

// The end of a quoted text that starts at `start`, just past its closing
// quote, or npos when it has none. Only double quotes know escapes.
std::size_t quotedEnd(std::string_view text, std::size_t start) {
    const char quote = text[start];
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        if (quote == '"' && text[i] == '\\') {
            ++i;
        } else if (text[i] == quote) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// The end of the bracketed JSON that starts at `start`, just past the
// bracket that closes it, or npos when it is not closed.
std::size_t bracketedEnd(std::string_view text, std::size_t start) {
    int depth = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            const std::size_t end = quotedEnd(text, i);
            if (end == std::string_view::npos) return end;
            i = end - 1;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == '}') && --depth == 0) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Splits at blanks; quoted texts and bracketed JSON inside a word keep their
// blanks.
bool splitWords(std::string_view text, std::vector<std::string_view>& words, std::string& error) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) {
            const char c = text[i];
            if (c == '"' || c == '\'' || c == '[' || c == '{') {
                const std::size_t end = (c == '"' || c == '\'') ? quotedEnd(text, i) : bracketedEnd(text, i);
                if (end == std::string_view::npos) {
                    error = std::string(c == '"' || c == '\'' ? "unterminated quoted text: " : "unclosed bracket: ") +
                            std::string(text.substr(start));
                    return false;
                }
                i = end;
            } else {
                ++i;
            }
        }
        words.push_back(text.substr(start, i - start));
    }
    return true;
}

bool parseStrictJson(std::string_view text, Json::Value& value) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    return reader->parse(text.data(), text.data() + text.size(), &value, nullptr);
}

// A JSON number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i])) ++i;
        return i > start;
    };
    if (i < text.size() && text[i] == '-') ++i;
    if (i < text.size() && text[i] == '0') {
        ++i;
    } else if (!digits()) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits()) return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digits()) return false;
    }
    return i == text.size();
}

Json::Value numberValue(const std::string& numeral) {
    const bool integral = numeral.find_first_of(".eE") == std::string::npos;
    if (integral) {
        errno = 0;
        const long long signedValue = std::strtoll(numeral.c_str(), nullptr, 10);
        if (errno == 0) return Json::Value(static_cast<Json::Int64>(signedValue));
        errno = 0;
        const unsigned long long unsignedValue = std::strtoull(numeral.c_str(), nullptr, 10);
        if (errno == 0 && numeral.front() != '-') return Json::Value(static_cast<Json::UInt64>(unsignedValue));
    }
    return Json::Value(std::strtod(numeral.c_str(), nullptr));
}

std::string jsonQuoted(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (byte < 0x20) {
                    quoted += "\\u00";
                    quoted += kHex[byte >> 4];
                    quoted += kHex[byte & 0xF];
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

// The catalogue types of the members a line may give; a name it does not
// list is read by its look, or refused when `refuseUnknown` names whose
// members these are.
struct MemberTypes {
    std::vector<const std::vector<MemberInfo>*> lists;
    std::string refuseUnknown;

    const MemberInfo* find(std::string_view name) const {
        for (const auto* list : lists)
            if (const MemberInfo* member = findMember(*list, name)) return member;
        return nullptr;
    }
};

// Names starting with _ are the page's own (correlation) members.
bool pagesOwn(std::string_view name) { return !name.empty() && name.front() == '_'; }

std::string unknownMember(const std::string& name, const MemberTypes& types) {
    std::vector<std::string> names;
    for (const auto* list : types.lists)
        for (const MemberInfo& member : *list) names.push_back(member.name);
    if (names.empty()) return name + ": " + types.refuseUnknown + " reads no members";
    std::string error = name + ": " + types.refuseUnknown + " reads no such member; ";
    const std::vector<std::string> nearest = nearestNames(name, names);
    if (!nearest.empty()) return error + "did you mean " + alternatives(nearest) + "?";
    return error + "its members are " + alternatives(names, "and");
}

bool parseMember(std::string_view word, const MemberTypes& types, std::string& name, ShortFormValue& value,
                 std::string& error) {
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos) {
        error = "expected name=value: " + std::string(word);
        return false;
    }
    const bool raw = equals > 0 && word[equals - 1] == ':';
    name = std::string(word.substr(0, raw ? equals - 1 : equals));
    if (name.empty()) {
        error = "a member without a name: " + std::string(word);
        return false;
    }
    const MemberInfo* member = types.find(name);
    if (!member && !types.refuseUnknown.empty() && !pagesOwn(name)) {
        error = unknownMember(name, types);
        return false;
    }
    const std::string_view text = word.substr(equals + 1);
    bool read = false;
    if (raw) {
        Json::Value wrapped;
        read = parseStrictJson("[" + std::string(text) + "]", wrapped) && wrapped.size() == 1;
        if (read) value = {wrapped[0], std::string(text)};
        if (!read) error = "not valid JSON: " + std::string(text);
    } else {
        read = parseTypedValue(text, member ? member->type : "any", value, error);
    }
    if (!read) error = name + ": " + error;
    return read;
}

// "2s", "0.5s"; nothing when the word is not a duration.
std::optional<double> durationSeconds(std::string_view word) {
    if (word.size() < 2 || word.back() != 's') return std::nullopt;
    const std::string number(word.substr(0, word.size() - 1));
    if (!isJsonNumber(number) || number.front() == '-' || number.find_first_of("eE") != std::string::npos)
        return std::nullopt;
    return std::strtod(number.c_str(), nullptr);
}

ParsedLine failed(std::string error) { return ParsedLine{NoCommand{}, std::move(error)}; }

std::vector<std::string> requestTypes(const Protocol& protocol) {
    std::vector<std::string> types;
    for (const RequestInfo& request : protocol.requests()) types.push_back(request.type);
    return types;
}

std::string noSuchRequest(std::string_view type, const Protocol& protocol) {
    const std::vector<std::string> nearest = nearestNames(type, requestTypes(protocol));
    if (nearest.empty()) return std::string(type) + ": no such request; help lists the request families";
    return std::string(type) + ": no such request; did you mean " + alternatives(nearest) + "?";
}

// A first word that is neither a command nor a request type.
std::string notUnderstood(std::string_view word, const Protocol& protocol) {
    const std::string commands = "the commands are " + alternatives(commandNames(), "and");
    const std::vector<std::string> nearCommands = nearestNames(word, commandNames());
    if (!nearCommands.empty())
        return std::string(word) + ": no such command; did you mean " + alternatives(nearCommands) + "? T" +
               commands.substr(1);
    if (isIdentifier(word) && !nearestNames(word, requestTypes(protocol)).empty()) return noSuchRequest(word, protocol);
    return "not a request type: " + std::string(word) + "; " + commands + ", and help lists the request families";
}

ParsedLine parseWait(const std::vector<std::string_view>& words, const Protocol& protocol) {
    if (words.size() < 2) return failed("wait needs a request type or an event code");
    WaitCommand wait;
    const std::string_view target = words[1];
    // A reply holds the request's members too; an event code the catalogue
    // does not know may still arrive, with null params.
    MemberTypes types;
    if (std::all_of(target.begin(), target.end(), isDigit) && target.size() <= 9) {
        wait.eventCode = std::strtoll(std::string(target).c_str(), nullptr, 10);
        if (const EventInfo* event = protocol.event(*wait.eventCode)) types.lists = {&event->params};
    } else if (isIdentifier(target)) {
        const RequestInfo* request = protocol.request(target);
        if (!request) return failed(noSuchRequest(target, protocol));
        wait.type = std::string(target);
        types.lists = {&request->reply, &request->members};
    } else {
        return failed("wait needs a request type or an event code, not " + std::string(target));
    }
    std::set<std::string> names;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (const std::optional<double> seconds = durationSeconds(words[i])) {
            if (*seconds <= 0 || *seconds > kLongestWaitSeconds)
                return failed("a wait lasts more than 0 and at most 3600 seconds: " + std::string(words[i]));
            wait.timeout = std::chrono::milliseconds(static_cast<long long>(std::ceil(*seconds * 1000)));
            continue;
        }
        std::string name;
        ShortFormValue value;
        std::string error;
        if (!parseMember(words[i], types, name, value, error)) return failed(error);
        if (!names.insert(name).second) return failed("member given twice: " + name);
        wait.conditions.emplace_back(std::move(name), std::move(value));
    }
    return ParsedLine{std::move(wait), {}};
}

ParsedLine parseShortForm(const std::vector<std::string_view>& words, long long& nextId, const Protocol& protocol) {
    const std::string type(words[0]);
    const RequestInfo* request = protocol.request(type);
    if (!request) return failed(notUnderstood(type, protocol));
    const MemberTypes types{{&request->members}, type};
    std::string direction = "1";
    std::string id;
    std::string members;
    std::set<std::string> names;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string name;
        ShortFormValue value;
        std::string error;
        // Before the member check, which would call it a member the type does not read.
        if (words[i].rfind("type=", 0) == 0 || words[i].rfind("type:=", 0) == 0)
            return failed("the first word is the type; type= is not needed");
        if (!parseMember(words[i], types, name, value, error)) return failed(error);
        if (!names.insert(name).second) return failed("member given twice: " + name);
        if (name == "_direction") {
            direction = value.json;
        } else if (name == "_id") {
            id = value.json;
        } else {
            members += "," + jsonQuoted(name) + ":" + value.json;
        }
    }
    if (id.empty()) id = std::to_string(nextId++);
    return ParsedLine{SendCommand{"{\"type\":" + jsonQuoted(type) + ",\"_direction\":" + direction + ",\"_id\":" + id +
                                  members + "}"},
                      {}};
}

}  // namespace

bool parseValue(std::string_view text, ShortFormValue& value, std::string& error) {
    if (text.empty()) {
        value = {Json::Value(""), "\"\""};
        return true;
    }
    const char first = text.front();
    if (first == '\'') {
        if (text.size() < 2 || text.back() != '\'' || quotedEnd(text, 0) != text.size()) {
            error = "a quoted text must end with its quote: " + std::string(text);
            return false;
        }
        const std::string_view inner = text.substr(1, text.size() - 2);
        value = {Json::Value(std::string(inner)), jsonQuoted(inner)};
        return true;
    }
    if (first == '"' || first == '[' || first == '{') {
        // A root that is not an array or object is not strict JSON.
        Json::Value wrapped;
        if (!parseStrictJson("[" + std::string(text) + "]", wrapped) || wrapped.size() != 1) {
            error = "not valid JSON: " + std::string(text);
            return false;
        }
        value = {wrapped[0], std::string(text)};
        return true;
    }
    if (text == "true" || text == "false") {
        value = {Json::Value(text == "true"), std::string(text)};
        return true;
    }
    if (text == "null") {
        value = {Json::Value(), "null"};
        return true;
    }
    if (isJsonNumber(text)) {
        value = {numberValue(std::string(text)), std::string(text)};
        return true;
    }
    value = {Json::Value(std::string(text)), jsonQuoted(text)};
    return true;
}

bool parseTypedValue(std::string_view text, const std::string& type, ShortFormValue& value, std::string& error) {
    const char first = text.empty() ? '\0' : text.front();
    if (type == "any") return parseValue(text, value, error);
    if (type == "string") {
        if (first != '"' && first != '\'') {
            value = {Json::Value(std::string(text)), jsonQuoted(text)};
            return true;
        }
        return parseValue(text, value, error);
    }
    const bool shaped = (type == "array" && first == '[') || (type == "object" && first == '{') ||
                        (type == "number" && isJsonNumber(text)) ||
                        (type == "boolean" && (text == "true" || text == "false"));
    if (shaped) return parseValue(text, value, error);
    error = "expected " + std::string(type == "array" || type == "object" ? "an " : "a ") + type + ", not " +
            (text.empty() ? std::string("nothing") : std::string(text)) + " (name:=json sends any JSON value)";
    return false;
}

ParsedLine parseLine(std::string_view line, long long& nextId, const Protocol& protocol) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') return ParsedLine{NoCommand{}, {}};
    if (text.front() == '{') return ParsedLine{SendCommand{std::string(text), text == kExitControl}, {}};

    const std::string_view firstWord = text.substr(0, text.find_first_of(" \t"));
    if (firstWord == "note") return ParsedLine{NoteCommand{std::string(trimmed(text.substr(firstWord.size())))}, {}};
    std::vector<std::string_view> words;
    std::string error;
    if (!splitWords(text, words, error)) return failed(error);
    const std::string_view keyword = words[0];
    if (keyword == "wait") return parseWait(words, protocol);
    if (keyword == "help") {
        HelpCommand help;
        if (!helpText(trimmed(text.substr(keyword.size())), protocol, help.text)) return failed(help.text);
        return ParsedLine{std::move(help), {}};
    }
    if (keyword == "close" || keyword == "exit" || keyword == "quit") {
        if (words.size() > 1) return failed(std::string(keyword) + " takes nothing after it");
        if (keyword == "close") return ParsedLine{CloseCommand{}, {}};
        return ParsedLine{QuitCommand{}, {}};
    }
    return parseShortForm(words, nextId, protocol);
}

std::string describe(const WaitCommand& wait) {
    std::string text = "wait " + (wait.eventCode ? std::to_string(*wait.eventCode) : wait.type);
    for (const auto& [name, value] : wait.conditions) text += " " + name + "=" + value.json;
    return text;
}

const std::vector<std::string>& commandNames() {
    static const std::vector<std::string> kNames = {"wait", "note", "close", "help", "exit", "quit"};
    return kNames;
}

namespace {

constexpr const char* kGeneralHelp =
    R"(Type a request in JSON, or in the short form: the type, then members as name=value.
  RequestGetCallState
  InEventMuteAudioIn willMute=true
  InEventGroupChat message="Hello, everyone"
  {"type":"RequestGetVersion","_direction":1,"_id":99}
A member takes the JSON type the protocol gives it: tone=5 is a text, willMute=true a boolean,
volume=300 a number. name:=json sends any JSON value as it is (volume:="300"). A member the
type does not read is refused, except the page's own names starting with _. "_direction" 1 and
a running "_id" are added unless given. Tab completes types and member names.
Commands:
  wait <type|event code> [name=value ...] [<seconds>s]   wait for a reply or an event (default 10s)
  note <text>                                            print a heading
  close                                                  end the host's input; the host shuts down
  help [<type>|<family>|<event code>]                    this text, or one type, family or event
  exit, quit                                             end the console
{EXIT} is sent as the host's control text. Ctrl-D ends the input, Ctrl-C clears the line.)";

std::string membersText(const std::vector<MemberInfo>& members, const char* none) {
    if (members.empty()) return none;
    std::string text;
    for (const MemberInfo& member : members) text += (text.empty() ? "" : ", ") + member.name + ": " + member.type;
    return text;
}

std::string requestHelp(const RequestInfo& request) {
    return request.type + " (" + request.family + ")\n  members: " + membersText(request.members, "none") +
           "\n  reply:   " + membersText(request.reply, "nothing beyond the request");
}

std::string familyHelp(const std::string& family, const Protocol& protocol) {
    std::string lines;
    int count = 0;
    for (const RequestInfo& request : protocol.requests()) {
        if (request.family != family) continue;
        ++count;
        lines += "\n  " + request.type;
        for (const MemberInfo& member : request.members) lines += " " + member.name;
    }
    return family + ": " + std::to_string(count) + " request types, with the members they read" + lines;
}

std::string familiesHelp(const Protocol& protocol) {
    std::string text = "Request families (help <family> lists its types, help <type> shows one):";
    for (const std::string& family : protocol.families()) {
        int count = 0;
        for (const RequestInfo& request : protocol.requests()) count += request.family == family ? 1 : 0;
        text += "\n  " + family + " (" + std::to_string(count) + ")";
    }
    return text;
}

bool sameWords(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool helpText(std::string_view topic, const Protocol& protocol, std::string& text) {
    if (topic.empty()) {
        text = std::string(kGeneralHelp) + "\n" + familiesHelp(protocol);
        return true;
    }
    if (const RequestInfo* request = protocol.request(topic)) {
        text = requestHelp(*request);
        return true;
    }
    for (const std::string& family : protocol.families()) {
        if (!sameWords(family, topic)) continue;
        text = familyHelp(family, protocol);
        return true;
    }
    if (std::all_of(topic.begin(), topic.end(), isDigit) && topic.size() <= 9) {
        if (const EventInfo* event = protocol.event(std::strtoll(std::string(topic).c_str(), nullptr, 10))) {
            text = "event " + std::to_string(event->code) + " " + event->name +
                   "\n  params: " + membersText(event->params, "null");
            return true;
        }
        text = "help " + std::string(topic) + ": the protocol names no event with this code";
        return false;
    }
    std::vector<std::string> names = requestTypes(protocol);
    names.insert(names.end(), protocol.families().begin(), protocol.families().end());
    const std::vector<std::string> nearest = nearestNames(topic, names);
    text =
        "help " + std::string(topic) + ": no such request type or family" +
        (nearest.empty() ? std::string("; help lists the families") : "; did you mean " + alternatives(nearest) + "?");
    return false;
}

}  // namespace console
