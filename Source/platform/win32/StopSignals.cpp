// The host on Windows ends with its input only; a console's close or break
// ends it as the system decides.
#include "platform/Platform.h"

namespace platform {

void watchStopSignals() {}

int stopSignal() { return 0; }

void endStandardInput(std::thread::native_handle_type) {}

}  // namespace platform
