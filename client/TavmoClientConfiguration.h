/*
 * The library's configuration record: devices, accounts, proxies, media ports,
 * video preference and switches, read and written whole. Member names are the
 * page's keys. Included by TavmoClient.h; needs its layout macros.
 */
#ifndef TAVMO_CLIENT_CONFIGURATION_H
#define TAVMO_CLIENT_CONFIGURATION_H

#define TAVMO_CLIENT_CONFIGURATION_DEVICES 30
#define TAVMO_CLIENT_CONFIGURATION_PROXIES 8
#define TAVMO_CLIENT_DEVICE_NAME_BYTES 128
#define TAVMO_CLIENT_PROXY_NAME_BYTES 137

/* Video preference codes; the others have no name. */
#define TAVMO_CLIENT_VIDEO_BEST_QUALITY 0
#define TAVMO_CLIENT_VIDEO_BEST_FRAMERATE 1
#define TAVMO_CLIENT_VIDEO_BEST_RESOLUTION 2
#define TAVMO_CLIENT_VIDEO_LIMITED_BANDWIDTH 3
#define TAVMO_CLIENT_VIDEO_ADVANCED_360P30 4
#define TAVMO_CLIENT_VIDEO_ADVANCED_450P30 10
#define TAVMO_CLIENT_VIDEO_ADVANCED_720P15 11
#define TAVMO_CLIENT_VIDEO_ADVANCED_720P30 12
#define TAVMO_CLIENT_VIDEO_1080P30 20
#define TAVMO_CLIENT_VIDEO_ADVANCED_360P15 22

typedef struct TavmoClientConfiguration {
    char microphones[TAVMO_CLIENT_CONFIGURATION_DEVICES][TAVMO_CLIENT_DEVICE_NAME_BYTES];
    char microphonePhyDeviceName[TAVMO_CLIENT_CONFIGURATION_DEVICES][TAVMO_CLIENT_DEVICE_NAME_BYTES];
    TavmoClientBool microphoneVoiceProcessingSupport[TAVMO_CLIENT_CONFIGURATION_DEVICES];
    uint32_t numberMicrophones;
    uint32_t currentMicrophone;
    char speakers[TAVMO_CLIENT_CONFIGURATION_DEVICES][TAVMO_CLIENT_DEVICE_NAME_BYTES];
    /* The library's own; the host leaves it zero. */
    char speakerReserved[TAVMO_CLIENT_CONFIGURATION_DEVICES * TAVMO_CLIENT_DEVICE_NAME_BYTES];
    uint32_t numberSpeakers;
    uint32_t currentSpeaker;
    char cameras[TAVMO_CLIENT_CONFIGURATION_DEVICES][TAVMO_CLIENT_DEVICE_NAME_BYTES];
    uint32_t numberCameras;
    uint32_t currentCamera;
    uint32_t enableFeccEndpoint;
    uint32_t enableFeccController;
    char tavmoProxies[TAVMO_CLIENT_CONFIGURATION_PROXIES][TAVMO_CLIENT_PROXY_NAME_BYTES];
    uint32_t numberTavmoProxies;
    uint32_t currentTavmoProxy;
    char userID[64];
    char password[64];
    char serverAddress[257];
    char serverPort[6];
    char tavmoProxyAddress[257];
    char tavmoProxyPort[6];
    char webProxyAddress[257];
    char webProxyPort[6];
    char webProxyUsername[64];
    char webProxyPassword[64];
    char webProxyIeAddress[257];
    char webProxyIePort[6];
    char portalAddress[64];
    char ringtoneDeviceName[64];
    char verifyCertPortalAcct[385];
    char webProxyScriptUrl[257];
    char webProxyIeScriptUrl[257];
    uint32_t mediaLowPort;
    uint32_t mediaHighPort;
    uint32_t proxySettings;
    uint32_t videoPreferences;
    uint32_t enableLogging;
    uint32_t enableAutoAnswer;
    uint32_t enableForceProxy;
    uint32_t enableLogWindow;
    uint32_t enableEntryTone;
    uint32_t enableEchoDetection;
    uint32_t enableEchoCancellation;
    uint32_t enableFullScreenVideo;
    uint32_t showToolbarInFullScreenVideo;
    uint32_t enableAudioAGC;
    uint32_t enableAutoStart;
    uint32_t enableAutoLogIn;
    uint32_t enableShowConfParticipantName;
    uint32_t enableMuteMicrophoneOnJoin;
    uint32_t enableHideCameraOnJoin;
    uint32_t enableMuteSpeakerOnJoin;
    uint32_t enableEulaAgreed;
    uint32_t enableRendering;
    uint32_t enableBackgrounding;
    uint32_t enablePersonalRoomForSchedulingMeeting;
    uint32_t enableFullDisplaySharing;
    uint32_t selfViewLoopbackPolicy;
    uint32_t enableLowBackgroundTimeout;
    uint32_t allowLetterBoxVideoScaling;
} TavmoClientConfiguration;
TAVMO_CLIENT_SIZE(TavmoClientConfiguration, 22816, 22816);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, microphonePhyDeviceName, 3840, 3840);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, microphoneVoiceProcessingSupport, 7680, 7680);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, numberMicrophones, 7712, 7712);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, currentMicrophone, 7716, 7716);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, speakers, 7720, 7720);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, speakerReserved, 11560, 11560);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, numberSpeakers, 15400, 15400);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, currentSpeaker, 15404, 15404);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, cameras, 15408, 15408);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, numberCameras, 19248, 19248);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, currentCamera, 19252, 19252);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, enableFeccEndpoint, 19256, 19256);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, enableFeccController, 19260, 19260);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, tavmoProxies, 19264, 19264);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, numberTavmoProxies, 20360, 20360);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, currentTavmoProxy, 20364, 20364);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, userID, 20368, 20368);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, password, 20432, 20432);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, serverAddress, 20496, 20496);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, serverPort, 20753, 20753);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, tavmoProxyAddress, 20759, 20759);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, tavmoProxyPort, 21016, 21016);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyAddress, 21022, 21022);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyPort, 21279, 21279);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyUsername, 21285, 21285);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyPassword, 21349, 21349);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyIeAddress, 21413, 21413);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyIePort, 21670, 21670);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, portalAddress, 21676, 21676);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, ringtoneDeviceName, 21740, 21740);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, verifyCertPortalAcct, 21804, 21804);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyScriptUrl, 22189, 22189);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, webProxyIeScriptUrl, 22446, 22446);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, mediaLowPort, 22704, 22704);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, mediaHighPort, 22708, 22708);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, proxySettings, 22712, 22712);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, videoPreferences, 22716, 22716);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, enableLogging, 22720, 22720);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, selfViewLoopbackPolicy, 22804, 22804);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, enableLowBackgroundTimeout, 22808, 22808);
TAVMO_CLIENT_OFFSET(TavmoClientConfiguration, allowLetterBoxVideoScaling, 22812, 22812);

#endif
