// The in-events the library understands. TavmoClientSendEvent accepts these
// (while started) and refuses every other code.
#pragma once

#include <cstdint>

namespace standin {

bool knownInEvent(int32_t code);

}  // namespace standin
