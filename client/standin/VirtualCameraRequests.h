// The virtual camera that the library feeds.
#pragma once

#include <cstdint>

#include "Requests.h"

namespace standin {

// Keeps the video size the camera should carry; a size that is not positive
// in both directions is refused.
int32_t setVirtualCameraBuffer(RequestContext& context, void* record, uint32_t size);

}  // namespace standin
