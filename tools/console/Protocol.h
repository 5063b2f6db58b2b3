// What the console knows of the protocol: the request types with their
// family, the members the host reads and the members a reply gains, and the
// events with their names. It is read from the protocol catalogue
// (protocol/catalogue.json), which the build embeds into the console.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// "string", "number", "boolean", "object", "array" or "any".
struct MemberInfo {
    std::string name;
    std::string type;
};

struct RequestInfo {
    std::string type;
    std::string family;
    std::vector<MemberInfo> members;
    std::vector<MemberInfo> reply;
};

struct EventInfo {
    int64_t code = 0;
    std::string name;
    std::vector<MemberInfo> params;
};

class Protocol {
public:
    // False with `error` set when `catalogue` does not follow the
    // catalogue's schema.
    static bool read(const Json::Value& catalogue, Protocol& protocol, std::string& error);
    // The catalogue built into the console.
    static const Protocol& builtIn();

    const RequestInfo* request(std::string_view type) const;
    const EventInfo* event(int64_t code) const;
    const std::vector<RequestInfo>& requests() const { return requests_; }
    const std::vector<EventInfo>& events() const { return events_; }
    // In the order in which the catalogue first names them.
    const std::vector<std::string>& families() const { return families_; }

private:
    std::vector<RequestInfo> requests_;
    std::vector<EventInfo> events_;
    std::vector<std::string> families_;
};

// The member `name` among `members`, or nullptr.
const MemberInfo* findMember(const std::vector<MemberInfo>& members, std::string_view name);

// The names among `candidates` closest to `word` (a letter swapped, left
// out, added or changed counts one; case does not count), nearest first; none
// when nothing is close.
std::vector<std::string> nearestNames(std::string_view word, const std::vector<std::string>& candidates);

// "A", "A or B", "A, B or C"; `last` joins the last two.
std::string alternatives(const std::vector<std::string>& names, const char* last = "or");

}  // namespace console
