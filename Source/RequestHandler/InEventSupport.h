// What the in-event handlers share beyond sendInEvent: their answer, the
// hand-over of buffers that a record points to, and the readers of flags and
// choices.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "Json.h"
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

// The JSON library's boolean conversion of the member, as readFlagMember, or
// `defaultValue` when the member is absent.
bool readFlagMemberOr(const Json::Value& request, const char* key, bool defaultValue);

// A choice compared by exact text: the JSON library's text conversion of a
// string, a boolean ("true", "false") or null (empty). Numbers, arrays and
// objects raise. `defaultValue` when the member is absent.
std::string readChoiceMember(const Json::Value& request, const char* key, const std::string& defaultValue);
