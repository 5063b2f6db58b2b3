// Records are copied in with memcpy: the host's record need not be aligned
// for the struct, and its size must be exactly the record's.
#include "InEventReactions.h"

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "RecordText.h"
#include "TavmoClient.h"

namespace standin {
namespace {

constexpr int32_t kOutEventGroupChat = 2600;
constexpr int32_t kOutEventPrivateChat = 2601;
constexpr int32_t kOutEventDeviceTest = 2830;

constexpr int32_t kDeviceAudioOut = 1;
constexpr int32_t kDeviceAudioIn = 2;
constexpr int32_t kDeviceVideo = 3;
constexpr int32_t kDeviceTestSucceeded = 1;

constexpr uint32_t kSignInFailed = 1;
constexpr uint32_t kLoginFailed = 1;
constexpr int32_t kRoomNotFound = 1;
constexpr uint32_t kHttpOk = 200;

constexpr const char* kEchoUri = "echo@standin.invalid";
constexpr const char* kEchoName = "Echo Participant";

using Block = std::vector<unsigned char>;

template <typename Event>
Block blockOf(const Event& event) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&event);
    return Block(bytes, bytes + sizeof event);
}

template <typename Record>
bool take(const void* record, uint32_t size, Record& value) {
    if (!record || size != sizeof value) return false;
    std::memcpy(&value, record, sizeof value);
    return true;
}

template <std::size_t Width>
bool terminated(const char (&field)[Width]) {
    return std::memchr(field, '\0', Width) != nullptr;
}

struct Reaction {
    LibraryState& state;
    Delivery& delivery;

    template <typename Event>
    void raise(int32_t code, const Event& event) {
        delivery.post(code, blockOf(event));
    }
    void raiseEmpty(int32_t code) { delivery.post(code, {}); }

    void callState(int32_t callState) {
        state.callState = callState;
        TavmoClientCallStateEvent event{};
        event.callState = callState;
        raise(TAVMO_CLIENT_OUT_EVENT_CALL_STATE, event);
    }

    void reportDeviceTest(int32_t deviceType, int32_t action) {
        TavmoClientDeviceTestEvent event{};
        event.deviceType = deviceType;
        event.action = action;
        event.result = kDeviceTestSucceeded;
        raise(kOutEventDeviceTest, event);
    }

    bool signedOut(int32_t error, bool guestLogin) {
        TavmoClientSignedOutEvent event{};
        event.error = error;
        event.guestLogin = guestLogin ? 1 : 0;
        raise(TAVMO_CLIENT_OUT_EVENT_SIGNED_OUT, event);
        return true;
    }

    bool signIn(const void* record, uint32_t size) {
        TavmoClientSignInInEvent signIn;
        if (!take(record, size, signIn) || !terminated(signIn.serverAddress)) return false;
        if (fieldText(signIn.serverAddress).empty()) return signedOut(kSignInFailed, signIn.guestLogin != 0);
        TavmoClientSignInEvent event{};
        event.guestLogin = signIn.guestLogin;
        event.showDialpad = signIn.showDialpad;
        event.showStartmeeting = signIn.showStartmeeting;
        event.signinSecured = signIn.emcpSecured != 0 ? 1 : 0;
        raise(TAVMO_CLIENT_OUT_EVENT_SIGN_IN, event);
        raiseEmpty(TAVMO_CLIENT_OUT_EVENT_SIGNED_IN);
        return true;
    }

    bool knownAccount(const std::string& user, const std::string& password) const {
        const auto& accounts = state.scenario.portalAccounts;
        if (accounts.empty()) return !password.empty();
        const auto account = accounts.find(user);
        return account != accounts.end() && account->second == password;
    }

    bool login(const void* record, uint32_t size) {
        TavmoClientLoginInEvent login;
        if (!take(record, size, login) || !terminated(login.portalUri) || !terminated(login.userName) ||
            !terminated(login.userPass)) {
            return false;
        }
        const bool known = knownAccount(std::string(fieldText(login.userName)), std::string(fieldText(login.userPass)));
        TavmoClientLoginEvent event{};
        event.error = known ? 0 : kLoginFailed;
        setText(event.portalUri, fieldText(login.portalUri));
        setText(event.userName, fieldText(login.userName));
        raise(TAVMO_CLIENT_OUT_EVENT_LOGIN, event);
        if (known) raiseEmpty(TAVMO_CLIENT_OUT_EVENT_SIGNED_IN);
        return true;
    }

    bool guestLink(const void* record, uint32_t size) {
        TavmoClientPortalRequestInEvent request;
        if (!take(record, size, request) || request.typeRequest != TAVMO_CLIENT_PORTAL_GUEST_LINK ||
            !terminated(request.portalUri) || !terminated(request.roomKey) || !terminated(request.guestName) ||
            !terminated(request.pin)) {
            return false;
        }
        auto answer = std::make_unique<TavmoClientPortalGuestLinkAnswer>();
        answer->header.typeRequest = TAVMO_CLIENT_PORTAL_GUEST_LINK;
        answer->header.httpStatusCode = kHttpOk;
        answer->header.requestId = static_cast<uint32_t>(request.requestId);
        if (fieldText(request.roomKey).empty()) {
            answer->result = kRoomNotFound;
        } else {
            answer->guestID = 1;
            answer->hasPin = fieldText(request.pin).empty() ? 0 : 1;
            setText(answer->vmaddress, "vm.standin.invalid");
            setText(answer->un, fieldText(request.guestName));
            setText(answer->portal, fieldText(request.portalUri));
            setText(answer->portalVersion, "StandIn 1.0");
        }
        raise(TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, *answer);
        return true;
    }

    bool startMeeting() {
        if (state.callState != TAVMO_CLIENT_CALL_STATE_IDLE) return true;
        callState(TAVMO_CLIENT_CALL_STATE_JOINING);
        raiseEmpty(TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ENTERED);
        callState(TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE);
        return true;
    }

    bool leave() {
        if (state.callState == TAVMO_CLIENT_CALL_STATE_IDLE) return true;
        callState(TAVMO_CLIENT_CALL_STATE_DISCONNECTING);
        raiseEmpty(TAVMO_CLIENT_OUT_EVENT_CONFERENCE_LEFT);
        callState(TAVMO_CLIENT_CALL_STATE_IDLE);
        return true;
    }

    bool mute(int32_t outEvent, const void* record, uint32_t size) {
        TavmoClientFlagValue flag;
        if (!take(record, size, flag)) return false;
        TavmoClientMuteEvent event{};
        event.isMuted = flag.value != 0 ? 1 : 0;
        raise(outEvent, event);
        return true;
    }

    void echo(int32_t outEvent, std::string_view uri, std::string_view message) {
        TavmoClientChatEvent event{};
        setText(event.uri, uri);
        setText(event.displayName, kEchoName);
        setText(event.message, message);
        raise(outEvent, event);
    }

    bool groupChat(const void* record, uint32_t size) {
        TavmoClientGroupChatInEvent chat;
        if (!take(record, size, chat) || !terminated(chat.message)) return false;
        echo(kOutEventGroupChat, kEchoUri, fieldText(chat.message));
        return true;
    }

    bool privateChat(const void* record, uint32_t size) {
        TavmoClientPrivateChatInEvent chat;
        if (!take(record, size, chat) || !terminated(chat.uri) || !terminated(chat.message)) return false;
        echo(kOutEventPrivateChat, fieldText(chat.uri), fieldText(chat.message));
        return true;
    }

    // The request id is read and its int32 freed at once: the list is made
    // here and now.
    bool windowList(const void* record, uint32_t size) {
        TavmoClientGetWindowsExtInEvent windows;
        if (!take(record, size, windows) || !windows.requestId) return false;
        std::unique_ptr<int32_t, FreeWithCRuntime> requestId(windows.requestId);
        auto list = std::make_unique<TavmoClientWindowList>();
        list->requestId = static_cast<uint32_t>(*requestId);
        list->totalResponseMessages = 1;
        list->thisMessageNumberInSequance = 1;
        const struct {
            const char* title;
            const char* owner;
            uint32_t id;
            TavmoClientWindowRect rect;
        } windowsShown[] = {{"Stand-in Notes", "notes", 0x1A2B, {-8, 0, 800, 600}},
                            {"Stand-in Slides", "slides", 0x3C4D, {100, 50, 1280, 720}}};
        for (const auto& shown : windowsShown) {
            const int32_t i = list->numOfRecordsInThisMessage++;
            list->style[i] = 0x14CF0000;
            setText(list->className[i], "StandInWindow");
            list->windowId[i] = shown.id;
            setText(list->title[i], shown.title);
            setText(list->ownerName[i], shown.owner);
            list->rect[i] = shown.rect;
        }
        list->totalNumApplicationWindows = static_cast<uint32_t>(list->numOfRecordsInThisMessage);
        raise(TAVMO_CLIENT_PRIVATE_OUT_EVENT_WINDOWS_EXT, *list);
        return true;
    }

    bool deviceTest(int32_t deviceType, const void* record, uint32_t size) {
        TavmoClientInt32Value action;
        if (!take(record, size, action)) return false;
        if (action.value == TAVMO_CLIENT_DEVICE_TEST_START || action.value == TAVMO_CLIENT_DEVICE_TEST_STOP)
            reportDeviceTest(deviceType, action.value);
        return true;
    }

    bool startSpeakerTest(const void* record, uint32_t size) {
        TavmoClientSpeakerTestInEvent test;
        if (!take(record, size, test) || !test.sound) return false;
        state.conference.speakerSound.reset(test.sound);
        reportDeviceTest(kDeviceAudioOut, TAVMO_CLIENT_DEVICE_TEST_START);
        return true;
    }

    bool stopSpeakerTest() {
        if (!state.conference.speakerSound) return true;
        state.conference.speakerSound.reset();
        reportDeviceTest(kDeviceAudioOut, TAVMO_CLIENT_DEVICE_TEST_STOP);
        return true;
    }

    bool react(int32_t code, const void* record, uint32_t size) {
        switch (code) {
            case TAVMO_CLIENT_IN_EVENT_SIGN_IN: return signIn(record, size);
            case TAVMO_CLIENT_IN_EVENT_LOGIN: return login(record, size);
            case TAVMO_CLIENT_IN_EVENT_SIGNOFF: return signedOut(0, false);
            case TAVMO_CLIENT_PRIVATE_IN_EVENT_VCSOAP: return guestLink(record, size);
            case TAVMO_CLIENT_PRIVATE_IN_EVENT_START_MY_MEETING: return startMeeting();
            case TAVMO_CLIENT_IN_EVENT_LEAVE:
            case TAVMO_CLIENT_IN_EVENT_CANCEL: return leave();
            case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_IN: return mute(TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN, record, size);
            case TAVMO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT:
                return mute(TAVMO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT, record, size);
            case TAVMO_CLIENT_IN_EVENT_MUTE_VIDEO: return mute(TAVMO_CLIENT_OUT_EVENT_MUTED_VIDEO, record, size);
            case TAVMO_CLIENT_IN_EVENT_GROUP_CHAT: return groupChat(record, size);
            case TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT: return privateChat(record, size);
            case TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT: return windowList(record, size);
            case TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_CAMERA: return deviceTest(kDeviceVideo, record, size);
            case TAVMO_CLIENT_IN_EVENT_PRECALL_TEST_MICROPHONE: return deviceTest(kDeviceAudioIn, record, size);
            case TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER: return startSpeakerTest(record, size);
            case TAVMO_CLIENT_IN_EVENT_STOP_PRECALL_TEST_SPEAKER: return stopSpeakerTest();
            default: return true;
        }
    }
};

}  // namespace

bool reactToInEvent(LibraryState& state, Delivery& delivery, int32_t code, void* record, uint32_t size) {
    return Reaction{state, delivery}.react(code, record, size);
}

}  // namespace standin
