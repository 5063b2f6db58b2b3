#include "RequestHandler/SignInEvents.h"

#include <algorithm>

#include "JsonValues.h"
#include "Records.h"
#include "RequestHandler/InEventSupport.h"
#include "RequestHandler/WebsiteApproval.h"

namespace {

// Copies up to `slots` elements of an array member, or a single text into
// the first slot; returns how many slots it filled.
template <std::size_t Slots, std::size_t Width>
std::size_t copyProxyMember(char (&fields)[Slots][Width], const Json::Value& request, const char* key) {
    const Json::Value* member = findMember(request, key);
    if (!member || !member->isArray()) {
        copyMember(fields[0], request, key);
        return 1;
    }
    std::size_t count = std::min<std::size_t>(member->size(), Slots);
    for (Json::ArrayIndex i = 0; i < count; ++i) copyText(fields[i], member->get(i, Json::Value()).asCString());
    return count;
}

}  // namespace

// The number of proxies always follows the addresses; what the page says it
// is ("numberProxies") is not used.
void InEventSignIn(Json::Value& request) {
    TavmoClientSignInInEvent record{};
    copyMember(record.serverAddress, request, "serverAddress");
    copyMember(record.serverPort, request, "serverPort");
    copyMember(record.userName, request, "userName");
    copyMember(record.portalAccessKey, request, "portalAccessKey");
    copyMember(record.portalAddress, request, "portalAddress");
    copyMember(record.portalVersion, request, "portalVersion");
    copyMember(record.vmIdentity, request, "vmIdentity");
    copyMember(record.locationTag, request, "locationTag");
    record.proxyType = readIntMember(request, "proxyType", 0);
    record.numberProxies = static_cast<int32_t>(copyProxyMember(record.proxyAddress, request, "tavmoProxyAddress"));
    copyProxyMember(record.proxyPort, request, "tavmoProxyPort");
    record.emcpSecured = readFlagMember(request, "emcpSecured") ? 1 : 0;
    record.guestLogin = readFlagMember(request, "guestLogin") ? 1 : 0;
    record.showDialpad = readFlagMember(request, "showDialpad") ? 1 : 0;
    record.showStartmeeting = readFlagMember(request, "showStartmeeting") ? 1 : 0;
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SIGN_IN), record);
}

void InEventLogin(Json::Value& request) {
    TavmoClientLoginInEvent record{};
    copyMember(record.portalUri, request, "portalUri");
    copyMember(record.userName, request, "userName");
    copyMember(record.userPass, request, "userPass");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_LOGIN), record);
}

void PrivateInEventVcsoapGuestLink(Json::Value& request) {
    if (!PromptForUserApproval(request)) return;
    TavmoClientPortalRequestInEvent record{};
    record.requestId = readIntMember(request, "requestId", 0);
    record.typeRequest = TAVMO_CLIENT_PORTAL_GUEST_LINK;
    copyMember(record.portalUri, request, "portalUri");
    copyMember(record.roomKey, request, "roomKey");
    copyMember(record.guestName, request, "guestName");
    copyMember(record.pin, request, "pin");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP), record);
}
