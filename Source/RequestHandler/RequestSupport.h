// The steps every handler family shares: send to the library, and on a
// refusal log it and answer "TavmoClient error: <CONSTANT>"; and the one way
// a request fails.
#pragma once

#include <cstdint>
#include <type_traits>

#include "Json.h"
#include "Log.h"
#include "TavmoClient.h"

// Every failure of a request: logs the line (a format and its arguments, as
// LOG_ERROR takes them) with the caller's source and line, then answers
// `errorText` in the request's "error". A macro, so that the log line names
// where the request failed, as every other log line does.
#define FAIL_REQUEST(request, errorText, ...) FAIL_REQUEST_AT(TAVMO_CLIENT_LOG_ERROR, request, errorText, __VA_ARGS__)

// The same with the line at another level: a refusal that is the page's
// doing rather than a fault.
#define FAIL_REQUEST_AT(level, request, errorText, ...) \
    do {                                                \
        HOST_LOG((level), __VA_ARGS__);                 \
        (request)["error"] = (errorText);               \
    } while (false)

// Expands a library constant into its code and its name, as the helpers below
// take them: sendRequest(request, __func__, LIBRARY_CODE(TAVMO_...), ...).
#define LIBRARY_CODE(constant) (constant), #constant

// Sends a library request. On an error code: logs "OutputThread: <handler>()
// <CONSTANT>: [<code>]" at level 1, sets "error", returns false.
bool sendRequest(Json::Value& reply, const char* handler, int32_t code, const char* constantName, void* record,
                 uint32_t size);

// The same for a record of the handler's own, its size being its type's: the
// form every handler uses. The one above is for records built here (the
// private requests' wrapper).
template <typename Record>
bool sendRequest(Json::Value& reply, const char* handler, int32_t code, const char* constantName, Record& record) {
    static_assert(!std::is_pointer<Record>::value, "the record itself, not its address");
    return sendRequest(reply, handler, code, constantName, &record, sizeof record);
}

// Sends a private library request and returns the library's result, leaving
// the reporting of a refusal to the caller.
int32_t callPrivateRequest(uint32_t privateCode, void* inner, uint32_t sizeField);

// Sends a private library request: request code TAVMO_CLIENT_REQUEST_PRIVATE
// with the wrapper record around `inner`; `sizeField` is what the wrapper's
// size field says. Refusals are reported as for sendRequest.
bool sendPrivateRequest(Json::Value& reply, const char* handler, uint32_t privateCode, const char* constantName,
                        void* inner, uint32_t sizeField);

// Sends a library in-event. Unless the library answers exactly 1: logs
// "OutputThread: <handler>() <CONSTANT>" at level 1, sets "error", returns false.
bool sendInEvent(Json::Value& reply, const char* handler, int32_t code, const char* constantName, void* record,
                 uint32_t size);

// On success the handlers that report nothing else answer "result": "ok".
void setResultOk(Json::Value& reply);
