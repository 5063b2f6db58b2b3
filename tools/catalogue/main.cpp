// tavmo-protocol-catalogue: writes the protocol catalogue, the one
// machine-readable description of the protocol, from the host's own tables
// (its dispatch table, its event and portal answer tables), the library's
// event constants and the member lists of the protocol document.
//
// Usage: tavmo-protocol-catalogue <PROTOCOL.md> <library header folder> <catalogue.json> [--check]
// With --check it writes nothing and fails when the file differs.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DocumentTables.h"
#include "OutEventHandler.h"
#include "OutEventHandler/PortalAnswers.h"
#include "RequestHandler.h"

using namespace catalogue;

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw DocumentError("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// An event's name is its library constant's, after the prefix, in lower
// camel case: TAVMO_CLIENT_OUT_EVENT_CALL_STATE is "callState".
std::string eventName(const std::string& constantSuffix) {
    std::string name;
    bool wordStart = false;
    for (char c : constantSuffix) {
        if (c == '_') {
            wordStart = true;
            continue;
        }
        char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        name += wordStart && !name.empty() ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : lower;
        wordStart = false;
    }
    return name;
}

// A line "#define TAVMO_CLIENT_OUT_EVENT_<NAME> <code>" (or the PRIVATE_
// form): its NAME and the code's digits. Read by hand, not with <regex>,
// whose GCC 12 headers warn under the sanitizer builds' -O1.
bool outEventDefinition(const std::string& line, std::string& constant, std::string& digits) {
    std::istringstream words(line);
    std::string define, name, value;
    if (!(words >> define >> name >> value) || define != "#define") return false;
    bool known = false;
    for (const std::string prefix : {"TAVMO_CLIENT_OUT_EVENT_", "TAVMO_CLIENT_PRIVATE_OUT_EVENT_"}) {
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            constant = name.substr(prefix.size());
            known = true;
        }
    }
    digits = value.substr(0, value.find_first_not_of("0123456789"));
    return known && !digits.empty() && std::all_of(constant.begin(), constant.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
           });
}

// The names of the out-events the library's headers define.
std::map<int32_t, std::string> eventNames(const std::filesystem::path& headerFolder) {
    std::map<int32_t, std::string> names;
    std::set<std::string> seen;
    std::vector<std::filesystem::path> headers;
    for (const auto& entry : std::filesystem::directory_iterator(headerFolder))
        if (entry.path().extension() == ".h") headers.push_back(entry.path());
    std::sort(headers.begin(), headers.end());
    for (const auto& header : headers) {
        std::istringstream lines(readFile(header));
        for (std::string line; std::getline(lines, line);) {
            std::string constant, digits;
            if (!outEventDefinition(line, constant, digits)) continue;
            auto code = static_cast<int32_t>(std::stol(digits));
            std::string name = eventName(constant);
            if (!names.emplace(code, name).second)
                throw DocumentError("two constants for event " + std::to_string(code));
            if (!seen.insert(name).second) throw DocumentError("two events named " + name);
        }
    }
    return names;
}

std::string unquoted(const std::string& cell) {
    return cell.size() >= 2 && cell.front() == '"' && cell.back() == '"' ? cell.substr(1, cell.size() - 2) : cell;
}

const Table& onlyTableHeaded(const std::vector<Table>& tables, const std::string& first) {
    const Table* found = nullptr;
    for (const Table& table : tables)
        if (!table.header.empty() && table.header[0] == first) {
            if (found) throw DocumentError("more than one table headed " + first);
            found = &table;
        }
    if (!found) throw DocumentError("no table headed " + first);
    return *found;
}

struct Request {
    std::string family;
    std::vector<Member> members;
    std::vector<Member> reply;
};

std::map<std::string, Request> documentedRequests(const std::vector<Table>& tables) {
    const Table& configuration = onlyTableHeaded(tables, "Configuration member");
    std::map<std::string, Request> requests;
    std::map<std::string, std::string> declared;
    for (const Table& table : tables) {
        if (table.header.empty() || table.header[0] != "Type") continue;
        for (const std::vector<std::string>& cells : table.rows) {
            if (cells.size() < 3) throw DocumentError("a short request row: " + cells.at(0));
            Request request{table.heading, {}, {}};
            bool configurationSet = cells[1].find("every member marked \"set\"") != std::string::npos;
            request.members =
                configurationSet ? configurationMembers(configuration, "Set") : requestMembers(cells[1], declared);
            bool configurationGet = cells[2].find("every member marked \"get\"") != std::string::npos;
            request.reply = configurationGet ? configurationMembers(configuration, "Get") : replyMembers(cells[2]);
            for (const std::string& type : topLevelCodeSpans(cells[0]))
                if (!requests.emplace(type, request).second) throw DocumentError(type + " is documented twice");
        }
    }
    return requests;
}

std::map<int32_t, std::vector<Member>> documentedEvents(const std::vector<Table>& tables) {
    std::map<int32_t, std::vector<Member>> events;
    for (const Table& table : tables) {
        if (table.header.empty() || table.header[0] != "Code") continue;
        for (const std::vector<std::string>& cells : table.rows) {
            std::vector<Member> params = replyMembers(cells.at(2));
            for (const std::string& code : topLevelCodeSpans(cells[0]))
                if (!events.emplace(static_cast<int32_t>(std::stol(code)), params).second)
                    throw DocumentError("event " + code + " is documented twice");
        }
    }
    return events;
}

std::map<uint32_t, std::pair<std::string, std::vector<Member>>> documentedPortalAnswers(
    const std::vector<Table>& tables) {
    std::map<uint32_t, std::pair<std::string, std::vector<Member>>> answers;
    for (const std::vector<std::string>& cells : onlyTableHeaded(tables, "typeRequest").rows) {
        std::vector<std::string> code = topLevelCodeSpans(cells.at(0));
        if (code.size() != 1) throw DocumentError("a portal answer row without one typeRequest: " + cells[0]);
        answers[static_cast<uint32_t>(std::stoul(code[0]))] = {unquoted(cells.at(1)), replyMembers(cells.at(2))};
    }
    return answers;
}

// JSON texts here are names from the tables; quotes and backslashes are
// escaped all the same.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void writeMembers(std::ostream& out, const char* key, const std::vector<Member>& members, const char* indent) {
    out << indent << quoted(key) << ": [";
    for (std::size_t i = 0; i < members.size(); ++i)
        out << (i ? ",\n" : "\n") << indent << "  { \"name\": " << quoted(members[i].name)
            << ", \"type\": " << quoted(members[i].type) << " }";
    out << (members.empty() ? "]" : std::string("\n") + indent + "]");
}

std::string catalogueText(const std::filesystem::path& documentPath, const std::filesystem::path& headerFolder) {
    std::vector<Table> tables = readTables(readFile(documentPath));
    std::map<std::string, Request> requests = documentedRequests(tables);
    std::map<int32_t, std::vector<Member>> events = documentedEvents(tables);
    auto answers = documentedPortalAnswers(tables);
    std::map<int32_t, std::string> names = eventNames(headerFolder);

    std::ostringstream out;
    out << "{\n  \"requests\": [";
    std::vector<std::string> types = requestTypes();
    std::sort(types.begin(), types.end());
    for (std::size_t i = 0; i < types.size(); ++i) {
        auto found = requests.find(types[i]);
        if (found == requests.end()) throw DocumentError("the document lacks the request " + types[i]);
        out << (i ? ",\n" : "\n") << "    {\n      \"type\": " << quoted(types[i])
            << ",\n      \"family\": " << quoted(found->second.family) << ",\n";
        writeMembers(out, "members", found->second.members, "      ");
        out << ",\n";
        writeMembers(out, "reply", found->second.reply, "      ");
        out << "\n    }";
        requests.erase(found);
    }
    if (!requests.empty()) throw DocumentError("the document has a request the host lacks: " + requests.begin()->first);

    out << "\n  ],\n  \"events\": [";
    std::vector<int32_t> codes = publicEventCodes();
    std::vector<int32_t> privateCodes = privateEventCodes();
    codes.insert(codes.end(), privateCodes.begin(), privateCodes.end());
    std::sort(codes.begin(), codes.end());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        auto params = events.find(codes[i]);
        if (params == events.end()) throw DocumentError("the document lacks the event " + std::to_string(codes[i]));
        auto name = names.find(codes[i]);
        if (name == names.end()) throw DocumentError("the library names no event " + std::to_string(codes[i]));
        out << (i ? ",\n" : "\n") << "    {\n      \"code\": " << codes[i]
            << ",\n      \"name\": " << quoted(name->second) << ",\n";
        writeMembers(out, "params", params->second, "      ");
        out << "\n    }";
        events.erase(params);
    }
    if (!events.empty())
        throw DocumentError("the document has an event the host lacks: " + std::to_string(events.begin()->first));

    out << "\n  ],\n  \"portalAnswers\": [";
    std::vector<PortalAnswerType> known = portalAnswerTypes();
    for (std::size_t i = 0; i < known.size(); ++i) {
        auto documented = answers.find(known[i].typeRequest);
        if (documented == answers.end() || documented->second.first != known[i].type)
            throw DocumentError(std::string("the document lacks the portal answer ") + known[i].type);
        out << (i ? ",\n" : "\n") << "    {\n      \"type\": " << quoted(known[i].type) << ",\n";
        writeMembers(out, "params", documented->second.second, "      ");
        out << "\n    }";
        answers.erase(documented);
    }
    if (!answers.empty())
        throw DocumentError("the document has a portal answer the host lacks: " + answers.begin()->second.first);
    out << "\n  ]\n}\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    bool check = argc == 5 && std::string(argv[4]) == "--check";
    if (argc != 4 && !check) {
        std::cerr << "usage: " << argv[0] << " <PROTOCOL.md> <library header folder> <catalogue.json> [--check]\n";
        return 2;
    }
    try {
        std::string text = catalogueText(argv[1], argv[2]);
        if (check) {
            std::ifstream committed(argv[3], std::ios::binary);
            std::string current((std::istreambuf_iterator<char>(committed)), std::istreambuf_iterator<char>());
            if (current == text) return 0;
            std::cerr << argv[3] << " is stale: cmake --build <build> --target protocol-catalogue writes it anew\n";
            return 1;
        }
        std::ofstream(argv[3], std::ios::binary) << text;
        return 0;
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << "\n";
        return 1;
    }
}
