// The words the tests share for the page's messages: a request's text, the
// reply a handler gives to it, a message's value and the framed bytes of a
// body.
#pragma once

#include <json/json.h>

#include <string>

#include "Frames.h"  // frame(), the bytes of a body

// A request as the page writes it: its type, "_direction" 1 and `members`
// (members of a JSON object without the braces, such as R"("domain":"x")"),
// if any, in that order.
std::string request(const std::string& type, const std::string& members = "");

// The reply a handler gives to a request: the request's members with those
// of `added` (a JSON object) on top and "_direction" 2, as the host writes it
// (one compact line, members in ascending key order, "\n" at its end).
std::string replyTo(const std::string& requestText, const std::string& added);
std::string replyTo(Json::Value request, const Json::Value& added);

// The value of a message's text. A text that is no JSON fails the test and
// reads as null.
Json::Value parsed(const std::string& text);
