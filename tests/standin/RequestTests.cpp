#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "StandInTestSupport.h"

namespace standin_test {
namespace {

class RequestTest : public StandInTest {};

// A record allocated at exactly its size, so that a sanitized build stops
// the library at the first byte it touches past the end.
class ExactRecord {
public:
    explicit ExactRecord(uint32_t size, unsigned char fill = 0)
        : size_(size), bytes_(new unsigned char[size ? size : 1]) {
        std::memset(bytes_.get(), fill, size ? size : 1);
    }
    unsigned char* data() { return size_ ? bytes_.get() : nullptr; }
    uint32_t size() const { return size_; }
    void setText(const std::string& text) { std::memcpy(bytes_.get(), text.c_str(), text.size() + 1); }

private:
    uint32_t size_;
    std::unique_ptr<unsigned char[]> bytes_;
};

TEST_F(RequestTest, EveryRequestNeedsAnInitializedLibrary) {
    int32_t state = 0;
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, &state, sizeof state), 3);
    EXPECT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_EID, nullptr, 0), 3);
}

TEST_F(RequestTest, UnknownCodesAreErrors) {
    ASSERT_EQ(initialize(), 1);
    // Codes the interface does not define at all.
    for (const int32_t code : {0, -1, 1, 100000, 101999, 199998}) {
        int32_t record = 0;
        EXPECT_EQ(TavmoClientSendRequest(code, &record, sizeof record), 1) << code;
    }
    unsigned char inner[16] = {};
    for (const uint32_t privateCode : {0u, 1u, 307000u, 399999u}) {
        EXPECT_EQ(sendPrivate(privateCode, inner, sizeof inner), 1) << privateCode;
    }
}

TEST_F(RequestTest, CallStateStartsIdle) {
    ASSERT_EQ(initialize(), 1);
    ExactRecord record(4, 0x77);
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, record.data(), record.size()), 0);
    int32_t state = -1;
    std::memcpy(&state, record.data(), sizeof state);
    EXPECT_EQ(state, 0);
}

struct BadRecordCase {
    const char* name;
    int32_t code;
    uint32_t size;
    bool nullRecord;
    std::string text;  // written at the start when not empty
};

void PrintTo(const BadRecordCase& c, std::ostream* out) { *out << c.name; }

class BadRecordTest : public StandInTest, public ::testing::WithParamInterface<BadRecordCase> {};

TEST_P(BadRecordTest, IsRefusedWithoutTouchingTheRecord) {
    ASSERT_EQ(initialize(), 1);
    const auto& c = GetParam();
    ExactRecord record(c.size, 'u');
    if (!c.text.empty()) record.setText(c.text);
    const std::vector<unsigned char> before(record.data(), record.data() + record.size());
    EXPECT_EQ(TavmoClientSendRequest(c.code, c.nullRecord ? nullptr : record.data(), c.size), 2);
    EXPECT_EQ(std::vector<unsigned char>(record.data(), record.data() + record.size()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, BadRecordTest,
    ::testing::Values(
        BadRecordCase{"CallStateNull", TAVMO_CLIENT_REQUEST_GET_CALL_STATE, 4, true, ""},
        BadRecordCase{"CallStateShort", TAVMO_CLIENT_REQUEST_GET_CALL_STATE, 3, false, ""},
        BadRecordCase{"CallStateLong", TAVMO_CLIENT_REQUEST_GET_CALL_STATE, 8, false, ""},
        BadRecordCase{"LevelsNull", TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, 201, true, ""},
        BadRecordCase{"LevelsShort", TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, 200, false, "debug"},
        BadRecordCase{"LevelsUnterminated", TAVMO_CLIENT_REQUEST_SET_LOG_LEVELS_AND_CATEGORIES, 201, false, ""},
        BadRecordCase{"PrivateNull", TAVMO_CLIENT_REQUEST_PRIVATE, sizeof(TavmoClientPrivateRequest), true, ""},
        BadRecordCase{"PrivateShort", TAVMO_CLIENT_REQUEST_PRIVATE, sizeof(TavmoClientPrivateRequest) - 1, false, ""}),
    [](const ::testing::TestParamInfo<BadRecordCase>& info) { return info.param.name; });

struct BadInnerCase {
    const char* name;
    uint32_t privateCode;
    uint32_t size;
    bool nullRecord;
    std::string text;  // empty: the record is all 'u', with no terminator
};

void PrintTo(const BadInnerCase& c, std::ostream* out) { *out << c.name; }

class BadInnerRecordTest : public StandInTest, public ::testing::WithParamInterface<BadInnerCase> {};

TEST_P(BadInnerRecordTest, IsRefusedWithoutTouchingTheRecord) {
    ASSERT_EQ(initialize(), 1);
    const auto& c = GetParam();
    ExactRecord record(c.size, 'u');
    if (!c.text.empty()) record.setText(c.text);
    const std::vector<unsigned char> before(record.data(), record.data() + record.size());
    EXPECT_EQ(sendPrivate(c.privateCode, c.nullRecord ? nullptr : record.data(), c.size), 2);
    EXPECT_EQ(std::vector<unsigned char>(record.data(), record.data() + record.size()), before);
    EXPECT_FALSE(fs::exists(dataDirectory() / "ApprovedDomains.txt"));
}

constexpr uint32_t kQuery = TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN;
constexpr uint32_t kSave = TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN;

INSTANTIATE_TEST_SUITE_P(PrivateRequests, BadInnerRecordTest,
                         ::testing::Values(BadInnerCase{"QueryNull", kQuery, 258, true, ""},
                                           BadInnerCase{"QueryShort", kQuery, 257, false, "a.org"},
                                           BadInnerCase{"QueryLong", kQuery, 259, false, "a.org"},
                                           BadInnerCase{"QueryUnterminated", kQuery, 258, false, ""},
                                           BadInnerCase{"SaveNull", kSave, 257, true, ""},
                                           BadInnerCase{"SaveShort", kSave, 256, false, "a.org"},
                                           BadInnerCase{"SaveLong", kSave, 258, false, "a.org"},
                                           BadInnerCase{"SaveUnterminated", kSave, 257, false, ""},
                                           BadInnerCase{"SaveEmpty", kSave, 257, false, std::string(1, '\0')},
                                           BadInnerCase{"SaveWithBlank", kSave, 257, false, "a.org b.org"},
                                           BadInnerCase{"SaveWithLineBreak", kSave, 257, false, "a.org\nb.org"}),
                         [](const ::testing::TestParamInfo<BadInnerCase>& info) { return info.param.name; });

// The query's domain may use every byte up to the answer byte.
TEST_F(RequestTest, QueryReadsTheTextUpToTheAnswerByteAndWritesOnlyThatByte) {
    ASSERT_EQ(initialize(), 1);
    const std::string longest(256, 'a');
    ExactRecord save(257);
    save.setText(longest);
    ASSERT_EQ(sendPrivate(kSave, save.data(), save.size()), 0);

    // 258 bytes of record followed by guard bytes the library must not write.
    std::vector<unsigned char> buffer(258 + 32, 0xCD);
    std::memcpy(buffer.data(), longest.c_str(), longest.size() + 1);
    buffer[257] = 0x42;
    ASSERT_EQ(sendPrivate(kQuery, buffer.data(), 258), 0);
    EXPECT_EQ(buffer[257], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())), longest);
    for (size_t i = 258; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCD) << "byte " << i;
}

TEST_F(RequestTest, CallStateWritesFourBytesOnly) {
    ASSERT_EQ(initialize("call-state 258\n"), 1);
    std::vector<unsigned char> buffer(4 + 16, 0xCD);
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_GET_CALL_STATE, buffer.data(), 4), 0);
    int32_t state = 0;
    std::memcpy(&state, buffer.data(), sizeof state);
    EXPECT_EQ(state, 258);
    for (size_t i = 4; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCD) << "byte " << i;
}

TEST_F(RequestTest, UnalignedPrivateWrapperIsRead) {
    ASSERT_EQ(initialize("approved-domain aligned.example\n"), 1);
    unsigned char query[258] = {};
    std::memcpy(query, "aligned.example", 16);
    TavmoClientPrivateRequest wrapper{};
    wrapper.privateCode = kQuery;
    wrapper.record = query;
    wrapper.sizeField = sizeof query;
    std::vector<unsigned char> shifted(sizeof wrapper + 1);
    std::memcpy(shifted.data() + 1, &wrapper, sizeof wrapper);
    ASSERT_EQ(TavmoClientSendRequest(TAVMO_CLIENT_REQUEST_PRIVATE, shifted.data() + 1, sizeof wrapper), 0);
    EXPECT_EQ(query[257], 1);
}

}  // namespace
}  // namespace standin_test
