#include "Redaction.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isSecretName(std::string_view name) {
    static constexpr std::array<std::string_view, 9> kSecretNames = {
        "userPass", "webProxyPassword", "portalAccessKey", "pak", "BAK", "authToken", "pin", "roomPIN", "moderatorPin"};
    constexpr std::string_view kPasswordSuffix = "password";
    if (name.size() >= kPasswordSuffix.size() &&
        equalsIgnoringCase(name.substr(name.size() - kPasswordSuffix.size()), kPasswordSuffix))
        return true;
    return std::any_of(kSecretNames.begin(), kSecretNames.end(),
                       [&](std::string_view secret) { return equalsIgnoringCase(name, secret); });
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Position just past the string that starts with the quote at `begin`.
std::size_t skipString(std::string_view text, std::size_t begin) {
    std::size_t i = begin + 1;
    while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
    return std::min(i + 1, text.size());
}

std::size_t skipSpace(std::string_view text, std::size_t i) {
    while (i < text.size() && isSpace(text[i])) ++i;
    return i;
}

// Position just past the value that starts at `begin`.
std::size_t skipValue(std::string_view text, std::size_t begin) {
    if (begin >= text.size()) return begin;
    if (text[begin] == '"') return skipString(text, begin);
    if (text[begin] == '{' || text[begin] == '[') {
        int depth = 0;
        std::size_t i = begin;
        while (i < text.size()) {
            char c = text[i];
            if (c == '"') {
                i = skipString(text, i);
                continue;
            }
            if (c == '{' || c == '[') ++depth;
            if ((c == '}' || c == ']') && --depth == 0) return i + 1;
            ++i;
        }
        return i;
    }
    std::size_t i = begin;
    while (i < text.size() && text[i] != ',' && text[i] != '}' && text[i] != ']' && !isSpace(text[i])) ++i;
    return i;
}

}  // namespace

std::string redactSecrets(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t copiedUpTo = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '"') {
            ++i;
            continue;
        }
        std::size_t nameEnd = skipString(text, i);
        std::size_t colon = skipSpace(text, nameEnd);
        bool isKey = colon < text.size() && text[colon] == ':';
        if (isKey && nameEnd - i >= 2 && isSecretName(text.substr(i + 1, nameEnd - i - 2))) {
            std::size_t valueBegin = skipSpace(text, colon + 1);
            std::size_t valueEnd = skipValue(text, valueBegin);
            out.append(text.substr(copiedUpTo, valueBegin - copiedUpTo));
            out.append("\"***\"");
            copiedUpTo = i = valueEnd;
            continue;
        }
        i = nameEnd;
    }
    out.append(text.substr(copiedUpTo));
    return out;
}
