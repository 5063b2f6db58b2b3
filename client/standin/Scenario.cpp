// The scenario file lets a test steer the stand-in without any hook in the
// host: the environment variable TAVMO_STANDIN_SCENARIO names it, and the
// stand-in reads it once, at TavmoClientInitialize.
//
// One directive per line, words separated by blanks. Blank lines and lines
// starting with '#' are skipped; any other line that does not parse is
// skipped with a note on stderr, and the rest of the file still applies.
//
//   refuse-request <code> <errorCode>
//       TavmoClientSendRequest(code, ...) returns errorCode (nonzero) and
//       leaves the record alone. Refusing 199999 refuses every private request.
//   refuse-private <privateCode> <errorCode>
//       The same for one private request code inside 199999.
//   refuse-event <code>
//       TavmoClientSendEvent(code, ...) returns 0.
//   stall-request <code> <ms>
//       TavmoClientSendRequest(code, ...) logs "Stalling request: [<code>]
//       for [<ms>] ms" and waits that long before it answers, holding none of
//       the library's locks meanwhile: a host thread that hangs in a call.
//   start-fails
//       TavmoClientStart returns 0 and the library stays stopped.
//   stop-stopping
//       The first TavmoClientStop returns 0 ("still stopping"); later ones 1.
//   call-state <n>
//       The call state reported until the library changes it (default 0, idle).
//   raise <delayMs> <code> <block>
//       The delivery thread raises out-event <code> with <block> delayMs after
//       Initialize. Raises due at the same time keep the file's order.
//   raise-burst <threads> <count> <code> <block>
//       Once the first LOGIC_STARTED after Initialize has been delivered,
//       <threads> (1-64) threads each raise <count> events of <code>. They
//       call the callback directly and concurrently, without the sync lock,
//       because overlapping calls are what a stress test wants. When the
//       block holds at least 8 bytes, each event's first 8 bytes are replaced
//       by the thread index and then the sequence number within that thread
//       (both from 0), each a uint32 in the machine's byte order.
//   approved-domain <domain>
//       Reported as approved, without being written to the data directory.
//   portal-account <user> <password>
//       A login succeeds only for a listed user with its password. Without
//       any, every user name logs in with the password "standin".
//   incoming-call <delayMs>
//       delayMs after each start, the moderator calls.
//   plug <delayMs> <speaker|microphone|camera> <name>
//   unplug <delayMs> <speaker|microphone|camera> <name>
//       delayMs after each start, a device of that kind and name (the rest of
//       the line) is plugged in or pulled out.
//   windows <count>
//       That many more application windows are open (at most 1000).
//
// Numbers are decimal. <block> is the rest of the line: hex digits in pairs,
// blanks allowed between pairs, or '-' for an empty block (delivered as a
// null pointer with size 0).
#include "Scenario.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace standin {
namespace {

constexpr uint32_t kMaxBurstThreads = 64;
constexpr uint32_t kMaxBurstCount = 10'000'000;
constexpr uint32_t kMaxExtraWindows = 1000;

// The device kinds as the device events number them.
bool parseDeviceKind(const std::string& word, int32_t& deviceType) {
    if (word == "speaker")
        deviceType = 1;
    else if (word == "microphone")
        deviceType = 2;
    else if (word == "camera")
        deviceType = 3;
    else
        return false;
    return true;
}

// The rest of the line without its surrounding blanks.
std::string restOfLine(std::istringstream& words) {
    std::string rest;
    std::getline(words, rest);
    const auto first = rest.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return rest.substr(first, rest.find_last_not_of(" \t\r") - first + 1);
}

template <typename Number>
bool parseNumber(const std::string& word, Number& out) {
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, out);
    return !word.empty() && result.ec == std::errc() && result.ptr == end;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Consumes the rest of `words`.
bool parseBlock(std::istringstream& words, std::vector<unsigned char>& block) {
    std::string digits;
    std::string word;
    while (words >> word) digits += word;
    if (digits == "-") return true;
    if (digits.empty() || digits.size() % 2 != 0) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigit(digits[i]);
        const int low = hexDigit(digits[i + 1]);
        if (high < 0 || low < 0) return false;
        block.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return true;
}

bool nothingLeft(std::istringstream& words) {
    std::string extra;
    return !(words >> extra);
}

// Reads the next word as a number; false when it is missing or malformed.
template <typename Number>
bool next(std::istringstream& words, Number& out) {
    std::string word;
    return static_cast<bool>(words >> word) && parseNumber(word, out);
}

bool parseDirective(const std::string& directive, std::istringstream& words, Scenario& scenario) {
    if (directive == "refuse-request") {
        int32_t code = 0, error = 0;
        if (!next(words, code) || !next(words, error) || error == 0 || !nothingLeft(words)) return false;
        scenario.refusedRequests[code] = error;
        return true;
    }
    if (directive == "refuse-private") {
        uint32_t code = 0;
        int32_t error = 0;
        if (!next(words, code) || !next(words, error) || error == 0 || !nothingLeft(words)) return false;
        scenario.refusedPrivateRequests[code] = error;
        return true;
    }
    if (directive == "refuse-event") {
        int32_t code = 0;
        if (!next(words, code) || !nothingLeft(words)) return false;
        scenario.refusedEvents.insert(code);
        return true;
    }
    if (directive == "stall-request") {
        int32_t code = 0;
        uint32_t milliseconds = 0;
        if (!next(words, code) || !next(words, milliseconds) || !nothingLeft(words)) return false;
        scenario.stalledRequests[code] = milliseconds;
        return true;
    }
    if (directive == "start-fails" || directive == "stop-stopping") {
        if (!nothingLeft(words)) return false;
        (directive == "start-fails" ? scenario.startFails : scenario.stopStopping) = true;
        return true;
    }
    if (directive == "call-state") {
        int32_t state = 0;
        if (!next(words, state) || !nothingLeft(words)) return false;
        scenario.callState = state;
        return true;
    }
    if (directive == "raise") {
        ScheduledRaise raise;
        if (!next(words, raise.delayMs) || !next(words, raise.code) || !parseBlock(words, raise.block)) return false;
        scenario.raises.push_back(std::move(raise));
        return true;
    }
    if (directive == "raise-burst") {
        Burst burst;
        if (!next(words, burst.threads) || !next(words, burst.count) || !next(words, burst.code) ||
            !parseBlock(words, burst.block)) {
            return false;
        }
        if (burst.threads == 0 || burst.threads > kMaxBurstThreads || burst.count == 0 ||
            burst.count > kMaxBurstCount) {
            return false;
        }
        scenario.bursts.push_back(std::move(burst));
        return true;
    }
    if (directive == "portal-account") {
        std::string user, password;
        if (!(words >> user >> password) || !nothingLeft(words)) return false;
        scenario.portalAccounts[user] = password;
        return true;
    }
    if (directive == "incoming-call") {
        Happening call;
        if (!next(words, call.delayMs) || !nothingLeft(words)) return false;
        scenario.happenings.push_back(call);
        return true;
    }
    if (directive == "plug" || directive == "unplug") {
        Happening change;
        change.kind = directive == "plug" ? Happening::Kind::DevicePlugged : Happening::Kind::DeviceUnplugged;
        std::string kind;
        if (!next(words, change.delayMs) || !(words >> kind) || !parseDeviceKind(kind, change.deviceType)) return false;
        change.deviceName = restOfLine(words);
        if (change.deviceName.empty()) return false;
        scenario.happenings.push_back(std::move(change));
        return true;
    }
    if (directive == "windows") {
        uint32_t count = 0;
        if (!next(words, count) || count > kMaxExtraWindows || !nothingLeft(words)) return false;
        scenario.extraWindows = count;
        return true;
    }
    if (directive == "approved-domain") {
        std::string domain;
        if (!(words >> domain) || !nothingLeft(words)) return false;
        scenario.approvedDomains.push_back(domain);
        return true;
    }
    return false;
}

}  // namespace

Scenario parseScenario(std::istream& in, const std::string& origin, std::ostream& notes) {
    Scenario scenario;
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string directive;
        if (!(words >> directive) || directive[0] == '#') continue;
        if (!parseDirective(directive, words, scenario)) {
            notes << "stand-in: " << origin << ':' << number << ": ignoring line: " << line << '\n';
        }
    }
    return scenario;
}

Scenario loadScenarioFromEnvironment() {
    const char* name = std::getenv("TAVMO_STANDIN_SCENARIO");
    if (!name || !*name) return Scenario();
    std::ifstream file(std::filesystem::u8path(name));
    if (!file) {
        std::cerr << "stand-in: cannot read scenario file " << name << '\n';
        return Scenario();
    }
    return parseScenario(file, name, std::cerr);
}

}  // namespace standin
