#include "ConfigurationRequests.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "DeviceFlows.h"
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
    configuration.microphoneVoiceProcessingSupport[0] = 1;
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

template <std::size_t Count>
uint32_t putNames(char (&fields)[Count][TAVMO_CLIENT_DEVICE_NAME_BYTES], const std::vector<std::string>& names) {
    const std::size_t listed = std::min(names.size(), Count);
    for (std::size_t i = 0; i < Count; ++i) setText(fields[i], i < listed ? names[i] : std::string());
    return static_cast<uint32_t>(listed);
}

// The lists are the machine's whatever was stored.
void putMachineDevices(Configuration& configuration, const MachineDevices& devices) {
    configuration.numberMicrophones = putNames(configuration.microphones, devices.microphones);
    for (uint32_t i = 0; i < TAVMO_CLIENT_CONFIGURATION_DEVICES; ++i) {
        setText(configuration.microphonePhyDeviceName[i],
                i < configuration.numberMicrophones ? "capture:" + std::to_string(i) : std::string());
    }
    configuration.numberSpeakers = putNames(configuration.speakers, devices.speakers);
    configuration.numberCameras = putNames(configuration.cameras, devices.cameras);
}

struct Selection {
    int32_t deviceType;
    uint32_t Configuration::*current;
    const std::vector<std::string> MachineDevices::*names;
};

constexpr Selection kSelections[] = {
    {kDeviceSpeaker, &Configuration::currentSpeaker, &MachineDevices::speakers},
    {kDeviceMicrophone, &Configuration::currentMicrophone, &MachineDevices::microphones},
    {kDeviceCamera, &Configuration::currentCamera, &MachineDevices::cameras},
};

std::string selectedName(const MachineDevices& devices, const Selection& selection, uint32_t index) {
    const auto& names = devices.*selection.names;
    return index < names.size() ? names[index] : std::string();
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

TavmoClientConfiguration loadConfiguration(const LibraryState& state) {
    Configuration configuration{};
    std::ifstream file(state.dataDirectory / kFileName, std::ios::binary);
    if (state.dataDirectory.empty() || !file.read(reinterpret_cast<char*>(&configuration), sizeof configuration) ||
        file.peek() != std::ifstream::traits_type::eof())
        configuration = defaultConfiguration();
    putMachineDevices(configuration, state.devices);
    return configuration;
}

int32_t getConfiguration(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(Configuration)) return kRequestBadRecord;
    const Configuration configuration = loadConfiguration(context.state);
    std::memcpy(record, &configuration, sizeof configuration);
    return kRequestDone;
}

int32_t setConfiguration(RequestContext& context, void* record, uint32_t size) {
    if (!record || size != sizeof(Configuration)) return kRequestBadRecord;
    const auto* incoming = static_cast<const unsigned char*>(record);
    if (!std::all_of(std::begin(kSettableTexts), std::end(kSettableTexts),
                     [&](const Span& span) { return terminated(incoming, span); }))
        return kRequestBadRecord;

    const Configuration before = loadConfiguration(context.state);
    Configuration configuration = before;
    auto* stored = reinterpret_cast<unsigned char*>(&configuration);
    for (const Span& span : kSettableTexts) std::memcpy(stored + span.offset, incoming + span.offset, span.size);
    for (const Span& span : kSettableWords) std::memcpy(stored + span.offset, incoming + span.offset, span.size);
    if (!selects(configuration.currentMicrophone, configuration.numberMicrophones) ||
        !selects(configuration.currentSpeaker, configuration.numberSpeakers) ||
        !selects(configuration.currentCamera, configuration.numberCameras))
        return kRequestBadRecord;
    if (!saveConfiguration(context.state.dataDirectory, configuration)) return kRequestStorageFailed;
    if (!context.state.started) return kRequestDone;
    for (const Selection& selection : kSelections) {
        const uint32_t was = before.*selection.current;
        const uint32_t now = configuration.*selection.current;
        if (was == now) continue;
        reportSelectionChange(context.script, selection.deviceType, selectedName(context.state.devices, selection, was),
                              selectedName(context.state.devices, selection, now), SelectionCause::Chosen);
    }
    return kRequestDone;
}

bool unplugDevice(LibraryState& state, Script& script, int32_t deviceType, const std::string& name) {
    std::vector<std::string>* names = state.devices.ofType(deviceType);
    if (!names) return false;
    const auto found = std::find(names->begin(), names->end(), name);
    if (found == names->end()) return false;
    const auto removed = static_cast<uint32_t>(found - names->begin());
    Configuration configuration = loadConfiguration(state);
    names->erase(found);
    reportDeviceListChange(script, deviceType, name, kDeviceRemoved);

    for (const Selection& selection : kSelections) {
        if (selection.deviceType != deviceType) continue;
        uint32_t& current = configuration.*selection.current;
        if (current < removed) return true;
        if (current > removed) {
            --current;
        } else {
            current = 0;
            reportSelectionChange(script, deviceType, name, selectedName(state.devices, selection, 0),
                                  SelectionCause::Lost);
        }
        saveConfiguration(state.dataDirectory, configuration);
    }
    return true;
}

}  // namespace standin
