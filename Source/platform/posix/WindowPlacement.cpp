// The host's window on this platform is no window that a frame surrounds or
// that the library draws into, so there is nothing to measure or move.
#include "platform/Platform.h"

namespace platform {

WindowFrame windowFrame() { return WindowFrame{}; }

void placeVideoWindow(void*, int32_t, int32_t) {}

}  // namespace platform
