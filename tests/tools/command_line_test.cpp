// The tools' command line: positionals, switches and valued options read from one table, and the
// first problem reported as one line naming the tool.
#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Parsed {
    tools::CommandLine::Outcome outcome;
    std::vector<std::string> values;
    bool quiet = false;
    std::string level;
    std::string error;
    std::string usage;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed parsed;
    tools::CommandLine line("tool", {"<assets-folder>"});
    line.AddSwitch("--quiet", "say nothing", parsed.quiet);
    line.Add({"--level", "<n>", "start here", [&](const std::string& value) {
                  parsed.level = value;
                  return value == "bad" ? std::string("not a level") : std::string();
              }});
    args.insert(args.begin(), "tool");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    std::ostringstream err;
    parsed.outcome = line.Parse(static_cast<int>(argv.size()), argv.data(), parsed.values, err);
    parsed.error = err.str().substr(0, err.str().find('\n'));
    parsed.usage = line.Usage();
    return parsed;
}

TEST(CommandLineTest, ReadsSwitchesAndValuesOrReportsTheFirstProblem) {
    using Outcome = tools::CommandLine::Outcome;
    const struct {
        std::vector<std::string> args;
        Outcome outcome;
        bool quiet;
        std::string level;
        std::string error;
    } cases[] = {
        {{"assets"}, Outcome::Run, false, "", ""},
        {{"assets", "--quiet"}, Outcome::Run, true, "", ""},
        {{"--quiet", "assets", "--level", "3"}, Outcome::Run, true, "3", ""},
        {{"assets", "--quiet", "-h"}, Outcome::Help, false, "", ""},
        {{}, Outcome::Error, false, "", "tool: missing <assets-folder>"},
        {{"assets", "more"}, Outcome::Error, false, "", "tool: unexpected argument \"more\""},
        {{"assets", "--loud"}, Outcome::Error, false, "", "tool: unknown option --loud"},
        {{"assets", "--level"}, Outcome::Error, false, "", "tool: --level needs <n>"},
        {{"assets", "--level", "bad"}, Outcome::Error, false, "bad", "tool: --level: not a level"},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(c.args);
        const std::string where = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(parsed.outcome, c.outcome) << where;
        EXPECT_EQ(parsed.quiet, c.quiet) << where;
        EXPECT_EQ(parsed.level, c.level) << where;
        EXPECT_EQ(parsed.error, c.error) << where;
        if (c.outcome == Outcome::Run) {
            EXPECT_EQ(parsed.values, std::vector<std::string>{"assets"}) << where;
        }
    }
}

TEST(CommandLineTest, UsageShowsASwitchWithoutAValue) {
    const std::string usage = Parse({}).usage;
    EXPECT_NE(usage.find("usage: tool <assets-folder> [options]\n"), std::string::npos);
    EXPECT_NE(usage.find("  --quiet                 say nothing\n"), std::string::npos);
    EXPECT_NE(usage.find("  --level <n>             start here\n"), std::string::npos);
}

}  // namespace
