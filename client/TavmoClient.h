/*
 * The conferencing client library's C interface, as the host uses it.
 *
 * Every function is a plain C call (cdecl, undecorated names). A true/false
 * result is one byte, true being 1. Records are C structs in the layouts'
 * field order with the compiler's natural alignment; texts are fixed-width
 * byte arrays and addresses are pointer fields, so records holding pointers
 * grow on 64-bit targets while every other layout is the same everywhere.
 */
#ifndef TAVMO_CLIENT_H
#define TAVMO_CLIENT_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define TAVMO_CLIENT_CALL __cdecl
#if defined(TAVMO_CLIENT_BUILDING_LIBRARY)
#define TAVMO_CLIENT_API __declspec(dllexport)
#else
#define TAVMO_CLIENT_API __declspec(dllimport)
#endif
#else
#define TAVMO_CLIENT_CALL
#define TAVMO_CLIENT_API __attribute__((visibility("default")))
#endif

#if defined(__GNUC__)
#define TAVMO_CLIENT_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TAVMO_CLIENT_PRINTF(fmt, args)
#endif

#if defined(__cplusplus)
#define TAVMO_CLIENT_LAYOUT(cond, what) static_assert(cond, what)
extern "C" {
#else
#define TAVMO_CLIENT_LAYOUT(cond, what) _Static_assert(cond, what)
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
#define TAVMO_CLIENT_32BIT 1
#else
#define TAVMO_CLIENT_32BIT 0
#endif

/* Size on 32-bit targets, where every record must match its layout exactly;
   on 64-bit targets only records with address fields differ. */
#define TAVMO_CLIENT_SIZE(type, size32, size64) \
    TAVMO_CLIENT_LAYOUT(sizeof(type) == (TAVMO_CLIENT_32BIT ? (size32) : (size64)), #type " size")
#define TAVMO_CLIENT_OFFSET(type, field, off32, off64) \
    TAVMO_CLIENT_LAYOUT(offsetof(type, field) == (TAVMO_CLIENT_32BIT ? (off32) : (off64)), #type "." #field " offset")

typedef unsigned char TavmoClientBool;

/* Log levels the host uses. */
#define TAVMO_CLIENT_LOG_ERROR 1
#define TAVMO_CLIENT_LOG_INFO 3
#define TAVMO_CLIENT_LOG_DETAIL 4

/* Codes: TAVMO_CLIENT_REQUEST_ */
#define TAVMO_CLIENT_REQUEST_GET_CONFIGURATION 100100
#define TAVMO_CLIENT_REQUEST_SET_CONFIGURATION 100101
#define TAVMO_CLIENT_REQUEST_GET_EID 100200
#define TAVMO_CLIENT_REQUEST_GET_LID 100201
#define TAVMO_CLIENT_REQUEST_GET_CONNECTIVITY_INFO 100204
#define TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN 100300
#define TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_IN 100301
#define TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT 100302
#define TAVMO_CLIENT_REQUEST_SET_VOLUME_AUDIO_OUT 100303
#define TAVMO_CLIENT_REQUEST_GET_SEND_MAX_KBPS 100400
#define TAVMO_CLIENT_REQUEST_SET_SEND_MAX_KBPS 100401
#define TAVMO_CLIENT_REQUEST_GET_RECV_MAX_KBPS 100402
#define TAVMO_CLIENT_REQUEST_SET_RECV_MAX_KBPS 100403
#define TAVMO_CLIENT_REQUEST_GET_WINDOW_SHARES 100500
#define TAVMO_CLIENT_REQUEST_SET_WINDOW_SHARES 100501
#define TAVMO_CLIENT_REQUEST_ENABLE_APP_SHARE 100502
#define TAVMO_CLIENT_REQUEST_SET_LABEL 100600
#define TAVMO_CLIENT_REQUEST_GET_PREVIEW_MODE 100900
#define TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_IN 101000
#define TAVMO_CLIENT_REQUEST_GET_MUTED_AUDIO_OUT 101001
#define TAVMO_CLIENT_REQUEST_GET_MUTED_VIDEO 101002
#define TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_AUDIO_IN 101003
#define TAVMO_CLIENT_REQUEST_GET_MUTED_SERVER_VIDEO 101004
#define TAVMO_CLIENT_REQUEST_GET_ECHO_RECOMMENDATION 101300
#define TAVMO_CLIENT_REQUEST_CHECK_RECOMMENDED 101301
#define TAVMO_CLIENT_REQUEST_GET_WEB_PROXY_SETTING_VALID 101400
#define TAVMO_CLIENT_REQUEST_SET_WEBPROXY_USERNAME_PASSWORD 101402
#define TAVMO_CLIENT_REQUEST_GET_CURRENT_USER 101500
#define TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_DISPLAY_INFO 101501
#define TAVMO_CLIENT_REQUEST_GET_PARTICIPANTS_LIMIT 101502
#define TAVMO_CLIENT_REQUEST_GET_INVITING_USER 101504
#define TAVMO_CLIENT_REQUEST_GET_CURRENT_SESSION_TAVMO_ROUTER 101505
#define TAVMO_CLIENT_REQUEST_GET_FECC_LIST 101506
#define TAVMO_CLIENT_REQUEST_GET_CONFERENCE_INFO 101507
#define TAVMO_CLIENT_REQUEST_GET_CALL_STATE 101508
#define TAVMO_CLIENT_REQUEST_GET_BANDWIDTH_INFO 101602
#define TAVMO_CLIENT_REQUEST_GET_VIDEO_ENCODE_RESOLUTION 101603
#define TAVMO_CLIENT_REQUEST_GET_VIDEO_FRAME_RATE_INFO 101604
#define TAVMO_CLIENT_REQUEST_GET_MEDIA_INFO 101605
#define TAVMO_CLIENT_REQUEST_GET_RATE_SHAPER_INFO 101606
#define TAVMO_CLIENT_REQUEST_GET_CURRENT_CPU_UTIL 101607
#define TAVMO_CLIENT_REQUEST_GET_NUM_PARTICIPANTS 101609
#define TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_AT 101610
#define TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_AT 101611
#define TAVMO_CLIENT_REQUEST_GET_PARTICIPANT_NAME_LIST 101612
#define TAVMO_CLIENT_REQUEST_GET_ENDPOINT_STATUS 101800
#define TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES 102000
#define TAVMO_CLIENT_REQUEST_GET_WINDOWS_AND_DESKTOPS 102200
#define TAVMO_CLIENT_REQUEST_PRIVATE 199999
/* Codes: TAVMO_CLIENT_PRIVATE_ */
#define TAVMO_CLIENT_PRIVATE_IN_EVENT_LAYOUT 200100
#define TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING 200200
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP 200900
#define TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP 201000
#define TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT 201600
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT 270002
#define TAVMO_CLIENT_PRIVATE_REQUEST_GET_LAYOUT 300400
#define TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO 302000
#define TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN 307001
#define TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN 307002
#define TAVMO_CLIENT_PRIVATE_REQUEST_SET_VIRTUAL_CAMERA_BUFFER 307003
/* Codes: TAVMO_CLIENT_IN_EVENT_ */
#define TAVMO_CLIENT_IN_EVENT_SIGN_IN 100
#define TAVMO_CLIENT_IN_EVENT_CANCEL 200
#define TAVMO_CLIENT_IN_EVENT_LEAVE 201
#define TAVMO_CLIENT_IN_EVENT_ANSWER 300
#define TAVMO_CLIENT_IN_EVENT_DECLINE 301
#define TAVMO_CLIENT_IN_EVENT_PREVIEW 400
#define TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN 500
#define TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT 501
#define TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO 502
#define TAVMO_CLIENT_IN_EVENT_SHARE 600
#define TAVMO_CLIENT_IN_EVENT_UNSHARE 601
#define TAVMO_CLIENT_IN_EVENT_RESIZE 800
#define TAVMO_CLIENT_IN_EVENT_PARTICIPANTS_LIMIT 900
#define TAVMO_CLIENT_IN_EVENT_LAYOUT 901
#define TAVMO_CLIENT_IN_EVENT_SET_ECHO_DETECT 1100
#define TAVMO_CLIENT_IN_EVENT_SET_ECHO_CANCEL 1101
#define TAVMO_CLIENT_IN_EVENT_SET_AUDIO_AGC 1200
#define TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE 1301
#define TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA 1400
#define TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE 1401
#define TAVMO_CLIENT_IN_EVENT_SET_SEND_BANDWIDTH 1502
#define TAVMO_CLIENT_IN_EVENT_LOGIN 1600
#define TAVMO_CLIENT_IN_EVENT_LOGIN_CANCEL 1601
#define TAVMO_CLIENT_IN_EVENT_SIGNOFF 1603
#define TAVMO_CLIENT_IN_EVENT_SET_OFFLINE 1700
#define TAVMO_CLIENT_IN_EVENT_SET_FREEZE_IMAGE 1701
#define TAVMO_CLIENT_IN_EVENT_GROUP_CHAT 2000
#define TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT 2001
#define TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME 3000
#define TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME 3100
#define TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS 3240
#define TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA 3245
#define TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE 3246
#define TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER 3247
#define TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER 3248
/* Codes: TAVMO_CLIENT_OUT_EVENT_ */
#define TAVMO_CLIENT_OUT_EVENT_LOGIC_STARTED 200
#define TAVMO_CLIENT_OUT_EVENT_SIGN_IN 300
#define TAVMO_CLIENT_OUT_EVENT_LOGIN 2300
#define TAVMO_CLIENT_OUT_EVENT_LINKED 2302
#define TAVMO_CLIENT_OUT_EVENT_SIGNED_IN 2303
#define TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT 2304
#define TAVMO_CLIENT_OUT_EVENT_ROOM_LINK 2305


/* The callback through which the library reports its out-events. The block
   is valid only during the call. */
typedef void(TAVMO_CLIENT_CALL *TavmoClientCallbackFn)(int32_t eventCode, const void *parameters, uint32_t size,
                                                       uint32_t userWord);

/* Log configuration: handed to initialisation and to every start. */
typedef struct TavmoClientLogConfig {
    const char *levelsAndCategories;
    uint32_t sizeValue;
    const char *logDirectory;
    const char *fileNamePrefix;
    const char *dataDirectory;
    uint32_t reserved;
} TavmoClientLogConfig;
TAVMO_CLIENT_SIZE(TavmoClientLogConfig, 24, 48);
TAVMO_CLIENT_OFFSET(TavmoClientLogConfig, sizeValue, 4, 8);
TAVMO_CLIENT_OFFSET(TavmoClientLogConfig, logDirectory, 8, 16);
TAVMO_CLIENT_OFFSET(TavmoClientLogConfig, fileNamePrefix, 12, 24);
TAVMO_CLIENT_OFFSET(TavmoClientLogConfig, dataDirectory, 16, 32);
TAVMO_CLIENT_OFFSET(TavmoClientLogConfig, reserved, 20, 40);

/* Optional features: filled with the library's defaults, then adjusted. */
typedef struct TavmoClientFeatureControl {
    unsigned char bytes[8];
} TavmoClientFeatureControl;
TAVMO_CLIENT_SIZE(TavmoClientFeatureControl, 8, 8);
#define TAVMO_CLIENT_FEATURE_BYTE_HOST 6

typedef struct TavmoClientVideoRect {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
} TavmoClientVideoRect;
TAVMO_CLIENT_SIZE(TavmoClientVideoRect, 16, 16);

typedef struct TavmoClientStartProfile {
    const char *appPath;
    const char *registryPath;
    const char *appName;
    const char *appVersion;
    const char *appFolder;
    const char *makerFolder;
    uint32_t reserved[4];
} TavmoClientStartProfile;
TAVMO_CLIENT_SIZE(TavmoClientStartProfile, 40, 64);
TAVMO_CLIENT_OFFSET(TavmoClientStartProfile, makerFolder, 20, 40);
TAVMO_CLIENT_OFFSET(TavmoClientStartProfile, reserved, 24, 48);

/* Wrapper for requests sent under TAVMO_CLIENT_REQUEST_PRIVATE: the inner
   record carries the data, sizeField tells the library how much of it. */
typedef struct TavmoClientPrivateRequest {
    uint32_t privateCode;
    void *record;
    uint32_t sizeField;
    uint32_t reserved;
} TavmoClientPrivateRequest;
TAVMO_CLIENT_SIZE(TavmoClientPrivateRequest, 16, 24);
TAVMO_CLIENT_OFFSET(TavmoClientPrivateRequest, record, 4, 8);
TAVMO_CLIENT_OFFSET(TavmoClientPrivateRequest, sizeField, 8, 16);
TAVMO_CLIENT_OFFSET(TavmoClientPrivateRequest, reserved, 12, 20);

/* Log levels-and-categories request: the text, NUL-terminated and padded. */
typedef struct TavmoClientLogLevelsRecord {
    char levelsAndCategories[201];
} TavmoClientLogLevelsRecord;
TAVMO_CLIENT_SIZE(TavmoClientLogLevelsRecord, 201, 201);

#include "TavmoClientStatus.h"
#include "TavmoClientConfiguration.h"
#include "TavmoClientSharing.h"
#include "TavmoClientStatistics.h"
#include "TavmoClientApproval.h"
#include "TavmoClientVirtualCamera.h"
#include "TavmoClientEvents.h"
#include "TavmoClientInEvents.h"

TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientConsoleLogConfigure(int32_t enable);
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientInitialize(TavmoClientCallbackFn callback,
                                                                         uint32_t userWord,
                                                                         const TavmoClientLogConfig *logConfig);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientFeatureControlConstructDefault(TavmoClientFeatureControl *features);
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientSetOptionalFeatures(const TavmoClientFeatureControl *features);
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientStart(TavmoClientCallbackFn callback, uint32_t userWord,
                                                                    const TavmoClientLogConfig *logConfig, void *window,
                                                                    const TavmoClientVideoRect *videoRect,
                                                                    uint32_t reserved1,
                                                                    const TavmoClientStartProfile *profile,
                                                                    uint32_t reserved2);
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientIsStarted(void);
/* True when stopped, false while still stopping. */
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientStop(void);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientSynchronizeStart(void);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientSynchronizeEnd(void);
/* 0 when done, otherwise an error code. The library reads and fills the
   record before it returns. */
TAVMO_CLIENT_API int32_t TAVMO_CLIENT_CALL TavmoClientSendRequest(int32_t requestCode, void *record, uint32_t size);
/* True when accepted. Buffers that in-event records point to are allocated
   with malloc; they belong to the library once it accepts the in-event, and
   it frees them when it is done. A refused in-event leaves them with the
   caller. */
TAVMO_CLIENT_API TavmoClientBool TAVMO_CLIENT_CALL TavmoClientSendEvent(int32_t eventCode, void *record, uint32_t size);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientGetVersion(char *buffer, uint32_t size);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientLog(int32_t level, const char *sourceFile, int32_t line,
                                                       const char *unused, const char *text);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientLogFormatted(int32_t level, const char *sourceFile, int32_t line,
                                                                const char *unused, const char *format, ...)
    TAVMO_CLIENT_PRINTF(5, 6);
TAVMO_CLIENT_API void TAVMO_CLIENT_CALL TavmoClientUninitialize(void);

#if defined(__cplusplus)
}
#endif

#endif
