/*
 * The records of the library's out-events, as the host reads them. Included
 * by TavmoClient.h; not meant to be included on its own.
 *
 * No record holds an address, so every layout is the same on 32-bit and
 * 64-bit targets.
 *
 * A text that no following field ends has no width in the library's layout:
 * it runs from its offset to its first NUL within the block the library
 * delivers, or to the block's end. Such a field is marked "open-ended"; its
 * width below is only what a record built from the struct holds (the
 * stand-in's, the tests'). The host reads it from its offset within the block
 * (EventBlock::textFrom), never through the field, which would cut it.
 */
#ifndef TAVMO_CLIENT_EVENTS_H
#define TAVMO_CLIENT_EVENTS_H

#define TAVMO_CLIENT_EVENT_SIZE(type, size) TAVMO_CLIENT_SIZE(type, size, size)
#define TAVMO_CLIENT_EVENT_OFFSET(type, field, off) TAVMO_CLIENT_OFFSET(type, field, off, off)

/* The out-events by name (with LOGIC_STARTED, SIGN_IN, LOGIN, LINKED,
   SIGNED_IN, SIGNED_OUT, ROOM_LINK, VCSOAP and WINDOWS_EXT in TavmoClient.h).
   The page learns the events under these names: the protocol catalogue
   (tools/catalogue) derives each event's name from its constant. */
#define TAVMO_CLIENT_OUT_EVENT_MESSAGE 100
#define TAVMO_CLIENT_OUT_EVENT_LOGIN_CANCELLED 400
#define TAVMO_CLIENT_OUT_EVENT_DEVICES_CHANGED 601
#define TAVMO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED 602
#define TAVMO_CLIENT_OUT_EVENT_DEVICE 603
#define TAVMO_CLIENT_OUT_EVENT_JOIN_PROGRESS 700
#define TAVMO_CLIENT_OUT_EVENT_PROGRESS_800 800
#define TAVMO_CLIENT_OUT_EVENT_PROGRESS_900 900
#define TAVMO_CLIENT_OUT_EVENT_LAYOUT_CHANGED 901
#define TAVMO_CLIENT_OUT_EVENT_PROGRESS_1000 1000
#define TAVMO_CLIENT_OUT_EVENT_INVITATION_OVER 1100
#define TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ENTERED 1200
#define TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE 1201
#define TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_COUNT 1202
#define TAVMO_CLIENT_OUT_EVENT_CONFERENCE_LEFT 1203
#define TAVMO_CLIENT_OUT_EVENT_SOURCE_ADDED 1210
#define TAVMO_CLIENT_OUT_EVENT_SOURCE_REMOVED 1211
#define TAVMO_CLIENT_OUT_EVENT_INVITATION 1300
#define TAVMO_CLIENT_OUT_EVENT_PREVIEW_MODE 1400
#define TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN 1500
#define TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT 1501
#define TAVMO_CLIENT_OUT_EVENT_MUTED_VIDEO 1502
#define TAVMO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN 1503
#define TAVMO_CLIENT_OUT_EVENT_MUTED_SERVER_VIDEO 1504
#define TAVMO_CLIENT_OUT_EVENT_DELAYED_URI 1600
#define TAVMO_CLIENT_OUT_EVENT_JOINED_URI 1601
#define TAVMO_CLIENT_OUT_EVENT_VIDEO_AREA_SIZE 1700
#define TAVMO_CLIENT_OUT_EVENT_LIMITS 1800
#define TAVMO_CLIENT_OUT_EVENT_KEY_DOWN 2000
#define TAVMO_CLIENT_OUT_EVENT_KEY_UP 2001
#define TAVMO_CLIENT_OUT_EVENT_MOUSE_DOWN 2002
#define TAVMO_CLIENT_OUT_EVENT_MOUSE_UP 2003
#define TAVMO_CLIENT_OUT_EVENT_MOUSE_MOVE 2004
#define TAVMO_CLIENT_OUT_EVENT_MOUSE_WHEEL 2005
#define TAVMO_CLIENT_OUT_EVENT_CONTROLLED_WINDOW 2007
#define TAVMO_CLIENT_OUT_EVENT_PARTICIPANTS_SHOWN 2100
#define TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_COMMAND 2101
#define TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_VIDEO_MODE 2102
#define TAVMO_CLIENT_OUT_EVENT_IN_EVENT_STATUS 2103
#define TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_STATUS 2104
#define TAVMO_CLIENT_OUT_EVENT_MEDIA_COMMAND 2200
#define TAVMO_CLIENT_OUT_EVENT_INSTALLER_INFORMATION 2306
#define TAVMO_CLIENT_OUT_EVENT_CALL_STATE 2500
#define TAVMO_CLIENT_OUT_EVENT_CHAT_MESSAGE 2600
#define TAVMO_CLIENT_OUT_EVENT_PRIVATE_CHAT_MESSAGE 2601
#define TAVMO_CLIENT_OUT_EVENT_PORTAL_PREFIX 2710
#define TAVMO_CLIENT_OUT_EVENT_FEATURE_STATUS 2715
#define TAVMO_CLIENT_OUT_EVENT_CPU_USAGE 2720
#define TAVMO_CLIENT_OUT_EVENT_STAGE 2800
#define TAVMO_CLIENT_OUT_EVENT_PRESENTER 2802
#define TAVMO_CLIENT_OUT_EVENT_AUDIO_FRAME 2810
#define TAVMO_CLIENT_OUT_EVENT_VIDEO_FRAME 2811
#define TAVMO_CLIENT_OUT_EVENT_ROOM_SETTINGS_RESULT 2820
#define TAVMO_CLIENT_OUT_EVENT_DEVICE_TEST_STATUS 2830
#define TAVMO_CLIENT_OUT_EVENT_CONTROL_RESULT 2855
#define TAVMO_CLIENT_OUT_EVENT_NETWORK_INTERFACES 2860
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_OFFLINE 200400
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_ONLINE 200600
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY 201200
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_NEEDS_CREDENTIALS 201300
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_CREDENTIALS_USED 201400
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_NOTICE 201600
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_ROOM_KEY 201700
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_TOKEN_STATUS 201900
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_SIGNED_OFF 202000
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_NOTICE 202001
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_REFUSED 202002
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_DEVICE_NOTICE 202100
#define TAVMO_CLIENT_PRIVATE_OUT_EVENT_SELECTED_DEVICE_NOTICE 202110

/* Public events are 99 to 99999; every other code is private. */
#define TAVMO_CLIENT_PUBLIC_EVENT_FIRST 99
#define TAVMO_CLIENT_PUBLIC_EVENT_LAST 99999
/* The private events the host translates lie in this range. */
#define TAVMO_CLIENT_PRIVATE_EVENT_FIRST 200100
#define TAVMO_CLIENT_PRIVATE_EVENT_LAST 299999

/* Call states, as in the call-state request and event. */
#define TAVMO_CLIENT_CALL_STATE_IDLE 0
#define TAVMO_CLIENT_CALL_STATE_JOINING 3
#define TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE 4
#define TAVMO_CLIENT_CALL_STATE_DISCONNECTING 5

/* The portal answer to a guest link. */
#define TAVMO_CLIENT_PORTAL_GUEST_LINK 57

/* ---- Public out-events ---- */

/* 100: a message from the library. */
typedef struct TavmoClientMessageEvent {
    int32_t messageType;
    uint32_t messageCode[3];
} TavmoClientMessageEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientMessageEvent, 16);

/* 300 */
typedef struct TavmoClientSignInEvent {
    uint32_t reserved;
    TavmoClientBool guestLogin;
    TavmoClientBool showDialpad;
    TavmoClientBool showStartmeeting;
    unsigned char reserved2;
    int32_t signinType;
    TavmoClientBool signinSecured;
} TavmoClientSignInEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientSignInEvent, 16);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientSignInEvent, guestLogin, 4);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientSignInEvent, showStartmeeting, 6);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientSignInEvent, signinType, 8);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientSignInEvent, signinSecured, 12);

/* 601, 603 */
typedef struct TavmoClientDeviceEvent {
    int32_t deviceType;
} TavmoClientDeviceEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientDeviceEvent, 4);

/* 602 */
typedef struct TavmoClientDeviceChangeEvent {
    int32_t deviceType;
    int32_t changeType;
    char prevDeviceName[128];
    char newDeviceName[128]; /* open-ended */
} TavmoClientDeviceChangeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientDeviceChangeEvent, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientDeviceChangeEvent, newDeviceName, 136);

/* 700, 800, 900, 1000 */
typedef struct TavmoClientProgressEvent {
    uint32_t numProgressSteps;
    char caption[257]; /* open-ended */
} TavmoClientProgressEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientProgressEvent, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientProgressEvent, caption, 4);

/* 1202, 2100 */
typedef struct TavmoClientCountEvent {
    int32_t count;
} TavmoClientCountEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientCountEvent, 4);

/* 1210, 1211 */
typedef struct TavmoClientParticipantSourceEvent {
    int32_t sourceType;
    char participantURI[257];
    char displayName[128];
    char sourceName[128]; /* open-ended */
} TavmoClientParticipantSourceEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientParticipantSourceEvent, 520);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientParticipantSourceEvent, displayName, 261);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientParticipantSourceEvent, sourceName, 389);

/* 1300 */
typedef struct TavmoClientInvitationEvent {
    char invitingUser[382];
    TavmoClientBool onCallFlag;
} TavmoClientInvitationEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientInvitationEvent, 383);

/* 1400 */
typedef struct TavmoClientPreviewModeEvent {
    int32_t previewMode;
} TavmoClientPreviewModeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPreviewModeEvent, 4);

/* 1500 to 1504 */
typedef struct TavmoClientMuteEvent {
    TavmoClientBool isMuted;
    unsigned char reserved[3];
    uint32_t errorCode;
} TavmoClientMuteEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientMuteEvent, 8);

/* 1600, 1601 */
typedef struct TavmoClientUriEvent {
    char URI[257]; /* open-ended */
} TavmoClientUriEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientUriEvent, 257);

/* 1700 */
typedef struct TavmoClientSizeEvent {
    uint32_t width;
    uint32_t height;
} TavmoClientSizeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientSizeEvent, 8);

/* 1800 */
typedef struct TavmoClientLimitsEvent {
    int32_t bandwithLimit;
    int32_t cpuLimit;
    int32_t userLimit;
} TavmoClientLimitsEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientLimitsEvent, 12);

/* 2000, 2001 */
typedef struct TavmoClientKeyEvent {
    uint32_t key;
    uint32_t count;
} TavmoClientKeyEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientKeyEvent, 8);

/* 2002 to 2005 */
typedef struct TavmoClientMouseEvent {
    uint32_t button;
    uint32_t count;
    int32_t xPos;
    int32_t yPos;
    TavmoClientBool shift;
    TavmoClientBool ctrl;
    TavmoClientBool alt;
    TavmoClientBool command;
    int32_t scrollDeltaX;
    int32_t scrollDeltaY;
    int32_t scrollDeltaZ;
} TavmoClientMouseEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientMouseEvent, 32);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientMouseEvent, shift, 16);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientMouseEvent, command, 19);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientMouseEvent, scrollDeltaX, 20);

/* 2007 */
typedef struct TavmoClientWindowEvent {
    uint32_t window;
} TavmoClientWindowEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientWindowEvent, 4);

/* 2101 */
typedef struct TavmoClientCameraControlEvent {
    char srcParticipantID[260];
    int32_t cameraCommand;
    char commandId[128];
    char commandData[128]; /* open-ended */
} TavmoClientCameraControlEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientCameraControlEvent, 520);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientCameraControlEvent, cameraCommand, 260);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientCameraControlEvent, commandId, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientCameraControlEvent, commandData, 392);

/* 2102 */
typedef struct TavmoClientVideoModeEvent {
    char uri[260];
    int32_t videoMode;
    TavmoClientBool isSet;
} TavmoClientVideoModeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientVideoModeEvent, 268);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientVideoModeEvent, isSet, 264);

/* 2103 */
typedef struct TavmoClientEventStatusEvent {
    int32_t eventID;
    TavmoClientBool eventStatus;
} TavmoClientEventStatusEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientEventStatusEvent, 8);

/* 2104 */
typedef struct TavmoClientCameraControlStatusEvent {
    int32_t statusCode;
    char curFeccUri[257]; /* open-ended */
} TavmoClientCameraControlStatusEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientCameraControlStatusEvent, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientCameraControlStatusEvent, curFeccUri, 4);

/* 2200 */
typedef struct TavmoClientMediaCommandEvent {
    int32_t mediaCommand;
    int32_t mediaType;
    int32_t mediaSource;
} TavmoClientMediaCommandEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientMediaCommandEvent, 12);

/* 2300 (TAVMO_CLIENT_OUT_EVENT_LOGIN) */
typedef struct TavmoClientLoginEvent {
    uint32_t error;
    char portalUri[257];
    char userName[128]; /* open-ended */
} TavmoClientLoginEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientLoginEvent, 392);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientLoginEvent, userName, 261);

/* 2302 (TAVMO_CLIENT_OUT_EVENT_LINKED) */
typedef struct TavmoClientLinkedEvent {
    int32_t error;
} TavmoClientLinkedEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientLinkedEvent, 4);

/* 2304 (TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT) */
typedef struct TavmoClientSignedOutEvent {
    int32_t cause;
    int32_t error;
    TavmoClientBool guestLogin;
} TavmoClientSignedOutEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientSignedOutEvent, 12);

/* 2305 (TAVMO_CLIENT_OUT_EVENT_ROOM_LINK) */
typedef struct TavmoClientRoomLinkEvent {
    int32_t error;
    int32_t state;
    char serverUri[257]; /* open-ended */
} TavmoClientRoomLinkEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientRoomLinkEvent, 268);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientRoomLinkEvent, serverUri, 8);

/* 2306 */
typedef struct TavmoClientInstallerEvent {
    int32_t error;
    char currentTag[32];
    char installerUri[257]; /* open-ended */
} TavmoClientInstallerEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientInstallerEvent, 296);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientInstallerEvent, installerUri, 36);

/* 2500 */
typedef struct TavmoClientCallStateEvent {
    int32_t callState;
} TavmoClientCallStateEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientCallStateEvent, 4);

/* 2600, 2601 */
typedef struct TavmoClientChatEvent {
    char uri[257];
    char displayName[128];
    char message[1024]; /* open-ended */
} TavmoClientChatEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientChatEvent, 1409);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientChatEvent, message, 385);

/* 2710 */
typedef struct TavmoClientPortalPrefixEvent {
    int32_t result;
    char portalPrefix[257]; /* open-ended */
} TavmoClientPortalPrefixEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalPrefixEvent, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalPrefixEvent, portalPrefix, 4);

/* One feature's state: an entry of event 2715 and of the portal's feature
   answers. isEnabled is a signed byte. */
typedef struct TavmoClientFeatureStatus {
    int32_t featureName;
    signed char isEnabled;
    unsigned char reserved[3];
} TavmoClientFeatureStatus;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientFeatureStatus, 8);

/* 2715: featureCount entries of TavmoClientFeatureStatus follow the count. */
typedef struct TavmoClientFeatureStatusEvent {
    uint32_t featureCount;
} TavmoClientFeatureStatusEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientFeatureStatusEvent, 4);

/* 2720 */
typedef struct TavmoClientCpuUsageEvent {
    int32_t currentCpuUsageStatus;
    uint32_t reducedToThirtyFps;
    uint32_t reducedToFifteenFps;
    uint32_t reducedToSevenFps;
    uint32_t reducedToThreeFourthResolution;
    uint32_t reducedToHalfResolution;
    uint32_t reducedNumberOfDecodeStreams;
    uint32_t reducedToHalfEncodeFps;
    uint32_t reducedToThreeFourthEncodeResolution;
    uint32_t reducedToHalfEncodeResolution;
} TavmoClientCpuUsageEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientCpuUsageEvent, 40);

/* 2800 */
typedef struct TavmoClientStageEvent {
    int32_t stage;
} TavmoClientStageEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientStageEvent, 4);

/* 2802 */
typedef struct TavmoClientPresenterEvent {
    char uriOfPresenter[257]; /* open-ended */
} TavmoClientPresenterEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPresenterEvent, 257);

/* 2810 */
typedef struct TavmoClientAudioFrameEvent {
    char participantURI[260];
    uint32_t sourceId;
    uint32_t viewPriority;
    int32_t energy;
    uint32_t bps;
    uint32_t samplingRate;
    uint32_t channels;
    uint32_t samples;
    char data[1024]; /* open-ended */
} TavmoClientAudioFrameEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientAudioFrameEvent, 1312);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientAudioFrameEvent, energy, 268);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientAudioFrameEvent, data, 288);

/* 2811 */
typedef struct TavmoClientVideoFrameEvent {
    char participantURI[260];
    int32_t mediaType;
    uint32_t sourceId;
    uint32_t viewPriority;
    uint32_t reserved;
    uint32_t width;
    uint32_t height;
    uint32_t format;
    uint32_t size;
    char data[1024]; /* open-ended */
} TavmoClientVideoFrameEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientVideoFrameEvent, 1316);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientVideoFrameEvent, width, 276);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientVideoFrameEvent, data, 292);

/* 2820, 2855 */
typedef struct TavmoClientControlResultEvent {
    uint32_t requestId;
    int32_t command;
    int32_t result;
} TavmoClientControlResultEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientControlResultEvent, 12);

/* 2830 */
typedef struct TavmoClientDeviceTestEvent {
    int32_t deviceType;
    int32_t action;
    int32_t result;
} TavmoClientDeviceTestEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientDeviceTestEvent, 12);

/* 2860 */
typedef struct TavmoClientNetworkInterfacesEvent {
    uint32_t numValidInterfaces;
} TavmoClientNetworkInterfacesEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientNetworkInterfacesEvent, 4);

/* ---- Private out-events ---- */

/* 201200 */
typedef struct TavmoClientWebProxyEvent {
    char webProxyURL[257]; /* open-ended */
} TavmoClientWebProxyEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientWebProxyEvent, 257);

/* 201600 */
typedef struct TavmoClientNoticeEvent {
    char message[1024]; /* open-ended */
} TavmoClientNoticeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientNoticeEvent, 1024);

/* 201700 */
typedef struct TavmoClientRoomKeyEvent {
    TavmoClientBool hasPin;
    char portalUri[257];
    char roomKey[128]; /* open-ended */
} TavmoClientRoomKeyEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientRoomKeyEvent, 386);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientRoomKeyEvent, roomKey, 258);

/* 201900 */
typedef struct TavmoClientTokenStatusEvent {
    TavmoClientBool status;
    TavmoClientBool useToken;
} TavmoClientTokenStatusEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientTokenStatusEvent, 2);

/* 202000, 202002 */
typedef struct TavmoClientReasonEvent {
    int32_t reason;
} TavmoClientReasonEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientReasonEvent, 4);

/* 202001 */
typedef struct TavmoClientLoginNoticeEvent {
    int32_t loginType;
    char portalUri[257];
    char userName[128];
    TavmoClientBool guestLogin;
} TavmoClientLoginNoticeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientLoginNoticeEvent, 392);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientLoginNoticeEvent, userName, 261);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientLoginNoticeEvent, guestLogin, 389);

/* 202100, 202110 */
typedef struct TavmoClientDeviceNoticeEvent {
    int32_t deviceType;
    int32_t changeType;
    char deviceName[128]; /* open-ended */
} TavmoClientDeviceNoticeEvent;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientDeviceNoticeEvent, 136);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientDeviceNoticeEvent, deviceName, 8);

#define TAVMO_CLIENT_WINDOW_LIST_CAPACITY 128

typedef struct TavmoClientWindowRect {
    int32_t x;
    int32_t y;
    uint32_t width;
    uint32_t height;
} TavmoClientWindowRect;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientWindowRect, 16);

/* 270002 (TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT): one part of a window
   list; entry i of every array describes the same window. */
typedef struct TavmoClientWindowList {
    uint32_t requestId;
    uint32_t totalResponseMessages;
    uint32_t thisMessageNumberInSequance;
    uint32_t totalNumApplicationWindows;
    int32_t numOfRecordsInThisMessage;
    uint32_t style[TAVMO_CLIENT_WINDOW_LIST_CAPACITY];
    uint32_t exStyle[TAVMO_CLIENT_WINDOW_LIST_CAPACITY];
    uint32_t parentHandle[TAVMO_CLIENT_WINDOW_LIST_CAPACITY];
    char className[TAVMO_CLIENT_WINDOW_LIST_CAPACITY][257];
    uint32_t windowId[TAVMO_CLIENT_WINDOW_LIST_CAPACITY];
    char title[TAVMO_CLIENT_WINDOW_LIST_CAPACITY][257];
    char ownerName[TAVMO_CLIENT_WINDOW_LIST_CAPACITY][257];
    TavmoClientWindowRect rect[TAVMO_CLIENT_WINDOW_LIST_CAPACITY];
} TavmoClientWindowList;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientWindowList, 102804);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, style, 20);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, exStyle, 532);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, parentHandle, 1044);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, className, 1556);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, windowId, 34452);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, title, 34964);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, ownerName, 67860);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientWindowList, rect, 100756);

/* ---- Portal answers: 200900 (TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP) ---- */

/* Starts every portal answer; typeRequest tells which answer follows. */
typedef struct TavmoClientPortalHeader {
    uint32_t typeRequest;
    uint32_t error;
    uint32_t httpStatusCode;
    uint32_t requestId;
} TavmoClientPortalHeader;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalHeader, 16);

/* One portal entity with its member and room data. */
typedef struct TavmoClientEntity {
    char entityID[129];
    char participantID[129];
    unsigned char reserved[2];
    int32_t entityType;
    char ownerID[129];
    char displayName[128];
    char extension[64];
    char emailAddress[128];
    char tenant[128];
    char language[7];
    int32_t memberStatus;
    int32_t memberMode;
    signed char canCallDirect;
    signed char canJoinMeeting;
    unsigned char reserved2[2];
    int32_t roomStatus;
    char roomURL[257];
    signed char isRoomLocked;
    signed char hasPIN;
    char roomPIN[17];
    signed char hasModeratorPIN;
    char moderatorPIN[17];
    signed char canControl;
    signed char isInMyContacts;
    signed char audio;
    signed char video;
    signed char appShare;
    unsigned char reserved3;
} TavmoClientEntity;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientEntity, 1164);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, entityType, 260);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, ownerID, 264);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, language, 841);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, memberStatus, 848);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, canCallDirect, 856);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, roomStatus, 860);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, roomURL, 864);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, isRoomLocked, 1121);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, roomPIN, 1123);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, hasModeratorPIN, 1140);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, moderatorPIN, 1141);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, canControl, 1158);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientEntity, appShare, 1162);

typedef struct TavmoClientParticipant {
    TavmoClientEntity account;
    char uri[257];
    TavmoClientBool isGuestParticipant;
    unsigned char reserved[2];
} TavmoClientParticipant;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientParticipant, 1424);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientParticipant, uri, 1164);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientParticipant, isGuestParticipant, 1421);

/* Answers that report a result at 16 (read as a signed value by some). */
typedef struct TavmoClientPortalResultAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
} TavmoClientPortalResultAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalResultAnswer, 20);

/* Answers that report their result at 20. */
typedef struct TavmoClientPortalServerResultAnswer {
    TavmoClientPortalHeader header;
    uint32_t reserved;
    uint32_t result;
} TavmoClientPortalServerResultAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalServerResultAnswer, 24);

/* Join answers: a result and a fault. */
typedef struct TavmoClientPortalJoinAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    uint32_t fault;
} TavmoClientPortalJoinAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalJoinAnswer, 24);

/* Answers that carry one text after the result. */
typedef struct TavmoClientPortalTextAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    char text[257]; /* open-ended */
} TavmoClientPortalTextAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalTextAnswer, 280);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalTextAnswer, text, 20);

/* Answers that carry a URL and whether it needs a PIN. */
typedef struct TavmoClientPortalUrlAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    char url[257];
    TavmoClientBool hasPin;
} TavmoClientPortalUrlAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalUrlAnswer, 280);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalUrlAnswer, hasPin, 277);

/* Answers that carry one account. */
typedef struct TavmoClientPortalAccountAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    TavmoClientEntity account;
} TavmoClientPortalAccountAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalAccountAnswer, 1184);

/* 1 */
typedef struct TavmoClientPortalClientVersionAnswer {
    TavmoClientPortalHeader header;
    TavmoClientBool userInitiated;
    char currentTag[32];
    char installerUri[257]; /* open-ended */
} TavmoClientPortalClientVersionAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalClientVersionAnswer, 308);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalClientVersionAnswer, installerUri, 49);

/* 2: progrDownload holds an IEEE double, kept as bytes so that the layout does
   not depend on the target's alignment of doubles. */
typedef struct TavmoClientPortalFileDownloadAnswer {
    TavmoClientPortalHeader header;
    int32_t stateDownload;
    uint32_t reserved;
    unsigned char progrDownload[8];
    uint32_t reserved2;
    uint16_t installerPathW[260]; /* open-ended */
} TavmoClientPortalFileDownloadAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalFileDownloadAnswer, 556);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalFileDownloadAnswer, progrDownload, 24);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalFileDownloadAnswer, installerPathW, 36);

/* 4 */
typedef struct TavmoClientPortalAccessKeyAnswer {
    TavmoClientPortalHeader header;
    char accessKey[257]; /* open-ended */
} TavmoClientPortalAccessKeyAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalAccessKeyAnswer, 276);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalAccessKeyAnswer, accessKey, 16);

/* 12: numEntries TavmoClientEntity records follow. */
typedef struct TavmoClientPortalSearchAnswer {
    TavmoClientPortalHeader header;
    uint32_t total;
    uint32_t start;
    uint32_t numEntries;
    int32_t result;
} TavmoClientPortalSearchAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalSearchAnswer, 32);

/* 24 (one TavmoClientParticipant follows) and 74 (numEntries follow). */
typedef struct TavmoClientPortalParticipantsAnswer {
    TavmoClientPortalHeader header;
    uint32_t total;
    uint32_t start;
    uint32_t result;
    int32_t numEntries;
} TavmoClientPortalParticipantsAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalParticipantsAnswer, 32);

/* 50 */
typedef struct TavmoClientPortalScheduledRoomAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    char roomExtn[17];
    char roomPin[5];
    char invite[1500];
    char subject[1500];
    char roomURL[257]; /* open-ended */
} TavmoClientPortalScheduledRoomAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalScheduledRoomAnswer, 3300);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalScheduledRoomAnswer, invite, 42);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalScheduledRoomAnswer, roomURL, 3042);

/* 51 */
typedef struct TavmoClientPortalInviteAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    char invite[1500];
    char subject[1500]; /* open-ended */
} TavmoClientPortalInviteAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalInviteAnswer, 3020);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalInviteAnswer, subject, 1520);

/* 54, 55: featureCount TavmoClientFeatureStatus entries follow. */
typedef struct TavmoClientPortalFeaturesAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    int32_t featureCount;
} TavmoClientPortalFeaturesAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalFeaturesAnswer, 24);

/* 57 */
typedef struct TavmoClientPortalGuestLinkAnswer {
    TavmoClientPortalHeader header;
    int32_t guestID;
    TavmoClientBool isLocked;
    TavmoClientBool hasPin;
    char vmaddress[260];
    char proxyaddress[257];
    char loctag[40];
    char un[128];
    char pak[257];
    char portal[257];
    char portalVersion[259];
    int32_t proxyType;
    char reverseProxyAddress[257];
    char clientExternalIPAddress[51];
    int32_t result;
    uint32_t fault;
} TavmoClientPortalGuestLinkAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalGuestLinkAnswer, 1800);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, vmaddress, 22);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, proxyaddress, 282);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, loctag, 539);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, un, 579);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, pak, 707);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, portal, 964);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, portalVersion, 1221);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, proxyType, 1480);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, reverseProxyAddress, 1484);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, clientExternalIPAddress, 1741);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, result, 1792);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalGuestLinkAnswer, fault, 1796);

typedef struct TavmoClientLoginHistoryEntry {
    char result[64];
    char ipAddress[64];
    char timeOfResult[64];
} TavmoClientLoginHistoryEntry;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientLoginHistoryEntry, 192);

/* 61: numEntries TavmoClientLoginHistoryEntry records follow. */
typedef struct TavmoClientPortalBannerAnswer {
    TavmoClientPortalHeader header;
    char loginBanner[2048];
    char welcomeBanner[2048];
    char passwordExpiration[64];
    int32_t numEntries;
    uint32_t result;
} TavmoClientPortalBannerAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalBannerAnswer, 4184);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalBannerAnswer, welcomeBanner, 2064);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalBannerAnswer, passwordExpiration, 4112);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalBannerAnswer, numEntries, 4176);

/* 63 */
typedef struct TavmoClientPortalRoomAccessAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    int32_t accessOptionCount;
    char roomURL[257];
    char extension[17];
    char pin[5];
    char dialInNumber[65]; /* open-ended */
} TavmoClientPortalRoomAccessAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalRoomAccessAnswer, 368);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalRoomAccessAnswer, extension, 281);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalRoomAccessAnswer, pin, 298);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalRoomAccessAnswer, dialInNumber, 303);

/* 68 */
typedef struct TavmoClientPortalRecordingAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    int32_t recorderID;
    char recorderName[128];
    TavmoClientBool recorderPaused;
    TavmoClientBool webCast;
} TavmoClientPortalRecordingAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalRecordingAnswer, 156);
TAVMO_CLIENT_EVENT_OFFSET(TavmoClientPortalRecordingAnswer, recorderPaused, 152);

typedef struct TavmoClientRecordingPrefix {
    char prefix[64];
    char description[64];
} TavmoClientRecordingPrefix;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientRecordingPrefix, 128);

/* 69: profileCount TavmoClientRecordingPrefix entries follow. */
typedef struct TavmoClientPortalRecordingPrefixesAnswer {
    TavmoClientPortalHeader header;
    uint32_t result;
    int32_t profileCount;
} TavmoClientPortalRecordingPrefixesAnswer;
TAVMO_CLIENT_EVENT_SIZE(TavmoClientPortalRecordingPrefixesAnswer, 24);

#endif
