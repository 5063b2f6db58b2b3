// The library's status values, through the real host and the stand-in
// library.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "HostProcess.h"
#include "PageMessages.h"

namespace {

std::string ask(HostProcess& host, const std::string& type, const std::string& fields = "") {
    host.sendFrame(request(type, fields));
    return host.readFrame().value_or("(no reply)");
}

TEST(ClientStatus, ValuesThatWereSetReadBack) {
    ScratchFolder folder;
    HostOptions options;
    // A call in progress, so that there are participants to name.
    options.scenario = {"call-state 4"};
    HostProcess host(folder, options);

    EXPECT_EQ(ask(host, "RequestSetVolumeAudioIn", "\"volume\":\"1234\""),
              "{\"_direction\":2,\"result\":\"ok\",\"type\":\"RequestSetVolumeAudioIn\",\"volume\":\"1234\"}\n");
    EXPECT_EQ(ask(host, "RequestGetVolumeAudioIn"),
              "{\"_direction\":2,\"type\":\"RequestGetVolumeAudioIn\",\"volume\":1234}\n");
    EXPECT_EQ(ask(host, "RequestSetVolumeAudioOut", "\"volume\":-1"),
              "{\"_direction\":2,\"result\":\"ok\",\"type\":\"RequestSetVolumeAudioOut\",\"volume\":-1}\n");
    EXPECT_EQ(ask(host, "RequestGetVolumeAudioOut"),
              "{\"_direction\":2,\"type\":\"RequestGetVolumeAudioOut\",\"volume\":65535}\n");
    EXPECT_EQ(ask(host, "RequestSetReceiveMaxKbps", "\"value\":2048"),
              "{\"_direction\":2,\"result\":\"ok\",\"type\":\"RequestSetReceiveMaxKbps\",\"value\":2048}\n");
    EXPECT_EQ(ask(host, "RequestGetReceiveMaxKbps"),
              "{\"_direction\":2,\"type\":\"RequestGetReceiveMaxKbps\",\"value\":2048}\n");
    EXPECT_EQ(ask(host, "RequestGetWebProxySettingsValid"),
              "{\"_direction\":2,\"isValid\":false,\"type\":\"RequestGetWebProxySettingsValid\"}\n");
    EXPECT_EQ(ask(host, "RequestSetWebProxyCredentials", "\"username\":\"proxy\",\"password\":\"pw\",\"persist\":1"),
              "{\"_direction\":2,\"password\":\"pw\",\"persist\":1,\"result\":\"ok\",\"type\":"
              "\"RequestSetWebProxyCredentials\",\"username\":\"proxy\"}\n");
    EXPECT_EQ(ask(host, "RequestGetWebProxySettingsValid"),
              "{\"_direction\":2,\"isValid\":true,\"type\":\"RequestGetWebProxySettingsValid\"}\n");
    EXPECT_EQ(ask(host, "RequestGetNumParticipants"),
              "{\"_direction\":2,\"numParticipants\":3,\"type\":\"RequestGetNumParticipants\"}\n");
    EXPECT_EQ(ask(host, "RequestGetParticipantNameAt", "\"index\":\"1\""),
              "{\"_direction\":2,\"index\":1,\"name\":\"Sam Ortiz\",\"result\":true,\"type\":"
              "\"RequestGetParticipantNameAt\"}\n");
    EXPECT_EQ(
        ask(host, "RequestGetParticipantNameAt", "\"index\":3"),
        "{\"_direction\":2,\"index\":3,\"name\":\"\",\"result\":false,\"type\":\"RequestGetParticipantNameAt\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
}

TEST(ClientStatus, LibraryRefusalsAndBadMembersAreAnswered) {
    ScratchFolder folder;
    HostOptions options;
    options.scenario = {"refuse-request 100300 7", "refuse-private 302000 8"};
    HostProcess host(folder, options);

    EXPECT_EQ(ask(host, "RequestGetVolumeAudioIn"),
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN\",\"type\":"
              "\"RequestGetVolumeAudioIn\"}\n");
    EXPECT_EQ(ask(host, "RequestGetAudioEnergyInfo"),
              "{\"_direction\":2,\"error\":\"TavmoClient error: TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO\","
              "\"type\":\"RequestGetAudioEnergyInfo\"}\n");
    EXPECT_EQ(ask(host, "RequestSetLabel", "\"labelText\":12"),
              "{\"_direction\":2,\"error\":\"unknown error\",\"labelText\":12,\"type\":\"RequestSetLabel\"}\n");
    EXPECT_EQ(ask(host, "RequestSetWebProxyCredentials", "\"username\":\"u\""),
              "{\"_direction\":2,\"error\":\"unknown error\",\"type\":\"RequestSetWebProxyCredentials\",\"username\":"
              "\"u\"}\n");
    EXPECT_EQ(ask(host, "RequestGetWebProxySettingsValid"),
              "{\"_direction\":2,\"isValid\":false,\"type\":\"RequestGetWebProxySettingsValid\"}\n");
    host.closeInput();
    EXPECT_EQ(host.waitExit(), 0);
    std::string log = host.logText();
    EXPECT_NE(log.find("OutputThread: RequestGetVolumeAudioIn() TAVMO_CLIENT_REQUEST_GET_VOLUME_AUDIO_IN: [7]"),
              std::string::npos);
    EXPECT_NE(
        log.find("OutputThread: RequestGetAudioEnergyInfo() TAVMO_CLIENT_PRIVATE_REQUEST_GET_AUDIO_ENERGY_INFO: [8]"),
        std::string::npos);
}

}  // namespace
