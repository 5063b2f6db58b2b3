// The portal's answers (private event 200900): the answer-specific members
// after the header that the private translator has written.
#pragma once

#include "EventBlock.h"
#include "Json.h"

// Adds "type" and the answer's members to `params`, by the answer's
// typeRequest. An answer kind it does not know adds nothing.
void BuildPortalAnswer(const EventBlock& block, Json::Value& params);
