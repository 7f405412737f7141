// Runs that end early for their settings: no "ok!" and no page.
#include <functional>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

// The log after the two lines of the command line confirmation.
std::vector<std::string> RunLines(const Outcome& r)
{
    const std::vector<std::string> lines = r.LogLines();
    EXPECT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.at(0), "Command line parsed successfully:");
    return std::vector<std::string>(lines.begin() + std::min<size_t>(2, lines.size()), lines.end());
}

TEST(SettingsFailure, UnusableSettingsEndTheRunWithIniFileProblem)
{
    const struct {
        const char* name;
        std::function<std::string(const Workspace&)> settings;  // the path to run with
        const char* errorStart;  // the error line before "Ini file problem!", if any
        const char* errorNames;  // a word that error line carries
    } cases[] = {
        {"path names a directory", [](const Workspace& w) { return w.dir.Subdir("folder.xml"); }, nullptr,
         nullptr},
        {"no such file", [](const Workspace& w) { return w.dir / "missing.xml"; }, nullptr, nullptr},
        {"not well-formed",
         [](const Workspace& w) {
             const std::string xml = w.settings(1).Xml();
             WriteFile(w.dir / "s.xml", xml.substr(0, xml.size() / 2));
             return w.dir / "s.xml";
         },
         "Error: XML parsing error", nullptr},
        {"root element in other letter case",
         [](const Workspace& w) { return w.Write(w.settings(1).Root("Mqv-Analyser-Settings")); }, nullptr,
         nullptr},
        {"eight days", [](const Workspace& w) { return w.Write(w.settings(8)); }, "Error: ", "n_Dayes"},
        {"no dt_begin", [](const Workspace& w) { return w.Write(w.settings(1).Remove("dt_begin")); },
         "Error: ", "dt_begin"},
        {"dt_begin on 30 February",
         [](const Workspace& w) { return w.Write(w.settings(1).Set("dt_begin", "30.02.2011 00:00:00")); },
         "Error: ", "dt_begin"},
        {"dt_begin without a time",
         [](const Workspace& w) { return w.Write(w.settings(1).Set("dt_begin", "01.03.2011")); }, "Error: ",
         "dt_begin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w;
        const Outcome r = RunProgram(w.At({c.settings(w)}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = RunLines(r);
        std::vector<std::string> expected{"Ini file problem!", ""};
        if (c.errorStart) {
            ASSERT_EQ(lines.size(), 3u) << r.Log();
            EXPECT_EQ(lines[0].rfind(c.errorStart, 0), 0u) << lines[0];
            if (c.errorNames) {
                EXPECT_NE(lines[0].find(c.errorNames), std::string::npos) << lines[0];
            }
            expected.insert(expected.begin(), lines[0]);
        }
        EXPECT_EQ(lines, expected) << r.Log();
        EXPECT_TRUE(ListDir(w.out).empty());
    }
}

TEST(SettingsFailure, MissingDatabaseIsReportedAndNotCreated)
{
    const Workspace w;
    const std::string db = w.dir / "absent.db";
    const Outcome r = RunProgram(w.At({w.Write(w.settings(1).Set("DB", db))}));
    const std::vector<std::string> lines = RunLines(r);
    ASSERT_EQ(lines.size(), 2u) << r.Log();
    EXPECT_EQ(lines[0].rfind("InitDB14:", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "Error: The database " + db + ": " + lines[0].substr(lines[0].find(':') + 1));
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(Exists(db));
    EXPECT_TRUE(ListDir(w.out).empty());
}

TEST(SettingsFailure, WrongMaxLoadTimeOfAnyDayStopsTheRunBeforeTheDatabase)
{
    const struct {
        const char* entry;
        std::optional<std::string> value;  // empty: the entry is left out
    } cases[] = {
        {"dt_max_load_begin_1", "8"},
        {"dt_max_load_end_1", "25:00"},
        {"dt_max_load_begin_2", "8:60"},
        {"dt_max_load_end_2", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " = " + c.value.value_or("(none)"));
        const Workspace w;
        // An earlier report's title page, which a new day page must not join.
        WriteFile(w.out + "Page0.htm", "earlier");
        Settings s = w.settings(3).Set("DB", w.dir / "absent.db");
        if (c.value)
            s.Set(c.entry, *c.value);
        else
            s.Remove(c.entry);
        const Outcome r = RunProgram(w.At({w.Write(s)}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(RunLines(r), (std::vector<std::string>{"Error: Wrong date", "Wrong datetime in ini file!", ""}))
            << r.Log();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(ListDir(w.out), std::vector<std::string>{"Page0.htm"});
        EXPECT_EQ(ReadFile(w.out + "Page0.htm"), "earlier");
        EXPECT_FALSE(Exists(w.dir / "absent.db"));
    }
}

}  // namespace
