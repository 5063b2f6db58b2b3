// The one message writer: every reply and event leaves the host through it.
#pragma once

#include <cstddef>
#include <cstdio>

#include "Json.h"

class TavmoAgent {
public:
    // The longest body a browser takes from its host: a longer one makes it
    // drop the connection, and with it the conference.
    static constexpr std::size_t kLongestBody = 1024 * 1024;

    // Writes one message framed on the host's output, with "_direction" set
    // to 2. Drops it once the end of input has been seen, or when its body
    // would be longer than kLongestBody. Never throws.
    static void sendMessage(const char* callerName, Json::Value message);

    // Writes the reply to a request as sendMessage does. A reply too long for
    // the browser is replaced by one that holds only the request's "type",
    // "_id" and "_tabId" and the "error" "Reply too large", so that the page
    // still learns which of its requests failed.
    static void sendReply(const char* callerName, Json::Value reply);

    // The stream framed messages go to; null means the process's standard
    // output. Set once at start-up, before any thread writes.
    static void setOutputStream(FILE* stream);
};
