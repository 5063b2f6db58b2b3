// The one message writer: every reply and event leaves the host through it.
#pragma once

#include <cstdio>

#include "Json.h"

class TavmoAgent {
public:
    // Writes one message framed on the host's output, with "_direction" set
    // to 2. Drops it once the end of input has been seen. Never throws.
    static void sendMessage(const char* callerName, Json::Value message);

    // The stream framed messages go to; null means the process's standard
    // output. Set once at start-up, before any thread writes.
    static void setOutputStream(FILE* stream);
};
