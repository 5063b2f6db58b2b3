// The events of one reaction, in order, each with the conference as it will
// look once that event is out. A reaction changes the planned conference and
// then raises the event that tells of the change.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ConferenceState.h"
#include "Delivery.h"
#include "RecordBytes.h"

namespace standin {

class Script {
public:
    explicit Script(const ConferenceView& planned) : planned_(planned) {}

    template <typename Event>
    void raise(int32_t code, const Event& event) {
        raiseBlock(code, blockOf(event));
    }
    void raiseEmpty(int32_t code) { raiseBlock(code, {}); }
    // `pending` is held until the event is out (see TimelineStep).
    void raiseBlock(int32_t code, Block block, std::shared_ptr<const void> pending = nullptr) {
        steps_.push_back(
            TimelineStep{code, std::move(block), std::make_shared<const ConferenceView>(planned_), std::move(pending)});
    }

    std::vector<TimelineStep> take() { return std::move(steps_); }

private:
    const ConferenceView& planned_;
    std::vector<TimelineStep> steps_;
};

}  // namespace standin
