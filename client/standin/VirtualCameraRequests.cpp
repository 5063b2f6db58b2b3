#include "VirtualCameraRequests.h"

#include <cstring>
#include <string>

namespace standin {

int32_t setVirtualCameraBuffer(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(TavmoClientVirtualCameraSize)) return kRequestBadRecord;
    TavmoClientVirtualCameraSize cameraSize;
    std::memcpy(&cameraSize, record, sizeof cameraSize);
    if (cameraSize.width <= 0 || cameraSize.height <= 0) return kRequestBadRecord;
    context.state.virtualCameraSize = cameraSize;
    std::string line = "Virtual camera buffer: [" + std::to_string(cameraSize.width) + "] x [" +
                       std::to_string(cameraSize.height) + "]";
    context.logger.write(TAVMO_CLIENT_LOG_INFO, "StandIn\\VirtualCameraRequests.cpp", __LINE__, line.c_str(),
                         line.size());
    return kRequestDone;
}

}  // namespace standin
