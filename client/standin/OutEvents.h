// The out-events the simulated client raises, named by what they tell in the
// stand-in; the codes are the library header's.
#pragma once

#include <cstdint>

#include "TavmoClient.h"

namespace standin::out {

inline constexpr int32_t kLoginCancelled = TAVMO_CLIENT_OUT_EVENT_LOGIN_CANCELLED;
inline constexpr int32_t kLayoutChanged = TAVMO_CLIENT_OUT_EVENT_LAYOUT_CHANGED;
inline constexpr int32_t kJoinProgress = TAVMO_CLIENT_OUT_EVENT_JOIN_PROGRESS;
inline constexpr int32_t kInvitationOver = TAVMO_CLIENT_OUT_EVENT_INVITATION_OVER;
inline constexpr int32_t kConferenceActive = TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE;
inline constexpr int32_t kParticipantCount = TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_COUNT;
inline constexpr int32_t kSourceAdded = TAVMO_CLIENT_OUT_EVENT_SOURCE_ADDED;
inline constexpr int32_t kSourceRemoved = TAVMO_CLIENT_OUT_EVENT_SOURCE_REMOVED;
inline constexpr int32_t kInvitation = TAVMO_CLIENT_OUT_EVENT_INVITATION;
inline constexpr int32_t kPreviewModeChanged = TAVMO_CLIENT_OUT_EVENT_PREVIEW_MODE;
inline constexpr int32_t kServerMutedAudio = TAVMO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN;
inline constexpr int32_t kInvitationUri = TAVMO_CLIENT_OUT_EVENT_DELAYED_URI;
inline constexpr int32_t kJoinedUri = TAVMO_CLIENT_OUT_EVENT_JOINED_URI;
inline constexpr int32_t kVideoAreaSize = TAVMO_CLIENT_OUT_EVENT_VIDEO_AREA_SIZE;
inline constexpr int32_t kLimits = TAVMO_CLIENT_OUT_EVENT_LIMITS;
inline constexpr int32_t kKeyDown = TAVMO_CLIENT_OUT_EVENT_KEY_DOWN;
inline constexpr int32_t kKeyUp = TAVMO_CLIENT_OUT_EVENT_KEY_UP;
inline constexpr int32_t kMouseDown = TAVMO_CLIENT_OUT_EVENT_MOUSE_DOWN;
inline constexpr int32_t kMouseUp = TAVMO_CLIENT_OUT_EVENT_MOUSE_UP;
inline constexpr int32_t kMouseMove = TAVMO_CLIENT_OUT_EVENT_MOUSE_MOVE;
inline constexpr int32_t kMouseWheel = TAVMO_CLIENT_OUT_EVENT_MOUSE_WHEEL;
inline constexpr int32_t kControlledWindow = TAVMO_CLIENT_OUT_EVENT_CONTROLLED_WINDOW;
inline constexpr int32_t kParticipantsShown = TAVMO_CLIENT_OUT_EVENT_PARTICIPANTS_SHOWN;
inline constexpr int32_t kCameraControlCommand = TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_COMMAND;
inline constexpr int32_t kParticipantVideoMode = TAVMO_CLIENT_OUT_EVENT_PARTICIPANT_VIDEO_MODE;
inline constexpr int32_t kInEventStatus = TAVMO_CLIENT_OUT_EVENT_IN_EVENT_STATUS;
inline constexpr int32_t kCameraControlStatus = TAVMO_CLIENT_OUT_EVENT_CAMERA_CONTROL_STATUS;
inline constexpr int32_t kMediaCommand = TAVMO_CLIENT_OUT_EVENT_MEDIA_COMMAND;
inline constexpr int32_t kInstallerInformation = TAVMO_CLIENT_OUT_EVENT_INSTALLER_INFORMATION;
inline constexpr int32_t kGroupChat = TAVMO_CLIENT_OUT_EVENT_CHAT_MESSAGE;
inline constexpr int32_t kPrivateChat = TAVMO_CLIENT_OUT_EVENT_PRIVATE_CHAT_MESSAGE;
inline constexpr int32_t kPortalPrefix = TAVMO_CLIENT_OUT_EVENT_PORTAL_PREFIX;
inline constexpr int32_t kCpuUsage = TAVMO_CLIENT_OUT_EVENT_CPU_USAGE;
inline constexpr int32_t kStage = TAVMO_CLIENT_OUT_EVENT_STAGE;
inline constexpr int32_t kPresenter = TAVMO_CLIENT_OUT_EVENT_PRESENTER;
inline constexpr int32_t kAudioFrame = TAVMO_CLIENT_OUT_EVENT_AUDIO_FRAME;
inline constexpr int32_t kVideoFrame = TAVMO_CLIENT_OUT_EVENT_VIDEO_FRAME;
inline constexpr int32_t kRoomSettingsResult = TAVMO_CLIENT_OUT_EVENT_ROOM_SETTINGS_RESULT;
inline constexpr int32_t kControlResult = TAVMO_CLIENT_OUT_EVENT_CONTROL_RESULT;
inline constexpr int32_t kNetworkInterfaces = TAVMO_CLIENT_OUT_EVENT_NETWORK_INTERFACES;

inline constexpr int32_t kOffline = TAVMO_CLIENT_PRIVATE_OUT_EVENT_OFFLINE;
inline constexpr int32_t kOnline = TAVMO_CLIENT_PRIVATE_OUT_EVENT_ONLINE;
inline constexpr int32_t kWebProxy = TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY;
inline constexpr int32_t kWebProxyNeedsCredentials = TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_NEEDS_CREDENTIALS;
inline constexpr int32_t kWebProxyCredentialsUsed = TAVMO_CLIENT_PRIVATE_OUT_EVENT_WEB_PROXY_CREDENTIALS_USED;
inline constexpr int32_t kNotice = TAVMO_CLIENT_PRIVATE_OUT_EVENT_NOTICE;
inline constexpr int32_t kRoomKey = TAVMO_CLIENT_PRIVATE_OUT_EVENT_ROOM_KEY;
inline constexpr int32_t kTokenStatus = TAVMO_CLIENT_PRIVATE_OUT_EVENT_TOKEN_STATUS;
inline constexpr int32_t kSignedOff = TAVMO_CLIENT_PRIVATE_OUT_EVENT_SIGNED_OFF;
inline constexpr int32_t kLoginNotice = TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_NOTICE;
inline constexpr int32_t kLoginRefused = TAVMO_CLIENT_PRIVATE_OUT_EVENT_LOGIN_REFUSED;

}  // namespace standin::out
