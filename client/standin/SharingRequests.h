// Sharing: the remote window shares of the simulated conference, and the
// local windows and desktops a user could share.
#pragma once

#include <cstdint>

#include "Requests.h"

namespace standin {

int32_t getWindowShares(RequestContext& context, void* record, uint32_t size);

// Keeps the record as the share selection; a request type the library does
// not know, an entry count past the slots or an unterminated text refuses it.
int32_t setWindowShares(RequestContext& context, void* record, uint32_t size);

int32_t getWindowsAndDesktops(RequestContext& context, void* record, uint32_t size);

}  // namespace standin
