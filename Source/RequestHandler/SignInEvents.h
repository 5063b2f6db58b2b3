// In-events that address a conferencing portal: the full sign-in, the login
// with user name and password, and the guest link to a room.
#pragma once

#include "Json.h"

void InEventSignIn(Json::Value& request);
void InEventLogin(Json::Value& request);
void PrivateInEventVcsoapGuestLink(Json::Value& request);
