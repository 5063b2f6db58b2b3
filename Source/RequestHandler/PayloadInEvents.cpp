#include "RequestHandler/PayloadInEvents.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>

#include "HostState.h"
#include "JsonValues.h"
#include "Log.h"
#include "Records.h"
#include "RequestHandler/InEventSupport.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;
constexpr std::size_t kWindowHandleDigits = 16;
// The page's text is looked at no further than this, blanks included.
constexpr std::size_t kWindowHandleText = 17;
// A speaker test sound takes seconds; this is minutes of uncompressed audio.
constexpr uint64_t kLongestSoundFile = 64 * 1024 * 1024;

// By the value the library knows each command by.
constexpr const char* kCameraCommands[] = {"PanRight", "PanLeft",  "TiltUp",       "TiltDown",     "ZoomIn",
                                           "ZoomOut",  "Position", "ViscaCommand", "ViscaResponse"};

// An unknown command is no error: it becomes the first one.
int32_t cameraCommand(const std::string& name) {
    for (int32_t value = 0; value < static_cast<int32_t>(std::size(kCameraCommands)); ++value)
        if (name == kCameraCommands[value]) return value;
    return 0;
}

int32_t videoMode(const std::string& name) {
    if (name == "PinHigh") return TAVMO_CLIENT_VIDEO_MODE_PIN_HIGH;
    if (name == "PinLow") return TAVMO_CLIENT_VIDEO_MODE_PIN_LOW;
    return TAVMO_CLIENT_VIDEO_MODE_NONE;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// False, with the reply's "error" set, when the desktop cannot be shared.
bool fillDesktopShare(Json::Value& request, TavmoClientShareInEvent& record) {
    int32_t index = readIntMember(request, "window", 0);
    if (static_cast<uint32_t>(index) >= kDesktopTableSize) {
        FAIL_REQUEST(request, "Invalid desktop index", "OutputThread: InEventShare() Invalid desktop index: [%d]",
                     index);
        return false;
    }
    record.shareKind = TAVMO_CLIENT_SHARE_DESKTOP;
    record.window = 1;
    copyText(record.desktopDevice, desktopDevice(static_cast<std::size_t>(index)));
    return true;
}

// The whole file, or null with the reply's "error" set. The page names the
// file, so it may name a FIFO that never ends or a file of gigabytes.
LibraryBuffer readSoundFile(Json::Value& request, const std::string& fileName) {
    int64_t size = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> file(platform::openRegularFile(fileName, size), std::fclose);
    if (!file) {
        FAIL_REQUEST(request, "cannot open file", "OutputThread: InEventStartPrecallTestSpeaker() Cannot open file");
        return nullptr;
    }
    if (size <= 0 || static_cast<uint64_t>(size) > kLongestSoundFile) {
        FAIL_REQUEST(request, "invalid file size", "OutputThread: InEventStartPrecallTestSpeaker() Invalid file size");
        return nullptr;
    }
    auto length = static_cast<std::size_t>(size);
    LibraryBuffer sound(std::malloc(length));
    // A short read would hand the library bytes that are not the sound.
    if (!sound || std::fread(sound.get(), 1, length, file.get()) != length) {
        request["error"] = "error reading file";
        return nullptr;
    }
    return sound;
}

}  // namespace

uint32_t parseWindowHandle(const std::string& windowText) {
    const std::string text = windowText.substr(0, kWindowHandleText);
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    uint64_t handle = 0;
    for (std::size_t digits = 0; digits < kWindowHandleDigits && at < text.size(); ++digits, ++at) {
        int value = hexDigitValue(text[at]);
        if (value < 0) break;
        handle = handle << 4 | static_cast<uint64_t>(value);
    }
    return static_cast<uint32_t>(handle);
}

void InEventShare(Json::Value& request) {
    TavmoClientShareInEvent record{};
    if (readChoiceMember(request, "shareType", "ApplicationWindow") == "DesktopWindow") {
        if (!fillDesktopShare(request, record)) return;
    } else {
        record.shareKind = TAVMO_CLIENT_SHARE_APPLICATION_WINDOW;
        record.window = static_cast<int32_t>(parseWindowHandle(readChoiceMember(request, "window", "")));
    }
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SHARE), record);
}

void InEventGroupChat(Json::Value& request) {
    TavmoClientGroupChatInEvent record{};
    copyMember(record.message, request, "message");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_GROUP_CHAT), record);
}

void InEventPrivateChat(Json::Value& request) {
    TavmoClientPrivateChatInEvent record{};
    copyMember(record.message, request, "message");
    copyMember(record.uri, request, "uri");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_PRIVATE_CHAT), record);
}

void InEventSetDisplayName(Json::Value& request) {
    TavmoClientSetDisplayNameInEvent record{};
    copyMember(record.uri, request, "uri");
    copyMember(record.displayName, request, "displayName");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_DISPLAY_NAME), record);
}

void InEventResetDisplayName(Json::Value& request) {
    TavmoClientResetDisplayNameInEvent record{};
    copyMember(record.uri, request, "uri");
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_RESET_DISPLAY_NAME), record);
}

void InEventPinParticipant(Json::Value& request) {
    TavmoClientPinParticipantInEvent record{};
    copyMember(record.uri, request, "uri");
    record.videoMode = videoMode(readChoiceMember(request, "pinMode", "1"));
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_SET_PARTICIPANT_VIDEO_MODE), record);
}

void InEventControlCamera(Json::Value& request) {
    TavmoClientControlCameraInEvent record{};
    copyMember(record.uri, request, "uri");
    record.cameraCommand = cameraCommand(readChoiceMember(request, "cameraCommand", "1"));
    copyMember(record.commandId, request, "commandId");
    copyMember(record.commandData, request, "commandData");
    record.preset = static_cast<unsigned char>(readIntMember(request, "preset", 0) & 0xFF);
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_CONTROL_CAMERA), record);
}

void InEventControlConferenceRoomSettings(Json::Value& request) {
    TavmoClientRoomSettingsInEvent record{};
    record.requestId = readIntMember(request, "requestId", 0);
    copyMember(record.moderatorPin, request, "moderatorPin");
    record.roomSettingId = readIntMember(request, "roomSettingId", 1);
    record.roomType = readIntMember(request, "roomType", 1);
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_CONTROL_CONFERENCE_ROOM_SETTINGS), record);
}

void InEventStartPrecallTestSpeaker(Json::Value& request) {
    LibraryBuffer sound = readSoundFile(request, readStringMember(request, "soundFileName", "1"));
    if (!sound) return;
    TavmoClientSpeakerTestInEvent record{};
    record.sound = sound.get();
    answerInEventHandingOver(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER), record,
                             sound);
}

void InEventPlayDtmfTone(Json::Value& request) {
    TavmoClientDialToneInEvent record{};
    record.tone = readStringMember(request, "tone").c_str()[0];
    answerInEvent(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_IN_EVENT_START_PLAYING_CONTINUOUS_DIAL_TONE), record);
}
