// The configuration requests. The configuration is kept in Configuration.dat
// in the data directory; its device lists are always the machine's.
#pragma once

#include <cstdint>
#include <string>

#include "LibraryState.h"
#include "Requests.h"
#include "Script.h"

namespace standin {

TavmoClientConfiguration loadConfiguration(const LibraryState& state);

int32_t getConfiguration(RequestContext& context, void* record, uint32_t size);

// A changed device selection is reported as the library reports one the
// user made (see DeviceFlows.h), once the library runs.
int32_t setConfiguration(RequestContext& context, void* record, uint32_t size);

// Takes the device off the machine and reports it; when it was the selected
// one, the first device of its kind takes its place. False when the machine
// has no such device.
bool unplugDevice(LibraryState& state, Script& script, int32_t deviceType, const std::string& name);

}  // namespace standin
