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

bool parseMember(std::string_view word, std::string& name, ShortFormValue& value, std::string& error) {
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos) {
        error = "expected name=value: " + std::string(word);
        return false;
    }
    name = std::string(word.substr(0, equals));
    if (name.empty()) {
        error = "a member without a name: " + std::string(word);
        return false;
    }
    if (!parseValue(word.substr(equals + 1), value, error)) {
        error = name + ": " + error;
        return false;
    }
    return true;
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

ParsedLine parseWait(const std::vector<std::string_view>& words) {
    if (words.size() < 2) return failed("wait needs a request type or an event code");
    WaitCommand wait;
    const std::string_view target = words[1];
    if (std::all_of(target.begin(), target.end(), isDigit) && target.size() <= 9) {
        wait.eventCode = std::strtoll(std::string(target).c_str(), nullptr, 10);
    } else if (isIdentifier(target)) {
        wait.type = std::string(target);
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
        if (!parseMember(words[i], name, value, error)) return failed(error);
        if (!names.insert(name).second) return failed("member given twice: " + name);
        wait.conditions.emplace_back(std::move(name), std::move(value));
    }
    return ParsedLine{std::move(wait), {}};
}

ParsedLine parseShortForm(const std::vector<std::string_view>& words, long long& nextId) {
    const std::string type(words[0]);
    if (!isIdentifier(type)) return failed("not a request type: " + type);
    std::string direction = "1";
    std::string id;
    std::string members;
    std::set<std::string> names;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string name;
        ShortFormValue value;
        std::string error;
        if (!parseMember(words[i], name, value, error)) return failed(error);
        if (name == "type") return failed("the first word is the type; type= is not needed");
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

ParsedLine parseLine(std::string_view line, long long& nextId) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') return ParsedLine{NoCommand{}, {}};
    if (text.front() == '{') return ParsedLine{SendCommand{std::string(text), text == kExitControl}, {}};

    const std::string_view firstWord = text.substr(0, text.find_first_of(" \t"));
    if (firstWord == "note") return ParsedLine{NoteCommand{std::string(trimmed(text.substr(firstWord.size())))}, {}};
    std::vector<std::string_view> words;
    std::string error;
    if (!splitWords(text, words, error)) return failed(error);
    const std::string_view keyword = words[0];
    if (keyword == "wait") return parseWait(words);
    if (keyword == "close" || keyword == "help") {
        if (words.size() > 1) return failed(std::string(keyword) + " takes nothing after it");
        if (keyword == "close") return ParsedLine{CloseCommand{}, {}};
        return ParsedLine{HelpCommand{}, {}};
    }
    return parseShortForm(words, nextId);
}

std::string describe(const WaitCommand& wait) {
    std::string text = "wait " + (wait.eventCode ? std::to_string(*wait.eventCode) : wait.type);
    for (const auto& [name, value] : wait.conditions) text += " " + name + "=" + value.json;
    return text;
}

const char* helpText() {
    return R"(Type a request in JSON, or in the short form: the type, then members as name=value.
  RequestGetCallState
  InEventMuteAudioIn willMute=true
  InEventGroupChat message="Hello, everyone"
  {"type":"RequestGetVersion","_direction":1,"_id":99}
Values: true, false, null, numbers, "quoted" or 'quoted' texts, [JSON] or {JSON}, bare texts.
"_direction" 1 and a running "_id" are added unless given.
Commands:
  wait <type|event code> [name=value ...] [<seconds>s]   wait for a reply or an event (default 10s)
  note <text>                                            print a heading
  close                                                  end the host's input; the host shuts down
  help                                                   this text
{EXIT} is sent as the host's control text. Ctrl-D ends the input, Ctrl-C clears the line.)";
}

}  // namespace console
