// Sign-in, login and the guest link, as the simulated client and its portal
// answer them. Each in-event function is false when the record is not the one
// the in-event takes.
#pragma once

#include <cstdint>
#include <string>

#include "LibraryState.h"
#include "Script.h"

namespace standin {

// What the portal accepts: the scenario's accounts, or without any, every
// user name with kPortalPassword.
bool knownAccount(const Scenario& scenario, const std::string& user, const std::string& password);

bool signIn(LibraryState& state, Script& script, const void* record, uint32_t size);
bool login(LibraryState& state, Script& script, const void* record, uint32_t size);
void cancelLogin(Script& script);
void signOff(LibraryState& state, Script& script);
bool setOffline(Script& script, const void* record, uint32_t size);
// A room key resolves to the simulated room, which is then joined as a guest.
bool guestLink(LibraryState& state, Script& script, const void* record, uint32_t size);

}  // namespace standin
