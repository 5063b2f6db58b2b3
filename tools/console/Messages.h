// The host's messages as the console sees them: replies (the request
// echoed with its answer) and events ("code" and "params", no "type").
#pragma once

#include <json/json.h>

#include <string>

#include "Commands.h"

namespace console {

enum class MessageKind { Request, Control, Reply, Event, NotJson };

struct ReceivedMessage {
    std::string body;
    Json::Value value;
    MessageKind kind = MessageKind::NotJson;
};

ReceivedMessage classifyMessage(std::string body);

// True for a reply that carries "error".
bool isErrorReply(const ReceivedMessage& message);

bool matchesWait(const WaitCommand& wait, const ReceivedMessage& message);

}  // namespace console
