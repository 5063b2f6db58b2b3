/*
 * Records of the media and session statistics requests. Included by
 * TavmoClient.h; needs its layout macros and TavmoClientVideoRect.
 */
#ifndef TAVMO_CLIENT_STATISTICS_H
#define TAVMO_CLIENT_STATISTICS_H

typedef struct TavmoClientParticipantStatistics {
    int32_t index;
    TavmoClientBool found;
    unsigned char foundPadding[3];
    char uri[257];
    char name[131];
    TavmoClientVideoRect videoResolution;
    int32_t videoKBitsPerSecRecv;
    int32_t audioKBitsPerSecRecv;
    int32_t firs;
    int32_t nacks;
    int32_t videoFrameRate;
    int32_t videoDecodedFrameRate;
    int32_t videoDisplayedFrameRate;
} TavmoClientParticipantStatistics;
TAVMO_CLIENT_SIZE(TavmoClientParticipantStatistics, 440, 440);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, found, 4, 4);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, uri, 8, 8);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, name, 265, 265);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, videoResolution, 396, 396);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, videoKBitsPerSecRecv, 412, 412);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantStatistics, videoDisplayedFrameRate, 436, 436);

#define TAVMO_CLIENT_PARTICIPANT_LIST_SLOTS 128
#define TAVMO_CLIENT_PARTICIPANT_NAME_BYTES 128

typedef struct TavmoClientParticipantList {
    uint32_t startIndex;
    uint32_t numParticipants;
    char name[TAVMO_CLIENT_PARTICIPANT_LIST_SLOTS][TAVMO_CLIENT_PARTICIPANT_NAME_BYTES];
} TavmoClientParticipantList;
TAVMO_CLIENT_SIZE(TavmoClientParticipantList, 16392, 16392);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantList, name, 8, 8);

/* Far-end camera control: the participants whose cameras can be steered. */
#define TAVMO_CLIENT_FECC_SLOTS 24

typedef struct TavmoClientFeccList {
    char uri[TAVMO_CLIENT_FECC_SLOTS][257];
    char name[TAVMO_CLIENT_FECC_SLOTS][128];
    char privacyMode[24];
    uint32_t numberParticipants;
    uint32_t feccParticipantIndex;
} TavmoClientFeccList;
TAVMO_CLIENT_SIZE(TavmoClientFeccList, 9272, 9272);
TAVMO_CLIENT_OFFSET(TavmoClientFeccList, name, 6168, 6168);
TAVMO_CLIENT_OFFSET(TavmoClientFeccList, privacyMode, 9240, 9240);
TAVMO_CLIENT_OFFSET(TavmoClientFeccList, numberParticipants, 9264, 9264);
TAVMO_CLIENT_OFFSET(TavmoClientFeccList, feccParticipantIndex, 9268, 9268);

/* The encode resolution record is a TavmoClientVideoRect. */

typedef struct TavmoClientFrameRates {
    uint32_t captureFrameRate;
    uint32_t encodeFrameRate;
    uint32_t sendFrameRate;
} TavmoClientFrameRates;
TAVMO_CLIENT_SIZE(TavmoClientFrameRates, 12, 12);

typedef struct TavmoClientMediaCounters {
    uint32_t numIFrames;
    uint32_t numFirs;
    uint32_t numNacks;
    uint32_t mediaRTT;
} TavmoClientMediaCounters;
TAVMO_CLIENT_SIZE(TavmoClientMediaCounters, 16, 16);

typedef struct TavmoClientRateShaper {
    uint32_t delayVideoPriorityNormal;
    uint32_t numPacketsVideoPriorityNormal;
    uint32_t numFramesVideoPriorityNormal;
    uint32_t numDroppedVideoPriorityNormal;
    uint32_t delayVideoPriorityRetransmit;
    uint32_t numPacketsVideoPriorityRetransmit;
    uint32_t numFramesVideoPriorityRetransmit;
    uint32_t numDroppedVideoPriorityRetransmit;
    uint32_t delayAppPriorityNormal;
    uint32_t numPacketsAppPriorityNormal;
    uint32_t numFramesAppPriorityNormal;
    uint32_t numDroppedAppPriorityNormal;
    uint32_t delayAppPriorityRetransmit;
    uint32_t numPacketsAppPriorityRetransmit;
    uint32_t numFramesAppPriorityRetransmit;
    uint32_t numDroppedAppPriorityRetransmit;
} TavmoClientRateShaper;
TAVMO_CLIENT_SIZE(TavmoClientRateShaper, 64, 64);
TAVMO_CLIENT_OFFSET(TavmoClientRateShaper, numPacketsAppPriorityNormal, 36, 36);

typedef struct TavmoClientBandwidth {
    uint32_t availSendBwVideo;
    uint32_t availSendBwAudio;
    uint32_t availSendBwApplication;
    uint32_t availSendBwMax;
    uint32_t actualSendBwVideo;
    uint32_t actualSendBwAudio;
    uint32_t actualSendBwApplication;
    uint32_t actualSendBwMax;
    uint32_t availRecvBwVideo;
    uint32_t availRecvBwAudio;
    uint32_t availRecvBwApplication;
    uint32_t availRecvBwMax;
    uint32_t actualRecvBwVideo;
    uint32_t actualRecvBwAudio;
    uint32_t actualRecvBwApplication;
    uint32_t actualRecvBwMax;
} TavmoClientBandwidth;
TAVMO_CLIENT_SIZE(TavmoClientBandwidth, 64, 64);
TAVMO_CLIENT_OFFSET(TavmoClientBandwidth, actualSendBwMax, 28, 28);

typedef struct TavmoClientConnectivity {
    char serverAddress[192];
    char serverPort[8];
    signed char serverSecured;
    char vmIdentity[64];
    char userName[190];
    char portalAddress[128];
    char portalVersion[256];
    char locationTag[40];
    char tavmoProxyAddress[128];
    char tavmoProxyPort[8];
    signed char guestLogin;
    char clientExternalIPAddress[48];
    int32_t proxyType;
    char reverseProxyAddress[128];
    char reverseProxyPort[8];
} TavmoClientConnectivity;
TAVMO_CLIENT_SIZE(TavmoClientConnectivity, 1204, 1204);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, serverPort, 192, 192);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, serverSecured, 200, 200);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, vmIdentity, 201, 201);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, userName, 265, 265);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, portalAddress, 455, 455);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, portalVersion, 583, 583);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, locationTag, 839, 839);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, tavmoProxyAddress, 879, 879);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, tavmoProxyPort, 1007, 1007);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, guestLogin, 1015, 1015);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, clientExternalIPAddress, 1016, 1016);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, proxyType, 1064, 1064);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, reverseProxyAddress, 1068, 1068);
TAVMO_CLIENT_OFFSET(TavmoClientConnectivity, reverseProxyPort, 1196, 1196);

/* Inner record of the private layout request. */
typedef struct TavmoClientLayout {
    uint32_t layoutNumber;
    uint32_t participantsLimitManual;
    uint32_t participantsLimitRender;
    uint32_t participantsLimitSafe;
    uint32_t layoutWide;
} TavmoClientLayout;
TAVMO_CLIENT_SIZE(TavmoClientLayout, 20, 20);
/* What the private request's size field says for this record. */
#define TAVMO_CLIENT_LAYOUT_SIZE_FIELD 4

#endif
