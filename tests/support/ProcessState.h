// Puts the host's process-wide state and the fake library back to how
// start-up finds them, so that each test or fuzz input starts afresh.
#pragma once

#include "DeviceNotifications.h"
#include "FakeTavmoClient.h"
#include "HostState.h"
#include "RequestHandler/DesktopTable.h"

inline void resetProcessState() {
    fake::reset();
    hostState = HostRunning;
    inConference = 0;
    iCamera = 0;
    deviceWatchSettled();
    bChromex64 = 0;
    clearDesktopTable();
    requestQueue.reset();
    eventQueue.reset();
}
