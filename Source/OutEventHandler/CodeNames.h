// The names under which library codes reach the page. Each table keeps its
// own spelling, even where two spell the same idea differently.
#pragma once

#include <cstdint>
#include <string>

// Portal answer results; "UnknownErrorValue" for a code the table lacks.
std::string resultName(int32_t code);
// Portal answer faults; "None" for a code the table lacks, as for 0.
std::string faultName(uint32_t code);
// The library's message types; "UnknownMessage" for a code the table lacks.
std::string messageTypeName(uint32_t code);

// The call state's name, or null for a state that has none.
const char* callStateName(int32_t state);
// Device kinds of the device and device-test events, or null.
const char* deviceTypeName(int32_t type);
