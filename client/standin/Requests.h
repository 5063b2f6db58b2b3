// Answers to TavmoClientSendRequest. A new request is a handler function in
// Requests.cpp plus one line in its table.
#pragma once

#include <cstdint>

#include "LibraryState.h"
#include "Logger.h"
#include "Script.h"

namespace standin {

// What TavmoClientSendRequest returns; anything but kRequestDone leaves the
// record as it was.
enum RequestResult : int32_t {
    kRequestDone = 0,
    kRequestUnknown = 1,
    // Null record, a size other than the record's, or a text without its
    // terminator inside the record.
    kRequestBadRecord = 2,
    kRequestNotInitialized = 3,
    kRequestStorageFailed = 4,
};

struct RequestContext {
    LibraryState& state;
    Logger& logger;
    // What a request makes the library report; raised once it has returned.
    Script& script;
};

// The caller holds the state's mutex.
int32_t handleRequest(RequestContext& context, int32_t code, void* record, uint32_t size);

}  // namespace standin
