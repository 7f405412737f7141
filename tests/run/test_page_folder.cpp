// One run at a time in a folder of pages: a second run into a folder in use
// is refused before it opens the database; the run that holds the folder
// removes the temporary files that an ended run left, and names the day
// pages of an earlier, longer report; the templates are read once, before
// the database, and every page and hash comes from those bytes.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;
using Json = nlohmann::json;

namespace {

// Another program holding the database for writing: a run waits at its
// first statistic, right after the day's dates line, until Release().
class DatabaseWriter {
public:
    explicit DatabaseWriter(const std::string& path)
    {
        EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
        // Its commit waits in turn for the run's fleeting shared lock.
        sqlite3_busy_timeout(db_, static_cast<int>(kWatchTimeout.count()));
        EXPECT_EQ(sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~DatabaseWriter() { Release(); }
    void Release()
    {
        if (!db_)
            return;
        EXPECT_EQ(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    sqlite3* db_ = nullptr;
};

const char* const kFirstDay = "01.03.2011 00:00 - 02.03.2011 00:00";

// The settings of a run whose pages carry `name` on the title (Header1) and on every day page (att_Header_0).
Settings Named(const Workspace& w, int days, const std::string& name)
{
    return w.settings(days).Set("Header1", name).Set("att_Header_0", name);
}

TEST(PageFolder, ASecondRunIntoAFolderInUseIsRefusedBeforeTheDatabase)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    WriteTwoDays(w);
    DatabaseWriter writer(w.db);
    WatchedChild first(w.At({w.Write(Named(w, 2, "run A"), "a.xml")}));
    ASSERT_TRUE(first.WaitUntilBlockedAfter(kFirstDay)) << ::testing::PrintToString(first.LogLinesSoFar());

    const struct {
        const char* name;
        std::string userDir;
        std::string folder;  // as the error names it
    } cases[] = {
        {"the same user directory", w.out, w.dir / "out"},
        {"the folder by another path", w.dir / "out/../out/", w.dir / "out/../out"},
        {"another prefix in the folder", w.out + "site_", w.dir / "out"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r = RunProgram(w.At({w.Write(Named(w, 2, "run B").UserDir(c.userDir), "b.xml")}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.LogLines().empty());
        EXPECT_EQ(r.LogLines().back(),
                  "Error: The folder " + c.folder + " is in use by another run: no page is written.")
            << r.Log();
        EXPECT_FALSE(r.LineStartingWith("Day number")) << r.Log();
        EXPECT_TRUE(ListDir(w.out).empty());
    }

    writer.Release();
    const Outcome a = first.Wait();
    ASSERT_EQ(a.out, "ok!\n") << a.Log();
    ASSERT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm"}));
    for (const std::string& page : ListDir(w.out))
        EXPECT_EQ(MarkedValues(ReadFile(w.out + page)).at(1), "run A") << page;
    // The folder is free again once the run has ended.
    EXPECT_EQ(RunProgram(w.At({w.Write(Named(w, 2, "run B"), "b.xml")})).out, "ok!\n");
    EXPECT_EQ(MarkedValues(ReadFile(w.out + "Page0.htm")).at(1), "run B");
}

TEST(PageFolder, TemporaryFilesOfAnEndedRunAreRemovedAndNothingElse)
{
    const struct {
        const char* prefix;
        std::vector<std::string> removed;  // the temporary files of the run's page names
        std::vector<std::string> kept;     // any other file
    } cases[] = {
        {"",
         {"day_1.htm.Ab12Cd", "day_7.htm.zzzzzz", "Page0.htm.A1b2C3", "report.json.QwErTy", "report.xlsx.000000"},
         {"day_8.htm.Ab12Cd", "day_1.htm.Ab12C", "day_1.htm.Ab12Cde", "day_1.htm.Ab-2Cd", "day_1.htm.Ab12Cd.bak",
          "notes.htm.Ab12Cd", "site_day_1.htm.Ab12Cd", "day_2.htm"}},
        {"site_", {"site_day_1.htm.Ab12Cd", "site_Page0.htm.xYz123"}, {"day_1.htm.Ab12Cd", "Page0.htm.A1b2C3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("prefix \"") + c.prefix + "\"");
        const Workspace w;
        for (const auto* names : {&c.removed, &c.kept})
            for (const std::string& name : *names)
                WriteFile(w.out + name, "left " + name);
        // Names of the pattern that are no regular files stay as well.
        ASSERT_EQ(::mkdir((w.out + c.prefix + "Page0.htm.Dir123").c_str(), 0755), 0);
        WriteFile(w.dir / "target", "the link's target");
        ASSERT_EQ(::symlink((w.dir / "target").c_str(), (w.out + c.prefix + "day_3.htm.Link12").c_str()), 0);

        const Outcome r = RunProgram(w.At({w.Write(w.settings(1).UserDir(w.out + c.prefix))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        std::vector<std::string> expected = c.kept;
        for (const char* name : {"Page0.htm", "day_1.htm", "Page0.htm.Dir123", "day_3.htm.Link12"})
            expected.push_back(c.prefix + std::string(name));
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(ListDir(w.out), expected);
        for (const std::string& name : c.kept)
            EXPECT_EQ(ReadFile(w.out + name), "left " + name) << name;
        EXPECT_EQ(ReadFile(w.dir / "target"), "the link's target");
        int lines = 0;
        for (const std::string& line : r.LogLines())
            lines += line.rfind("Removed ", 0) == 0;
        EXPECT_EQ(lines, static_cast<int>(c.removed.size())) << r.Log();
        for (const std::string& name : c.removed)
            EXPECT_TRUE(r.HasLine("Removed " + w.out + name + ", the temporary file of a page that an ended run left."))
                << name << "\n"
                << r.Log();
    }
}

// The names in a directory that are no whole page: the temporary files of pages.
std::vector<std::string> Temporaries(const std::string& dir)
{
    std::vector<std::string> names;
    for (const std::string& name : ListDir(dir))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".htm") != 0)
            names.push_back(name);
    return names;
}

TEST(PageFolder, APageTemporaryThatAKilledRunLeftIsRemovedByTheNextRun)
{
    // Large pages, so that a run spends a good while with a temporary file open.
    const std::string filler = "<!--" + std::string(8 << 20, 'f') + "-->";
    const Workspace w(MarkedDayTemplate(180) + filler, MarkedTitleTemplate(60) + filler);
    const std::string settings = w.Write(w.settings(3));
    std::vector<std::string> left;
    for (int attempt = 0; attempt < 50 && left.empty(); ++attempt) {
        WatchedChild child(w.At({settings}));
        WaitUntil([&] { return !Temporaries(w.out).empty() || child.Ended(); });
        ::kill(child.Pid(), SIGKILL);
        child.Wait();
        left = Temporaries(w.out);
    }
    ASSERT_EQ(left.size(), 1u) << "no run was killed while it wrote a page";

    const Outcome r = RunProgram(w.At({settings}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_TRUE(r.HasLine("Removed " + w.out + left[0] + ", the temporary file of a page that an ended run left."))
        << r.Log();
    EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm", "day_3.htm"}));
}

TEST(PageFolder, DayPagesOfAnEarlierLongerReportAreNamedOnceAndKept)
{
    const std::vector<std::string> week{"day_1.htm", "day_2.htm", "day_3.htm", "day_4.htm",
                                        "day_5.htm", "day_6.htm", "day_7.htm", "Page0.htm"};
    const struct {
        const char* name;
        std::string prefix;
        std::vector<std::string> earlier;  // pages of an earlier report
        int days;
        std::string stale;  // what the warning lists after "N days: "; empty: no warning
    } cases[] = {
        {"two days over a week", "", week, 2, "day_3.htm, day_4.htm, day_5.htm, day_6.htm, day_7.htm"},
        {"the title page alone over a week", "", week, 0,
         "day_1.htm, day_2.htm, day_3.htm, day_4.htm, day_5.htm, day_6.htm, day_7.htm"},
        {"one page past a gap", "", {"day_5.htm"}, 3, "day_5.htm"},
        {"a week over a week", "", week, 7, ""},
        {"another prefix's pages are not this report's", "site_", {"day_4.htm", "site_day_4.htm"}, 2,
         "site_day_4.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        for (const std::string& page : c.earlier)
            WriteFile(w.out + page, "earlier " + page);
        const Outcome r =
            RunProgram(w.At({w.Write(w.settings(c.days).UserDir(w.out + c.prefix).Set("Export", "json"))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();

        std::vector<std::string> warnings;
        for (const std::string& line : r.LogLines())
            if (line.rfind("Warning: The folder ", 0) == 0)
                warnings.push_back(line);
        if (c.stale.empty()) {
            EXPECT_TRUE(warnings.empty()) << r.Log();
        } else {
            const std::string line = "Warning: The folder " + w.dir / "out" +
                                     " holds day pages of an earlier report beyond this report's " +
                                     std::to_string(c.days) + " days: " + c.stale + ".";
            EXPECT_EQ(warnings, std::vector<std::string>{line});
            const auto recorded = nlohmann::json::parse(ReadFile(w.out + c.prefix + "report.json")).at("warnings");
            EXPECT_NE(std::find(recorded.begin(), recorded.end(), line), recorded.end());
        }
        // Every earlier page that this report does not write is left as it was.
        std::vector<std::string> written{c.prefix + "Page0.htm"};
        for (int d = 1; d <= c.days; ++d)
            written.push_back(c.prefix + "day_" + std::to_string(d) + ".htm");
        for (const std::string& page : c.earlier) {
            if (std::find(written.begin(), written.end(), page) == written.end()) {
                EXPECT_EQ(ReadFile(w.out + page), "earlier " + page);
            }
        }
    }
}

// The SHA-256 of bytes, as sha256sum computes it.
std::string Sha256Of(const std::string& bytes, const TempDir& scratch)
{
    const std::string path = scratch / "hashed";
    WriteFile(path, bytes);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("sha256sum '" + path + "'").c_str(), "r"), ::pclose);
    char hex[65] = {};
    return pipe && std::fread(hex, 1, 64, pipe.get()) == 64 ? std::string(hex) : std::string();
}

TEST(Templates, AreReadOnceBeforeTheDatabaseAndEveryPageAndHashComesFromThoseBytes)
{
    const std::string dayTemplate = MarkedDayTemplate(180), titleTemplate = MarkedTitleTemplate(60);
    const Workspace w(dayTemplate, titleTemplate + "<!--pq:provenance-->");
    WriteTwoDays(w);
    DatabaseWriter writer(w.db);
    WatchedChild run(w.At({w.Write(w.settings(2).Set("Export", "json"))}));
    ASSERT_TRUE(run.WaitUntilBlockedAfter(kFirstDay)) << ::testing::PrintToString(run.LogLinesSoFar());
    // The templates change while the run evaluates.
    for (const char* name : {"bin/tbl1.htm", "bin/Title.htm"})
        WriteFile(w.dir / name, "changed template");
    writer.Release();
    const Outcome r = run.Wait();
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    for (const char* page : {"day_1.htm", "day_2.htm", "Page0.htm"})
        EXPECT_EQ(MarkedValues(ReadFile(w.out + page)).count(1), 1u) << page << " is not made from the template read";
    const Json inputs = Json::parse(ReadFile(w.out + "report.json")).at("inputs");
    const TempDir scratch;
    EXPECT_EQ(inputs.at("day_template").at("sha256"), Sha256Of(dayTemplate, scratch));
    EXPECT_EQ(inputs.at("day_template").at("bytes"), dayTemplate.size());
    const std::string title = titleTemplate + "<!--pq:provenance-->";
    EXPECT_EQ(inputs.at("title_template").at("sha256"), Sha256Of(title, scratch));
    EXPECT_NE(ReadFile(w.out + "Page0.htm").find("<td class=\"hash\">" + Sha256Of(title, scratch) + "</td>"),
              std::string::npos);
}

}  // namespace
