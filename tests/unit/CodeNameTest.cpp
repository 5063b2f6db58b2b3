#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "OutEventHandler/CodeNames.h"

namespace {

const std::map<int32_t, std::string> kResultNames = {
    {500, "RequestedServiceNotImplemented"},
    {1000, "Success"},
    {1001, "Failure"},
    {1004, "WrongPIN"},
    {1005, "ConferenceLocked"},
    {1006, "RoomDisabled"},
    {1007, "GeneralFault"},
    {1008, "InvalidArgumentFault"},
    {1009, "MemberNotOnline"},
    {1010, "NotOwnerOfRoom"},
    {1011, "UserNotFound"},
    {1012, "UnexpectedSubelementInMessage"},
    {1013, "EndpointNotFound"},
    {1014, "FailedPlaceDirectCall"},
    {1015, "IpcJoinFailure"},
    {1016, "AllLinesInUse"},
    {1017, "ResourceNotAvailable"},
    {1018, "AccessRestricted"},
    {1019, "UserNotBound"},
    {1020, "CannotJoinGuest"},
    {1021, "RoomIsFull"},
    {1022, "PortalPrefixIsNotConfigured"},
    {1023, "ControlMeetingFailed"},
    {1024, "InvalidExtension"},
    {1025, "InvalidParameters"},
    {1026, "InvalidRoom"},
};

const std::map<uint32_t, std::string> kFaultNames = {
    {0, "None"},
    {1, "InvalidArgument"},
    {3, "General"},
    {4, "ConferenceLocked"},
    {6, "WrongPin"},
    {7, "ResourcesNotAvailable"},
    {8, "AccessRestricted"},
    {9, "UserNotBound"},
    {10, "RoomIsFull"},
    {11, "PortalPrefixNotConfigured"},
    {12, "ControlMeetingFailed"},
};

const std::map<uint32_t, std::string> kMessageTypeNames = {
    {0, "ChangesToAudioVideoDevices"},
    {1, "CannotDetermineLogPath"},
    {2, "CannotDetermineInstalledPath"},
    {3, "CannotWriteLogFile"},
    {4, "InitError"},
    {5, "InitErrorTavmoSdkBase"},
    {6, "InitErrorFrameworkLog"},
    {7, "InitErrorTavmoDesktopLog"},
    {8, "InitErrorTavmoproxyLog"},
    {9, "InitErrorSdkClient"},
    {10, "InitErrorConstructionVdLogic"},
    {11, "InitErrorStartVdLogic"},
    {12, "InitErrorVdHelperConstruct"},
    {13, "InitErrorVdHelperStart"},
    {14, "InitErrorConstructionStringTranslationTable"},
    {15, "InitErrorSse2CheckFailed"},
    {16, "TaskbarIconError"},
    {17, "ConfStatusHotkey"},
    {18, "AudioDebugHotkey"},
    {19, "LogSettingsHotkey"},
    {20, "AppServerCommError"},
    {21, "ProtocolVersionError"},
    {22, "InvaliduserError"},
    {23, "InvalidmacError"},
    {24, "UserinconfError"},
    {25, "InvalidconfError"},
    {26, "MaxportsError"},
    {27, "LockedconfError"},
    {28, "NorouterError"},
    {29, "ConfmaxusersError"},
    {30, "MaxdesktopsError"},
    {31, "OfflinecallerError"},
    {32, "OfflinecalleeError"},
    {33, "InternalError"},
    {34, "StartVideoInternalError"},
    {35, "StartAudioInternalError"},
    {36, "ContactUserInternalError"},
    {37, "UserNoAnswer"},
    {38, "RouterRejectJoinError"},
    {39, "OtherPartyHangup"},
    {40, "NoCamera"},
    {41, "NoMicrophone"},
    {42, "JoinInternalError"},
    {43, "NoSpeakers"},
    {44, "CompleteCallInternalError"},
    {45, "JoinError"},
    {46, "CallerCancelled"},
    {47, "CalleeDeclined"},
    {48, "LoggedInElsewhereError"},
    {49, "NotLoggedInError"},
    {50, "InCallError"},
    {51, "InCallOrConferenceError"},
    {52, "UnexpectedError"},
    {53, "CallInternalError"},
    {54, "SigninInternalError"},
    {55, "AcceptInternalError"},
    {56, "IgnoreInternalError"},
    {57, "RestartVideoInternalError"},
    {58, "LockInternalError"},
    {59, "MissingValueFOptionError"},
    {60, "MissingValueLOptionError"},
    {61, "MissingValueLsOptionError"},
    {62, "RangeLsOptionError"},
    {63, "MissingValueChOptionError"},
    {64, "RangeChOptionError"},
    {65, "MissingValueCwOptionError"},
    {66, "RangeCwOptionError"},
    {67, "MissingValueLpOptionError"},
    {68, "RangeLpOptionError"},
    {69, "MissingValueMdOptionError"},
    {70, "RangeMdOptionError"},
    {71, "MissingValuePOptionError"},
    {72, "MissingValueSOptionError"},
    {73, "MissingValueUOptionError"},
    {74, "DirectXDisabledError"},
    {75, "NoDirectXError"},
    {76, "NoMacAddrError"},
    {77, "DisconnectedFromConference"},
    {78, "ConnectionToServerLost"},
    {79, "HeartbeatFailed"},
    {80, "Disconnected"},
    {81, "HttpResponseCode"},
    {82, "HttpResponse407"},
    {83, "InvitationTimedOut"},
    {84, "ProxyConnectError"},
    {85, "CouldntResolveProxy"},
    {86, "QueueInternalError"},
    {88, "LoggedOutByServer"},
    {89, "NetworkConnectivity"},
    {90, "CallTimedOut"},
    {91, "WebProxyError"},
    {94, "CheckUpdatesNormalMsg"},
    {95, "SelectedDeviceLostMsg"},
    {96, "DeviceSelectionChangedMsg"},
    {97, "AudioEchoCouplingWarning"},
    {98, "DiagnosticsReportGenerated"},
    {99, "TooFrequentStartVideoIgnored"},
    {100, "TooFrequentStopVideoIgnored"},
    {101, "BadStunServer"},
    {102, "NoNwInterfaces"},
    {103, "FailedOpenMediaConnection"},
    {104, "UnknownMessage"},
    {105, "NoMessage"},
};

// Every code from below to above each table, so that a shifted entry or a
// gap filled with a neighbour's name shows.
TEST(CodeNames, ResultNamesCoverEveryCodeAroundTheTable) {
    for (int32_t code = 400; code <= 1100; ++code) {
        auto found = kResultNames.find(code);
        EXPECT_EQ(resultName(code), found == kResultNames.end() ? "UnknownErrorValue" : found->second) << code;
    }
}

TEST(CodeNames, FaultNamesCoverEveryCodeAroundTheTable) {
    for (uint32_t code = 0; code <= 20; ++code) {
        auto found = kFaultNames.find(code);
        EXPECT_EQ(faultName(code), found == kFaultNames.end() ? "None" : found->second) << code;
    }
}

TEST(CodeNames, MessageTypeNamesCoverEveryCodeAroundTheTable) {
    for (uint32_t code = 0; code <= 120; ++code) {
        auto found = kMessageTypeNames.find(code);
        EXPECT_EQ(messageTypeName(code), found == kMessageTypeNames.end() ? "UnknownMessage" : found->second) << code;
    }
}

struct EdgeCase {
    const char* what;
    std::string name;
    const char* expected;
};

class CodeNameEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(CodeNameEdges, HasItsName) { EXPECT_EQ(GetParam().name, GetParam().expected) << GetParam().what; }

INSTANTIATE_TEST_SUITE_P(Edges, CodeNameEdges,
                         ::testing::Values(EdgeCase{"result 999", resultName(999), "UnknownErrorValue"},
                                           EdgeCase{"result 1027", resultName(1027), "UnknownErrorValue"},
                                           EdgeCase{"result -1", resultName(-1), "UnknownErrorValue"},
                                           EdgeCase{"result lowest", resultName(INT32_MIN), "UnknownErrorValue"},
                                           EdgeCase{"result highest", resultName(INT32_MAX), "UnknownErrorValue"},
                                           EdgeCase{"fault 13", faultName(13), "None"},
                                           EdgeCase{"fault highest", faultName(UINT32_MAX), "None"},
                                           EdgeCase{"message 106", messageTypeName(106), "UnknownMessage"},
                                           EdgeCase{"message -1", messageTypeName(static_cast<uint32_t>(-1)),
                                                    "UnknownMessage"},
                                           EdgeCase{"message lowest", messageTypeName(0x80000000u), "UnknownMessage"}));

TEST(CodeNames, CallStatesHaveNamesOnlyFromIdleToDisconnecting) {
    const char* expected[] = {"Idle", "Ringing", "Calling", "Joining", "InConference", "Disconnecting"};
    for (int32_t state = 0; state < 6; ++state) EXPECT_STREQ(callStateName(state), expected[state]);
    for (int32_t state : {-1, 6, 9, INT32_MIN}) EXPECT_EQ(callStateName(state), nullptr) << state;
}

TEST(CodeNames, DeviceTypesHaveNamesOnlyFromOneToFour) {
    const char* expected[] = {"AudioOut", "AudioIn", "Video", "RingTone"};
    for (int32_t type = 1; type <= 4; ++type) EXPECT_STREQ(deviceTypeName(type), expected[type - 1]);
    for (int32_t type : {0, -1, 5, 7, INT32_MIN}) EXPECT_EQ(deviceTypeName(type), nullptr) << type;
}

}  // namespace
