#pragma once

#include "TavmoClient.h"

// The library's log configuration, built afresh (same values) each time; its
// texts live for the whole process. Building it creates the log directory.
TavmoClientLogConfig makeLogConfig();

// The log directory as the last makeLogConfig() built it.
const char* logDirectoryText();
