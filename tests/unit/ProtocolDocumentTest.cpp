// docs/PROTOCOL.md against the host itself: every request type, reply
// member, event code, event member, portal answer and code name that the page
// can meet is documented, and the document names nothing the host lacks.
//
// The document's tables are read by their header's first cell. In a request
// table ("Type") the first cell names the types, and the backticked names in
// the reply column, outside {braces}, are the reply's members. Event tables
// ("Code") and the portal answer table ("typeRequest") name their members
// the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DocumentTables.h"
#include "HostFixture.h"
#include "HostState.h"
#include "HostThreads.h"
#include "OutEventHandler.h"
#include "OutEventHandler/CodeNames.h"
#include "OutEventHandler/PortalAnswers.h"
#include "PageMessages.h"
#include "RequestHandler.h"
#include "platform/Platform.h"

namespace {

using Names = std::set<std::string>;

using catalogue::Table;

// The backticked names of a cell; those inside {braces} belong to a nested
// object and are left out unless asked for.
std::vector<std::string> codeSpans(const std::string& cell, bool nestedToo = true) {
    std::vector<std::string> spans;
    int depth = 0;
    for (std::size_t at = 0; at < cell.size(); ++at) {
        if (cell[at] == '{') ++depth;
        if (cell[at] == '}') --depth;
        if (cell[at] != '`') continue;
        std::size_t end = cell.find('`', at + 1);
        if (end == std::string::npos) break;
        if (depth == 0 || nestedToo) spans.push_back(cell.substr(at + 1, end - at - 1));
        at = end;
    }
    return spans;
}

Names topLevelNames(const std::string& cell) {
    std::vector<std::string> spans = codeSpans(cell, false);
    return Names(spans.begin(), spans.end());
}

std::string unquoted(const std::string& cell) {
    return cell.size() >= 2 && cell.front() == '"' && cell.back() == '"' ? cell.substr(1, cell.size() - 2) : cell;
}

// A code written `like this`; -1 for anything else.
int64_t codeOf(const std::string& span) {
    bool isCode = !span.empty() && span.find_first_not_of("-0123456789") == std::string::npos;
    EXPECT_TRUE(isCode) << "not a code: " << span;
    return isCode ? std::stoll(span) : -1;
}

// The one code a row's first cell names.
int64_t codeOfRow(const std::vector<std::string>& cells) {
    std::vector<std::string> spans = codeSpans(cells.at(0));
    EXPECT_EQ(spans.size(), 1u) << cells.at(0);
    return spans.empty() ? -1 : codeOf(spans[0]);
}

const std::string& documentText() {
    static const std::string text = [] {
        std::ifstream file(TAVMO_PROTOCOL_DOCUMENT);
        EXPECT_TRUE(file) << "cannot read " << TAVMO_PROTOCOL_DOCUMENT;
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }();
    return text;
}

std::vector<Table> tablesHeaded(const std::string& firstHeaderCell) {
    std::vector<Table> found;
    for (const Table& table : catalogue::readTables(documentText()))
        if (!table.header.empty() && table.header[0] == firstHeaderCell) found.push_back(table);
    return found;
}

// One documented row per name of its first cell.
template <typename Key>
struct Row {
    Key key;
    std::vector<std::string> cells;
};

std::vector<Row<std::string>> requestRows() {
    std::vector<Row<std::string>> rows;
    for (const Table& table : tablesHeaded("Type"))
        for (const auto& cells : table.rows)
            for (const std::string& type : codeSpans(cells[0])) rows.push_back({type, cells});
    return rows;
}

std::vector<Row<int32_t>> eventRows() {
    std::vector<Row<int32_t>> rows;
    for (const Table& table : tablesHeaded("Code"))
        for (const auto& cells : table.rows)
            for (const std::string& code : codeSpans(cells[0]))
                rows.push_back({static_cast<int32_t>(codeOf(code)), cells});
    return rows;
}

template <typename Key>
std::multiset<Key> keysOf(const std::vector<Row<Key>>& rows) {
    std::multiset<Key> keys;
    for (const Row<Key>& row : rows) keys.insert(row.key);
    return keys;
}

// Missing and extra entries, and entries documented more than once.
template <typename Key>
void expectSameEntries(const std::vector<Key>& known, const std::multiset<Key>& documented) {
    for (const Key& key : known) EXPECT_EQ(documented.count(key), 1u) << key << " documented once";
    for (const Key& key : documented)
        EXPECT_NE(std::find(known.begin(), known.end(), key), known.end()) << key << " is documented but unknown";
}

Names memberNames(const Json::Value& object) {
    if (!object.isObject()) return {};
    std::vector<std::string> names = object.getMemberNames();
    return Names(names.begin(), names.end());
}

TEST(ProtocolDocument, DocumentsEveryRequestTypeOnceAndNoOther) {
    std::vector<std::string> dispatched = requestTypes();
    ASSERT_FALSE(dispatched.empty());
    expectSameEntries(dispatched, keysOf(requestRows()));
}

// Within each family the types keep the dispatcher's order, so that the
// page developer finds them where the host lists them.
TEST(ProtocolDocument, ListsEachFamilyInTheDispatchersOrder) {
    std::vector<std::string> dispatched = requestTypes();
    for (const Table& table : tablesHeaded("Type")) {
        std::vector<std::size_t> positions;
        for (const auto& cells : table.rows)
            for (const std::string& type : codeSpans(cells[0])) {
                auto found = std::find(dispatched.begin(), dispatched.end(), type);
                if (found != dispatched.end())
                    positions.push_back(static_cast<std::size_t>(found - dispatched.begin()));
            }
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << "family of " << table.rows[0][0];
    }
}

TEST(ProtocolDocument, DocumentsEveryEventCodeOnceAndNoOther) {
    std::vector<int32_t> known = publicEventCodes();
    std::vector<int32_t> privateCodes = privateEventCodes();
    ASSERT_FALSE(known.empty());
    ASSERT_FALSE(privateCodes.empty());
    known.insert(known.end(), privateCodes.begin(), privateCodes.end());
    expectSameEntries(known, keysOf(eventRows()));
}

TEST(ProtocolDocument, DocumentsEveryPortalAnswerOnceAndNoOther) {
    std::vector<uint32_t> known;
    for (const PortalAnswerType& answer : portalAnswerTypes()) known.push_back(answer.typeRequest);
    ASSERT_FALSE(known.empty());
    std::multiset<uint32_t> documented;
    for (const Table& table : tablesHeaded("typeRequest"))
        for (const auto& cells : table.rows) documented.insert(static_cast<uint32_t>(codeOfRow(cells)));
    expectSameEntries(known, documented);
}

// The host's own answers: each request is carried out against a library
// that accepts everything, and the members its reply gains are compared with
// the document's reply column.
class DocumentedReplies : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        hWindow = &window_;
        fake::library().privateAnswers[TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN] = [](void* inner, uint32_t) {
            static_cast<TavmoClientApprovedDomainQuery*>(inner)->approved = 1;
            return 0;
        };
        // As the library does, the buffers that accepted records point to are freed.
        for (int32_t code :
             {TAVMO_CLIENT_IN_EVENT_START_PRECALL_TEST_SPEAKER, TAVMO_CLIENT_PRIVATE_IN_EVENT_GET_WINDOWS_EXT})
            fake::library().eventAnswers[code] = [](void* record, uint32_t size) -> TavmoClientBool {
                void* buffer = nullptr;
                if (size != sizeof buffer) return 0;
                std::memcpy(&buffer, record, sizeof buffer);
                std::free(buffer);
                return 1;
            };
        // Tests run side by side in processes of their own.
        soundFile_ = std::filesystem::path(::testing::TempDir()) /
                     ("protocol-document-sound-" + std::to_string(platform::processId()) + ".wav");
        std::ofstream(soundFile_, std::ios::binary) << "RIFF";
    }

    void TearDown() override {
        std::filesystem::remove(soundFile_);
        HostFixture::TearDown();
    }

    // The members a request needs to succeed beyond its type.
    Json::Value successfulRequest(const std::string& type) const {
        static const std::map<std::string, const char*> kRequiredMembers = {
            {"RequestSetLogLevelsAndCategories", R"({"levelsAndCategories":"ERROR"})"},
            {"RequestSetWebProxyCredentials", R"({"persist":true})"},
            {"InEventMuteAudioIn", R"({"willMute":true})"},
            {"InEventMuteAudioOut", R"({"willMute":true})"},
            {"InEventMuteVideo", R"({"willMute":true})"},
            {"InEventSignIn",
             R"({"emcpSecured":false,"guestLogin":false,"showDialpad":false,"showStartmeeting":false})"},
        };
        auto required = kRequiredMembers.find(type);
        Json::Value request = parsed(required == kRequiredMembers.end() ? "{}" : required->second);
        if (type == "InEventStartPrecallTestSpeaker") request["soundFileName"] = soundFile_.u8string();
        request["type"] = type;
        request["_direction"] = 1;
        return request;
    }

    // Start needs a library that is not running and stop one that is; the
    // camera is left alone either way.
    void prepareLibraryFor(const std::string& type) {
        fake::library().started = type == "InEventStop";
        iCamera = type == "InEventStart" ? 1 : 0;
        clientStarted = 0;
    }

    // The reply, which the approval's own messages may precede.
    Json::Value replyTo(const Json::Value& request) {
        std::size_t before = writtenBodies().size();
        handleRequestText(json::writeCompact(request), clientStarted);
        std::vector<std::string> bodies = writtenBodies();
        if (bodies.size() <= before) return Json::Value();
        return parsed(bodies.back());
    }

    Names documentedConfigurationMembers(const char* use) {
        std::vector<Table> tables = tablesHeaded("Configuration member");
        EXPECT_EQ(tables.size(), 1u);
        Names names;
        for (const Table& table : tables) {
            auto column = std::find(table.header.begin(), table.header.end(), use) - table.header.begin();
            for (const auto& cells : table.rows)
                if (static_cast<std::size_t>(column) < cells.size() && cells[column] == "yes")
                    for (const std::string& name : codeSpans(cells[0])) names.insert(name);
        }
        return names;
    }

private:
    int window_ = 0;
    std::filesystem::path soundFile_;
};

TEST_F(DocumentedReplies, EachReplyGainsExactlyTheDocumentedMembers) {
    const std::vector<Row<std::string>> rows = requestRows();
    ASSERT_FALSE(rows.empty());
    for (const Row<std::string>& row : rows) {
        SCOPED_TRACE(row.key);
        ASSERT_GE(row.cells.size(), 3u);
        prepareLibraryFor(row.key);
        Json::Value request = successfulRequest(row.key);
        Json::Value reply = replyTo(request);
        ASSERT_TRUE(reply.isObject());
        EXPECT_EQ(reply["type"].asString(), row.key);
        EXPECT_FALSE(reply.isMember("error")) << reply["error"].asString();
        Names added;
        for (const std::string& name : memberNames(reply))
            if (name != "_direction" && !request.isMember(name)) added.insert(name);
        Names documented =
            row.key == "RequestGetConfiguration" ? documentedConfigurationMembers("Get") : topLevelNames(row.cells[2]);
        EXPECT_EQ(added, documented);
    }
}

// The host names a member it does not know in its log; a documented member,
// settable or not, must never be one of them.
TEST_F(DocumentedReplies, EveryDocumentedConfigurationMemberIsKnownWhenSet) {
    Names documented = documentedConfigurationMembers("Set");
    Names readOnly = documentedConfigurationMembers("Get");
    documented.insert(readOnly.begin(), readOnly.end());
    ASSERT_FALSE(documented.empty());
    documented.insert("notAConfigurationMember");
    for (const std::string& name : documented) {
        Json::Value request = successfulRequest("RequestSetConfiguration");
        request[name] = Json::Value();
        replyTo(request);
        bool unknown = fake::logged("OutputThread: RequestSetConfiguration() Found unknown key: [" + name + "]", 1);
        EXPECT_EQ(unknown, name == "notAConfigurationMember") << name;
    }
}

// Events: a block large enough for every record, whose leading words are
// small positive numbers so that every named value has a name.
class DocumentedEvents : public HostFixture {
protected:
    static std::vector<unsigned char> blockWithLeadingWords(uint32_t value) {
        std::vector<unsigned char> block(200 * 1024, 0);
        for (std::size_t word = 0; word < 5; ++word) std::memcpy(&block[word * 4], &value, sizeof value);
        return block;
    }

    static std::vector<unsigned char> portalAnswerBlock(uint32_t typeRequest) {
        std::vector<unsigned char> block(200 * 1024, 0);
        std::memcpy(&block[0], &typeRequest, sizeof typeRequest);
        return block;
    }

    // The message the event produced. Event 1600 is written from a thread of
    // its own a second later, so the wait is for its arrival, not its time.
    Json::Value messageFor(int32_t code, const std::vector<unsigned char>& block) {
        std::size_t before = writtenBodies().size();
        OnOutEvent(code, block);
        std::vector<std::string> bodies = writtenBodies();
        for (int attempt = 0; bodies.size() == before && attempt < 1000; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            bodies = writtenBodies();
        }
        EXPECT_EQ(bodies.size(), before + 1) << "one message for event " << code;
        return bodies.size() > before ? parsed(bodies.back()) : Json::Value();
    }

    Names portalHeaderMembers() {
        for (const Row<int32_t>& row : eventRows())
            if (row.key == TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP) return topLevelNames(row.cells[2]);
        ADD_FAILURE() << "the portal answer event is not documented";
        return {};
    }
};

TEST_F(DocumentedEvents, EachEventCarriesExactlyTheDocumentedParams) {
    const std::vector<Row<int32_t>> rows = eventRows();
    ASSERT_FALSE(rows.empty());
    for (const Row<int32_t>& row : rows) {
        SCOPED_TRACE(row.key);
        ASSERT_GE(row.cells.size(), 3u);
        // An answer kind of 0 is none the portal gives: only the header shows.
        uint32_t leadingWords = row.key == TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP ? 0 : 1;
        Json::Value message = messageFor(row.key, blockWithLeadingWords(leadingWords));
        EXPECT_EQ(message["code"].asInt(), row.key);
        Names documented = topLevelNames(row.cells[2]);
        if (documented.empty()) {
            EXPECT_TRUE(message["params"].isNull()) << json::writeCompact(message);
        } else {
            EXPECT_EQ(memberNames(message["params"]), documented);
        }
    }
}

TEST_F(DocumentedEvents, EachPortalAnswerCarriesItsTypeAndTheDocumentedMembers) {
    Names header = portalHeaderMembers();
    ASSERT_FALSE(header.empty());
    std::vector<Table> tables = tablesHeaded("typeRequest");
    ASSERT_EQ(tables.size(), 1u);
    for (const auto& cells : tables[0].rows) {
        ASSERT_GE(cells.size(), 3u);
        auto typeRequest = static_cast<uint32_t>(codeOfRow(cells));
        SCOPED_TRACE(typeRequest);
        Json::Value params =
            messageFor(TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, portalAnswerBlock(typeRequest))["params"];
        EXPECT_EQ(params["type"].asString(), unquoted(cells[1]));
        Names documented = topLevelNames(cells[2]);
        documented.insert(header.begin(), header.end());
        documented.insert("type");
        EXPECT_EQ(memberNames(params), documented);
    }
}

// The names the page reads instead of numbers, each table in both
// directions: every documented code has its name, and every code the host
// names (over a range well beyond the highest) is documented.
struct NameTableCase {
    const char* header;
    std::string (*nameOf)(int64_t code);
    int64_t first;
    int64_t last;
    const char* fallback;
};

void PrintTo(const NameTableCase& names, std::ostream* out) { *out << names.header; }

class DocumentedNames : public ::testing::TestWithParam<NameTableCase> {};

TEST_P(DocumentedNames, MatchTheHostsNamesBothWays) {
    const NameTableCase& names = GetParam();
    std::vector<Table> tables = tablesHeaded(names.header);
    ASSERT_EQ(tables.size(), 1u);
    std::map<int64_t, std::string> documented;
    for (const auto& cells : tables[0].rows) {
        ASSERT_GE(cells.size(), 2u);
        int64_t code = codeOfRow(cells);
        EXPECT_TRUE(documented.emplace(code, unquoted(cells[1])).second) << code << " documented twice";
        EXPECT_EQ(names.nameOf(code), unquoted(cells[1])) << "code " << code;
    }
    for (int64_t code = names.first; code <= names.last; ++code)
        if (names.nameOf(code) != names.fallback) {
            EXPECT_EQ(documented.count(code), 1u) << "code " << code;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DocumentedNames,
    ::testing::Values(
        NameTableCase{"Result", [](int64_t code) { return resultName(static_cast<int32_t>(code)); }, -100, 5000,
                      "UnknownErrorValue"},
        NameTableCase{"Fault", [](int64_t code) { return faultName(static_cast<uint32_t>(code)); }, 0, 5000, "None"},
        NameTableCase{"Message type", [](int64_t code) { return messageTypeName(static_cast<uint32_t>(code)); }, 0,
                      5000, "UnknownMessage"}),
    [](const ::testing::TestParamInfo<NameTableCase>& info) {
        std::string name = info.param.header;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name;
    });

}  // namespace
