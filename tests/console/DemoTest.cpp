// The README's first command, without its install and build steps: the demo
// conference runs to its end in a fresh data folder and sums itself up.
#include <gtest/gtest.h>

#include <fstream>

#include "ConsoleProcess.h"
#include "Script.h"
#include "support/ScratchFolder.h"

namespace {

const std::string kSourceDir = TAVMO_SOURCE_DIR;

console::Script demoScript() {
    std::ifstream file(kSourceDir + "/tools/console/examples/conference.txt");
    std::vector<console::ScriptProblem> problems;
    console::Script script = console::readScript(file, problems);
    EXPECT_TRUE(problems.empty());
    return script;
}

TEST(Demo, RunsTheWholeConferenceAndEndsWithItsSummary) {
    const console::Script script = demoScript();
    int eventWaits = 0;
    for (const console::ScriptLine& line : script.lines)
        if (const auto* wait = std::get_if<console::WaitCommand>(&line.command); wait && wait->eventCode) ++eventWaits;
    ASSERT_GT(script.requests, 0);
    ASSERT_GT(eventWaits, 0);

    ScratchFolder folder;
    const Finished finished = runProgram({"bash", kSourceDir + "/scripts/demo.sh", "--prebuilt"}, "",
                                         {{"TAVMO_BUILD_DIR", TAVMO_BUILD_DIR},
                                          {"TAVMO_DEMO_DIR", folder.path() + "/demo"},
                                          {"LOCALAPPDATA", folder.path() + "/elsewhere"}},
                                         folder.path());
    ASSERT_EQ(finished.exitCode, 0) << finished.output << finished.errors;

    const std::vector<std::string> lines = linesOf(finished.output);
    ASSERT_FALSE(lines.empty());
    const std::optional<SummaryLine> summary = readSummary(lines.back());
    ASSERT_TRUE(summary) << lines.back();
    EXPECT_EQ(summary->verdict, "Demo finished");
    EXPECT_EQ(summary->requests, script.requests);
    EXPECT_EQ(summary->replies, script.requests) << "every request answered";
    EXPECT_GE(summary->events, eventWaits);
    EXPECT_EQ(summary->errors, 0);

    const std::string lastStep = "== [" + std::to_string(script.notes) + "/" + std::to_string(script.notes) + "] ";
    EXPECT_NE(finished.output.find(lastStep), std::string::npos);
    EXPECT_NE(finished.output.find("-- host exited with code 0\n"), std::string::npos);
    // The host ran in the demo's own folder, whose approved websites let it
    // join without asking.
    EXPECT_NE(finished.output.find(R"("code":270003,"params":{"joinStatus":true})"), std::string::npos);
}

}  // namespace
