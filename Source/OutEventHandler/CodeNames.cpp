#include "OutEventHandler/CodeNames.h"

#include <iterator>

namespace {

// Indexed by code - 1001; an empty name is a code the portal does not use.
constexpr const char* kResultNamesFrom1001[] = {
    "Failure",
    "",
    "",
    "WrongPIN",
    "ConferenceLocked",
    "RoomDisabled",
    "GeneralFault",
    "InvalidArgumentFault",
    "MemberNotOnline",
    "NotOwnerOfRoom",
    "UserNotFound",
    "UnexpectedSubelementInMessage",
    "EndpointNotFound",
    "FailedPlaceDirectCall",
    "IpcJoinFailure",
    "AllLinesInUse",
    "ResourceNotAvailable",
    "AccessRestricted",
    "UserNotBound",
    "CannotJoinGuest",
    "RoomIsFull",
    "PortalPrefixIsNotConfigured",
    "ControlMeetingFailed",
    "InvalidExtension",
    "InvalidParameters",
    "InvalidRoom",
};

constexpr const char* kFaultNames[] = {
    "None",
    "InvalidArgument",
    "",
    "General",
    "ConferenceLocked",
    "",
    "WrongPin",
    "ResourcesNotAvailable",
    "AccessRestricted",
    "UserNotBound",
    "RoomIsFull",
    "PortalPrefixNotConfigured",
    "ControlMeetingFailed",
};

constexpr const char* kMessageTypeNames[] = {
    "ChangesToAudioVideoDevices",
    "CannotDetermineLogPath",
    "CannotDetermineInstalledPath",
    "CannotWriteLogFile",
    "InitError",
    "InitErrorTavmoSdkBase",
    "InitErrorFrameworkLog",
    "InitErrorTavmoDesktopLog",
    "InitErrorTavmoproxyLog",
    "InitErrorSdkClient",
    "InitErrorConstructionVdLogic",
    "InitErrorStartVdLogic",
    "InitErrorVdHelperConstruct",
    "InitErrorVdHelperStart",
    "InitErrorConstructionStringTranslationTable",
    "InitErrorSse2CheckFailed",
    "TaskbarIconError",
    "ConfStatusHotkey",
    "AudioDebugHotkey",
    "LogSettingsHotkey",
    "AppServerCommError",
    "ProtocolVersionError",
    "InvaliduserError",
    "InvalidmacError",
    "UserinconfError",
    "InvalidconfError",
    "MaxportsError",
    "LockedconfError",
    "NorouterError",
    "ConfmaxusersError",
    "MaxdesktopsError",
    "OfflinecallerError",
    "OfflinecalleeError",
    "InternalError",
    "StartVideoInternalError",
    "StartAudioInternalError",
    "ContactUserInternalError",
    "UserNoAnswer",
    "RouterRejectJoinError",
    "OtherPartyHangup",
    "NoCamera",
    "NoMicrophone",
    "JoinInternalError",
    "NoSpeakers",
    "CompleteCallInternalError",
    "JoinError",
    "CallerCancelled",
    "CalleeDeclined",
    "LoggedInElsewhereError",
    "NotLoggedInError",
    "InCallError",
    "InCallOrConferenceError",
    "UnexpectedError",
    "CallInternalError",
    "SigninInternalError",
    "AcceptInternalError",
    "IgnoreInternalError",
    "RestartVideoInternalError",
    "LockInternalError",
    "MissingValueFOptionError",
    "MissingValueLOptionError",
    "MissingValueLsOptionError",
    "RangeLsOptionError",
    "MissingValueChOptionError",
    "RangeChOptionError",
    "MissingValueCwOptionError",
    "RangeCwOptionError",
    "MissingValueLpOptionError",
    "RangeLpOptionError",
    "MissingValueMdOptionError",
    "RangeMdOptionError",
    "MissingValuePOptionError",
    "MissingValueSOptionError",
    "MissingValueUOptionError",
    "DirectXDisabledError",
    "NoDirectXError",
    "NoMacAddrError",
    "DisconnectedFromConference",
    "ConnectionToServerLost",
    "HeartbeatFailed",
    "Disconnected",
    "HttpResponseCode",
    "HttpResponse407",
    "InvitationTimedOut",
    "ProxyConnectError",
    "CouldntResolveProxy",
    "QueueInternalError",
    "",
    "LoggedOutByServer",
    "NetworkConnectivity",
    "CallTimedOut",
    "WebProxyError",
    "",
    "",
    "CheckUpdatesNormalMsg",
    "SelectedDeviceLostMsg",
    "DeviceSelectionChangedMsg",
    "AudioEchoCouplingWarning",
    "DiagnosticsReportGenerated",
    "TooFrequentStartVideoIgnored",
    "TooFrequentStopVideoIgnored",
    "BadStunServer",
    "NoNwInterfaces",
    "FailedOpenMediaConnection",
    "UnknownMessage",
    "NoMessage",
};

constexpr const char* kCallStateNames[] = {"Idle", "Ringing", "Calling", "Joining", "InConference", "Disconnecting"};

constexpr const char* kDeviceTypeNamesFrom1[] = {"AudioOut", "AudioIn", "Video", "RingTone"};

template <std::size_t Size>
const char* lookUp(const char* const (&table)[Size], uint32_t index) {
    return index < Size && *table[index] ? table[index] : nullptr;
}

std::string nameOr(const char* name, const char* fallback) { return name ? name : fallback; }

}  // namespace

std::string resultName(int32_t code) {
    if (code == 500) return "RequestedServiceNotImplemented";
    if (code == 1000) return "Success";
    const char* name = code > 1000 ? lookUp(kResultNamesFrom1001, static_cast<uint32_t>(code - 1001)) : nullptr;
    return nameOr(name, "UnknownErrorValue");
}

std::string faultName(uint32_t code) { return nameOr(lookUp(kFaultNames, code), "None"); }

std::string messageTypeName(uint32_t code) { return nameOr(lookUp(kMessageTypeNames, code), "UnknownMessage"); }

const char* callStateName(int32_t state) { return lookUp(kCallStateNames, static_cast<uint32_t>(state)); }

const char* deviceTypeName(int32_t type) {
    return type >= 1 ? lookUp(kDeviceTypeNamesFrom1, static_cast<uint32_t>(type - 1)) : nullptr;
}
