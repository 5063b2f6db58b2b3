// The member lists of docs/PROTOCOL.md as the catalogue reads them: the
// prose forms its cells use, each with the members and types it must give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTables.h"

namespace catalogue {
namespace {

std::string described(const std::vector<Member>& members) {
    std::string text;
    for (const Member& member : members) text += (text.empty() ? "" : " ") + member.name + ":" + member.type;
    return text;
}

struct CellCase {
    const char* what;
    const char* cell;
    const char* expected;
};

void PrintTo(const CellCase& cell, std::ostream* out) { *out << cell.what; }

class RequestCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(RequestCells, GiveTheirMembersWithTheirKinds) {
    std::map<std::string, std::string> declared = {{"volume", "number"}};
    EXPECT_EQ(described(requestMembers(GetParam().cell, declared)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Prose, RequestCells,
    ::testing::Values(
        CellCase{"none", "— ([approval](#website-approval) first)", ""},
        CellCase{"names sharing a kind, then a sentence",
                 "username, password: text, up to 63 bytes each, default \"\"; persist: flag, required",
                 "username:string password:string persist:boolean"},
        CellCase{"a reference to an earlier row", "volume: as for audio in", "volume:number"},
        CellCase{"notes after the names", "serverAddress (up to 191 bytes), serverPort (7): strings, default \"\"",
                 "serverAddress:string serverPort:string"},
        CellCase{"an array or one string, and likewise",
                 "tavmoProxyAddress: an array of up to 8 strings of up to 127 bytes, or one string; tavmoProxyPort: "
                 "likewise, up to 7 bytes each",
                 "tavmoProxyAddress:any tavmoProxyPort:any"},
        CellCase{"two kinds in parentheses",
                 "shareType: choice, default \"A\". window: for a window, its id (choice: 16 digits; else 0); for a "
                 "desktop, its index (integer, default 0)",
                 "shareType:string window:any"},
        CellCase{"a remark that names a kind is no second kind",
                 "preset: integer, default 0, its low 8 bits (300 sends 44); texts default \"\"", "preset:number"},
        CellCase{"a sentence after a declaration declares nothing",
                 "chromeArch: text, default \"x86\". Exactly \"x64\" declares a 64-bit browser (it selects one).",
                 "chromeArch:string"},
        CellCase{"a separator inside quotes or parentheses splits nothing",
                 "remoteAppUri: array of string (required while names; a missing element is \"\"); eventUri: string",
                 "remoteAppUri:array eventUri:string"}),
    [](const ::testing::TestParamInfo<CellCase>& info) { return "Case" + std::to_string(info.index); });

class ReplyCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(ReplyCells, GiveTheirMembersWithTheirKinds) {
    EXPECT_EQ(described(replyMembers(GetParam().cell)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ReplyCells,
    ::testing::Values(
        CellCase{"no data", "null", ""},
        CellCase{"a quoted value and a name", "`callState`: [call state](#code-names) name; no member otherwise",
                 "callState:string"},
        CellCase{"a nested object hides its members",
                 "`index`: int, `rect`: {`xPos`, `yPos`: int, `width`: uint}, `name`: string",
                 "index:number rect:object name:string"},
        CellCase{"quoted choices with commas",
                 "`context`: \"Conf\", \"Idle\" or \"In\" (an unknown reads \"Conf\"), "
                 "`text`: string",
                 "context:string text:string"},
        CellCase{"a note after a name", "`bandwithLimit` (spelled so), `cpuLimit`: int",
                 "bandwithLimit:number cpuLimit:number"},
        CellCase{"names in parentheses are no members",
                 "`a`: int; `b`: arrays of string (only while `a` is 0), `c`: bool", "a:number b:array c:boolean"},
        CellCase{"one kind ahead of all names", "uint, spelled so: `delayX`, `numY`", "delayX:number numY:number"},
        CellCase{"result and fault are names", "`total`: uint; `result`; `fault`; `data`: one participant",
                 "total:number result:string fault:string data:object"}),
    [](const ::testing::TestParamInfo<CellCase>& info) { return "Case" + std::to_string(info.index); });

TEST(DocumentMembers, AMemberWithoutAKindIsAFaultOfTheDocument) {
    std::map<std::string, std::string> declared;
    EXPECT_THROW(requestMembers("window: for a window, its identifier", declared), DocumentError);
    EXPECT_THROW(requestMembers("level: as for the camera", declared), DocumentError);
    EXPECT_THROW(replyMembers("`status`: something"), DocumentError);
    EXPECT_THROW(replyMembers("`status`; `result`"), DocumentError);
}

TEST(DocumentTables, EachTableKnowsTheHeadingItStandsUnder) {
    std::vector<Table> tables = readTables(
        "## Requests\n\n### Lifecycle\n\n| Type | A |\n|---|---|\n| `X` | b |\n| `Y` | c |\n\ntext\n\n"
        "## Events\n\n| Code | B |\n|---|---|\n| `1` | d |\n");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].heading, "Lifecycle");
    EXPECT_EQ(tables[0].rows.size(), 2u);
    EXPECT_EQ(tables[0].rows[1][0], "`Y`");
    EXPECT_EQ(tables[1].heading, "");
    EXPECT_EQ(tables[1].header[0], "Code");
}

}  // namespace
}  // namespace catalogue
