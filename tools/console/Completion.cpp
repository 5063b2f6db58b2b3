#include "Completion.h"

#include <algorithm>
#include <cctype>

#include "Commands.h"

namespace console {
namespace {

// The words of `line` before its last one, and where that last one starts;
// nothing to complete inside a quoted text or bracketed JSON.
bool splitForCompletion(std::string_view line, std::vector<std::string_view>& words, std::size_t& lastStart) {
    std::size_t wordStart = std::string_view::npos;
    char quote = 0;
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote) {
            if (c == '\\' && quote == '"') {
                ++i;
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
        const bool blank = c == ' ' || c == '\t';
        if (blank && depth == 0) {
            if (wordStart != std::string_view::npos) words.push_back(line.substr(wordStart, i - wordStart));
            wordStart = std::string_view::npos;
        } else if (wordStart == std::string_view::npos) {
            wordStart = i;
        }
    }
    if (quote || depth > 0) return false;
    lastStart = wordStart == std::string_view::npos ? line.size() : wordStart;
    return true;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

void addMatching(std::vector<std::string>& candidates, std::string_view word, const std::string& candidate) {
    if (startsWithIgnoringCase(candidate, word) &&
        std::find(candidates.begin(), candidates.end(), candidate) == candidates.end())
        candidates.push_back(candidate);
}

void addTypesAndCodes(std::vector<std::string>& candidates, std::string_view word, const Protocol& protocol) {
    for (const RequestInfo& request : protocol.requests()) addMatching(candidates, word, request.type);
    for (const EventInfo& event : protocol.events()) addMatching(candidates, word, std::to_string(event.code));
}

// The members a line after `words` may name: a request's, or a waited-for
// reply's or event's.
std::vector<const std::vector<MemberInfo>*> memberLists(const std::vector<std::string_view>& words,
                                                        const Protocol& protocol) {
    if (words[0] != "wait") {
        if (const RequestInfo* request = protocol.request(words[0])) return {&request->members};
        return {};
    }
    if (words.size() < 2) return {};
    if (const RequestInfo* request = protocol.request(words[1])) return {&request->reply, &request->members};
    const std::string code(words[1]);
    if (!code.empty() && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        code.size() <= 9)
        if (const EventInfo* event = protocol.event(std::stoll(code))) return {&event->params};
    return {};
}

}  // namespace

Completion complete(std::string_view line, const Protocol& protocol) {
    Completion completion;
    std::vector<std::string_view> words;
    if (!splitForCompletion(line, words, completion.start)) return completion;
    const std::string_view word = line.substr(completion.start);
    std::vector<std::string>& candidates = completion.candidates;
    if (words.empty()) {
        if (!word.empty() && word.front() == '{') return completion;
        for (const std::string& command : commandNames()) addMatching(candidates, word, command);
        for (const RequestInfo& request : protocol.requests()) addMatching(candidates, word, request.type);
        return completion;
    }
    if ((words[0] == "wait" || words[0] == "help") && words.size() == 1) {
        addTypesAndCodes(candidates, word, protocol);
        return completion;
    }
    const std::vector<const std::vector<MemberInfo>*> lists = memberLists(words, protocol);
    const std::size_t equals = word.find('=');
    if (equals != std::string_view::npos) {
        // A flag's two values.
        const std::string_view name = word.substr(0, equals);
        for (const auto* list : lists)
            if (const MemberInfo* member = findMember(*list, name); member && member->type == "boolean") {
                for (const char* value : {"true", "false"}) addMatching(candidates, word, member->name + "=" + value);
                break;
            }
        return completion;
    }
    for (const auto* list : lists)
        for (const MemberInfo& member : *list) {
            const bool given = std::any_of(words.begin(), words.end(), [&](std::string_view typed) {
                return typed.substr(0, typed.find_first_of(":=")) == member.name;
            });
            if (!given) addMatching(candidates, word, member.name + "=");
        }
    return completion;
}

std::string commonStart(const std::vector<std::string>& candidates) {
    if (candidates.empty()) return {};
    std::string start = candidates.front();
    for (const std::string& candidate : candidates) {
        std::size_t same = 0;
        while (same < start.size() && same < candidate.size() && start[same] == candidate[same]) ++same;
        start.resize(same);
    }
    return start;
}

}  // namespace console
