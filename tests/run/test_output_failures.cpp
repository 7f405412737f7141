// Templates that cannot be read and folders that cannot take the pages are
// refused before the database is opened, with an error naming the file and
// nothing written; a page that cannot be written, or an "ok!" that cannot,
// ends the run with an error and no "ok!"; earlier pages are kept.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;

namespace {

// The names in a directory with the contents of its files.
std::map<std::string, std::string> Contents(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : ListDir(dir)) {
        struct stat st;
        const std::string path = dir + "/" + name;
        files[name] = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? "(a directory)" : ReadFile(path);
    }
    return files;
}

TEST(OutputFailure, TemplatesAndTheFolderAreCheckedBeforeTheDatabase)
{
    const std::string oversized((16 << 20) + 1, 'x');
    const struct {
        const char* name;
        // Breaks the workspace and returns the user directory prefix.
        std::function<std::string(const Workspace&)> prepare;
        std::string folder;  // relative to the workspace; where earlier pages lie
        std::string error;   // the last log line, "@" standing for the workspace
        bool unprivileged;
    } cases[] = {
        {"missing title template",
         [](const Workspace& w) {
             ::unlink((w.dir / "bin/Title.htm").c_str());
             return w.out;
         },
         "out", "Error: Cannot read the template @/bin/Title.htm: No such file or directory", false},
        {"missing day template",
         [](const Workspace& w) {
             ::unlink((w.dir / "bin/tbl1.htm").c_str());
             return w.out;
         },
         "out", "Error: Cannot read the template @/bin/tbl1.htm: No such file or directory", false},
        {"title template over 16 MiB",
         [&oversized](const Workspace& w) { WriteFile(w.dir / "bin/Title.htm", oversized); return w.out; }, "out",
         "Error: Cannot read the template @/bin/Title.htm: it is larger than 16 MiB", false},
        {"day template over 16 MiB",
         [&oversized](const Workspace& w) { WriteFile(w.dir / "bin/tbl1.htm", oversized); return w.out; }, "out",
         "Error: Cannot read the template @/bin/tbl1.htm: it is larger than 16 MiB", false},
        {"missing folder", [](const Workspace& w) { return w.dir / "missing/"; }, "",
         "Error: Cannot write the pages into the folder @/missing: No such file or directory", false},
        {"a regular file as the folder",
         [](const Workspace& w) {
             WriteFile(w.dir / "file.txt", "text");
             return w.dir / "file.txt/";
         },
         "", "Error: Cannot write the pages into the folder @/file.txt: Not a directory", false},
        {"read-only folder",
         [](const Workspace& w) {
             ::chmod(w.out.c_str(), 0555);
             return w.out;
         },
         "out", "Error: Cannot write the pages into the folder @/out: Permission denied", true},
        {"read-only folder of a bare prefix",
         [](const Workspace& w) {
             ::chmod(w.out.c_str(), 0555);
             return w.out + "site_";
         },
         "out", "Error: Cannot write the pages into the folder @/out: Permission denied", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        WriteFile(w.out + "Page0.htm", "earlier title");
        WriteFile(w.out + "day_1.htm", "earlier day");
        // No database at all: opening it would end the run with a database error instead.
        const std::string settings =
            w.Write(w.settings(2).UserDir(c.prepare(w)).Set("DB", w.dir / "absent.db"));
        const std::map<std::string, std::string> before = Contents(w.dir / c.folder);
        Launch launch = w.At({settings});
        launch.unprivileged = c.unprivileged;
        const Outcome r = RunProgram(launch);

        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        std::string error = c.error;
        error.replace(error.find('@'), 1, w.dir.path());
        ASSERT_FALSE(r.LogLines().empty());
        EXPECT_EQ(r.LogLines().back(), error) << r.Log();
        EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
        EXPECT_FALSE(r.LineStartingWith("Day number")) << r.Log();
        EXPECT_TRUE(Contents(w.dir / c.folder) == before) << "the run wrote or changed a file";
    }
}

TEST(OutputFailure, PageThatCannotBeWrittenIsReportedAndEarlierPagesKept)
{
    const struct {
        const char* name;
        std::string failing;  // the page that cannot be written, held by an earlier file or a directory
        const char* earlier;  // the earlier page's text; null: a directory of its name
        long long fileSizeLimit;
    } cases[] = {
        {"file size limit below the title page", "Page0.htm", "earlier title", 64 * 1024},
        {"a directory where the day page goes", "day_1.htm", nullptr, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w("day page", std::string(256 * 1024, 't'));
        if (c.earlier)
            WriteFile(w.out + c.failing, c.earlier);
        else
            ASSERT_EQ(::mkdir((w.out + c.failing).c_str(), 0755), 0);
        Launch launch = w.At({w.Write(w.settings(1))});
        launch.fileSizeLimit = c.fileSizeLimit;
        const Outcome r = RunProgram(launch);

        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.LineStartingWith("Error: Cannot write the page " + w.out + c.failing + ": ")) << r.Log();
        EXPECT_EQ(r.LogLines().back(), "Error: The report is incomplete: a page could not be written.") << r.Log();
        // The other page is written, the earlier one untouched, and nothing else (no temporary file) is left.
        EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm"}));
        if (c.earlier) {
            EXPECT_EQ(ReadFile(w.out + c.failing), c.earlier);
        }
    }
}

TEST(OutputFailure, OkThatCannotBeWrittenIsAnError)
{
    const struct {
        const char* name;
        std::string standardOutput;
        const char* why;
    } cases[] = {
        {"standard output closed", "", "Bad file descriptor"},
        {"standard output full", "/dev/full", "No space left on device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        WriteTwoDays(w);
        const std::string database = ReadFile(w.db);
        Launch launch = w.At({w.Write(w.settings(2).Set("Export", "json"))});
        launch.standardOutput = c.standardOutput;
        const Outcome r = RunProgram(launch);

        EXPECT_EQ(r.status, 1);
        ASSERT_FALSE(r.LogLines().empty());
        EXPECT_EQ(r.LogLines().back(), std::string("Error: Cannot write \"ok!\" to standard output: ") + c.why)
            << r.Log();
        // The report itself is whole, and "ok!" went into none of the files.
        EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm", "report.json"}));
        for (const auto& file : Contents(w.out))
            EXPECT_EQ(file.second.find("ok!"), std::string::npos) << file.first;
        EXPECT_TRUE(ReadFile(w.db) == database) << "the database changed";
    }
}

}  // namespace
