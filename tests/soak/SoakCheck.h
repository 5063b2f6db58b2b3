// What the page's side of a soak run sends, and the checks of what comes
// back (see SoakTool.cpp).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace soak {

inline constexpr uint32_t kBurstThreads = 4;
// Event 1700 carries two numbers, which the stand-in's burst sets to the
// raising thread and its sequence.
inline constexpr int32_t kBurstEvent = 1700;
inline constexpr int32_t kStartedEvent = 200;

struct RunSize {
    uint64_t requests = 0;
    uint64_t events = 0;  // a multiple of kBurstThreads
};

// One kind of request in the rotation and what its reply must hold.
struct RequestKind {
    const char* type;         // null: a text that is not JSON
    const char* direction;    // the "_direction" member sent
    const char* replyMember;  // the member a good reply carries
    const char* error;        // or the error it answers with
};

// Request 0 starts the library, which starts the burst; the others rotate
// through the kinds.
const RequestKind& requestKind(uint64_t id);
std::string requestText(uint64_t id);

// The stand-in scenario line that raises the run's events.
std::string burstScenario(const RunSize& size);

struct Breach : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Takes the host's frames one at a time, in arrival order, and throws a
// Breach at the first one that breaks the rules.
class Tally {
public:
    explicit Tally(const RunSize& size);

    void take(const std::string& body);

    // Every reply, every burst event and the started event have arrived.
    bool complete() const;
    uint64_t replies() const { return replies_; }
    uint64_t burstEvents() const { return burstEvents_; }
    uint64_t otherEvents() const { return otherEvents_; }

private:
    RunSize size_;
    std::vector<uint64_t> nextSequence_;
    uint64_t replies_ = 0;
    uint64_t burstEvents_ = 0;
    uint64_t otherEvents_ = 0;
    bool started_ = false;
};

}  // namespace soak
