#include "PortalAnswers.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "RecordText.h"
#include "SimulatedConference.h"

namespace standin {
namespace portal {
namespace {

constexpr uint32_t kHttpOk = 200;
constexpr int32_t kMemberEntity = 1;
constexpr int32_t kOnline = 1;
constexpr int32_t kRoomActive = 1;
constexpr const char* kTenant = "standin";
constexpr const char* kPortalVersion = "StandIn Portal 1.0";

TavmoClientPortalHeader header(Type type, uint32_t requestId = 0) {
    TavmoClientPortalHeader head{};
    head.typeRequest = type;
    head.httpStatusCode = kHttpOk;
    head.requestId = requestId;
    return head;
}

TavmoClientEntity entityOf(const Account& account) {
    TavmoClientEntity entity{};
    setText(entity.entityID, account.entityId);
    entity.entityType = kMemberEntity;
    setText(entity.ownerID, account.entityId);
    setText(entity.displayName, account.displayName);
    setText(entity.extension, account.extension);
    setText(entity.emailAddress, account.email);
    setText(entity.tenant, kTenant);
    setText(entity.language, "en");
    entity.memberStatus = kOnline;
    entity.canCallDirect = 1;
    entity.canJoinMeeting = 1;
    entity.roomStatus = kRoomActive;
    setText(entity.roomURL, std::string(kRoomUrl) + "?ext=" + account.extension);
    entity.canControl = 1;
    entity.audio = 1;
    entity.video = 1;
    entity.appShare = 1;
    return entity;
}

TavmoClientParticipant participantRecord(std::size_t who) {
    TavmoClientParticipant participant{};
    participant.account = entityOf(participantAccount(who));
    setText(participant.uri, kConferenceParticipants[who].uri);
    return participant;
}

template <typename Entry>
void append(Block& block, const Entry& entry) {
    const Block bytes = blockOf(entry);
    block.insert(block.end(), bytes.begin(), bytes.end());
}

}  // namespace

Account userAccount(std::string_view userName) {
    return Account{kUserEntityId, userName.empty() ? kUserDisplayName : std::string(userName), kUserId, "4100"};
}

Account participantAccount(std::size_t participant) {
    const SimulatedParticipant& who = kConferenceParticipants[participant];
    return Account{who.entityId, who.name, who.uri, who.extension};
}

Block typeOnly(Type type) { return blockOf(header(type)); }

Block withResult(Type type, uint32_t result) {
    TavmoClientPortalResultAnswer answer{};
    answer.header = header(type);
    answer.result = result;
    return blockOf(answer);
}

Block withServerResult(Type type, uint32_t result) {
    TavmoClientPortalServerResultAnswer answer{};
    answer.header = header(type);
    answer.result = result;
    return blockOf(answer);
}

Block joined(Type type, uint32_t result, uint32_t fault) {
    TavmoClientPortalJoinAnswer answer{};
    answer.header = header(type);
    answer.result = result;
    answer.fault = fault;
    return blockOf(answer);
}

Block withText(Type type, std::string_view text) {
    TavmoClientPortalTextAnswer answer{};
    answer.header = header(type);
    answer.result = kSuccess;
    setText(answer.text, text);
    return blockOf(answer);
}

Block withUrl(Type type, std::string_view url, bool hasPin) {
    TavmoClientPortalUrlAnswer answer{};
    answer.header = header(type);
    answer.result = kSuccess;
    setText(answer.url, url);
    answer.hasPin = hasPin ? 1 : 0;
    return blockOf(answer);
}

Block withAccount(Type type, const Account& account) {
    TavmoClientPortalAccountAnswer answer{};
    answer.header = header(type);
    answer.result = kSuccess;
    answer.account = entityOf(account);
    return blockOf(answer);
}

Block clientVersion(std::string_view currentTag, std::string_view installerUri) {
    TavmoClientPortalClientVersionAnswer answer{};
    answer.header = header(kClientVersion);
    setText(answer.currentTag, currentTag);
    setText(answer.installerUri, installerUri);
    return blockOf(answer);
}

Block fileDownload(std::string_view installerPath) {
    constexpr int32_t kDownloaded = 2;
    constexpr double kComplete = 100.0;
    TavmoClientPortalFileDownloadAnswer answer{};
    answer.header = header(kFileDownload);
    answer.stateDownload = kDownloaded;
    std::memcpy(answer.progrDownload, &kComplete, sizeof kComplete);
    const std::size_t length = std::min(installerPath.size(), std::size(answer.installerPathW) - 1);
    for (std::size_t i = 0; i < length; ++i) answer.installerPathW[i] = static_cast<unsigned char>(installerPath[i]);
    return blockOf(answer);
}

Block browserAccessKey(std::string_view key) {
    TavmoClientPortalAccessKeyAnswer answer{};
    answer.header = header(kBrowserAccessKey);
    setText(answer.accessKey, key);
    return blockOf(answer);
}

Block search(const std::vector<Account>& accounts) {
    TavmoClientPortalSearchAnswer answer{};
    answer.header = header(kSearch);
    answer.total = static_cast<uint32_t>(accounts.size());
    answer.numEntries = answer.total;
    Block block = blockOf(answer);
    for (const Account& account : accounts) append(block, entityOf(account));
    return block;
}

Block participants(Type type, const std::vector<std::size_t>& present) {
    const std::size_t listed = type == kGetParticipants ? std::min<std::size_t>(1, present.size()) : present.size();
    TavmoClientPortalParticipantsAnswer answer{};
    answer.header = header(type);
    answer.total = static_cast<uint32_t>(present.size());
    answer.result = kSuccess;
    answer.numEntries = static_cast<int32_t>(listed);
    Block block = blockOf(answer);
    for (std::size_t i = 0; i < listed; ++i) append(block, participantRecord(present[i]));
    return block;
}

Block scheduledRoom() {
    auto answer = std::make_unique<TavmoClientPortalScheduledRoomAnswer>();
    answer->header = header(kCreateScheduledRoom);
    answer->result = kSuccess;
    setText(answer->roomExtn, "4199");
    setText(answer->roomPin, "2468");
    setText(answer->invite, std::string("Join the scheduled meeting: ") + kRoomUrl + "?ext=4199");
    setText(answer->subject, "Scheduled meeting");
    setText(answer->roomURL, std::string(kRoomUrl) + "?ext=4199");
    return blockOf(*answer);
}

Block inviteContent() {
    auto answer = std::make_unique<TavmoClientPortalInviteAnswer>();
    answer->header = header(kGetInviteContent);
    answer->result = kSuccess;
    setText(answer->invite, std::string("Join me in ") + kRoomName + ": " + kRoomUrl);
    setText(answer->subject, std::string("Invitation to ") + kRoomName);
    return blockOf(*answer);
}

Block features(Type type, const std::vector<TavmoClientFeatureStatus>& list) {
    TavmoClientPortalFeaturesAnswer answer{};
    answer.header = header(type);
    answer.result = kSuccess;
    answer.featureCount = static_cast<int32_t>(list.size());
    Block block = blockOf(answer);
    for (const TavmoClientFeatureStatus& feature : list) append(block, feature);
    return block;
}

Block loginBanner(std::string_view userName) {
    const TavmoClientLoginHistoryEntry history[] = {
        {"Success", "203.0.113.24", "2026-12-07 08:12:40"},
        {"WrongPassword", "203.0.113.24", "2026-12-07 08:12:02"},
    };
    auto answer = std::make_unique<TavmoClientPortalBannerAnswer>();
    answer->header = header(kLoginBanner);
    setText(answer->loginBanner, "This portal is a simulation for testing.");
    setText(answer->welcomeBanner, "Welcome, " + std::string(userName) + ".");
    setText(answer->passwordExpiration, "2027-12-31");
    answer->numEntries = static_cast<int32_t>(std::size(history));
    answer->result = kSuccess;
    Block block = blockOf(*answer);
    for (const auto& entry : history) append(block, entry);
    return block;
}

Block roomAccessOptions() {
    TavmoClientPortalRoomAccessAnswer answer{};
    answer.header = header(kRoomAccessOptions);
    answer.result = kSuccess;
    answer.accessOptionCount = 2;
    setText(answer.roomURL, kRoomUrl);
    setText(answer.extension, "4100");
    setText(answer.dialInNumber, "+1 555 0100");
    return blockOf(answer);
}

Block recordingId() {
    TavmoClientPortalRecordingAnswer answer{};
    answer.header = header(kRecordingId);
    answer.result = kSuccess;
    answer.recorderID = 7;
    setText(answer.recorderName, "Stand-in Recorder");
    return blockOf(answer);
}

Block recordingPrefixes() {
    const TavmoClientRecordingPrefix prefixes[] = {{"rec", "Recording"}, {"cast", "Recording and webcast"}};
    TavmoClientPortalRecordingPrefixesAnswer answer{};
    answer.header = header(kRecordingPrefixes);
    answer.result = kSuccess;
    answer.profileCount = static_cast<int32_t>(std::size(prefixes));
    Block block = blockOf(answer);
    for (const auto& prefix : prefixes) append(block, prefix);
    return block;
}

Block guestLink(const GuestLink& link) {
    TavmoClientPortalGuestLinkAnswer answer{};
    answer.header = header(kGuestLink, link.requestId);
    if (!link.found) {
        answer.result = static_cast<int32_t>(kInvalidRoom);
        answer.fault = kInvalidArgumentFault;
        return blockOf(answer);
    }
    answer.guestID = 1;
    answer.hasPin = link.hasPin ? 1 : 0;
    setText(answer.vmaddress, kVideoServer);
    setText(answer.loctag, "default");
    setText(answer.un, link.guestName);
    setText(answer.portal, link.portalUri);
    setText(answer.portalVersion, kPortalVersion);
    setText(answer.clientExternalIPAddress, "203.0.113.24");
    answer.result = static_cast<int32_t>(kSuccess);
    answer.fault = kNoFault;
    return blockOf(answer);
}

}  // namespace portal
}  // namespace standin
