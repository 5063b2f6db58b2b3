// The library's events: copied on its callback, queued, translated on
// OutEventThread into event messages for the page.
#pragma once

#include <cstdint>
#include <vector>

#include "TavmoClient.h"

extern "C" void TAVMO_CLIENT_CALL TavmoClientCallback(int32_t eventCode, const void* parameters, uint32_t size,
                                                      uint32_t userWord);

// Translates queued events until the end of input.
void OutEventThread();

// Translates one event into a message for the page; hands every code outside
// the public range to OnPrivateOutEvent.
void OnOutEvent(int32_t code, const std::vector<unsigned char>& block);

// Translates one private event; codes outside the private range are dropped.
void OnPrivateOutEvent(int32_t code, const std::vector<unsigned char>& block);

// The codes with a translation of their own; any other code of either range
// reaches the page with "params" null.
std::vector<int32_t> publicEventCodes();
std::vector<int32_t> privateEventCodes();
