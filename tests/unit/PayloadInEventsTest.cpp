#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "HostState.h"
#include "InEventTestSupport.h"
#include "PageMessages.h"
#include "RequestHandler/PayloadInEvents.h"
#include "platform/Platform.h"

namespace inevent_test {
namespace {

struct SentCase {
    std::string request;
    int32_t code;
    Bytes record;
};

class PayloadSent : public InEventTest, public ::testing::WithParamInterface<SentCase> {};

TEST_P(PayloadSent, SendsTheRecordAndAnswersOk) {
    storeDesktopDevice(0, "DISPLAY1");
    storeDesktopDevice(3, "DISPLAY4");
    const SentCase& c = GetParam();
    EXPECT_EQ(answer(c.request), okReply(c.request));
    std::vector<fake::SentRecord> sent = events();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].code, c.code);
    EXPECT_EQ(sent[0].record, c.record);
}

RecordBuilder desktop(const std::string& device) { return RecordBuilder(152).int32(0, 2).int32(4, 1).text(8, device); }
RecordBuilder window(int32_t handle) { return RecordBuilder(152).int32(0, 1).int32(4, handle); }

INSTANTIATE_TEST_SUITE_P(
    Payloads, PayloadSent,
    ::testing::Values(
        SentCase{request("InEventShare", R"("shareType":"DesktopWindow","window":"3")"), 600, desktop("DISPLAY4")},
        SentCase{request("InEventShare", R"("shareType":"DesktopWindow")"), 600, desktop("DISPLAY1")},
        SentCase{request("InEventShare", R"("shareType":"DesktopWindow","window":2)"), 600, desktop("")},
        SentCase{request("InEventShare", R"("window":"00000000000000FF")"), 600, window(255)},
        SentCase{request("InEventShare", R"("shareType":"desktopwindow","window":"zz")"), 600, window(0)},
        SentCase{request("InEventGroupChat", R"("message":")" + std::string(2000, 'm') + "\""), 2000,
                 RecordBuilder(1025).text(0, std::string(1024, 'm'))},
        SentCase{request("InEventPrivateChat", R"("uri":"bob@portal","message":"hi")"), 2001,
                 RecordBuilder(1282).text(0, "bob@portal").text(257, "hi")},
        SentCase{request("InEventSetDisplayName", R"("uri":"bob","displayName":")" + std::string(300, 'd') + "\""),
                 3000, RecordBuilder(385).text(0, "bob").text(257, std::string(127, 'd'))},
        SentCase{request("InEventResetDisplayName", R"("uri":"bob")"), 3100, RecordBuilder(257).text(0, "bob")},
        SentCase{request("InEventPinParticipant", R"("uri":"bob","pinMode":"PinLow")"), 1401,
                 RecordBuilder(268).text(4, "bob").int32(264, 3)},
        SentCase{request("InEventPinParticipant", R"("pinMode":"PinHigh")"), 1401, RecordBuilder(268).int32(264, 2)},
        SentCase{request("InEventPinParticipant", R"("pinMode":"pinlow")"), 1401, RecordBuilder(268).int32(264, 1)},
        SentCase{request("InEventControlCamera", R"("uri":"cam","cameraCommand":"ViscaResponse","commandId":"id",)"
                                                 R"("commandData":"d","preset":300)"),
                 1400, RecordBuilder(524).text(0, "cam").int32(260, 8).text(264, "id").text(392, "d").byte(520, 44)},
        SentCase{request("InEventControlCamera", R"("cameraCommand":"ZoomOut","preset":-1)"), 1400,
                 RecordBuilder(524).int32(260, 5).byte(520, 255)},
        SentCase{request("InEventControlCamera"), 1400, RecordBuilder(524)},
        SentCase{request("InEventControlConferenceRoomSettings"), 3240, RecordBuilder(32).int32(4, 1).int32(8, 1)},
        SentCase{request("InEventControlConferenceRoomSettings",
                         R"("requestId":9,"roomType":2,"roomSettingId":"4","moderatorPin":"12345678901234567890")"),
                 3240, RecordBuilder(32).int32(0, 9).int32(4, 2).int32(8, 4).text(12, "1234567890123456")},
        SentCase{request("InEventPlayDtmfTone", R"("tone":"#9")"), 1301, RecordBuilder(8).text(0, "#")}));

TEST_F(InEventTest, DesktopIndexOutsideTheTableIsAnErrorWithoutInEvent) {
    const struct {
        const char* window;
        const char* logged;
    } cases[] = {{"16", "16"}, {"-1", "-1"}, {"null", "-2147483648"}};
    for (const auto& c : cases) {
        fake::reset();
        const std::string share =
            request("InEventShare", std::string(R"("shareType":"DesktopWindow","window":)") + c.window);
        EXPECT_EQ(answer(share), errorReply(share, "Invalid desktop index"));
        EXPECT_TRUE(events().empty());
        EXPECT_EQ(fake::logTexts(TAVMO_CLIENT_LOG_ERROR),
                  std::vector<std::string>{std::string("OutputThread: InEventShare() Invalid desktop index: [") +
                                           c.logged + "]"});
    }
}

TEST(WindowHandle, ReadsUpToSixteenDigitsFromTheFirstSeventeenCharacters) {
    const struct {
        const char* text;
        uint32_t handle;
    } cases[] = {{"0000000000001A2B", 0x1A2B},
                 {"ff", 0xFF},
                 {"", 0},
                 {"12G4", 0x12},
                 {"\t7", 7},
                 {"FFFFFFFF00000001", 1},
                 {"  00000000000000FF", 0x0F},
                 {"123456789ABCDEF01", 0x9ABCDEF0}};
    for (const auto& c : cases) EXPECT_EQ(parseWindowHandle(c.text), c.handle) << c.text;
}

class PayloadBadInput : public InEventTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(PayloadBadInput, IsAnUnknownErrorAndSendsNothing) {
    EXPECT_EQ(answer(GetParam()), errorReply(GetParam(), "unknown error"));
    EXPECT_TRUE(events().empty());
}

INSTANTIATE_TEST_SUITE_P(Payloads, PayloadBadInput,
                         ::testing::Values(request("InEventShare", R"("shareType":5)"),
                                           request("InEventShare", R"("window":255)"),
                                           request("InEventPrivateChat", R"("message":"hi","uri":null)"),
                                           request("InEventPinParticipant", R"("pinMode":2)"),
                                           request("InEventControlCamera", R"("commandData":1)"),
                                           request("InEventPlayDtmfTone", R"("tone":true)"),
                                           request("InEventStartPrecallTestSpeaker", R"("soundFileName":7)")));

class SpeakerTest : public InEventTest {
protected:
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        InEventTest::TearDown();
    }

    // The request for a sound file of these bytes, or for a missing file.
    std::string startWith(const char* bytes, std::size_t size) {
        std::filesystem::create_directories(folder_);
        std::filesystem::path path = folder_ / "sound.wav";
        if (bytes) std::ofstream(path, std::ios::binary).write(bytes, static_cast<std::streamsize>(size));
        Json::Value start;
        start["type"] = "InEventStartPrecallTestSpeaker";
        start["_direction"] = 1;
        start["soundFileName"] = path.string();
        return json::writeCompact(start);
    }

    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("speaker-test-" + std::to_string(platform::processId()));
};

TEST_F(SpeakerTest, HandsTheWholeFileToTheLibrary) {
    const char sound[] = "RIFF\0\x01\xffWAVE";
    Bytes kept;
    acceptTakingOver(TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER, sizeof sound, kept);
    const std::string start = startWith(sound, sizeof sound);
    EXPECT_EQ(answer(start), okReply(start));
    EXPECT_EQ(kept, Bytes(sound, sound + sizeof sound));
}

TEST_F(SpeakerTest, MissingOrEmptyFileStopsBeforeTheInEvent) {
    std::string start = startWith(nullptr, 0);
    EXPECT_EQ(answer(start), errorReply(start, "cannot open file"));
    start = startWith("", 0);
    EXPECT_EQ(answer(start), errorReply(start, "invalid file size"));
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(fake::logTexts(TAVMO_CLIENT_LOG_ERROR),
              (std::vector<std::string>{"OutputThread: InEventStartPrecallTestSpeaker() Cannot open file",
                                        "OutputThread: InEventStartPrecallTestSpeaker() Invalid file size"}));
}

// Names the page may give that are no sound to read whole: the host neither
// waits on them nor reads them into memory.
struct UnfitSoundCase {
    const char* name;
    std::filesystem::path (*make)(const std::filesystem::path& folder);
    const char* error;
};

class UnfitSound : public SpeakerTest, public ::testing::WithParamInterface<UnfitSoundCase> {};

TEST_P(UnfitSound, IsRefusedBeforeTheInEvent) {
    std::filesystem::create_directories(folder_);
    Json::Value start;
    start["type"] = "InEventStartPrecallTestSpeaker";
    start["_direction"] = 1;
    start["soundFileName"] = GetParam().make(folder_).string();
    const std::string text = json::writeCompact(start);

    EXPECT_EQ(answer(text), errorReply(text, GetParam().error));
    EXPECT_TRUE(events().empty());
}

std::filesystem::path sparseFile(const std::filesystem::path& folder, uintmax_t size) {
    std::filesystem::path path = folder / "long.wav";
    std::ofstream(path, std::ios::binary).put('R');
    std::filesystem::resize_file(path, size);
    return path;
}

constexpr uintmax_t kLongestSound = 64 * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Files, UnfitSound,
    ::testing::Values(
        UnfitSoundCase{"Folder", [](const std::filesystem::path& folder) { return folder; }, "cannot open file"},
        UnfitSoundCase{"EndlessDevice", [](const std::filesystem::path&) { return std::filesystem::path("/dev/zero"); },
                       "cannot open file"},
        UnfitSoundCase{"OverSixtyFourMebibytes",
                       [](const std::filesystem::path& folder) { return sparseFile(folder, kLongestSound + 1); },
                       "invalid file size"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpeakerTest, FifoIsRefusedWithoutWaitingForAWriter) {
    std::filesystem::create_directories(folder_);
    const std::filesystem::path fifo = folder_ / "sound.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Json::Value start;
    start["type"] = "InEventStartPrecallTestSpeaker";
    start["_direction"] = 1;
    start["soundFileName"] = fifo.string();
    const std::string text = json::writeCompact(start);

    // Should the handler wait in the open, this writer ends the wait, and the
    // reply shows that the FIFO was taken as a file.
    std::atomic<bool> answered{false};
    std::thread writer([&] {
        while (!answered) {
            int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    std::string reply = answer(text);
    answered = true;
    writer.join();

    EXPECT_EQ(reply, errorReply(text, "cannot open file"));
    EXPECT_TRUE(events().empty());
}

TEST_F(SpeakerTest, SixtyFourMebibytesAreStillRead) {
    Bytes kept;
    acceptTakingOver(TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER, 2, kept);
    std::filesystem::create_directories(folder_);
    Json::Value start;
    start["type"] = "InEventStartPrecallTestSpeaker";
    start["_direction"] = 1;
    start["soundFileName"] = sparseFile(folder_, kLongestSound).string();
    const std::string text = json::writeCompact(start);

    EXPECT_EQ(answer(text), okReply(text));
    EXPECT_EQ(kept, (Bytes{'R', 0}));
}

// The leak check of the sanitizer build fails the suite unless the host
// frees the sound that the library refused.
TEST_F(SpeakerTest, RefusedSoundIsAnswered) {
    refuse(TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER);
    const std::string start = startWith("sound", 5);
    EXPECT_EQ(answer(start), errorReply(start, "TavmoClient error: TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER"));
}

}  // namespace
}  // namespace inevent_test
