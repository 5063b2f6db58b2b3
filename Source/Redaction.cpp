#include "Redaction.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isSecretName(std::string_view name) {
    static constexpr std::array<std::string_view, 10> kSecretNames = {
        "userPass", "webProxyPassword", "portalAccessKey", "pak",    "BAK", "authToken",
        "pin",      "roomPIN",          "moderatorPin",    "roomKey"};
    constexpr std::string_view kPasswordSuffix = "password";
    if (name.size() >= kPasswordSuffix.size() &&
        equalsIgnoringCase(name.substr(name.size() - kPasswordSuffix.size()), kPasswordSuffix))
        return true;
    return std::any_of(kSecretNames.begin(), kSecretNames.end(),
                       [&](std::string_view secret) { return equalsIgnoringCase(name, secret); });
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.size() - std::min(at, text.size()) >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

// Position just past the string that starts with the quote at `begin`.
std::size_t skipString(std::string_view text, std::size_t begin) {
    std::size_t i = begin + 1;
    while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
    return std::min(i + 1, text.size());
}

// Position just past the comment that starts at `begin`, or `begin` when
// none starts there. The JSON library ends a line comment at either line end.
std::size_t skipComment(std::string_view text, std::size_t begin) {
    if (startsWith(text, begin, "//")) {
        std::size_t end = text.find_first_of("\r\n", begin + 2);
        return end == std::string_view::npos ? text.size() : end + 1;
    }
    if (startsWith(text, begin, "/*")) {
        std::size_t end = text.find("*/", begin + 2);
        return end == std::string_view::npos ? text.size() : end + 2;
    }
    return begin;
}

// Past the white space and comments from `i` on, as the JSON library skips
// them between tokens.
std::size_t skipBlanks(std::string_view text, std::size_t i) {
    for (;;) {
        while (i < text.size() && isSpace(text[i])) ++i;
        std::size_t afterComment = skipComment(text, i);
        if (afterComment == i) return i;
        i = afterComment;
    }
}

// Position just past the value that starts at `begin`.
std::size_t skipValue(std::string_view text, std::size_t begin) {
    if (begin >= text.size()) return begin;
    if (text[begin] == '"') return skipString(text, begin);
    std::size_t i = begin;
    if (text[begin] == '{' || text[begin] == '[') {
        int depth = 0;
        while (i < text.size()) {
            char c = text[i];
            if (c == '"') {
                i = skipString(text, i);
                continue;
            }
            std::size_t afterComment = skipComment(text, i);
            if (afterComment != i) {
                i = afterComment;
                continue;
            }
            if (c == '{' || c == '[') ++depth;
            if ((c == '}' || c == ']') && --depth == 0) return i + 1;
            ++i;
        }
        return i;
    }
    while (i < text.size() && text[i] != ',' && text[i] != '}' && text[i] != ']' && text[i] != '/' && !isSpace(text[i]))
        ++i;
    return i;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hexadecimal digits at `at`, or -1.
long fourHexDigits(std::string_view text, std::size_t at) {
    if (text.size() - std::min(at, text.size()) < 4) return -1;
    long value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        int digit = hexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void appendUtf8(std::string& out, unsigned long codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The content of a quoted string as the JSON library decodes it.
std::string decodedName(std::string_view quoted) {
    std::string name;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] != '\\' || i + 1 >= quoted.size()) {
            name += quoted[i];
            continue;
        }
        char escape = quoted[++i];
        switch (escape) {
            case 'b': name += '\b'; break;
            case 'f': name += '\f'; break;
            case 'n': name += '\n'; break;
            case 'r': name += '\r'; break;
            case 't': name += '\t'; break;
            case 'u': {
                long unit = fourHexDigits(quoted, i + 1);
                if (unit < 0) return name;
                i += 4;
                unsigned long codePoint = static_cast<unsigned long>(unit);
                long low = startsWith(quoted, i + 1, "\\u") ? fourHexDigits(quoted, i + 3) : -1;
                if (unit >= 0xD800 && unit <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
                    codePoint = 0x10000 + ((codePoint & 0x3FF) << 10) + (static_cast<unsigned long>(low) & 0x3FF);
                    i += 6;
                }
                appendUtf8(name, codePoint);
                break;
            }
            default: name += escape; break;  // '"', '\\', '/'
        }
    }
    return name;
}

// Writes the shown part of a text: the bytes between the replacements with
// control characters escaped, and the replacements as they are.
class LogText {
public:
    explicit LogText(std::string_view text) : text_(text), end_(shownEnd(text)) { out_.reserve(end_ + 16); }

    // Where the shown part of the text ends.
    std::size_t end() const { return end_; }

    // Shows `replacement` in place of the bytes from `begin` to `end`.
    void replace(std::size_t begin, std::size_t end, std::string_view replacement) {
        copyUpTo(begin);
        out_.append(replacement);
        copied_ = std::max(copied_, end);
    }

    std::string finish() {
        copyUpTo(end_);
        if (end_ < text_.size()) out_ += "... [" + std::to_string(text_.size()) + " bytes]";
        return std::move(out_);
    }

private:
    static std::size_t shownEnd(std::string_view text) {
        if (text.size() <= kLoggedTextLimit) return text.size();
        std::size_t end = kLoggedTextLimit;
        // Not inside a UTF-8 sequence: back to the byte that starts it.
        for (int back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++back) --end;
        return end;
    }

    void copyUpTo(std::size_t position) {
        static constexpr char kHex[] = "0123456789abcdef";
        for (; copied_ < std::min(position, end_); ++copied_) {
            auto c = static_cast<unsigned char>(text_[copied_]);
            if (c >= 0x20 && c != 0x7F) {
                out_ += static_cast<char>(c);
            } else if (c == '\n') {
                out_ += "\\n";
            } else if (c == '\r') {
                out_ += "\\r";
            } else if (c == '\t') {
                out_ += "\\t";
            } else {
                out_ += "\\u00";
                out_ += kHex[c >> 4];
                out_ += kHex[c & 0xF];
            }
        }
    }

    std::string_view text_;
    std::size_t end_;
    std::size_t copied_ = 0;
    std::string out_;
};

// Characters that end a URL's authority, where its user-info would end.
bool endsAuthority(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F ||
           std::string_view("/?#\"\\[]<>{}").find(c) != std::string_view::npos;
}

// Where the user-info of a URL whose authority starts at `begin` ends: at the
// authority's last '@', or npos when it has none. Only the shown part of the
// text is looked at: an authority that runs into the cut is hidden up to the
// cut, as its '@' may lie beyond.
std::size_t userInfoEnd(std::string_view text, std::size_t shownEnd, std::size_t begin) {
    std::size_t at = std::string_view::npos;
    std::size_t i = begin;
    for (; i < shownEnd && !endsAuthority(text[i]); ++i)
        if (text[i] == '@') at = i;
    return i == shownEnd && shownEnd < text.size() ? shownEnd : at;
}

enum class Place { Outside, InString, InComment };

// Whether `stem`, lower-case letters, starts at `at` in `text`, ignoring case.
bool stemAt(std::string_view text, std::size_t at, std::string_view stem) {
    if (text.size() - at < stem.size()) return false;
    for (std::size_t i = 0; i < stem.size(); ++i)
        if ((text[at + i] | 0x20) != stem[i]) return false;
    return true;
}

// Whether a part that every secret name holds written out starts at `at`:
// "pass" (userPass and every name ending in "password"), "key"
// (portalAccessKey, roomKey), "pak", "bak", "token" or "pin" (pin, roomPIN,
// moderatorPin), in any case. A name spelt with escapes holds a backslash.
bool secretStemAt(std::string_view text, std::size_t at) {
    switch (text[at] | 0x20) {
        case 'p': return stemAt(text, at, "pass") || stemAt(text, at, "pak") || stemAt(text, at, "pin");
        case 'k': return stemAt(text, at, "key");
        case 'b': return stemAt(text, at, "bak");
        case 't': return stemAt(text, at, "token");
        default: return false;
    }
}

}  // namespace

bool textNeedsCleaning(std::string_view text) {
    // The bytes at which the scan looks closer: control characters, the
    // backslash, the colon of "://" and the first letters of secret stems.
    static const std::array<bool, 256> kLookCloser = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[c] = true;
        for (unsigned char c : std::string_view("\x7f\\:pPkKbBtT")) table[c] = true;
        return table;
    }();
    if (text.size() > kLoggedTextLimit) return true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (!kLookCloser[c]) continue;
        if (c < 0x20 || c == 0x7F || c == '\\') return true;
        if (c == ':' ? i + 1 < text.size() && text[i + 1] == '/' : secretStemAt(text, i)) return true;
    }
    return false;
}

std::string textForLog(std::string_view text) {
    return textNeedsCleaning(text) ? cleanedTextForLog(text) : std::string(text);
}

std::string cleanedTextForLog(std::string_view text) {
    LogText log(text);
    // Nothing past the shown part is looked at, however long the text: a
    // value or comment that runs into the cut is taken to end there.
    const std::string_view shown = text.substr(0, log.end());
    Place place = Place::Outside;
    std::size_t commentEnd = 0;
    std::size_t i = 0;
    while (i < log.end()) {
        char c = text[i];
        if (c == ':') {
            // Inside a JSON string the slashes may be written escaped.
            std::size_t authority = startsWith(shown, i, "://")                                   ? i + 3
                                    : place == Place::InString && startsWith(shown, i, ":\\/\\/") ? i + 5
                                                                                                  : 0;
            if (authority != 0) {
                std::size_t at = userInfoEnd(text, shown.size(), authority);
                if (at != std::string_view::npos) log.replace(authority, at, "***");
                i = at != std::string_view::npos ? at : authority;
                continue;
            }
        }
        switch (place) {
            case Place::InString:
                if (c == '\\') {
                    i += 2;
                    continue;
                }
                if (c == '"') place = Place::Outside;
                ++i;
                continue;
            case Place::InComment:
                if (++i >= commentEnd) place = Place::Outside;
                continue;
            case Place::Outside: break;
        }
        if (c == '/' && (commentEnd = skipComment(shown, i)) != i) {
            place = Place::InComment;
            i += 2;
            if (i >= commentEnd) place = Place::Outside;
            continue;
        }
        if (c != '"') {
            ++i;
            continue;
        }
        std::size_t nameEnd = skipString(shown, i);
        std::size_t colon = skipBlanks(shown, nameEnd);
        bool isName = colon < shown.size() && shown[colon] == ':' && nameEnd - i >= 2;
        if (isName && isSecretName(decodedName(shown.substr(i + 1, nameEnd - i - 2)))) {
            std::size_t valueBegin = skipBlanks(shown, colon + 1);
            std::size_t valueEnd = skipValue(shown, valueBegin);
            log.replace(valueBegin, valueEnd, "\"***\"");
            i = valueEnd;
            continue;
        }
        place = Place::InString;
        ++i;
    }
    return log.finish();
}
