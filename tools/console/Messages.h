// The host's messages as the console sees them: replies (the request
// echoed with its answer) and events ("code" and "params", no "type").
#pragma once

#include <json/json.h>

#include <string>

#include "Commands.h"
#include "Protocol.h"

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

// An event's code and the name the protocol gives it ("2500 callState"),
// and the type of an answer that its params carry ("200900 vcsoap
// OutEventJoinConference"); empty for anything but an event.
std::string eventLabel(const ReceivedMessage& message, const Protocol& protocol);

bool matchesWait(const WaitCommand& wait, const ReceivedMessage& message);

}  // namespace console
