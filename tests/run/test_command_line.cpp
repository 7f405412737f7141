// The command line: usage, confirmation, options and the settings path that
// reaches the run.
#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

const char kUsage[] =
    "Usage: pqreport [-h] [-v] [-q] \"input file.xml\"...\n"
    "  -h, --help   \tshow this help message\n"
    "  -v, --version\tshow version\n"
    "  -q, --quiet  \tbe quiet\n";

TEST(CommandLine, WithoutArgumentsNamesTheMissingParameterAndShowsUsage)
{
    const Outcome r = RunProgram(std::vector<std::string>{});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.Log(), std::string("The required parameter '\"input file.xml\"' was not specified.\n"
                                   "Command line parsed successfully:\n"
                                   "Input files: \n") +
                           kUsage);
}

TEST(CommandLine, HelpOrAWrongOptionShowsUsageAndDoesNotRun)
{
    const Workspace w;
    const std::string settings = w.Write(w.settings(0));
    // Help succeeds; a wrong option is a usage error.
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {{{"-h", settings}, 0},
                 {{"--help", settings}, 0},
                 {{settings, "-h"}, 0},
                 {{"-x", settings}, 1},
                 {{"--nonsense", settings}, 1},
                 {{"-v"}, 0}};
    for (const auto& c : cases) {
        const std::vector<std::string>& args = c.args;
        const Outcome r = RunProgram(w.At(args));
        const std::string log = r.Log();
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(log.find("Command line parsed successfully:\nInput files: "), std::string::npos) << log;
        ASSERT_GE(log.size(), sizeof kUsage - 1);
        EXPECT_EQ(log.substr(log.size() - (sizeof kUsage - 1)), kUsage);
        EXPECT_EQ(log.find("Ini file problem!"), std::string::npos);
        EXPECT_TRUE(ListDir(w.out).empty());
    }
}

TEST(CommandLine, VersionIsConfirmedAndTheRunProceeds)
{
    const Workspace w;
    const std::string settings = w.Write(w.settings(0));
    const Outcome r = RunProgram(w.At({"-v", settings}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ok!\n");
    const std::string confirmation =
        "Command line parsed successfully:\nInput files: " + settings + " \nVersion:\t" PQREPORT_VERSION "\n\n";
    EXPECT_EQ(r.Log().substr(0, confirmation.size()), confirmation);
    EXPECT_TRUE(Exists(w.out + "Page0.htm"));
}

TEST(CommandLine, QuietRunsLikeARunWithoutIt)
{
    const Workspace w;
    const std::string settings = w.Write(w.settings(1));
    const Outcome plain = RunProgram(w.At({settings}));
    const Outcome quiet = RunProgram(w.At({"-q", settings}));
    EXPECT_EQ(plain.out, "ok!\n");
    EXPECT_EQ(quiet.out, plain.out);
    EXPECT_EQ(quiet.Log(), plain.Log());
    EXPECT_EQ(quiet.status, 0);
}

TEST(CommandLine, OnlyTheFirstOfSeveralFilesIsProcessed)
{
    const Workspace w;
    const std::string second = w.dir.Subdir("second", true) + "/";
    const std::string a = w.Write(w.settings(0), "a.xml");
    const std::string b = w.Write(w.settings(0).UserDir(second), "b.xml");
    const Outcome r = RunProgram(w.At({a, b}));
    EXPECT_EQ(r.out, "ok!\n");
    EXPECT_EQ(r.LogLines().at(1), "Input files: " + a + " " + b + " ");
    EXPECT_EQ(ListDir(w.out), std::vector<std::string>{"Page0.htm"});
    EXPECT_TRUE(ListDir(second).empty());
}

TEST(CommandLine, TheNamedFileReachesTheRunAsWritten)
{
    // "nowhere" does not exist: only a path normalised before it is opened
    // reaches the settings file. Per-cent signs are no format directives.
    const struct {
        const char* file;      // written in the workspace
        const char* cwd;       // below the workspace
        const char* argument;  // as typed
    } cases[] = {
        {"settings.xml", "a/b", "./../nowhere/../../settings.xml"},
        {"a%d%s.xml", "", "a%d%s.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const Workspace w;
        w.Write(w.settings(0), c.file);
        Launch launch = w.At({c.argument});
        launch.cwd = *c.cwd ? w.dir.Subdir(c.cwd) : w.dir.path();
        const Outcome r = RunProgram(launch);
        EXPECT_EQ(r.LogLines().at(1), std::string("Input files: ") + c.argument + " ");
        EXPECT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_TRUE(Exists(w.out + "Page0.htm"));
    }
}

TEST(CommandLine, SettingsFileNamedInCp1251BytesIsRead)
{
    // A name that is not UTF-8, as a file made under a CP1251 locale has.
    const Workspace w;
    const std::string name = Cp1251("отчёт.xml");
    w.Write(w.settings(0), name);
    Launch launch = w.At({name});
    launch.cwd = w.dir.path();
    const Outcome r = RunProgram(launch);
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_FALSE(r.HasLine("Ini file problem!"));
    EXPECT_TRUE(Exists(w.out + "Page0.htm"));
}

}  // namespace
