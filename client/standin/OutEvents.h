// The out-events the simulated client raises, named by what they tell in the
// stand-in. Codes the library's header names are used from there.
#pragma once

#include <cstdint>

namespace standin::out {

inline constexpr int32_t kLoginCancelled = 400;
inline constexpr int32_t kLayoutChanged = 901;
inline constexpr int32_t kJoinProgress = 700;
inline constexpr int32_t kInvitationOver = 1100;
inline constexpr int32_t kConferenceActive = 1201;
inline constexpr int32_t kParticipantCount = 1202;
inline constexpr int32_t kSourceAdded = 1210;
inline constexpr int32_t kSourceRemoved = 1211;
inline constexpr int32_t kInvitation = 1300;
inline constexpr int32_t kPreviewModeChanged = 1400;
inline constexpr int32_t kServerMutedAudio = 1503;
inline constexpr int32_t kInvitationUri = 1600;
inline constexpr int32_t kJoinedUri = 1601;
inline constexpr int32_t kVideoAreaSize = 1700;
inline constexpr int32_t kLimits = 1800;
inline constexpr int32_t kKeyDown = 2000;
inline constexpr int32_t kKeyUp = 2001;
inline constexpr int32_t kMouseDown = 2002;
inline constexpr int32_t kMouseUp = 2003;
inline constexpr int32_t kMouseMove = 2004;
inline constexpr int32_t kMouseWheel = 2005;
inline constexpr int32_t kControlledWindow = 2007;
inline constexpr int32_t kParticipantsShown = 2100;
inline constexpr int32_t kCameraControlCommand = 2101;
inline constexpr int32_t kParticipantVideoMode = 2102;
inline constexpr int32_t kInEventStatus = 2103;
inline constexpr int32_t kCameraControlStatus = 2104;
inline constexpr int32_t kMediaCommand = 2200;
inline constexpr int32_t kInstallerInformation = 2306;
inline constexpr int32_t kGroupChat = 2600;
inline constexpr int32_t kPrivateChat = 2601;
inline constexpr int32_t kPortalPrefix = 2710;
inline constexpr int32_t kCpuUsage = 2720;
inline constexpr int32_t kStage = 2800;
inline constexpr int32_t kPresenter = 2802;
inline constexpr int32_t kAudioFrame = 2810;
inline constexpr int32_t kVideoFrame = 2811;
inline constexpr int32_t kRoomSettingsResult = 2820;
inline constexpr int32_t kControlResult = 2855;
inline constexpr int32_t kNetworkInterfaces = 2860;

inline constexpr int32_t kOffline = 200400;
inline constexpr int32_t kOnline = 200600;
inline constexpr int32_t kWebProxy = 201200;
inline constexpr int32_t kWebProxyNeedsCredentials = 201300;
inline constexpr int32_t kWebProxyCredentialsUsed = 201400;
inline constexpr int32_t kNotice = 201600;
inline constexpr int32_t kRoomKey = 201700;
inline constexpr int32_t kTokenStatus = 201900;
inline constexpr int32_t kSignedOff = 202000;
inline constexpr int32_t kLoginNotice = 202001;
inline constexpr int32_t kLoginRefused = 202002;

}  // namespace standin::out
