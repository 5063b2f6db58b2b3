// What a scenario file asks of the stand-in; see Scenario.cpp for the format.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace standin {

struct ScheduledRaise {
    uint32_t delayMs = 0;
    int32_t code = 0;
    std::vector<unsigned char> block;
};

struct Burst {
    uint32_t threads = 0;
    uint32_t count = 0;
    int32_t code = 0;
    std::vector<unsigned char> block;
};

// Something that happens to the library from outside, some time after each
// start: a call comes in, a device is plugged in or pulled out.
struct Happening {
    enum class Kind { IncomingCall, DevicePlugged, DeviceUnplugged };
    Kind kind = Kind::IncomingCall;
    uint32_t delayMs = 0;
    // The device's kind as the device events number it, and its name.
    int32_t deviceType = 0;
    std::string deviceName;
};

struct Scenario {
    std::map<int32_t, int32_t> refusedRequests;
    std::map<uint32_t, int32_t> refusedPrivateRequests;
    std::set<int32_t> refusedEvents;
    // Milliseconds that a request of the code waits before it is answered.
    std::map<int32_t, uint32_t> stalledRequests;
    bool startFails = false;
    bool stopStopping = false;
    int32_t callState = 0;
    std::vector<ScheduledRaise> raises;
    std::vector<Burst> bursts;
    std::vector<std::string> approvedDomains;
    // Portal user names with their passwords.
    std::map<std::string, std::string> portalAccounts;
    std::vector<Happening> happenings;
    // Application windows open beside the simulated desktop's own.
    uint32_t extraWindows = 0;
};

// Lines it cannot use are reported on `notes`, each naming `origin` and the
// line number, and otherwise skipped.
Scenario parseScenario(std::istream& in, const std::string& origin, std::ostream& notes);

// Reads the file named by TAVMO_STANDIN_SCENARIO; an empty scenario when the
// variable is unset, or (with a note on stderr) when the file cannot be read.
Scenario loadScenarioFromEnvironment();

}  // namespace standin
