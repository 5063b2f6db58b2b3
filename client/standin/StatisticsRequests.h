// Statistics of the simulated conference, which runs from the moment the
// library was initialized: three participants, and media figures that move
// with the time since then.
#pragma once

#include <cstdint>

#include "Requests.h"

namespace standin {

int32_t getParticipantStatistics(RequestContext& context, void* record, uint32_t size);
int32_t getParticipantList(RequestContext& context, void* record, uint32_t size);
int32_t getFeccList(RequestContext& context, void* record, uint32_t size);
int32_t getEncodeResolution(RequestContext& context, void* record, uint32_t size);
int32_t getFrameRates(RequestContext& context, void* record, uint32_t size);
int32_t getMediaCounters(RequestContext& context, void* record, uint32_t size);
int32_t getRateShaper(RequestContext& context, void* record, uint32_t size);
int32_t getBandwidth(RequestContext& context, void* record, uint32_t size);
// The server and account come from the stored configuration.
int32_t getConnectivity(RequestContext& context, void* record, uint32_t size);
// Private; the size field is TAVMO_CLIENT_LAYOUT_SIZE_FIELD, not the record's size.
int32_t getLayout(RequestContext& context, void* record, uint32_t size);

}  // namespace standin
