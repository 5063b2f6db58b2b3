// The portal's answers (private event 200900): the answer-specific members
// after the header that the private translator has written.
#pragma once

#include <cstdint>
#include <vector>

#include "EventBlock.h"
#include "Json.h"

struct PortalAnswerType {
    uint32_t typeRequest;
    const char* type;
};

// Adds "type" and the answer's members to `params`, by the answer's
// typeRequest. An answer kind it does not know adds nothing.
void BuildPortalAnswer(const EventBlock& block, Json::Value& params);

// The answer kinds it knows, with the "type" each is written under.
std::vector<PortalAnswerType> portalAnswerTypes();
