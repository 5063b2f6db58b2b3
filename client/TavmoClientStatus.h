/*
 * Records of the status requests: one status item read from the library, or
 * one value set on it. Included by TavmoClient.h; needs its layout macros.
 */
#ifndef TAVMO_CLIENT_STATUS_H
#define TAVMO_CLIENT_STATUS_H

/* The single-value records: call state, volumes, bandwidth limits, participant
   count, CPU load, endpoint status. */
typedef struct TavmoClientInt32Value {
    int32_t value;
} TavmoClientInt32Value;
TAVMO_CLIENT_SIZE(TavmoClientInt32Value, 4, 4);

typedef struct TavmoClientUInt32Value {
    uint32_t value;
} TavmoClientUInt32Value;
TAVMO_CLIENT_SIZE(TavmoClientUInt32Value, 4, 4);

/* Mute states, proxy-settings validity, application sharing. */
typedef struct TavmoClientFlagValue {
    TavmoClientBool value;
} TavmoClientFlagValue;
TAVMO_CLIENT_SIZE(TavmoClientFlagValue, 1, 1);

/* Endpoint and login identifiers. */
typedef struct TavmoClientIdentifierRecord {
    char identifier[129];
} TavmoClientIdentifierRecord;
TAVMO_CLIENT_SIZE(TavmoClientIdentifierRecord, 129, 129);

typedef struct TavmoClientAudioEnergyRecord {
    int32_t rendererEnergy;
    int32_t capturerEnergy;
} TavmoClientAudioEnergyRecord;
TAVMO_CLIENT_SIZE(TavmoClientAudioEnergyRecord, 8, 8);
/* What the private request's size field says for this record. */
#define TAVMO_CLIENT_AUDIO_ENERGY_SIZE_FIELD 4

typedef struct TavmoClientParticipantNameRecord {
    int32_t index;
    TavmoClientBool found;
    char name[131];
} TavmoClientParticipantNameRecord;
TAVMO_CLIENT_SIZE(TavmoClientParticipantNameRecord, 136, 136);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantNameRecord, found, 4, 4);
TAVMO_CLIENT_OFFSET(TavmoClientParticipantNameRecord, name, 5, 5);

typedef struct TavmoClientLabelRecord {
    uint32_t reserved;
    char label[36];
} TavmoClientLabelRecord;
TAVMO_CLIENT_SIZE(TavmoClientLabelRecord, 40, 40);
TAVMO_CLIENT_OFFSET(TavmoClientLabelRecord, label, 4, 4);
/* The most label bytes the library takes; the rest of the field stays 0. */
#define TAVMO_CLIENT_LABEL_MAX_BYTES 33

typedef struct TavmoClientEchoRecommendationRecord {
    int32_t speakerIndex;
    int32_t microphoneIndex;
    TavmoClientBool disableEcho;
} TavmoClientEchoRecommendationRecord;
TAVMO_CLIENT_SIZE(TavmoClientEchoRecommendationRecord, 12, 12);
TAVMO_CLIENT_OFFSET(TavmoClientEchoRecommendationRecord, disableEcho, 8, 8);

typedef struct TavmoClientRecommendedDeviceRecord {
    int32_t deviceType;
    int32_t deviceIndex;
    TavmoClientBool recommended;
} TavmoClientRecommendedDeviceRecord;
TAVMO_CLIENT_SIZE(TavmoClientRecommendedDeviceRecord, 12, 12);
TAVMO_CLIENT_OFFSET(TavmoClientRecommendedDeviceRecord, recommended, 8, 8);

typedef struct TavmoClientCurrentUserRecord {
    char userId[128];
    char displayName[742];
} TavmoClientCurrentUserRecord;
TAVMO_CLIENT_SIZE(TavmoClientCurrentUserRecord, 870, 870);
TAVMO_CLIENT_OFFSET(TavmoClientCurrentUserRecord, displayName, 128, 128);

typedef struct TavmoClientParticipantsLimitRecord {
    uint32_t bandwidthLimited;
    uint32_t cpuLimited;
    uint32_t userLimited;
} TavmoClientParticipantsLimitRecord;
TAVMO_CLIENT_SIZE(TavmoClientParticipantsLimitRecord, 12, 12);

typedef struct TavmoClientInvitingUserRecord {
    char invitingUser[64];
} TavmoClientInvitingUserRecord;
TAVMO_CLIENT_SIZE(TavmoClientInvitingUserRecord, 64, 64);

typedef struct TavmoClientRouterRecord {
    char routerAddress[128];
} TavmoClientRouterRecord;
TAVMO_CLIENT_SIZE(TavmoClientRouterRecord, 128, 128);

typedef struct TavmoClientSessionDisplayRecord {
    int32_t context;
    char text[384];
} TavmoClientSessionDisplayRecord;
TAVMO_CLIENT_SIZE(TavmoClientSessionDisplayRecord, 388, 388);
TAVMO_CLIENT_OFFSET(TavmoClientSessionDisplayRecord, text, 4, 4);

typedef struct TavmoClientConferenceInfoRecord {
    TavmoClientBool recording;
    TavmoClientBool webcasting;
} TavmoClientConferenceInfoRecord;
TAVMO_CLIENT_SIZE(TavmoClientConferenceInfoRecord, 2, 2);

typedef struct TavmoClientPreviewModeRecord {
    int32_t mode;
    int32_t reserved;
} TavmoClientPreviewModeRecord;
TAVMO_CLIENT_SIZE(TavmoClientPreviewModeRecord, 8, 8);

typedef struct TavmoClientWebProxyCredentialsRecord {
    TavmoClientBool persist;
    char userName[64];
    char password[64];
} TavmoClientWebProxyCredentialsRecord;
TAVMO_CLIENT_SIZE(TavmoClientWebProxyCredentialsRecord, 129, 129);
TAVMO_CLIENT_OFFSET(TavmoClientWebProxyCredentialsRecord, userName, 1, 1);
TAVMO_CLIENT_OFFSET(TavmoClientWebProxyCredentialsRecord, password, 65, 65);

#endif
