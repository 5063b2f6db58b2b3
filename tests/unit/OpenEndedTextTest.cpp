// Texts that no following field ends: the library gives them no width, and
// they run to their first NUL within the block it delivers, or to the block's
// end. Each case names where such a text starts in its record and where it
// arrives in "params".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EventRecords.h"
#include "HostFixture.h"
#include "OutEventHandler.h"
#include "OutEventHandler/DelayedSender.h"

namespace {

constexpr int32_t kPortal = TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP;
constexpr int32_t kDelayedUri = TAVMO_CLIENT_OUT_EVENT_DELAYED_URI;

enum class Encoding { Bytes, Utf16 };

struct OpenText {
    const char* name;
    int32_t code;
    uint32_t typeRequest;  // of a portal answer; 0 for other events
    std::size_t offset;
    std::vector<const char*> path;  // to the text in "params"
    Encoding encoding = Encoding::Bytes;
};

void PrintTo(const OpenText& c, std::ostream* out) { *out << c.name; }

class OpenEndedText : public HostFixture, public ::testing::WithParamInterface<OpenText> {
protected:
    // The record up to where its text starts: a portal answer's header, zeros
    // elsewhere.
    Block head() const {
        Block block(GetParam().offset, 0);
        if (GetParam().code == kPortal) {
            TavmoClientPortalHeader header{GetParam().typeRequest, 0, 200, 1};
            std::memcpy(block.data(), &header, sizeof header);
        }
        return block;
    }

    // The shortest block that still says which record it is.
    Block emptyRecord() const {
        if (GetParam().code != kPortal) return Block{};
        Block header = head();
        header.resize(sizeof(TavmoClientPortalHeader));
        return header;
    }

    // `text` in the record's encoding (ASCII only), without a terminator.
    Block encoded(const std::string& text) const {
        Block bytes;
        for (char c : text) {
            bytes.push_back(static_cast<unsigned char>(c));
            if (GetParam().encoding == Encoding::Utf16) bytes.push_back(0);
        }
        return bytes;
    }

    Block terminator() const { return Block(GetParam().encoding == Encoding::Utf16 ? 2 : 1, 0); }

    // The text the page receives for `block`.
    Json::Value translatedText(const Block& block) {
        OnOutEvent(GetParam().code, block);
        if (GetParam().code == kDelayedUri) {
            EXPECT_TRUE(eventually([] { return fake::logged("DelayOutEventThread Sending outEvent: [1600]", 3); }));
            dropDelayedEvents();  // returns once the message is written
        }
        std::vector<std::string> bodies = writtenBodies();
        EXPECT_EQ(bodies.size(), 1u);
        Json::Value message;
        if (bodies.empty() || !json::parse(bodies.front(), message)) return Json::Value();
        Json::Value value = message["params"];
        for (const char* key : GetParam().path) value = value[key];
        return value;
    }
};

Block operator+(Block left, const Block& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// Long enough to pass any width a record might give the field, and varied,
// so that a cut or a shift shows.
std::string longText() {
    std::string text;
    for (int i = 0; i < 3000; ++i) text.push_back(static_cast<char>('a' + i % 26));
    return text;
}

TEST_P(OpenEndedText, LongTextArrivesWholeUpToItsNul) {
    std::string text = longText();
    EXPECT_EQ(translatedText(head() + encoded(text) + terminator() + encoded("after")), Json::Value(text));
}

TEST_P(OpenEndedText, TextWithoutNulEndsWhereTheBlockEnds) {
    Block block = head() + encoded("to the end");
    if (GetParam().encoding == Encoding::Utf16) block.push_back('x');  // half a unit is no character
    EXPECT_EQ(translatedText(block), Json::Value("to the end"));
}

TEST_P(OpenEndedText, EmptyRecordGivesTheEmptyText) { EXPECT_EQ(translatedText(emptyRecord()), Json::Value("")); }

std::string caseName(const ::testing::TestParamInfo<OpenText>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    PublicEvents, OpenEndedText,
    ::testing::Values(
        OpenText{"DeviceChange", 602, 0, 136, {"newDeviceName"}}, OpenText{"Progress700", 700, 0, 4, {"caption"}},
        OpenText{"Progress800", 800, 0, 4, {"caption"}}, OpenText{"Progress900", 900, 0, 4, {"caption"}},
        OpenText{"Progress1000", 1000, 0, 4, {"caption"}},
        OpenText{"ParticipantSource1210", 1210, 0, 389, {"sourceName"}},
        OpenText{"ParticipantSource1211", 1211, 0, 389, {"sourceName"}}, OpenText{"DelayedUri", 1600, 0, 0, {"URI"}},
        OpenText{"Uri", 1601, 0, 0, {"URI"}}, OpenText{"CameraControl", 2101, 0, 392, {"commandData"}},
        OpenText{"CameraControlStatus", 2104, 0, 4, {"curFeccUri"}}, OpenText{"Login", 2300, 0, 261, {"userName"}},
        OpenText{"RoomLink", 2305, 0, 8, {"serverUri"}}, OpenText{"Installer", 2306, 0, 36, {"installerUri"}},
        OpenText{"Chat2600", 2600, 0, 385, {"message"}}, OpenText{"Chat2601", 2601, 0, 385, {"message"}},
        OpenText{"PortalPrefix", 2710, 0, 4, {"portalPrefix"}}, OpenText{"Presenter", 2802, 0, 0, {"uriOfPresenter"}},
        OpenText{"AudioFrame", 2810, 0, 288, {"frame", "data"}},
        OpenText{"VideoFrame", 2811, 0, 292, {"frame", "data"}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(PrivateEvents, OpenEndedText,
                         ::testing::Values(OpenText{"WebProxy", 201200, 0, 0, {"webProxyURL"}},
                                           OpenText{"Notice", 201600, 0, 0, {"message"}},
                                           OpenText{"RoomKey", 201700, 0, 258, {"roomKey"}},
                                           OpenText{"DeviceNotice202100", 202100, 0, 8, {"deviceName"}},
                                           OpenText{"DeviceNotice202110", 202110, 0, 8, {"deviceName"}}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(PortalAnswers, OpenEndedText,
                         ::testing::Values(OpenText{"ClientVersion", kPortal, 1, 49, {"installerUri"}},
                                           OpenText{
                                               "FileDownload", kPortal, 2, 36, {"installerPathW"}, Encoding::Utf16},
                                           OpenText{"BrowserAccessKey", kPortal, 4, 16, {"BAK"}},
                                           OpenText{"UserName", kPortal, 39, 20, {"realUserName"}},
                                           OpenText{"ScheduledRoom", kPortal, 50, 3042, {"roomURL"}},
                                           OpenText{"InviteContent", kPortal, 51, 1520, {"subject"}},
                                           OpenText{"ConferenceId", kPortal, 52, 20, {"conferenceID"}},
                                           OpenText{"AuthToken", kPortal, 53, 20, {"authToken"}},
                                           OpenText{"RoomAccessOptions", kPortal, 63, 303, {"dialInNumber"}},
                                           OpenText{"PortalPrefix", kPortal, 70, 20, {"portalPrefix"}},
                                           OpenText{"ChangePasswordUrl", kPortal, 75, 20, {"changePasswordHtmlUrl"}}),
                         caseName);

}  // namespace
