/*
 * Records of the in-events the host sends with TavmoClientSendEvent. Included
 * by TavmoClient.h; needs its layout macros. In-events that carry one flag or
 * one integer use TavmoClientFlagValue and TavmoClientInt32Value.
 *
 * Two records hold an address (the speaker test's sound and the window list's
 * request id); they are the only ones that grow on 64-bit targets.
 */
#ifndef TAVMO_CLIENT_IN_EVENTS_H
#define TAVMO_CLIENT_IN_EVENTS_H

/* 800: the requested position and the outer size of the video window. */
typedef struct TavmoClientResizeInEvent {
    int32_t x;
    int32_t y;
    int32_t outerWidth;
    int32_t outerHeight;
} TavmoClientResizeInEvent;
TAVMO_CLIENT_SIZE(TavmoClientResizeInEvent, 16, 16);

/* 1502 */
typedef struct TavmoClientSendBandwidthInEvent {
    int32_t sendBandwidth;
    int32_t layers;
} TavmoClientSendBandwidthInEvent;
TAVMO_CLIENT_SIZE(TavmoClientSendBandwidthInEvent, 8, 8);

/* 400 */
#define TAVMO_CLIENT_PREVIEW_NONE 0
#define TAVMO_CLIENT_PREVIEW_PIP 1
#define TAVMO_CLIENT_PREVIEW_DOCK 2
typedef struct TavmoClientPreviewInEvent {
    int32_t previewMode;
    int32_t reserved;
} TavmoClientPreviewInEvent;
TAVMO_CLIENT_SIZE(TavmoClientPreviewInEvent, 8, 8);

/* 3245, 3246 (in a TavmoClientInt32Value) */
#define TAVMO_CLIENT_DEVICE_TEST_START 1
#define TAVMO_CLIENT_DEVICE_TEST_STOP 2

/* 200100 */
typedef struct TavmoClientLayoutInEvent {
    int32_t layoutNum;
    int32_t participantsLimitManual;
    int32_t participantsLimitRender;
    int32_t participantsLimitSafe;
    int32_t layoutWide;
} TavmoClientLayoutInEvent;
TAVMO_CLIENT_SIZE(TavmoClientLayoutInEvent, 20, 20);

/* 201600: the request id lives in a separate int32 allocated with malloc.
   Once the library accepts the in-event, the int32 is the library's, which
   frees it; when the library refuses, the host frees it. */
typedef struct TavmoClientGetWindowsExtInEvent {
    int32_t *requestId;
} TavmoClientGetWindowsExtInEvent;
TAVMO_CLIENT_SIZE(TavmoClientGetWindowsExtInEvent, 4, 8);

/* 100 */
#define TAVMO_CLIENT_SIGN_IN_PROXY_SLOTS 8
typedef struct TavmoClientSignInInEvent {
    char serverAddress[192];
    char serverPort[8];
    char userName[190];
    char portalAccessKey[257];
    char portalAddress[128];
    char portalVersion[256];
    char vmIdentity[64];
    char locationTag[40];
    unsigned char reserved[49];
    int32_t proxyType;
    char proxyAddress[TAVMO_CLIENT_SIGN_IN_PROXY_SLOTS][128];
    char proxyPort[TAVMO_CLIENT_SIGN_IN_PROXY_SLOTS][8];
    unsigned char reserved2[3136];
    int32_t numberProxies;
    int32_t emcpSecured;
    TavmoClientBool guestLogin;
    TavmoClientBool showDialpad;
    TavmoClientBool showStartmeeting;
    unsigned char reserved3[521];
} TavmoClientSignInInEvent;
TAVMO_CLIENT_SIZE(TavmoClientSignInInEvent, 5944, 5944);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, serverPort, 192, 192);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, userName, 200, 200);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, portalAccessKey, 390, 390);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, portalAddress, 647, 647);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, portalVersion, 775, 775);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, vmIdentity, 1031, 1031);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, locationTag, 1095, 1095);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, proxyType, 1184, 1184);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, proxyAddress, 1188, 1188);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, proxyPort, 2212, 2212);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, numberProxies, 5412, 5412);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, emcpSecured, 5416, 5416);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, guestLogin, 5420, 5420);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, showDialpad, 5421, 5421);
TAVMO_CLIENT_OFFSET(TavmoClientSignInInEvent, showStartmeeting, 5422, 5422);

/* 1600 */
typedef struct TavmoClientLoginInEvent {
    char portalUri[257];
    char userName[128];
    char userPass[257];
    unsigned char reserved[6];
} TavmoClientLoginInEvent;
TAVMO_CLIENT_SIZE(TavmoClientLoginInEvent, 648, 648);
TAVMO_CLIENT_OFFSET(TavmoClientLoginInEvent, userName, 257, 257);
TAVMO_CLIENT_OFFSET(TavmoClientLoginInEvent, userPass, 385, 385);

/* 201000: a portal service request; typeRequest tells which one. The answer
   comes back as out-event 200900 under the same typeRequest and requestId. */
typedef struct TavmoClientPortalRequestInEvent {
    int32_t typeRequest;
    int32_t requestId;
    uint32_t reserved;
    char portalUri[257];
    char roomKey[128];
    char guestName[128];
    char pin[17];
    unsigned char reserved2[110];
} TavmoClientPortalRequestInEvent;
TAVMO_CLIENT_SIZE(TavmoClientPortalRequestInEvent, 652, 652);
TAVMO_CLIENT_OFFSET(TavmoClientPortalRequestInEvent, portalUri, 12, 12);
TAVMO_CLIENT_OFFSET(TavmoClientPortalRequestInEvent, roomKey, 269, 269);
TAVMO_CLIENT_OFFSET(TavmoClientPortalRequestInEvent, guestName, 397, 397);
TAVMO_CLIENT_OFFSET(TavmoClientPortalRequestInEvent, pin, 525, 525);

/* 600 */
#define TAVMO_CLIENT_SHARE_APPLICATION_WINDOW 1
#define TAVMO_CLIENT_SHARE_DESKTOP 2
typedef struct TavmoClientShareInEvent {
    int32_t shareKind;
    /* The window handle for a window; 1 for a desktop. */
    int32_t window;
    char desktopDevice[128];
    unsigned char reserved[16];
} TavmoClientShareInEvent;
TAVMO_CLIENT_SIZE(TavmoClientShareInEvent, 152, 152);
TAVMO_CLIENT_OFFSET(TavmoClientShareInEvent, desktopDevice, 8, 8);

/* 2000 */
typedef struct TavmoClientGroupChatInEvent {
    char message[1025];
} TavmoClientGroupChatInEvent;
TAVMO_CLIENT_SIZE(TavmoClientGroupChatInEvent, 1025, 1025);

/* 2001 */
typedef struct TavmoClientPrivateChatInEvent {
    char uri[257];
    char message[1025];
} TavmoClientPrivateChatInEvent;
TAVMO_CLIENT_SIZE(TavmoClientPrivateChatInEvent, 1282, 1282);
TAVMO_CLIENT_OFFSET(TavmoClientPrivateChatInEvent, message, 257, 257);

/* 3000 */
typedef struct TavmoClientSetDisplayNameInEvent {
    char uri[257];
    char displayName[128];
} TavmoClientSetDisplayNameInEvent;
TAVMO_CLIENT_SIZE(TavmoClientSetDisplayNameInEvent, 385, 385);
TAVMO_CLIENT_OFFSET(TavmoClientSetDisplayNameInEvent, displayName, 257, 257);

/* 3100 */
typedef struct TavmoClientResetDisplayNameInEvent {
    char uri[257];
} TavmoClientResetDisplayNameInEvent;
TAVMO_CLIENT_SIZE(TavmoClientResetDisplayNameInEvent, 257, 257);

/* 1401 */
#define TAVMO_CLIENT_VIDEO_MODE_NONE 1
#define TAVMO_CLIENT_VIDEO_MODE_PIN_HIGH 2
#define TAVMO_CLIENT_VIDEO_MODE_PIN_LOW 3
typedef struct TavmoClientPinParticipantInEvent {
    int32_t reserved;
    char uri[257];
    int32_t videoMode;
} TavmoClientPinParticipantInEvent;
TAVMO_CLIENT_SIZE(TavmoClientPinParticipantInEvent, 268, 268);
TAVMO_CLIENT_OFFSET(TavmoClientPinParticipantInEvent, uri, 4, 4);
TAVMO_CLIENT_OFFSET(TavmoClientPinParticipantInEvent, videoMode, 264, 264);

/* 1400 */
typedef struct TavmoClientControlCameraInEvent {
    char uri[257];
    int32_t cameraCommand;
    char commandId[128];
    char commandData[128];
    unsigned char preset;
} TavmoClientControlCameraInEvent;
TAVMO_CLIENT_SIZE(TavmoClientControlCameraInEvent, 524, 524);
TAVMO_CLIENT_OFFSET(TavmoClientControlCameraInEvent, cameraCommand, 260, 260);
TAVMO_CLIENT_OFFSET(TavmoClientControlCameraInEvent, commandId, 264, 264);
TAVMO_CLIENT_OFFSET(TavmoClientControlCameraInEvent, commandData, 392, 392);
TAVMO_CLIENT_OFFSET(TavmoClientControlCameraInEvent, preset, 520, 520);

/* 3240 */
typedef struct TavmoClientRoomSettingsInEvent {
    int32_t requestId;
    int32_t roomType;
    int32_t roomSettingId;
    char moderatorPin[17];
} TavmoClientRoomSettingsInEvent;
TAVMO_CLIENT_SIZE(TavmoClientRoomSettingsInEvent, 32, 32);
TAVMO_CLIENT_OFFSET(TavmoClientRoomSettingsInEvent, moderatorPin, 12, 12);

/* 3247: the whole sound file in a buffer allocated with malloc; its length
   is not passed. Once the library accepts the in-event, the buffer is the
   library's, which frees it when the test is over; when the library refuses,
   the host frees it. */
typedef struct TavmoClientSpeakerTestInEvent {
    void *sound;
} TavmoClientSpeakerTestInEvent;
TAVMO_CLIENT_SIZE(TavmoClientSpeakerTestInEvent, 4, 8);

/* 1301 */
typedef struct TavmoClientDialToneInEvent {
    char tone;
    unsigned char reserved[7];
} TavmoClientDialToneInEvent;
TAVMO_CLIENT_SIZE(TavmoClientDialToneInEvent, 8, 8);

#endif
