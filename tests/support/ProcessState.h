// Puts the host's process-wide state and the fake library back to how
// start-up finds them, so that each test or fuzz input starts afresh.
#pragma once

#include "FakeTavmoClient.h"
#include "HostState.h"

inline void resetProcessState() {
    // First, so that what the host logs while it drops delayed messages goes
    // to the fake library that is being reset.
    resetHostState();
    fake::reset();
}
