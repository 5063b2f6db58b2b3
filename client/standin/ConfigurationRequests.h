// The library's configuration: devices, accounts, proxies, media ports and
// switches. It is kept as the record itself in Configuration.dat in the data
// directory, so that it survives a restart of the host.
#pragma once

#include <cstdint>
#include <filesystem>

#include "Requests.h"

namespace standin {

// The stored configuration, or the machine's defaults when none is stored
// (or the stored one is not a whole record).
TavmoClientConfiguration loadConfiguration(const std::filesystem::path& dataDirectory);

int32_t getConfiguration(RequestContext& context, void* record, uint32_t size);

// The devices and proxies belong to the machine and stay as they are; the
// selections, accounts, addresses, ports and switches are taken from the
// record. A text without its terminator in its field, or a selection past the
// devices there are, refuses the whole record.
int32_t setConfiguration(RequestContext& context, void* record, uint32_t size);

}  // namespace standin
