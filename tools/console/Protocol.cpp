#include "Protocol.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <stdexcept>

#include "Catalogue.h"

namespace console {
namespace {

constexpr std::size_t kMostSuggestions = 3;

bool readMembers(const Json::Value& list, const std::string& where, std::vector<MemberInfo>& members,
                 std::string& error) {
    static const std::set<std::string> kTypes = {"string", "number", "boolean", "object", "array", "any"};
    if (!list.isArray()) {
        error = where + ": not an array";
        return false;
    }
    for (const Json::Value& member : list) {
        if (!member.isObject() || !member["name"].isString() || !member["type"].isString() ||
            !kTypes.count(member["type"].asString())) {
            error = where + ": a member needs a name and one of the types string, number, boolean, object, array, any";
            return false;
        }
        members.push_back({member["name"].asString(), member["type"].asString()});
    }
    return true;
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Edits that turn one into the other: a character changed, added, left out,
// or two neighbours swapped.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

bool Protocol::read(const Json::Value& catalogue, Protocol& protocol, std::string& error) {
    Protocol read;
    if (!catalogue.isObject() || !catalogue["requests"].isArray() || !catalogue["events"].isArray()) {
        error = "the catalogue needs the arrays \"requests\" and \"events\"";
        return false;
    }
    for (const Json::Value& entry : catalogue["requests"]) {
        RequestInfo request;
        if (!entry.isObject() || !entry["type"].isString() || !entry["family"].isString()) {
            error = "a request needs a \"type\" and a \"family\"";
            return false;
        }
        request.type = entry["type"].asString();
        request.family = entry["family"].asString();
        if (!readMembers(entry["members"], request.type + " members", request.members, error) ||
            !readMembers(entry["reply"], request.type + " reply", request.reply, error))
            return false;
        if (std::find(read.families_.begin(), read.families_.end(), request.family) == read.families_.end())
            read.families_.push_back(request.family);
        read.requests_.push_back(std::move(request));
    }
    for (const Json::Value& entry : catalogue["events"]) {
        EventInfo event;
        if (!entry.isObject() || !entry["code"].isIntegral() || !entry["name"].isString()) {
            error = "an event needs an integer \"code\" and a \"name\"";
            return false;
        }
        event.code = entry["code"].asInt64();
        event.name = entry["name"].asString();
        if (!readMembers(entry["params"], "event " + std::to_string(event.code) + " params", event.params, error))
            return false;
        read.events_.push_back(std::move(event));
    }
    protocol = std::move(read);
    return true;
}

const Protocol& Protocol::builtIn() {
    static const Protocol protocol = [] {
        const std::string text = catalogueText();
        Json::Value catalogue;
        std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
        std::string error;
        Protocol read;
        if (!reader->parse(text.data(), text.data() + text.size(), &catalogue, &error) ||
            !Protocol::read(catalogue, read, error))
            throw std::runtime_error("the built-in protocol catalogue: " + error);
        return read;
    }();
    return protocol;
}

const RequestInfo* Protocol::request(std::string_view type) const {
    for (const RequestInfo& request : requests_)
        if (request.type == type) return &request;
    return nullptr;
}

const EventInfo* Protocol::event(int64_t code) const {
    for (const EventInfo& event : events_)
        if (event.code == code) return &event;
    return nullptr;
}

const MemberInfo* findMember(const std::vector<MemberInfo>& members, std::string_view name) {
    for (const MemberInfo& member : members)
        if (member.name == name) return &member;
    return nullptr;
}

std::vector<std::string> nearestNames(std::string_view word, const std::vector<std::string>& candidates) {
    const std::string lower = lowered(word);
    // Longer names bear more slips.
    const std::size_t tolerance = std::clamp<std::size_t>(lower.size() / 4, 1, 3);
    std::size_t best = tolerance;
    std::vector<std::string> nearest;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = editDistance(lower, lowered(candidate));
        // Changing every letter of a short name finds any other one.
        if (distance > best || distance >= lower.size() || distance >= candidate.size()) continue;
        if (distance < best) {
            nearest.clear();
            best = distance;
        }
        nearest.push_back(candidate);
    }
    // Nothing close: the names the word begins, as a name typed in part.
    if (nearest.empty() && lower.size() >= 3)
        for (const std::string& candidate : candidates)
            if (lowered(candidate).compare(0, lower.size(), lower) == 0) nearest.push_back(candidate);
    if (nearest.size() > kMostSuggestions) nearest.resize(kMostSuggestions);
    return nearest;
}

std::string alternatives(const std::vector<std::string>& names, const char* last) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? std::string(" ") + last + " " : std::string(", ");
        text += names[i];
    }
    return text;
}

}  // namespace console
