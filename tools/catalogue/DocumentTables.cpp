#include "DocumentTables.h"

#include <set>
#include <sstream>

namespace catalogue {

namespace {

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream stream(line.substr(1, line.rfind('|') - 1));
    for (std::string cell; std::getline(stream, cell, '|');) cells.push_back(trimmed(cell));
    return cells;
}

bool isSeparator(const std::string& line) {
    return line.size() > 2 && line.find_first_not_of("|-: ") == std::string::npos;
}

// For each character: whether it lies inside parentheses, braces, brackets
// or a quoted text. The opening and closing characters count as inside.
std::vector<bool> nestedCharacters(const std::string& text) {
    std::vector<bool> nested(text.size());
    int depth = 0;
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            quoted = !quoted;
            nested[at] = true;
            continue;
        }
        if (!quoted && (c == '(' || c == '{' || c == '[')) ++depth;
        nested[at] = quoted || depth > 0;
        if (!quoted && (c == ')' || c == '}' || c == ']') && depth > 0) --depth;
    }
    return nested;
}

// The texts of the parentheses that open at the top level.
std::vector<std::string> topLevelParentheses(const std::string& text) {
    std::vector<std::string> contents;
    int depth = 0;
    bool quoted = false;
    std::size_t begin = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') quoted = !quoted;
        if (quoted || c == '"') continue;
        if (c == '(' || c == '{' || c == '[') {
            if (depth++ == 0) begin = at + 1;
        } else if ((c == ')' || c == '}' || c == ']') && depth > 0) {
            if (--depth == 0 && c == ')') contents.push_back(text.substr(begin, at - begin));
        }
    }
    return contents;
}

// Splits at the top-level ';' and at each top-level ". " that ends a sentence.
std::vector<std::string> topLevelSegments(const std::string& text) {
    std::vector<bool> nested = nestedCharacters(text);
    std::vector<std::string> segments;
    std::size_t begin = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (nested[at]) continue;
        bool sentenceEnd = text[at] == '.' && (at + 1 == text.size() || text[at + 1] == ' ');
        if (text[at] != ';' && !sentenceEnd) continue;
        segments.push_back(trimmed(text.substr(begin, at - begin)));
        begin = at + 1;
    }
    segments.push_back(trimmed(text.substr(begin)));
    return segments;
}

std::string withoutArticle(std::string text) {
    text = trimmed(text);
    for (const char* article : {"a ", "an ", "one "})
        if (startsWith(text, article)) return trimmed(text.substr(std::char_traits<char>::length(article)));
    return text;
}

std::string firstWord(const std::string& text) {
    std::size_t end = 0;
    while (end < text.size() && (std::isalpha(static_cast<unsigned char>(text[end])))) ++end;
    return text.substr(0, end);
}

// The type a request kind word names; empty for a word that names none.
std::string requestKind(const std::string& word) {
    static const std::map<std::string, std::string> kKinds = {
        {"text", "string"},   {"texts", "string"},   {"string", "string"},   {"strings", "string"},
        {"choice", "string"}, {"integer", "number"}, {"integers", "number"}, {"flag", "boolean"},
        {"flags", "boolean"}, {"array", "array"},    {"arrays", "array"},
    };
    auto found = kKinds.find(word);
    return found == kKinds.end() ? std::string() : found->second;
}

// The type a reply kind names ("uint", "array of string", "{...}", "a share
// request name", a quoted value); empty for a text that names none.
std::string replyKind(const std::string& text) {
    std::string kind = withoutArticle(text);
    // A link stands for its text: "[call state](#code-names) name".
    for (std::size_t open = kind.find('['); open != std::string::npos; open = kind.find('[')) {
        std::size_t close = kind.find("](", open);
        std::size_t end = close == std::string::npos ? std::string::npos : kind.find(')', close);
        if (end == std::string::npos) break;
        kind = kind.substr(0, open) + kind.substr(open + 1, close - open - 1) + kind.substr(end + 1);
    }
    if (startsWith(kind, "\"")) return "string";
    if (startsWith(kind, "{")) return "object";
    static const std::map<std::string, std::string> kKinds = {
        {"int", "number"},    {"uint", "number"},        {"integer", "number"}, {"real", "number"},
        {"bool", "boolean"},  {"string", "string"},      {"array", "array"},    {"arrays", "array"},
        {"entity", "object"}, {"participant", "object"},
    };
    auto found = kKinds.find(firstWord(kind));
    if (found != kKinds.end()) return found->second;
    std::string head = trimmed(kind.substr(0, kind.find_first_of("(,;")));
    if (head.size() >= 4 && head.compare(head.size() - 4, 4, "name") == 0) return "string";
    return std::string();
}

// "name (note), name: " at the start of a segment: the names and where the
// kind begins; no names for a segment that declares none.
std::vector<std::string> declaredNames(const std::string& segment, std::size_t& kindBegin) {
    std::vector<std::string> names;
    std::size_t at = 0;
    auto skipSpaces = [&] {
        while (at < segment.size() && segment[at] == ' ') ++at;
    };
    for (;;) {
        skipSpaces();
        std::size_t begin = at;
        while (at < segment.size() && (std::isalnum(static_cast<unsigned char>(segment[at])) || segment[at] == '_'))
            ++at;
        if (at == begin || std::isdigit(static_cast<unsigned char>(segment[begin]))) return {};
        names.push_back(segment.substr(begin, at - begin));
        skipSpaces();
        if (at < segment.size() && segment[at] == '(') {
            at = segment.find(')', at);
            if (at == std::string::npos) return {};
            ++at;
            skipSpaces();
        }
        if (at < segment.size() && segment[at] == ',') {
            ++at;
            continue;
        }
        if (at < segment.size() && segment[at] == ':') {
            kindBegin = at + 1;
            return names;
        }
        return {};
    }
}

struct Declaration {
    std::vector<std::string> names;
    std::string text;
};

std::string requestType(const Declaration& declaration, const std::string& previous,
                        const std::map<std::string, std::string>& declared) {
    // The kind heads the text; another may follow ", or", or open a
    // parenthesis ("for a window, ... (choice: ...); for a desktop, its index
    // (integer, default 0)").
    std::vector<std::string> alternatives = {declaration.text};
    std::vector<bool> nested = nestedCharacters(declaration.text);
    for (std::size_t at = declaration.text.find(", or "); at != std::string::npos;
         at = declaration.text.find(", or ", at + 1))
        if (!nested[at]) alternatives.push_back(declaration.text.substr(at + 5));
    for (const std::string& inside : topLevelParentheses(declaration.text)) alternatives.push_back(inside);
    std::set<std::string> types;
    for (const std::string& alternative : alternatives) {
        std::string text = withoutArticle(alternative);
        if (startsWith(text, "as for")) {
            auto found = declared.find(declaration.names.front());
            if (found == declared.end())
                throw DocumentError("\"as for\" names no earlier member " + declaration.names.front());
            types.insert(found->second);
        } else if (startsWith(text, "likewise")) {
            if (previous.empty()) throw DocumentError("\"likewise\" follows no member: " + declaration.text);
            types.insert(previous);
        } else if (std::string kind = requestKind(firstWord(text)); !kind.empty()) {
            types.insert(kind);
        }
    }
    if (types.empty()) throw DocumentError("no kind for " + declaration.names.front() + ": " + declaration.text);
    return types.size() == 1 ? *types.begin() : "any";
}

}  // namespace

std::vector<Table> readTables(const std::string& document) {
    std::vector<std::string> lines;
    std::stringstream stream(document);
    for (std::string line; std::getline(stream, line);) lines.push_back(trimmed(line));
    std::vector<Table> tables;
    std::string heading;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (startsWith(lines[i], "### ")) heading = trimmed(lines[i].substr(4));
        if (startsWith(lines[i], "## ")) heading.clear();
        if (lines[i].empty() || lines[i][0] != '|' || !isSeparator(lines[i + 1])) continue;
        Table table{heading, cellsOf(lines[i]), {}};
        for (i += 2; i < lines.size() && !lines[i].empty() && lines[i][0] == '|'; ++i)
            table.rows.push_back(cellsOf(lines[i]));
        tables.push_back(table);
    }
    return tables;
}

std::vector<std::string> topLevelCodeSpans(const std::string& cell) {
    std::vector<bool> nested = nestedCharacters(cell);
    std::vector<std::string> spans;
    for (std::size_t at = 0; at < cell.size(); ++at) {
        if (cell[at] != '`') continue;
        std::size_t end = cell.find('`', at + 1);
        if (end == std::string::npos) break;
        if (!nested[at]) spans.push_back(cell.substr(at + 1, end - at - 1));
        at = end;
    }
    return spans;
}

std::vector<Member> requestMembers(const std::string& cell, std::map<std::string, std::string>& declared) {
    if (startsWith(cell, "—")) return {};
    std::vector<Declaration> declarations;
    for (const std::string& segment : topLevelSegments(cell)) {
        std::size_t kindBegin = 0;
        std::vector<std::string> names = declaredNames(segment, kindBegin);
        if (!names.empty()) {
            declarations.push_back({names, trimmed(segment.substr(kindBegin))});
        } else if (!declarations.empty()) {
            declarations.back().text += "; " + segment;
        }
    }
    std::vector<Member> members;
    std::string previous;
    for (const Declaration& declaration : declarations) {
        previous = requestType(declaration, previous, declared);
        for (const std::string& name : declaration.names) {
            members.push_back({name, previous});
            declared[name] = previous;
        }
    }
    return members;
}

std::vector<Member> replyMembers(const std::string& cell) {
    if (startsWith(cell, "—") || startsWith(cell, "null")) return {};
    std::vector<bool> nested = nestedCharacters(cell);
    std::vector<Member> members;
    std::vector<std::string> pending;
    std::size_t firstName = std::string::npos;
    // Names without a kind of their own: those of a list that gives one kind
    // for all ahead of them ("uint, spelled exactly so: `a`, `b`"), or a
    // portal answer's "result" and "fault", which are names.
    auto flush = [&] {
        std::string leading = replyKind(cell.substr(0, firstName));
        for (const std::string& name : pending) {
            std::string type = leading;
            if (type.empty() && (name == "result" || name == "fault")) type = "string";
            if (type.empty()) throw DocumentError("no kind for " + name + ": " + cell);
            members.push_back({name, type});
        }
        pending.clear();
    };
    for (std::size_t at = 0; at < cell.size(); ++at) {
        if (cell[at] != '`' || nested[at]) continue;
        std::size_t end = cell.find('`', at + 1);
        if (end == std::string::npos) break;
        if (firstName == std::string::npos) firstName = at;
        pending.push_back(cell.substr(at + 1, end - at - 1));
        at = end + 1;
        while (at < cell.size() && cell[at] == ' ') ++at;
        if (at < cell.size() && cell[at] == '(') {
            while (at < cell.size() && nested[at]) ++at;
            while (at < cell.size() && cell[at] == ' ') ++at;
        }
        if (at < cell.size() && cell[at] == ',' && cell.find('`', at) == cell.find_first_not_of(", ", at)) continue;
        if (at < cell.size() && cell[at] == ':') {
            std::size_t kindEnd = at + 1;
            while (kindEnd < cell.size() && (nested[kindEnd] || (cell[kindEnd] != ',' && cell[kindEnd] != ';')))
                ++kindEnd;
            std::string kind = replyKind(cell.substr(at + 1, kindEnd - at - 1));
            if (kind.empty()) throw DocumentError("no kind for " + pending.front() + ": " + cell);
            for (const std::string& name : pending) members.push_back({name, kind});
            pending.clear();
            at = kindEnd;
            continue;
        }
        flush();
        --at;
    }
    flush();
    return members;
}

std::vector<Member> configurationMembers(const Table& table, const std::string& column) {
    std::size_t useColumn = 0;
    while (useColumn < table.header.size() && table.header[useColumn] != column) ++useColumn;
    std::vector<Member> members;
    for (const std::vector<std::string>& cells : table.rows) {
        if (useColumn >= cells.size() || cells[useColumn] != "yes") continue;
        const std::string& kind = cells.at(1);
        std::string type = replyKind(kind);
        // What is set may be read more leniently than what is got: "uint
        // (set: integer)", but an array stays an array.
        std::size_t set = kind.find("set: ");
        if (column == "Set" && set != std::string::npos && type != "array")
            type = requestKind(firstWord(kind.substr(set + 5)));
        // "as `numberMicrophones`": the kind of an earlier row.
        std::vector<std::string> like = topLevelCodeSpans(kind);
        if (type.empty() && startsWith(kind, "as ") && like.size() == 1)
            for (const Member& earlier : members)
                if (earlier.name == like[0]) type = earlier.type;
        if (type.empty()) throw DocumentError("no kind for the configuration member " + cells[0]);
        for (const std::string& name : topLevelCodeSpans(cells[0])) members.push_back({name, type});
    }
    return members;
}

}  // namespace catalogue
