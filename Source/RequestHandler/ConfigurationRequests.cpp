// One table describes every member of the configuration record, so that the
// reply of a get and the record of a set cannot drift apart: the page sends
// back what it received, changed where it wants changes.
#include "RequestHandler/ConfigurationRequests.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>

#include "JsonValues.h"
#include "Log.h"
#include "Records.h"
#include "Redaction.h"
#include "RequestHandler/RequestSupport.h"

namespace {

constexpr const char* kLogSource = logsource::kRequestHandler;

enum class Kind {
    Word,             // uint32; set with the lenient integer reader
    Count,            // uint32 that says how many list slots are used; capped when set
    Text,             // NUL-terminated text of `width` bytes
    NameList,         // `capacity` texts of `slotWidth` bytes each
    FlagList,         // `capacity` flag bytes
    VideoPreference,  // uint32 code, named by kVideoPreferences
};

// The library keeps the proxy lists and the system proxy settings itself: the
// page may read them but not set them. The last two switches are the reverse.
enum class Use { GetAndSet, GetOnly, SetOnly };

struct Field {
    const char* key;
    std::size_t offset;
    std::size_t width;
    Kind kind;
    Use use;
    std::size_t slotWidth;    // lists
    std::size_t countOffset;  // lists: the count that says how many slots are used
    uint32_t capacity;        // lists and counts
};

constexpr uint32_t kDevices = TAVMO_CLIENT_CONFIGURATION_DEVICES;
constexpr uint32_t kProxies = TAVMO_CLIENT_CONFIGURATION_PROXIES;

constexpr Field word(const char* key, std::size_t offset, std::size_t width, Use use = Use::GetAndSet) {
    return {key, offset, width, Kind::Word, use, 0, 0, 0};
}
constexpr Field count(const char* key, std::size_t offset, std::size_t width, uint32_t capacity,
                      Use use = Use::GetAndSet) {
    return {key, offset, width, Kind::Count, use, 0, 0, capacity};
}
constexpr Field text(const char* key, std::size_t offset, std::size_t width, Use use = Use::GetAndSet) {
    return {key, offset, width, Kind::Text, use, 0, 0, 0};
}
constexpr Field names(const char* key, std::size_t offset, std::size_t width, std::size_t slotWidth,
                      std::size_t countOffset, Use use = Use::GetAndSet) {
    return {key, offset, width, Kind::NameList, use, slotWidth, countOffset, static_cast<uint32_t>(width / slotWidth)};
}
constexpr Field flags(const char* key, std::size_t offset, std::size_t width, std::size_t countOffset) {
    return {key, offset, width, Kind::FlagList, Use::GetAndSet, 1, countOffset, static_cast<uint32_t>(width)};
}
constexpr Field videoPreference(const char* key, std::size_t offset, std::size_t width) {
    return {key, offset, width, Kind::VideoPreference, Use::GetAndSet, 0, 0, 0};
}

// The page's key is the member's name.
#define MEMBER(name) #name, offsetof(TavmoClientConfiguration, name), sizeof(TavmoClientConfiguration::name)
#define COUNT_AT(name) offsetof(TavmoClientConfiguration, name)

constexpr std::size_t kDeviceName = TAVMO_CLIENT_DEVICE_NAME_BYTES;
constexpr std::size_t kProxyName = TAVMO_CLIENT_PROXY_NAME_BYTES;

constexpr Field kFields[] = {
    names(MEMBER(microphones), kDeviceName, COUNT_AT(numberMicrophones)),
    names(MEMBER(microphonePhyDeviceName), kDeviceName, COUNT_AT(numberMicrophones)),
    flags(MEMBER(microphoneVoiceProcessingSupport), COUNT_AT(numberMicrophones)),
    count(MEMBER(numberMicrophones), kDevices),
    word(MEMBER(currentMicrophone)),
    names(MEMBER(speakers), kDeviceName, COUNT_AT(numberSpeakers)),
    count(MEMBER(numberSpeakers), kDevices),
    word(MEMBER(currentSpeaker)),
    names(MEMBER(cameras), kDeviceName, COUNT_AT(numberCameras)),
    count(MEMBER(numberCameras), kDevices),
    word(MEMBER(currentCamera)),
    word(MEMBER(enableFeccEndpoint)),
    word(MEMBER(enableFeccController)),
    names(MEMBER(tavmoProxies), kProxyName, COUNT_AT(numberTavmoProxies), Use::GetOnly),
    count(MEMBER(numberTavmoProxies), kProxies, Use::GetOnly),
    word(MEMBER(currentTavmoProxy), Use::GetOnly),
    text(MEMBER(userID)),
    text(MEMBER(password)),
    text(MEMBER(serverAddress)),
    text(MEMBER(serverPort)),
    text(MEMBER(tavmoProxyAddress), Use::GetOnly),
    text(MEMBER(tavmoProxyPort), Use::GetOnly),
    text(MEMBER(webProxyAddress)),
    text(MEMBER(webProxyPort)),
    text(MEMBER(webProxyUsername)),
    text(MEMBER(webProxyPassword)),
    text(MEMBER(webProxyIeAddress), Use::GetOnly),
    text(MEMBER(webProxyIePort), Use::GetOnly),
    text(MEMBER(portalAddress)),
    text(MEMBER(ringtoneDeviceName)),
    text(MEMBER(verifyCertPortalAcct)),
    text(MEMBER(webProxyScriptUrl)),
    text(MEMBER(webProxyIeScriptUrl), Use::GetOnly),
    word(MEMBER(mediaLowPort)),
    word(MEMBER(mediaHighPort)),
    word(MEMBER(proxySettings)),
    videoPreference(MEMBER(videoPreferences)),
    word(MEMBER(enableLogging)),
    word(MEMBER(enableAutoAnswer)),
    word(MEMBER(enableForceProxy)),
    word(MEMBER(enableLogWindow)),
    word(MEMBER(enableEntryTone)),
    word(MEMBER(enableEchoDetection)),
    word(MEMBER(enableEchoCancellation)),
    word(MEMBER(enableFullScreenVideo)),
    word(MEMBER(showToolbarInFullScreenVideo)),
    word(MEMBER(enableAudioAGC)),
    word(MEMBER(enableAutoStart)),
    word(MEMBER(enableAutoLogIn)),
    word(MEMBER(enableShowConfParticipantName)),
    word(MEMBER(enableMuteMicrophoneOnJoin)),
    word(MEMBER(enableHideCameraOnJoin)),
    word(MEMBER(enableMuteSpeakerOnJoin)),
    word(MEMBER(enableEulaAgreed)),
    word(MEMBER(enableRendering)),
    word(MEMBER(enableBackgrounding)),
    word(MEMBER(enablePersonalRoomForSchedulingMeeting)),
    word(MEMBER(enableFullDisplaySharing)),
    word(MEMBER(selfViewLoopbackPolicy)),
    word(MEMBER(enableLowBackgroundTimeout), Use::SetOnly),
    word(MEMBER(allowLetterBoxVideoScaling), Use::SetOnly),
};

#undef MEMBER
#undef COUNT_AT

// Members of every request that are not configuration.
constexpr const char* kEnvelopeKeys[] = {"_direction", "_id", "_tabId", "type"};

struct VideoPreferenceName {
    uint32_t code;
    const char* name;
};

constexpr VideoPreferenceName kVideoPreferences[] = {
    {TAVMO_CLIENT_VIDEO_BEST_QUALITY, "BestQuality"},
    {TAVMO_CLIENT_VIDEO_BEST_FRAMERATE, "BestFramerate"},
    {TAVMO_CLIENT_VIDEO_BEST_RESOLUTION, "BestResolution"},
    {TAVMO_CLIENT_VIDEO_LIMITED_BANDWIDTH, "LimitedBandwidth"},
    {TAVMO_CLIENT_VIDEO_ADVANCED_360P30, "Advanced360p30"},
    {TAVMO_CLIENT_VIDEO_ADVANCED_450P30, "Advanced450p30"},
    {TAVMO_CLIENT_VIDEO_ADVANCED_720P15, "Advanced720p15"},
    {TAVMO_CLIENT_VIDEO_ADVANCED_720P30, "Advanced720p30"},
    {TAVMO_CLIENT_VIDEO_1080P30, "1080p30"},
    {TAVMO_CLIENT_VIDEO_ADVANCED_360P15, "Advanced360p15"},
};

// The record seen as bytes, so that the table's offsets can address it.
class RecordBytes {
public:
    explicit RecordBytes(TavmoClientConfiguration& record) : bytes_(reinterpret_cast<unsigned char*>(&record)) {}

    uint32_t word(std::size_t offset) const {
        uint32_t value;
        std::memcpy(&value, bytes_ + offset, sizeof value);
        return value;
    }
    void setWord(std::size_t offset, uint32_t value) { std::memcpy(bytes_ + offset, &value, sizeof value); }
    char* text(std::size_t offset) { return reinterpret_cast<char*>(bytes_ + offset); }
    unsigned char& byte(std::size_t offset) { return bytes_[offset]; }

    // How many slots of a list are in use; a count beyond the list's capacity
    // must not lead past it.
    uint32_t usedSlots(const Field& list) const { return std::min(word(list.countOffset), list.capacity); }

private:
    unsigned char* bytes_;
};

const Field* findField(const std::string& key) {
    for (const Field& field : kFields)
        if (key == field.key) return &field;
    return nullptr;
}

bool isEnvelopeKey(const std::string& key) {
    return std::any_of(std::begin(kEnvelopeKeys), std::end(kEnvelopeKeys),
                       [&](const char* envelope) { return key == envelope; });
}

Json::Value reportedValue(RecordBytes& record, const Field& field) {
    switch (field.kind) {
        case Kind::Word:
        case Kind::Count: return Json::Value(record.word(field.offset));
        case Kind::Text: return readText(record.text(field.offset), field.width);
        case Kind::NameList: {
            Json::Value list(Json::arrayValue);
            for (uint32_t slot = 0; slot < record.usedSlots(field); ++slot)
                list.append(readText(record.text(field.offset + slot * field.slotWidth), field.slotWidth));
            return list;
        }
        case Kind::FlagList: {
            Json::Value list(Json::arrayValue);
            for (uint32_t slot = 0; slot < record.usedSlots(field); ++slot)
                list.append(record.byte(field.offset + slot) != 0);
            return list;
        }
        case Kind::VideoPreference:
            for (const VideoPreferenceName& preference : kVideoPreferences)
                if (preference.code == record.word(field.offset)) return preference.name;
            return Json::Value();
    }
    return Json::Value();
}

// Fills a list's slots from the page's array. The first list of a count that
// is still 0 sets the count from its array's size.
void storeList(RecordBytes& record, const Field& field, const Json::Value& value) {
    if (record.word(field.countOffset) == 0)
        record.setWord(field.countOffset, value.isArray() ? std::min(value.size(), field.capacity) : 0);
    uint32_t used = record.usedSlots(field);
    if (used > 0 && !value.isArray() && !value.isNull())
        throw Json::LogicError("in Json::Value::operator[](ArrayIndex)const: requires arrayValue");
    for (uint32_t slot = 0; slot < used; ++slot) {
        if (!value.isArray() || slot >= value.size() || value[slot].isNull()) continue;
        if (field.kind == Kind::FlagList)
            record.byte(field.offset + slot) = value[slot].asBool() ? 1 : 0;
        else
            copyText(record.text(field.offset + slot * field.slotWidth), field.slotWidth, stringValue(value[slot]));
    }
}

// Raises when the value cannot be converted.
void storeValue(RecordBytes& record, const Field& field, const Json::Value& value) {
    switch (field.kind) {
        case Kind::Word: record.setWord(field.offset, static_cast<uint32_t>(readLenientInt(value))); return;
        case Kind::Count:
            record.setWord(field.offset, std::min(static_cast<uint32_t>(readLenientInt(value)), field.capacity));
            return;
        // copyText keeps a terminator in the field even when the text would
        // fill it completely: the library gets no unterminated field.
        case Kind::Text: copyText(record.text(field.offset), field.width, stringValue(value)); return;
        case Kind::NameList:
        case Kind::FlagList: storeList(record, field, value); return;
        case Kind::VideoPreference: {
            const std::string name = value.asString();
            for (const VideoPreferenceName& preference : kVideoPreferences)
                if (name == preference.name) record.setWord(field.offset, preference.code);
            return;
        }
    }
}

}  // namespace

void RequestGetConfiguration(Json::Value& request) {
    TavmoClientConfiguration configuration{};
    if (!sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_GET_CONFIGURATION), configuration)) return;
    RecordBytes record(configuration);
    for (const Field& field : kFields) {
        if (field.use == Use::SetOnly) continue;
        Json::Value value = reportedValue(record, field);
        if (!value.isNull()) request[field.key] = value;
    }
}

void RequestSetConfiguration(Json::Value& request) {
    TavmoClientConfiguration configuration{};
    RecordBytes record(configuration);
    const Json::Value& members = request;
    // Ascending key order, which decides how list sizes and counts combine.
    for (const std::string& key : request.getMemberNames()) {
        const Field* field = findField(key);
        if (!field) {
            if (!isEnvelopeKey(key))
                LOG_ERROR("OutputThread: RequestSetConfiguration() Found unknown key: [%s]", textForLog(key).c_str());
            continue;
        }
        if (field->use == Use::GetOnly) continue;
        try {
            storeValue(record, *field, members[key]);
        } catch (const std::exception&) {
            FAIL_REQUEST(request, "unknown Exception",
                         "OutputThread: RequestSetConfiguration() Unknown Exception at key: [%s]",
                         textForLog(key).c_str());
            return;
        }
    }
    if (sendRequest(request, __func__, LIBRARY_CODE(TAVMO_CLIENT_REQUEST_SET_CONFIGURATION), configuration))
        setResultOk(request);
}
