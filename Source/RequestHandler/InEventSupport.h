// What the in-event handlers share beyond sendInEvent: their answer and the
// hand-over of buffers that a record points to. Their member readers are in
// JsonValues.h.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "Json.h"
#include "JsonValues.h"
#include "RequestHandler/RequestSupport.h"

// Sends the in-event and answers "result": "ok", or the refusal.
bool answerInEvent(Json::Value& request, const char* handler, int32_t code, const char* constantName, void* record,
                   uint32_t size);

// For the commands that carry no record.
inline bool answerInEvent(Json::Value& request, const char* handler, int32_t code, const char* constantName) {
    return answerInEvent(request, handler, code, constantName, nullptr, 0);
}

template <typename Record>
bool answerInEvent(Json::Value& request, const char* handler, int32_t code, const char* constantName, Record& record) {
    return answerInEvent(request, handler, code, constantName, &record, sizeof record);
}

struct FreeWithCRuntime {
    void operator()(void* buffer) const { std::free(buffer); }
};
// A buffer from malloc, as the library takes it over.
using LibraryBuffer = std::unique_ptr<void, FreeWithCRuntime>;

// Sends an in-event whose record points to `buffer`. The library keeps the
// buffer once it accepts the in-event; a refused one is freed here, since
// nobody else will.
template <typename Record>
bool answerInEventHandingOver(Json::Value& request, const char* handler, int32_t code, const char* constantName,
                              Record& record, LibraryBuffer& buffer) {
    if (!answerInEvent(request, handler, code, constantName, record)) return false;
    static_cast<void>(buffer.release());
    return true;
}
