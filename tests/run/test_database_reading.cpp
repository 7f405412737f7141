// How a report reaches its database: a database in write-ahead-log mode
// where no shared-memory file can be made, and the title's extremes over
// exactly the days' windows when the clock skips the last day's start.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "support.h"

using namespace pqrun;
namespace fs = std::filesystem;

namespace {

TEST(DatabaseReading, WriteAheadLogInAFolderTheRunCannotWrite)
{
    const struct {
        const char* name;
        bool logWithWrites;  // a -wal file with writes beside it, but no -shm
    } cases[] = {
        {"without a log: read as an immutable file", false},
        {"a log it cannot read without its shared memory: refused", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        WriteTwoDays(w);
        ExecSql(w.db, "PRAGMA journal_mode=WAL;");
        const std::string folder = w.dir.Subdir("media");
        const std::string db = folder + "/m.db";
        if (c.logWithWrites) {
            // A writer's connection stays open: its log holds its writes.
            sqlite3* writer = nullptr;
            ASSERT_EQ(sqlite3_open(w.db.c_str(), &writer), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(writer, "UPDATE du1m SET L1 = 0.5 WHERE Base_id % 2 = 0", nullptr, nullptr, nullptr),
                      SQLITE_OK);
            fs::copy_file(w.db, db);
            fs::copy_file(w.db + "-wal", db + "-wal");
            sqlite3_close(writer);
        } else {
            fs::copy_file(w.db, db);
        }
        ::chmod(folder.c_str(), 0555);
        const std::vector<std::string> files = ListDir(folder);

        Launch launch = w.At({w.Write(w.settings(2).Set("DB", db))});
        launch.unprivileged = true;
        const Outcome r = RunProgram(launch);
        EXPECT_EQ(ListDir(folder), files);
        if (c.logWithWrites) {
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            const auto line = r.LineStartingWith("Error: The database " + db + ": ");
            ASSERT_TRUE(line) << r.Log();
            EXPECT_NE(line->find("its write-ahead log " + db + "-wal cannot be read without a shared-memory file"),
                      std::string::npos)
                << *line;
            EXPECT_TRUE(r.LineStartingWith("InitDB14:")) << r.Log();
            EXPECT_TRUE(ListDir(w.out).empty());
            continue;
        }
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_TRUE(r.HasLine("Warning: The database " + db +
                              " is in write-ahead-log mode where no shared-memory file can be made beside it: it is "
                              "read as an immutable file."))
            << r.Log();
        // The same pages as from the database where it can be written.
        const std::vector<std::string> pages = ListDir(w.out);
        std::vector<std::string> read;
        for (const std::string& page : pages)
            read.push_back(ReadFile(w.out + page));
        const Outcome writable = RunProgram(w.At({w.Write(w.settings(2))}));
        ASSERT_EQ(writable.out, "ok!\n") << writable.Log();
        for (size_t i = 0; i < pages.size(); ++i)
            EXPECT_TRUE(ReadFile(w.out + pages[i]) == read[i]) << pages[i] << " differs";
    }
}

TEST(DatabaseReading, TheTitlesExtremesCoverTheLastDayWhenTheClockSkipsItsStart)
{
    // São Paulo set its clocks from 00:00 to 01:00 on 16.10.2011: the week's
    // last day runs from 16.10 01:00 to 17.10 01:00, and its last hour holds
    // the period's largest frequency and voltage.
    const ScopedEnv tz("TZ", "America/Sao_Paulo");
    ASSERT_TRUE(fs::exists("/usr/share/zoneinfo/America/Sao_Paulo")) << "the time zone data (tzdata) lacks it";
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    const struct {
        const char* stamp;
        double frequency, voltage;
    } rows[] = {{"2011-10-12 12:00:00", -0.1, 1.0}, {"2011-10-17 00:30:00", 0.3, 5.0}};
    std::string sql;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const std::string id = std::to_string(i + 1);
        sql += "INSERT INTO Base(Base_id, DateTimeMQV) VALUES(" + id + ", '" + rows[i].stamp + "');" +
               "INSERT INTO ac20sdfreq(Base_id, Value) VALUES(" + id + ", " + std::to_string(rows[i].frequency) +
               ");" + "INSERT INTO du1m(Base_id, L1, L2, L3) VALUES(" + id + ", " + std::to_string(rows[i].voltage) +
               ", 0, 0);";
    }
    ExecSql(w.db, sql);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(7).Set("dt_begin", "10.10.2011 00:00:00"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_TRUE(r.HasLine("16.10.2011 01:00 - 17.10.2011 01:00")) << r.Log();
    const std::map<int, std::string> title = MarkedValues(ReadFile(w.out + "Page0.htm"));
    EXPECT_EQ(title.at(42) + " " + title.at(43), "49,90 50,30");
    EXPECT_EQ(title.at(44) + " " + title.at(45), "220,00 231,00");
    EXPECT_EQ(title.at(29) + " " + title.at(30), "10-10-2011 17-10-2011");
}

}  // namespace
