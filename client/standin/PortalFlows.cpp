#include "PortalFlows.h"

#include <string_view>
#include <vector>

#include "ConfigurationRequests.h"
#include "MeetingFlows.h"
#include "OutEvents.h"
#include "PortalAnswers.h"
#include "RecordText.h"
#include "SimulatedConference.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr uint32_t kSignInFailed = 1;
constexpr uint32_t kLoginFailed = 1;
constexpr int32_t kWrongPassword = 1;
constexpr int32_t kSignedOffByUser = 0;
constexpr int32_t kPasswordLogin = 1;
constexpr int32_t kGuestLogin = 2;
constexpr int32_t kRoomLinkResolved = 1;
constexpr uint32_t kNetworkInterfaces = 2;

constexpr const char* kNewerClientTag = "1.3.8_0001";
constexpr const char* kInstallerUri = "https://portal.standin.invalid/download/TavmoClientSetup-1.3.8_0001.exe";
constexpr const char* kInstallerPath = "C:\\Users\\Public\\Downloads\\TavmoClientSetup-1.3.8_0001.exe";
constexpr const char* kPortalPrefixText = "standin";

const std::vector<TavmoClientFeatureStatus> kMemberFeatures = {{1, 1, {}}, {2, 1, {}}, {3, 0, {}}};
const std::vector<TavmoClientFeatureStatus> kGuestFeatures = {{1, 1, {}}, {2, 0, {}}};

void portalAnswer(Script& script, Block answer) {
    script.raiseBlock(TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, std::move(answer));
}

void signedOut(Script& script, uint32_t error, bool guestLogin) {
    TavmoClientSignedOutEvent event{};
    event.error = static_cast<int32_t>(error);
    event.guestLogin = guestLogin ? 1 : 0;
    script.raise(TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT, event);
}

void signedIn(LibraryState& state, Script& script) {
    state.conference.signedIn = true;
    script.raiseEmpty(TAVMO_CLIENT_OUT_EVENT_SIGNED_IN);
}

void loginNotice(Script& script, int32_t loginType, std::string_view portalUri, std::string_view userName, bool guest) {
    TavmoClientLoginNoticeEvent event{};
    event.loginType = loginType;
    setText(event.portalUri, portalUri);
    setText(event.userName, userName);
    event.guestLogin = guest ? 1 : 0;
    script.raise(out::kLoginNotice, event);
}

void loginOutcome(Script& script, uint32_t error, std::string_view portalUri, std::string_view userName) {
    TavmoClientLoginEvent event{};
    event.error = error;
    setText(event.portalUri, portalUri);
    setText(event.userName, userName);
    script.raise(TAVMO_CLIENT_OUT_EVENT_LOGIN, event);
}

// The configured web proxy, and whether it has the credentials it asks for.
void reportWebProxy(const LibraryState& state, Script& script) {
    const TavmoClientConfiguration configuration = loadConfiguration(state);
    const std::string_view address = fieldText(configuration.webProxyAddress);
    if (address.empty()) return;
    TavmoClientWebProxyEvent proxy{};
    setText(proxy.webProxyURL,
            "http://" + std::string(address) + ":" + std::string(fieldText(configuration.webProxyPort)));
    script.raise(out::kWebProxy, proxy);
    script.raiseEmpty(state.status.proxyUserName.empty() ? out::kWebProxyNeedsCredentials
                                                         : out::kWebProxyCredentialsUsed);
}

void featureStatus(Script& script, const std::vector<TavmoClientFeatureStatus>& features) {
    TavmoClientFeatureStatusEvent head{};
    head.featureCount = static_cast<uint32_t>(features.size());
    Block block = blockOf(head);
    for (const auto& feature : features) {
        const Block entry = blockOf(feature);
        block.insert(block.end(), entry.begin(), entry.end());
    }
    script.raiseBlock(TAVMO_CLIENT_OUT_EVENT_FEATURE_STATUS, std::move(block));
}

}  // namespace

bool knownAccount(const Scenario& scenario, const std::string& user, const std::string& password) {
    const auto& accounts = scenario.portalAccounts;
    if (accounts.empty()) return password == kPortalPassword;
    const auto account = accounts.find(user);
    return account != accounts.end() && account->second == password;
}

bool signIn(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientSignInInEvent request;
    if (!take(record, size, request) || !terminated(request.serverAddress) || !terminated(request.userName) ||
        !terminated(request.portalAccessKey)) {
        return false;
    }
    const bool guest = request.guestLogin != 0;
    if (fieldText(request.serverAddress).empty()) {
        signedOut(script, kSignInFailed, guest);
        return true;
    }
    TavmoClientNetworkInterfacesEvent network{};
    network.numValidInterfaces = kNetworkInterfaces;
    script.raise(out::kNetworkInterfaces, network);

    TavmoClientSignInEvent event{};
    event.guestLogin = request.guestLogin;
    event.showDialpad = request.showDialpad;
    event.showStartmeeting = request.showStartmeeting;
    event.signinSecured = request.emcpSecured != 0 ? 1 : 0;
    script.raise(TAVMO_CLIENT_OUT_EVENT_SIGN_IN, event);
    reportWebProxy(state, script);

    script.raise(TAVMO_CLIENT_OUT_EVENT_LINKED, TavmoClientLinkedEvent{});
    portalAnswer(script, portal::withAccount(portal::kLinkEndpoint, portal::userAccount(fieldText(request.userName))));
    portalAnswer(script, portal::clientVersion(kNewerClientTag, kInstallerUri));
    portalAnswer(script, portal::fileDownload(kInstallerPath));
    TavmoClientInstallerEvent installer{};
    setText(installer.currentTag, kNewerClientTag);
    setText(installer.installerUri, kInstallerUri);
    script.raise(out::kInstallerInformation, installer);
    const std::string_view key = fieldText(request.portalAccessKey);
    portalAnswer(script, portal::browserAccessKey(key.empty() ? "BAK-standin-0001" : key));
    signedIn(state, script);
    return true;
}

bool login(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientLoginInEvent request;
    if (!take(record, size, request) || !terminated(request.portalUri) || !terminated(request.userName) ||
        !terminated(request.userPass)) {
        return false;
    }
    const std::string_view portalUri = fieldText(request.portalUri);
    const std::string user(fieldText(request.userName));
    if (!knownAccount(state.scenario, user, std::string(fieldText(request.userPass)))) {
        loginOutcome(script, kLoginFailed, portalUri, user);
        TavmoClientReasonEvent refused{};
        refused.reason = kWrongPassword;
        script.raise(out::kLoginRefused, refused);
        return true;
    }
    loginNotice(script, kPasswordLogin, portalUri, user, false);
    portalAnswer(script, portal::typeOnly(portal::kSoapLogin));
    loginOutcome(script, 0, portalUri, user);
    TavmoClientTokenStatusEvent token{};
    token.status = 1;
    script.raise(out::kTokenStatus, token);
    portalAnswer(script, portal::withAccount(portal::kMyAccount, portal::userAccount(user)));
    portalAnswer(script, portal::loginBanner(user));
    portalAnswer(script, portal::features(portal::kPortalFeatures, kMemberFeatures));
    featureStatus(script, kMemberFeatures);
    portalAnswer(script, portal::withText(portal::kPortalPrefix, kPortalPrefixText));
    TavmoClientPortalPrefixEvent prefix{};
    setText(prefix.portalPrefix, kPortalPrefixText);
    script.raise(out::kPortalPrefix, prefix);
    portalAnswer(script,
                 portal::search({portal::participantAccount(kModerator), portal::participantAccount(kPresenter)}));
    portalAnswer(script, portal::recordingPrefixes());
    signedIn(state, script);
    return true;
}

void cancelLogin(Script& script) { script.raiseEmpty(out::kLoginCancelled); }

void signOff(LibraryState& state, Script& script) {
    if (state.conference.signedIn) {
        portalAnswer(script, portal::withResult(portal::kSoapLogOut, portal::kSuccess));
        TavmoClientReasonEvent reason{};
        reason.reason = kSignedOffByUser;
        script.raise(out::kSignedOff, reason);
        state.conference.signedIn = false;
    }
    signedOut(script, 0, false);
}

bool setOffline(Script& script, const void* record, uint32_t size) {
    TavmoClientFlagValue offline;
    if (!take(record, size, offline)) return false;
    script.raiseEmpty(offline.value != 0 ? out::kOffline : out::kOnline);
    return true;
}

bool guestLink(LibraryState& state, Script& script, const void* record, uint32_t size) {
    TavmoClientPortalRequestInEvent request;
    if (!take(record, size, request) || request.typeRequest != TAVMO_CLIENT_PORTAL_GUEST_LINK ||
        !terminated(request.portalUri) || !terminated(request.roomKey) || !terminated(request.guestName) ||
        !terminated(request.pin)) {
        return false;
    }
    portal::GuestLink link;
    link.requestId = static_cast<uint32_t>(request.requestId);
    link.found = !fieldText(request.roomKey).empty();
    link.hasPin = !fieldText(request.pin).empty();
    link.guestName = std::string(fieldText(request.guestName));
    link.portalUri = std::string(fieldText(request.portalUri));
    if (link.found) {
        TavmoClientRoomKeyEvent room{};
        room.hasPin = link.hasPin ? 1 : 0;
        setText(room.portalUri, link.portalUri);
        setText(room.roomKey, fieldText(request.roomKey));
        script.raise(out::kRoomKey, room);
    }
    portalAnswer(script, portal::guestLink(link));
    if (!link.found) return true;

    loginNotice(script, kGuestLogin, link.portalUri, link.guestName, true);
    TavmoClientRoomLinkEvent roomLink{};
    roomLink.state = kRoomLinkResolved;
    setText(roomLink.serverUri, kVideoServer);
    script.raise(TAVMO_CLIENT_OUT_EVENT_ROOM_LINK, roomLink);
    portalAnswer(script, portal::features(portal::kPortalFeaturesAnonymous, kGuestFeatures));
    if (state.conference.planned.callState == TAVMO_CLIENT_CALL_STATE_IDLE)
        joinConference(state, script, JoinRoute::GuestLink);
    return true;
}

}  // namespace standin
