#include "ConfigurationRequests.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

#include "RecordText.h"

namespace standin {
namespace {

using Configuration = TavmoClientConfiguration;

constexpr const char* kFileName = "Configuration.dat";

struct Span {
    std::size_t offset;
    std::size_t size;
};

#define SPAN(member) \
    Span { offsetof(Configuration, member), sizeof(Configuration::member) }

// What the host may change, texts apart from words.
constexpr Span kSettableTexts[] = {
    SPAN(userID),          SPAN(password),           SPAN(serverAddress),        SPAN(serverPort),
    SPAN(webProxyAddress), SPAN(webProxyPort),       SPAN(webProxyUsername),     SPAN(webProxyPassword),
    SPAN(portalAddress),   SPAN(ringtoneDeviceName), SPAN(verifyCertPortalAcct), SPAN(webProxyScriptUrl),
};
constexpr Span kSettableWords[] = {
    SPAN(currentMicrophone),
    SPAN(currentSpeaker),
    SPAN(currentCamera),
    SPAN(enableFeccEndpoint),
    SPAN(enableFeccController),
    // From the media ports to the last switch, every word is the host's.
    Span{offsetof(Configuration, mediaLowPort), sizeof(Configuration) - offsetof(Configuration, mediaLowPort)},
};

#undef SPAN

Configuration defaultConfiguration() {
    Configuration configuration{};
    const char* microphones[] = {"Built-in Microphone", "Headset Microphone"};
    const char* microphoneDevices[] = {"capture:0:analog-stereo", "capture:1:usb-mono"};
    const char* speakers[] = {"Built-in Speakers", "Headset Earpiece"};
    const char* cameras[] = {"Integrated Camera", "Document Camera"};
    for (std::size_t i = 0; i < 2; ++i) {
        setText(configuration.microphones[i], microphones[i]);
        setText(configuration.microphonePhyDeviceName[i], microphoneDevices[i]);
        setText(configuration.speakers[i], speakers[i]);
        setText(configuration.cameras[i], cameras[i]);
    }
    configuration.microphoneVoiceProcessingSupport[0] = 1;
    configuration.numberMicrophones = 2;
    configuration.numberSpeakers = 2;
    configuration.numberCameras = 2;
    setText(configuration.tavmoProxies[0], "Direct");
    setText(configuration.tavmoProxies[1], "proxy.conference.example");
    configuration.numberTavmoProxies = 2;
    setText(configuration.tavmoProxyPort, "443");
    setText(configuration.serverPort, "443");
    setText(configuration.webProxyPort, "8080");
    configuration.mediaLowPort = 50000;
    configuration.mediaHighPort = 50999;
    configuration.videoPreferences = TAVMO_CLIENT_VIDEO_BEST_QUALITY;
    configuration.enableEchoDetection = 1;
    configuration.enableEchoCancellation = 1;
    configuration.enableAudioAGC = 1;
    configuration.enableShowConfParticipantName = 1;
    configuration.enableRendering = 1;
    return configuration;
}

bool terminated(const unsigned char* bytes, const Span& span) {
    return std::memchr(bytes + span.offset, '\0', span.size) != nullptr;
}

// 0 selects nothing in particular, so it is always allowed.
bool selects(uint32_t index, uint32_t devices) { return index == 0 || index < devices; }

bool saveConfiguration(const std::filesystem::path& dataDirectory, const Configuration& configuration) {
    if (dataDirectory.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(dataDirectory, error);
    // A host that dies mid-write must not leave half a configuration behind.
    const auto path = dataDirectory / kFileName;
    auto partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(&configuration), sizeof configuration);
        if (!file.flush()) return false;
    }
    std::filesystem::rename(partial, path, error);
    return !error;
}

}  // namespace

TavmoClientConfiguration loadConfiguration(const std::filesystem::path& dataDirectory) {
    Configuration configuration{};
    std::ifstream file(dataDirectory / kFileName, std::ios::binary);
    if (dataDirectory.empty() || !file.read(reinterpret_cast<char*>(&configuration), sizeof configuration) ||
        file.peek() != std::ifstream::traits_type::eof())
        return defaultConfiguration();
    return configuration;
}

int32_t getConfiguration(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(Configuration)) return kRequestBadRecord;
    const Configuration configuration = loadConfiguration(context.state.dataDirectory);
    std::memcpy(record, &configuration, sizeof configuration);
    return kRequestDone;
}

int32_t setConfiguration(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(Configuration)) return kRequestBadRecord;
    const auto* incoming = static_cast<const unsigned char*>(record);
    if (!std::all_of(std::begin(kSettableTexts), std::end(kSettableTexts),
                     [&](const Span& span) { return terminated(incoming, span); }))
        return kRequestBadRecord;

    Configuration configuration = loadConfiguration(context.state.dataDirectory);
    auto* stored = reinterpret_cast<unsigned char*>(&configuration);
    for (const Span& span : kSettableTexts) std::memcpy(stored + span.offset, incoming + span.offset, span.size);
    for (const Span& span : kSettableWords) std::memcpy(stored + span.offset, incoming + span.offset, span.size);
    if (!selects(configuration.currentMicrophone, configuration.numberMicrophones) ||
        !selects(configuration.currentSpeaker, configuration.numberSpeakers) ||
        !selects(configuration.currentCamera, configuration.numberCameras))
        return kRequestBadRecord;
    return saveConfiguration(context.state.dataDirectory, configuration) ? kRequestDone : kRequestStorageFailed;
}

}  // namespace standin
