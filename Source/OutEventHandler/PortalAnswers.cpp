#include "OutEventHandler/PortalAnswers.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "OutEventHandler/CodeNames.h"
#include "OutEventHandler/EventValues.h"
#include "TavmoClient.h"
#include "Utf16.h"

namespace {

// Each answer's members after "type"; `key` names the one member whose key
// differs between answers of the same shape.
using Fill = void (*)(const EventBlock& block, Json::Value& params, const char* key);

// Account and search answers carry flags as integers and the room members in
// the entity itself; participant answers carry booleans and a room object.
enum class EntityForm { Flat, Nested };

Json::Value entityValue(const TavmoClientEntity& entity, EntityForm form) {
    auto flag = [form](signed char value) { return form == EntityForm::Flat ? intFlagValue(value) : boolValue(value); };
    Json::Value value;
    value["entityID"] = textValue(entity.entityID);
    value["participantID"] = textValue(entity.participantID);
    value["entityType"] = Json::Int(entity.entityType);
    value["ownerID"] = textValue(entity.ownerID);
    value["displayName"] = textValue(entity.displayName);
    value["extension"] = textValue(entity.extension);
    value["emailAddress"] = textValue(entity.emailAddress);
    value["tenant"] = textValue(entity.tenant);
    value["language"] = textValue(entity.language);
    value["memberStatus"] = Json::Int(entity.memberStatus);
    value["memberMode"] = Json::Int(entity.memberMode);
    value["canCallDirect"] = flag(entity.canCallDirect);
    value["canJoinMeeting"] = flag(entity.canJoinMeeting);
    value["roomStatus"] = Json::Int(entity.roomStatus);
    value["canControl"] = flag(entity.canControl);
    value["isInMyContacts"] = flag(entity.isInMyContacts);
    value["audio"] = flag(entity.audio);
    value["video"] = flag(entity.video);
    value["appShare"] = flag(entity.appShare);

    Json::Value& room = form == EntityForm::Flat ? value : value["roomMode"];
    room["roomURL"] = textValue(entity.roomURL);
    room["isRoomLocked"] = flag(entity.isRoomLocked);
    room["hasPIN"] = flag(entity.hasPIN);
    room["roomPIN"] = textValue(entity.roomPIN);
    room["hasModeratorPIN"] = flag(entity.hasModeratorPIN);
    room["moderatorPIN"] = textValue(entity.moderatorPIN);
    if (form == EntityForm::Flat) value["roomMode"] = Json::Value();
    return value;
}

Json::Value participantValue(const TavmoClientParticipant& participant) {
    Json::Value value;
    value["uri"] = textValue(participant.uri);
    value["isGuestParticipant"] = boolValue(participant.isGuestParticipant);
    value["account"] = entityValue(participant.account, EntityForm::Nested);
    return value;
}

Json::Value resultNameValue(uint32_t result) { return resultName(static_cast<int32_t>(result)); }

// Entries of `Entry` from `offset`, as many as `count` says and the block
// holds, each made a JSON value by `toValue`; [] when there are none.
template <typename Entry, typename ToValue>
Json::Value entryList(const EventBlock& block, int32_t count, std::size_t offset, ToValue toValue) {
    Json::Value list(Json::arrayValue);
    std::size_t fit = block.entriesThatFit<Entry>(count, offset);
    for (std::size_t i = 0; i < fit; ++i) list.append(toValue(block.entry<Entry>(offset, i)));
    return list;
}

void typeOnly(const EventBlock&, Json::Value&, const char*) {}

void namedResult(const EventBlock& block, Json::Value& params, const char*) {
    params["result"] = resultNameValue(block.read<TavmoClientPortalResultAnswer>().result);
}

void namedServerResult(const EventBlock& block, Json::Value& params, const char*) {
    params["result"] = resultNameValue(block.read<TavmoClientPortalServerResultAnswer>().result);
}

void plainResult(const EventBlock& block, Json::Value& params, const char*) {
    params["result"] = Json::Int(static_cast<int32_t>(block.read<TavmoClientPortalResultAnswer>().result));
}

void resultAndFault(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalJoinAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["fault"] = faultName(answer.fault);
}

void resultAndText(const EventBlock& block, Json::Value& params, const char* key) {
    auto answer = block.read<TavmoClientPortalTextAnswer>();
    params["result"] = resultNameValue(answer.result);
    params[key] = block.textFrom(offsetof(TavmoClientPortalTextAnswer, text));
}

void resultAndUrl(const EventBlock& block, Json::Value& params, const char* key) {
    auto answer = block.read<TavmoClientPortalUrlAnswer>();
    params["result"] = resultNameValue(answer.result);
    params[key] = textValue(answer.url);
    params["hasPin"] = boolValue(answer.hasPin);
}

void resultAndAccount(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalAccountAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["accountData"] = entityValue(answer.account, EntityForm::Flat);
}

void clientVersion(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalClientVersionAnswer>();
    params["userInitiated"] = boolValue(answer.userInitiated);
    params["currentTag"] = textValue(answer.currentTag);
    params["installerUri"] = block.textFrom(offsetof(TavmoClientPortalClientVersionAnswer, installerUri));
}

void fileDownload(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalFileDownloadAnswer>();
    double progress = 0;
    static_assert(sizeof progress == sizeof answer.progrDownload, "an IEEE double");
    std::memcpy(&progress, answer.progrDownload, sizeof progress);
    params["stateDownload"] = Json::Int(answer.stateDownload);
    params["progrDownload"] = progress;
    params["installerPathW"] =
        utf16ToUtf8(block.textFrom<char16_t>(offsetof(TavmoClientPortalFileDownloadAnswer, installerPathW)));
}

void accessKey(const EventBlock& block, Json::Value& params, const char*) {
    params["BAK"] = block.textFrom(offsetof(TavmoClientPortalAccessKeyAnswer, accessKey));
}

void search(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalSearchAnswer>();
    params["total"] = Json::UInt(answer.total);
    params["start"] = Json::UInt(answer.start);
    params["numEntries"] = Json::UInt(answer.numEntries);
    params["result"] = Json::Int(answer.result);
    params["accountData"] = entryList<TavmoClientEntity>(
        block, static_cast<int32_t>(answer.numEntries), sizeof answer,
        [](const TavmoClientEntity& entity) { return entityValue(entity, EntityForm::Flat); });
}

TavmoClientPortalParticipantsAnswer participantsHead(const EventBlock& block, Json::Value& params) {
    auto answer = block.read<TavmoClientPortalParticipantsAnswer>();
    params["total"] = Json::UInt(answer.total);
    params["start"] = Json::UInt(answer.start);
    params["result"] = resultNameValue(answer.result);
    params["numEntries"] = Json::Int(answer.numEntries);
    return answer;
}

void participant(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = participantsHead(block, params);
    params["participantData"] = participantValue(block.read<TavmoClientParticipant>(sizeof answer));
}

void participants(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = participantsHead(block, params);
    params["participantData"] =
        entryList<TavmoClientParticipant>(block, answer.numEntries, sizeof answer, participantValue);
}

void scheduledRoom(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalScheduledRoomAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["roomExtn"] = textValue(answer.roomExtn);
    params["roomPin"] = textValue(answer.roomPin);
    params["invite"] = textValue(answer.invite);
    params["subject"] = textValue(answer.subject);
    params["roomURL"] = block.textFrom(offsetof(TavmoClientPortalScheduledRoomAnswer, roomURL));
}

void inviteContent(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalInviteAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["invite"] = textValue(answer.invite);
    params["subject"] = block.textFrom(offsetof(TavmoClientPortalInviteAnswer, subject));
}

void portalFeatures(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalFeaturesAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["featureCount"] = Json::Int(answer.featureCount);
    params["features"] = entryList<TavmoClientFeatureStatus>(block, answer.featureCount, sizeof answer,
                                                             [](const TavmoClientFeatureStatus& feature) {
                                                                 Json::Value value;
                                                                 value["featureName"] = Json::Int(feature.featureName);
                                                                 value["isEnabled"] = intFlagValue(feature.isEnabled);
                                                                 return value;
                                                             });
}

void guestLink(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalGuestLinkAnswer>();
    params["guestID"] = Json::Int(answer.guestID);
    params["isLocked"] = boolValue(answer.isLocked);
    params["hasPin"] = boolValue(answer.hasPin);
    params["vmaddress"] = textValue(answer.vmaddress);
    params["proxyaddress"] = textValue(answer.proxyaddress);
    params["loctag"] = textValue(answer.loctag);
    params["un"] = textValue(answer.un);
    params["pak"] = textValue(answer.pak);
    params["portal"] = textValue(answer.portal);
    params["portalVersion"] = textValue(answer.portalVersion);
    params["proxyType"] = Json::Int(answer.proxyType);
    params["reverseProxyAddress"] = textValue(answer.reverseProxyAddress);
    params["clientExternalIPAddress"] = textValue(answer.clientExternalIPAddress);
    params["fault"] = faultName(answer.fault);
    params["result"] = Json::Int(answer.result);
}

void loginBanner(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalBannerAnswer>();
    params["loginBanner"] = textValue(answer.loginBanner);
    params["welcomeBanner"] = textValue(answer.welcomeBanner);
    params["passwordExpiration"] = textValue(answer.passwordExpiration);
    params["numEntries"] = Json::Int(answer.numEntries);
    params["result"] = resultNameValue(answer.result);
    params["loginHistory"] = entryList<TavmoClientLoginHistoryEntry>(
        block, answer.numEntries, sizeof answer, [](const TavmoClientLoginHistoryEntry& entry) {
            Json::Value value;
            value["result"] = textValue(entry.result);
            value["ipAddress"] = textValue(entry.ipAddress);
            value["timeOfResult"] = textValue(entry.timeOfResult);
            return value;
        });
}

void roomAccessOptions(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalRoomAccessAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["accessOptionCount"] = Json::Int(answer.accessOptionCount);
    params["roomURL"] = textValue(answer.roomURL);
    params["extension"] = textValue(answer.extension);
    params["pin"] = textValue(answer.pin);
    params["dialInNumber"] = block.textFrom(offsetof(TavmoClientPortalRoomAccessAnswer, dialInNumber));
}

void recordingId(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalRecordingAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["recorderID"] = Json::Int(answer.recorderID);
    params["recorderName"] = textValue(answer.recorderName);
    params["recorderPaused"] = boolValue(answer.recorderPaused);
    params["webCast"] = boolValue(answer.webCast);
}

// The page reads the prefixes under the same key as the login history.
void recordingPrefixes(const EventBlock& block, Json::Value& params, const char*) {
    auto answer = block.read<TavmoClientPortalRecordingPrefixesAnswer>();
    params["result"] = resultNameValue(answer.result);
    params["profileCount"] = Json::Int(answer.profileCount);
    params["loginHistory"] = entryList<TavmoClientRecordingPrefix>(
        block, answer.profileCount, sizeof answer, [](const TavmoClientRecordingPrefix& prefix) {
            Json::Value value;
            value["prefix"] = textValue(prefix.prefix);
            value["description"] = textValue(prefix.description);
            return value;
        });
}

struct PortalAnswer {
    uint32_t typeRequest;
    const char* type;
    Fill fill;
    const char* key;
};

constexpr PortalAnswer kPortalAnswers[] = {
    {1, "OutEventClientVersion", clientVersion, nullptr},
    {2, "OutEventFileDownload", fileDownload, nullptr},
    {4, "OutEventBrowserAccessKey", accessKey, nullptr},
    {5, "OutEventJoinConference", resultAndFault, nullptr},
    {6, "OutEventJoinConferenceByName", namedResult, nullptr},
    {7, "OutEventStartMyConference", namedResult, nullptr},
    {8, "OutEventSoapLogin", typeOnly, nullptr},
    {9, "OutEventSoapLogOut", namedResult, nullptr},
    {10, "OutEventLinkEndpoint", resultAndAccount, nullptr},
    {12, "OutEventSearch", search, nullptr},
    {13, "SearchByEntityId", typeOnly, nullptr},
    {14, "SearchByMyEntityId", typeOnly, nullptr},
    {15, "GetEntityByEntityId", typeOnly, nullptr},
    {16, "SearchMyContact", typeOnly, nullptr},
    {17, "SearchMyContactEntityId", typeOnly, nullptr},
    {18, "OutEventDirectCall", namedResult, nullptr},
    {19, "OutEventDirectCallByName", namedResult, nullptr},
    {20, "OutEventMyAccount", resultAndAccount, nullptr},
    {21, "OutEventAddToMyContacts", namedResult, nullptr},
    {22, "OutEventRemoveFromMyContacts", namedResult, nullptr},
    {23, "OutEventInviteToConference", namedResult, nullptr},
    {24, "OutEventGetParticipants", participant, nullptr},
    {25, "OutEventCreateRoom", resultAndAccount, nullptr},
    {26, "OutEventDeleteRoom", namedResult, nullptr},
    {27, "OutEventCreateRoomPin", namedResult, nullptr},
    {28, "OutEventRemoveRoomPin", namedResult, nullptr},
    {29, "LockCurrentActiveRoom", typeOnly, nullptr},
    {30, "OutEventLockRoom", plainResult, nullptr},
    {31, "UnlockCurrentActiveRoom", typeOnly, nullptr},
    {32, "OutEventUnlockRoom", plainResult, nullptr},
    {33, "OutEventDropParticipant", namedResult, nullptr},
    {34, "PortalVersion", typeOnly, nullptr},
    {35, "OutEventMuteAudio", namedResult, nullptr},
    {36, "OutEventUnmuteAudio", namedResult, nullptr},
    {37, "OutEventStartVideo", namedResult, nullptr},
    {38, "OutEventStopVideo", namedResult, nullptr},
    {39, "OutEventGetUserName", resultAndText, "realUserName"},
    {40, "OutEventCreateRoomUrl", namedResult, nullptr},
    {41, "OutEventRemoveRoomUrl", namedResult, nullptr},
    {42, "OutEventUpdatePassword", namedResult, nullptr},
    {43, "OutEventCreateWebcastUrl", namedResult, nullptr},
    {44, "OutEventRemoveWebcastUrl", namedResult, nullptr},
    {45, "OutEventGetWebcastUrl", resultAndUrl, "webcastURL"},
    {46, "OutEventCreateWebcastPin", namedResult, nullptr},
    {47, "OutEventRemoveWebcastPin", namedResult, nullptr},
    {48, "OutEventCreateModeratorPin", namedResult, nullptr},
    {49, "OutEventRemoveModeratorPin", namedResult, nullptr},
    {50, "OutEventCreateScheduledRoom", scheduledRoom, nullptr},
    {51, "OutEventGetInviteContent", inviteContent, nullptr},
    {52, "OutEventGetConferenceID", resultAndText, "conferenceID"},
    {53, "OutEventGenerateAuthToken", resultAndText, "authToken"},
    {54, "OutEventGetPortalFeatures", portalFeatures, nullptr},
    {55, "OutEventGetPortalFeaturesAnonymous", portalFeatures, nullptr},
    {56, "OutEventJoinIpcConference", resultAndFault, nullptr},
    {57, "PrivateOutEventVcsoapGuestLink", guestLink, nullptr},  // TAVMO_CLIENT_PORTAL_GUEST_LINK
    {58, "OutEventJoinWithRoomKey", resultAndFault, nullptr},
    {59, "OutEventGetEntityByRoomKey", resultAndAccount, nullptr},
    {60, "GuestClientVersionOnServer", typeOnly, nullptr},
    {61, "OutEventLoginWelcomeBanner", loginBanner, nullptr},
    {62, "OutEventGetModeratorURL", resultAndUrl, "moderatorURL"},
    {63, "OutEventGetRoomAccessOptions", roomAccessOptions, nullptr},
    {64, "OutEventStartConferenceRecording", namedResult, nullptr},
    {65, "OutEventPauseConferenceRecording", plainResult, nullptr},
    {66, "OutEventResumeConferenceRecording", plainResult, nullptr},
    {67, "OutEventStopConferenceRecording", plainResult, nullptr},
    {68, "OutEventGetConferenceRecordingID", recordingId, nullptr},
    {69, "OutEventGetConferenceRecordingPrefixes", recordingPrefixes, nullptr},
    {70, "OutEventGetPortalPrefix", resultAndText, "portalPrefix"},
    {71, "LectureClearRaiseHand", typeOnly, nullptr},
    {72, "OutEventSetEndpointDetails", namedResult, nullptr},
    {73, "OutEventLogoutAllOtherSessions", namedResult, nullptr},
    {74, "OutEventGetParticipantsEx", participants, nullptr},
    {75, "OutEventGetChangePasswordHtmlUrlWithToken", resultAndText, "changePasswordHtmlUrl"},
    {76, "OutEventDropAll", namedResult, nullptr},
    {77, "OutEventControlAudioServerAll", namedServerResult, nullptr},
    {78, "OutEventMuteAudioClientAll", namedResult, nullptr},
    {79, "OutEventPrivacyControlServerAll", namedServerResult, nullptr},
    {80, "OutEventPrivacyOnClientAll", namedResult, nullptr},
};

// The one answer kind the library names a constant for: its row, spelled by
// number like the others, must be the constant's.
constexpr bool guestLinkRowIsTheConstants() {
    for (const PortalAnswer& answer : kPortalAnswers)
        if (answer.typeRequest == TAVMO_CLIENT_PORTAL_GUEST_LINK) return answer.fill == guestLink;
    return false;
}
static_assert(guestLinkRowIsTheConstants(), "the guest link's row and TAVMO_CLIENT_PORTAL_GUEST_LINK disagree");

}  // namespace

std::vector<PortalAnswerType> portalAnswerTypes() {
    std::vector<PortalAnswerType> types;
    for (const PortalAnswer& answer : kPortalAnswers) types.push_back({answer.typeRequest, answer.type});
    return types;
}

void BuildPortalAnswer(const EventBlock& block, Json::Value& params) {
    uint32_t typeRequest = block.read<TavmoClientPortalHeader>().typeRequest;
    for (const PortalAnswer& answer : kPortalAnswers) {
        if (answer.typeRequest != typeRequest) continue;
        params["type"] = answer.type;
        answer.fill(block, params, answer.key);
        return;
    }
}
