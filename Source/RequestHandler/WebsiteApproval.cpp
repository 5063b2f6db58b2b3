#include "RequestHandler/WebsiteApproval.h"

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "Records.h"
#include "Redaction.h"
#include "RequestHandler/RequestSupport.h"
#include "TavmoAgent.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;
constexpr int32_t kJoinStatusCode = 270003;

enum class LibraryAnswer { Approved, NotApproved, Failed };

LibraryAnswer askLibrary() {
    TavmoClientApprovedDomainQuery query{};
    copyText(query.domain, currentDomain);
    int32_t result = callPrivateRequest(TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN, &query, sizeof query);
    if (result != 0) {
        LOG_ERROR(
            "OutputThread: PromptForUserApproval() TavmoClientSendRequest() to get approved domains returned "
            "error: [%u]",
            static_cast<unsigned>(result));
        return LibraryAnswer::Failed;
    }
    return query.approved == 1 ? LibraryAnswer::Approved : LibraryAnswer::NotApproved;
}

void rememberApproval() {
    TavmoClientApprovedDomainSave save{};
    copyText(save.domain, currentDomain);
    int32_t result = callPrivateRequest(TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN, &save, sizeof save);
    if (result == 0)
        LOG_INFO("OutputThread: InEventStart() [%s] is saved as approved domain", textForLog(currentDomain).c_str());
    else
        LOG_ERROR("OutputThread: InEventStart() Save domain as approved domain returned error: [%u]",
                  static_cast<unsigned>(result));
}

bool askUser() {
    Json::Value opening(Json::objectValue);
    opening["code"] = "";
    opening["params"] = "";
    TavmoAgent::sendMessage("OutputThread", std::move(opening));

    // A one-byte name tells the user nothing and is not worth remembering.
    bool named = currentDomain.size() > 1;
    platform::ApprovalChoice choice =
        platform::askForApproval(hWindow, named ? currentDomain : std::string(kUnnamedWebsite), named);
    switch (choice.answer) {
        case platform::ApprovalAnswer::Yes:
            if (choice.doNotAskAgain) rememberApproval();
            LOG_INFO("OutputThread: PromptForUserApproval(): [%s] domain is approved by enduser",
                     textForLog(currentDomain).c_str());
            return true;
        case platform::ApprovalAnswer::CannotAsk:
            LOG_ERROR("OutputThread: PromptForUserApproval() The approval dialog cannot be shown: no display.");
            return false;
        case platform::ApprovalAnswer::No: return false;
    }
    return false;
}

}  // namespace

void RequestSetDomain(Json::Value& request) {
    currentDomain = readStringMember(request, "domain", kUnnamedWebsite);
    setResultOk(request);
    LOG_INFO("OutputThread: RequestSetDomain() [%s] domain is set.", textForLog(currentDomain).c_str());
}

bool PromptForUserApproval(Json::Value& request) {
    LOG_INFO("OutputThread: PromptForUserApproval() Prompting User for domain approval.");
    bool approved = false;
    switch (askLibrary()) {
        case LibraryAnswer::Failed: break;
        case LibraryAnswer::Approved:
            LOG_INFO("OutputThread: PromptForUserApproval(): [%s] domain is already approved by enduser",
                     textForLog(currentDomain).c_str());
            approved = true;
            break;
        case LibraryAnswer::NotApproved: approved = askUser(); break;
    }

    Json::Value answer(Json::objectValue);
    answer["code"] = kJoinStatusCode;
    answer["params"]["joinStatus"] = approved;
    TavmoAgent::sendMessage("OutputThread", std::move(answer));

    if (!approved) {
        FAIL_REQUEST(request, "TavmoClient Can not get the Domain approval from enduser",
                     "OutputThread: PromptForUserApproval(): [%s] domain is not approved by enduser",
                     textForLog(currentDomain).c_str());
    }
    return approved;
}
