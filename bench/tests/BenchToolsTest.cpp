// The benchmark's own tools: framing, statistics, reply checks and the table.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Frames.h"
#include "Measurements.h"
#include "Report.h"
#include "Statistics.h"
#include "TavmoFacts.h"

namespace bench {
namespace {

TEST(FrameReader, HandsOutBodiesHoweverTheBytesAreSplit) {
    const std::vector<std::string> bodies = {"{\"a\":1}", "", std::string(70000, 'x'), "{}\n"};
    std::string stream;
    for (const std::string& body : bodies) stream += frame(body);
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{5}, std::size_t{4096}, stream.size()}) {
        FrameReader reader;
        std::vector<std::string> read;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            reader.append(stream.data() + at, std::min(chunk, stream.size() - at));
            while (auto body = reader.next()) read.push_back(*body);
        }
        EXPECT_EQ(read, bodies) << "chunks of " << chunk;
        EXPECT_EQ(reader.pending(), 0u);
    }
}

TEST(FrameReader, KeepsAnIncompleteFrameUntilItsLastByte) {
    std::string framed = frame("{\"type\":\"RequestGetVersion\"}");
    FrameReader reader;
    reader.append(framed.data(), framed.size() - 1);
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.pending(), framed.size() - 1);
    reader.append(&framed.back(), 1);
    EXPECT_EQ(reader.next(), "{\"type\":\"RequestGetVersion\"}");
}

TEST(Frame, LengthIsLittleEndian) {
    std::string framed = frame(std::string(0x0102, 'y'));
    ASSERT_EQ(framed.size(), 4u + 0x0102);
    EXPECT_EQ(framed.substr(0, 4), std::string("\x02\x01\x00\x00", 4));
}

TEST(IdOf, FindsTheIdInCompactAndSpacedJson) {
    struct Case {
        const char* body;
        std::optional<long> id;
    };
    const Case cases[] = {
        {R"({"_direction":2,"_id":17,"version":"1"})", 17},
        {R"({"_id": 4021, "_direction": 2})", 4021},
        {R"({"_id" :-3})", -3},
        {R"({"_id":"7"})", std::nullopt},
        {R"({"id":7})", std::nullopt},
        {R"({"_id":})", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(idOf(c.body), c.id) << c.body;
}

TEST(Statistics, MedianAndNearestRankPercentile) {
    EXPECT_EQ(median({5, 1, 3}), 3);
    EXPECT_EQ(median({4, 1, 3, 2}), 2.5);
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);
    EXPECT_EQ(percentile(hundred, 0.50), 50);
    EXPECT_EQ(percentile(hundred, 0.99), 99);
    EXPECT_EQ(percentile(hundred, 1.0), 100);
    EXPECT_EQ(percentile({7}, 0.01), 7);
    EXPECT_THROW(median({}), std::invalid_argument);
    EXPECT_THROW(percentile({1}, 0), std::invalid_argument);
}

TEST(CheckReply, AcceptsOnlyTheAnswerToThatRequest) {
    struct Case {
        ProgramKind kind;
        Request request;
        std::string body;
        bool accepted;
    };
    const Case cases[] = {
        {ProgramKind::Echo, Request::GetVersion, requestBody(Request::GetVersion, 3), true},
        {ProgramKind::Echo, Request::GetVersion, requestBody(Request::GetVersion, 4), false},
        {ProgramKind::Host, Request::GetVersion, R"({"_direction":2,"_id":3,"version":")" TAVMO_HOST_VERSION R"("})",
         true},
        {ProgramKind::Host, Request::GetVersion, R"({"_direction":2,"_id":2,"version":")" TAVMO_HOST_VERSION R"("})",
         false},
        {ProgramKind::Host, Request::GetCallState, R"({"_id":3,"callState":"Idle"})", true},
        {ProgramKind::Host, Request::GetCallState, R"({"_id":3,"version":")" TAVMO_HOST_VERSION R"("})", false},
        {ProgramKind::Host, Request::GetCallState, R"({"_id":3,"callState":"Idle","error":"x"})", false},
        {ProgramKind::Script, Request::GetVersion, R"({"_id": 3, "version": ")" TAVMO_HOST_VERSION R"("})", true},
    };
    for (const Case& c : cases) {
        if (c.accepted)
            EXPECT_NO_THROW(checkReply(c.kind, c.request, 3, c.body)) << c.body;
        else
            EXPECT_THROW(checkReply(c.kind, c.request, 3, c.body), std::runtime_error) << c.body;
    }
}

Row rowWith(std::optional<double> host, std::optional<double> echo, Target target) {
    Row row;
    row.measure = "m";
    row.unit = "ms";
    row.host = host;
    row.echo = echo;
    row.target = target;
    return row;
}

TEST(Report, TargetsCompareWithTheEchoOrAnAbsoluteBound) {
    using Kind = Target::Kind;
    struct Case {
        Row row;
        std::optional<bool> met;
    };
    const Case cases[] = {
        {rowWith(60, 100, {Kind::EchoRatioAtLeast, 0.6}), true},
        {rowWith(59, 100, {Kind::EchoRatioAtLeast, 0.6}), false},
        {rowWith(20, 10, {Kind::EchoRatioAtMost, 2}), true},
        {rowWith(21, 10, {Kind::EchoRatioAtMost, 2}), false},
        {rowWith(300, std::nullopt, {Kind::AtMost, 300}), true},
        {rowWith(301, std::nullopt, {Kind::AtMost, 300}), false},
        {rowWith(5, std::nullopt, {Kind::EchoRatioAtMost, 2}), std::nullopt},
        {rowWith(5, 0, {Kind::EchoRatioAtLeast, 0.5}), std::nullopt},
        {rowWith(5, 1, {}), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(targetMet(c.row), c.met) << describeTarget(c.row);
}

TEST(Report, RowShowsFiguresRatiosAndMissingOnes) {
    Row row = rowWith(150, 100, {Target::Kind::EchoRatioAtMost, 2});
    row.measure = "Start-up";
    row.decimals = 2;
    row.noOpHost = 120;
    std::string table = renderTable({row});
    EXPECT_NE(
        table.find(
            "| Start-up | 150.00 ms | 120.00 ms | 100.00 ms | n/a | 1.50x | 1.20x | n/a | <= 2.00x echo | yes |\n"),
        std::string::npos)
        << table;
}

}  // namespace
}  // namespace bench
