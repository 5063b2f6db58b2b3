// What the protocol document says about members: its tables, read by their
// header, and the member lists in their cells, each member with the JSON
// type a page sends or receives.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace catalogue {

// A fault of the document that the catalogue cannot be built around.
struct DocumentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Member {
    std::string name;
    std::string type;  // "string", "number", "boolean", "object", "array" or "any"
};

struct Table {
    std::string heading;  // the nearest "### " heading above the table
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

std::vector<Table> readTables(const std::string& document);

// The names written `like this` in a cell, outside any parentheses or braces.
std::vector<std::string> topLevelCodeSpans(const std::string& cell);

// A request column: "name: kind, ..." declarations in prose. `declared`
// holds the members of earlier rows, for "as for ..." references, and gains
// this cell's.
std::vector<Member> requestMembers(const std::string& cell, std::map<std::string, std::string>& declared);

// A reply, `params` or portal answer column: "`name`: kind" lists.
std::vector<Member> replyMembers(const std::string& cell);

// The rows of the configuration table whose `column` ("Get" or "Set") says
// "yes", typed by the kind that direction uses.
std::vector<Member> configurationMembers(const Table& table, const std::string& column);

}  // namespace catalogue
