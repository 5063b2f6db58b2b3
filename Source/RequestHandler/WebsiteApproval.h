// The user's approval of the website that wants to start a conference.
#pragma once

#include "Json.h"

// Shown and remembered in place of a website the page did not name.
inline constexpr const char* kUnnamedWebsite = "Video Conferencing website";

void RequestSetDomain(Json::Value& request);

// Asks the library whether the user approved the current website for good,
// and otherwise the user. Writes the page two messages of its own (the dialog
// is about to open; the user's answer). False when the website may not be
// used; the request then carries the refusal "error". Handlers that start a
// conference for the page call it first and stop when it says no.
bool PromptForUserApproval(Json::Value& request);
