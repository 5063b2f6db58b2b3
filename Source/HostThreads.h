// The host's worker threads and the start-up/shutdown that runs them.
#pragma once

#include <cstdio>
#include <string>

#include "HostState.h"

// The synthetic request queued when the browser goes away during a conference.
inline constexpr const char* kSyntheticLeaveRequest = "{\"type\":\"InEventLeave\",\"_direction\":1}";

// The control text that ends reading as the end of input does.
inline constexpr const char* kExitText = "{EXIT}";

// What reading one message gave. Dropped: the input ended inside a body,
// which is dropped; reading goes on and finds the end. TooLarge: a whole body
// longer than kLongestRequest was read; only its start is in the text.
enum class ReadResult { Message, TooLarge, Dropped, Ended };

// Reads one request text from `input`: a framed body, or a line in debug mode.
ReadResult readRequestText(FILE* input, bool debug, std::string& text);

// Reads requests from `input` until it ends or "{EXIT}" arrives.
void InputThread(FILE* input);
// Carries out queued requests until the end of input.
void OutputThread();
// Parses a request text into what InputThread queues.
QueuedRequest parseRequestText(json::Parser& parser, std::string text);
// Carries out and answers one request as InputThread queued it.
void handleQueuedRequest(QueuedRequest& request, int& clientStarted);
// Parses, dispatches and answers one request text.
void handleRequestText(const std::string& text, int& clientStarted);
// Answers a request whose body was too large to read into memory.
void answerTooLargeRequest();

int hostMain(int argc, char** argv);
