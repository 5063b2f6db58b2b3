// The dispatcher: checks a request's envelope and calls the handler its type
// names. The reply is the request object itself.
#pragma once

#include <string>
#include <vector>

#include "Json.h"

// `clientStarted` is OutputThread's word for "this host started the library".
void handleRequest(Json::Value& request, int& clientStarted);

// The request types the dispatcher knows, in the order it compares them.
std::vector<std::string> requestTypes();
