/*
 * Record of the virtual camera that the library feeds: the video size it
 * should carry, sent as the inner record of
 * TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER.
 */
#ifndef TAVMO_CLIENT_VIRTUAL_CAMERA_H
#define TAVMO_CLIENT_VIRTUAL_CAMERA_H

typedef struct TavmoClientVirtualCameraSize {
    int32_t width;
    int32_t height;
} TavmoClientVirtualCameraSize;
TAVMO_CLIENT_SIZE(TavmoClientVirtualCameraSize, 8, 8);
TAVMO_CLIENT_OFFSET(TavmoClientVirtualCameraSize, height, 4, 4);

#endif
