// The run's inputs are never changed: a database in write-ahead-log mode keeps
// its log, a page never replaces the database, the settings or a template,
// and another program's long read transaction costs at most one wait.
#include <chrono>
#include <functional>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;

namespace {

// Replaces the workspace's empty database by a day of voltage deviations and frequencies.
void FillOneDay(const Workspace& w)
{
    {
        MeasurementDb db(w.db + ".new");
        db.Series("du1m", 1, 60, 1440, [](int i, int c) { return ((i * 7 + c) % 400 - 200) / 100.0; });
        db.Series("ac20sdfreq", 1, 20, 4320, [](int i, int) { return (i % 21 - 10) / 100.0; });
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());
}

void Exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
}

TEST(DatabaseSafety, WriteAheadLogIsReadAndLeftAsFound)
{
    const Workspace w("day page", MarkedTitleTemplate(60));
    FillOneDay(w);
    // A writer that committed into the log and left without a checkpoint.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(w.db.c_str(), &writer), SQLITE_OK);
    Exec(writer, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;");
    Exec(writer, "UPDATE ac20sdfreq SET Value=0.33 WHERE Base_id=(SELECT MIN(Base_id) FROM ac20sdfreq)");
    sqlite3_db_config(writer, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close(writer);
    const std::string main = ReadFile(w.db), log = ReadFile(w.db + "-wal");
    ASSERT_FALSE(log.empty());

    const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(MarkedValues(ReadFile(w.out + "Page0.htm")).at(43), "50,33");  // the logged value was read
    EXPECT_TRUE(ReadFile(w.db) == main) << "the database file changed";
    ASSERT_TRUE(Exists(w.db + "-wal"));
    EXPECT_TRUE(ReadFile(w.db + "-wal") == log) << "the log changed";
}

TEST(DatabaseSafety, WriteAheadLogDatabaseClosedCleanlyGetsNoFilesBesideIt)
{
    const Workspace w("day page", MarkedTitleTemplate(60));
    FillOneDay(w);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(w.db.c_str(), &writer), SQLITE_OK);
    Exec(writer, "PRAGMA journal_mode=WAL;");
    sqlite3_close(writer);  // checkpoints and removes its log
    ASSERT_FALSE(Exists(w.db + "-wal"));
    const std::string main = ReadFile(w.db);

    const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_TRUE(ReadFile(w.db) == main) << "the database file changed";
    EXPECT_FALSE(Exists(w.db + "-wal"));
    EXPECT_FALSE(Exists(w.db + "-shm"));
}

TEST(DatabaseSafety, PageThatWouldReplaceAnInputIsRefusedBeforeAnyPage)
{
    // Each case makes one page path name an input; the run must write nothing.
    const struct {
        const char* name;
        std::function<std::string(const Workspace& w)> settings;  // writes what it needs, returns the settings path
        std::string input;                                        // the file that must stay, relative to w.dir
        const char* what;
    } cases[] = {
        {"the database as the first day page",
         [](const Workspace& w) {
             std::rename(w.db.c_str(), (w.out + "day_1.htm").c_str());
             return w.Write(w.settings(1).Set("DB", w.out + "day_1.htm"));
         },
         "out/day_1.htm", "database"},
        {"the database as the title page, through a symbolic link",
         [](const Workspace& w) {
             EXPECT_EQ(::symlink(w.db.c_str(), (w.out + "Page0.htm").c_str()), 0);
             return w.Write(w.settings(1));
         },
         "m.db", "database"},
        {"the settings document as the title page",
         [](const Workspace& w) { return w.Write(w.settings(1), "out/Page0.htm"); }, "out/Page0.htm",
         "settings document"},
        {"a template as the title page, through a hard link",
         [](const Workspace& w) {
             EXPECT_EQ(::link((w.dir / "bin/Title.htm").c_str(), (w.out + "Page0.htm").c_str()), 0);
             return w.Write(w.settings(1));
         },
         "bin/Title.htm", "template"},
        {"the database named with dots and doubled slashes",
         [](const Workspace& w) {
             std::rename(w.db.c_str(), (w.out + "day_1.htm").c_str());
             return w.Write(w.settings(1).Set("DB", w.dir / "out/./..//out/day_1.htm"));
         },
         "out/day_1.htm", "database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w("day page", MarkedTitleTemplate(60));
        FillOneDay(w);
        const std::string settings = c.settings(w);
        const std::string input = w.dir / c.input;
        const std::string before = ReadFile(input);
        const std::vector<std::string> pagesBefore = ListDir(w.out);

        const Outcome r = RunProgram(w.At({settings}));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 1);
        const auto line = r.LineStartingWith("Error: The page ");
        ASSERT_TRUE(line) << r.Log();
        EXPECT_NE(line->find(std::string(" would overwrite the ") + c.what + " "), std::string::npos) << *line;
        EXPECT_FALSE(r.LineStartingWith("Day number")) << r.Log();
        EXPECT_TRUE(ReadFile(input) == before) << "the input changed";
        EXPECT_EQ(ListDir(w.out), pagesBefore);
    }
}

TEST(DatabaseSafety, LongReadTransactionOfAnotherProgramCostsOneWait)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    FillOneDay(w);
    const std::string settings = w.Write(w.settings(1));
    const Outcome alone = RunProgram(w.At({settings}));
    ASSERT_EQ(alone.out, "ok!\n") << alone.Log();
    const std::string dayPage = ReadFile(w.out + "day_1.htm"), titlePage = ReadFile(w.out + "Page0.htm");

    // Another program reads and keeps its read transaction open.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(w.db.c_str(), &reader), SQLITE_OK);
    Exec(reader, "BEGIN; SELECT COUNT(*) FROM Base;");
    ASSERT_EQ(DbLockHolder(w.db, DbLock::Shared), ::getpid());

    const auto started = std::chrono::steady_clock::now();
    const Outcome r = RunProgram(w.At({settings}));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
    Exec(reader, "COMMIT");
    sqlite3_close(reader);

    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    // One busy time-out of 60 s, then the run's normal time; 23 waits took 23 minutes.
    EXPECT_LT(seconds, 90) << r.Log();
    int notes = 0;
    for (const std::string& l : r.LogLines())
        notes += l.find("is in use by another program") != std::string::npos;
    EXPECT_EQ(notes, 1) << r.Log();
    EXPECT_TRUE(r.HasLine("Warning: The database " + w.db +
                          " is in use by another program: the statistics read it without their lock."))
        << r.Log();
    EXPECT_TRUE(ReadFile(w.out + "day_1.htm") == dayPage) << "the values differ from a run alone";
    EXPECT_TRUE(ReadFile(w.out + "Page0.htm") == titlePage);
}

}  // namespace
