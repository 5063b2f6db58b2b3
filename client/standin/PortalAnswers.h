// The portal's answers (out-event 200900) that the simulated client reports:
// each builds one record, headed by the answer's type, HTTP status 200 and the
// request id (0 for operations the library starts on its own).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RecordBytes.h"
#include "TavmoClient.h"

namespace standin {
namespace portal {

// Portal result and fault codes.
inline constexpr uint32_t kSuccess = 1000;
inline constexpr uint32_t kInvalidRoom = 1026;
inline constexpr uint32_t kNoFault = 0;
inline constexpr uint32_t kInvalidArgumentFault = 1;

// Answer types.
enum Type : uint32_t {
    kClientVersion = 1,
    kFileDownload = 2,
    kBrowserAccessKey = 4,
    kStartMyConference = 7,
    kSoapLogin = 8,
    kSoapLogOut = 9,
    kLinkEndpoint = 10,
    kSearch = 12,
    kMyAccount = 20,
    kGetParticipants = 24,
    kLockRoom = 30,
    kUnlockRoom = 32,
    kCreateScheduledRoom = 50,
    kGetInviteContent = 51,
    kGetConferenceId = 52,
    kPortalFeatures = 54,
    kPortalFeaturesAnonymous = 55,
    kGuestLink = TAVMO_CLIENT_PORTAL_GUEST_LINK,
    kJoinWithRoomKey = 58,
    kLoginBanner = 61,
    kModeratorUrl = 62,
    kRoomAccessOptions = 63,
    kStartRecording = 64,
    kRecordingId = 68,
    kRecordingPrefixes = 69,
    kPortalPrefix = 70,
    kGetParticipantsEx = 74,
    kControlAudioAll = 77,
    kPrivacyControlAll = 79,
};

struct Account {
    std::string entityId;
    std::string displayName;
    std::string email;
    std::string extension;
};

Account userAccount(std::string_view userName);
// A participant of the simulated conference, by index.
Account participantAccount(std::size_t participant);

Block typeOnly(Type type);
// The result at 16: a name or, for some types, a plain number to the page.
Block withResult(Type type, uint32_t result);
// The result at 20.
Block withServerResult(Type type, uint32_t result);
Block joined(Type type, uint32_t result, uint32_t fault);
Block withText(Type type, std::string_view text);
Block withUrl(Type type, std::string_view url, bool hasPin);
Block withAccount(Type type, const Account& account);

Block clientVersion(std::string_view currentTag, std::string_view installerUri);
Block fileDownload(std::string_view installerPath);
Block browserAccessKey(std::string_view key);
Block search(const std::vector<Account>& accounts);
// 24 carries the first participant only, 74 all of them.
Block participants(Type type, const std::vector<std::size_t>& present);
Block scheduledRoom();
Block inviteContent();
Block features(Type type, const std::vector<TavmoClientFeatureStatus>& list);
Block loginBanner(std::string_view userName);
Block roomAccessOptions();
Block recordingId();
Block recordingPrefixes();

struct GuestLink {
    uint32_t requestId = 0;
    bool found = false;
    bool hasPin = false;
    std::string guestName;
    std::string portalUri;
};
Block guestLink(const GuestLink& link);

}  // namespace portal
}  // namespace standin
