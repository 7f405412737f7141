// Measurement databases that are damaged, incomplete, odd or busy: a clear
// message, "ok!" only for a complete report, the file left as it was.
#include <functional>
#include <random>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;

namespace {

// A day of one-minute voltage deviations and twenty-second frequencies.
void FillOneDay(MeasurementDb& db)
{
    db.Series("du1m", 1, 60, 1440, [](int i, int c) { return ((i * 7 + c) % 400 - 200) / 100.0; });
    db.Series("u1unbalance1m", 1, 60, 1440, [](int i, int) { return (i % 100) / 100.0; });
    db.Series("ac20sdfreq", 1, 20, 4320, [](int i, int) { return (i % 21 - 10) / 100.0; });
}

TEST(Database, DamagedOrIncompleteDatabasesAreReportedAndLeftAlone)
{
    const struct {
        const char* name;
        std::function<void(const std::string& path)> make;
        bool complete;            // the run ends with "ok!"
        const char* lineStart;    // a log line starting so, when incomplete
        const char* lineHas;      // ... and carrying this
        bool unprivileged = false;
    } cases[] = {
        {"empty file", [](const std::string& p) { WriteFile(p, ""); }, false, "InitDB1:", "no such table: Base"},
        {"not a database",
         [](const std::string& p) {
             std::mt19937 random(7);
             std::string bytes(8192, '\0');
             for (char& b : bytes)
                 b = static_cast<char>(random());
             WriteFile(p, bytes);
         },
         false, "InitDB26:", "file is not a database"},
        {"cut in half",
         [](const std::string& p) {
             {
                 MeasurementDb db(p + ".whole");
                 FillOneDay(db);
             }
             const std::string whole = ReadFile(p + ".whole");
             WriteFile(p, whole.substr(0, whole.size() / 2));
             std::remove((p + ".whole").c_str());
         },
         false, "InitDB11:", "malformed"},
        {"a parameter table missing",
         [](const std::string& p) {
             MeasurementDb db(p, {"uthd3s"});
             FillOneDay(db);
         },
         false, "InitDB1:", "no such table: uthd3s"},
        {"a phase column missing",
         [](const std::string& p) {
             MeasurementDb db(p, {"du1m"});
             db.Exec("CREATE TABLE du1m(Base_id INTEGER PRIMARY KEY, L1 REAL, L2 REAL)");
         },
         false, "InitDB1:", "no such column"},
        {"text and NULL where numbers belong",
         [](const std::string& p) {
             MeasurementDb db(p);
             FillOneDay(db);
             db.Series("uthd3s", 1, 600, 144,
                       [](int i, int c) -> std::optional<double> {
                           if (c == 1)
                               return std::nullopt;
                           return i;
                       });
             db.Exec("UPDATE du1m SET L1='abc' WHERE Base_id % 3 = 0");
             db.Exec("UPDATE du1m SET L2=NULL WHERE Base_id % 5 = 0");
             db.Exec("UPDATE ac20sdfreq SET Value='0,1' WHERE Base_id % 7 = 0");
             db.Exec("UPDATE ac20sdfreq SET Value=x'00ff' WHERE Base_id % 11 = 0");
             db.Exec("UPDATE uthd3s SET L3='' WHERE Base_id % 2 = 0");
         },
         true, nullptr, nullptr},
        {"read-only file",
         [](const std::string& p) {
             {
                 MeasurementDb db(p);
                 FillOneDay(db);
             }
             ::chmod(p.c_str(), 0444);
         },
         true, nullptr, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w("day page", MarkedTitleTemplate(60));
        const std::string data = w.dir.Subdir("data");
        const std::string path = data + "/m.db";
        c.make(path);
        const std::string before = ReadFile(path);
        const std::vector<std::string> names = ListDir(data);

        Launch launch = w.At({w.Write(w.settings(1).Set("DB", path))});
        launch.unprivileged = c.unprivileged;
        const Outcome r = RunProgram(launch);

        if (c.complete) {
            EXPECT_EQ(r.out, "ok!\n") << r.Log();
            EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm"}));
            EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
        } else {
            EXPECT_EQ(r.out, "");
            const auto line = r.LineStartingWith(c.lineStart);
            ASSERT_TRUE(line) << r.Log();
            EXPECT_NE(line->find(c.lineHas), std::string::npos) << *line;
            // The error line after it names the file.
            const auto named = r.LineStartingWith("Error: The database " + path + ": ");
            ASSERT_TRUE(named) << r.Log();
            EXPECT_NE(named->find(c.lineHas), std::string::npos) << *named;
            EXPECT_FALSE(Exists(w.out + "Page0.htm"));
        }
        EXPECT_EQ(r.status, c.complete ? 0 : 1);
        EXPECT_TRUE(ReadFile(path) == before) << "the database file changed";
        EXPECT_EQ(ListDir(data), names);
    }
}

TEST(Database, DatabasePathOutsideCp1251IsOpened)
{
    // "é" has no CP1251 code; the file is there and must be the one read.
    const Workspace w("day page", MarkedTitleTemplate(60));
    const std::string path = w.dir / "café.db";
    {
        MeasurementDb db(path);
        FillOneDay(db);
    }
    const Outcome r = RunProgram(w.At({w.Write(w.settings(1).Set("DB", path))}));
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
}

TEST(Database, WriterHoldingTheDatabaseIsWaitedFor)
{
    const struct {
        const char* begin;
        DbLock lock;             // the writer's lock until it commits
        bool waitsBeforeTheDay;  // where the run is blocked
    } cases[] = {
        // Readers may still read beside a reserved lock: the run is blocked
        // at its first statistic's "begin exclusive transaction", right
        // after the day's dates line.
        {"BEGIN IMMEDIATE", DbLock::Reserved, false},
        // An exclusive lock keeps readers out: the run is blocked at its
        // first look into the database, before the day starts.
        {"BEGIN EXCLUSIVE", DbLock::Exclusive, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.begin);
        const Workspace w("day page", MarkedTitleTemplate(60));
        {
            MeasurementDb db(w.db + ".new");
            FillOneDay(db);
        }
        std::rename((w.db + ".new").c_str(), w.db.c_str());

        // The writer adds the period's highest frequency; a run that waits
        // for it sees it on the title page.
        sqlite3* writer = nullptr;
        ASSERT_EQ(sqlite3_open(w.db.c_str(), &writer), SQLITE_OK);
        // Its commit waits in turn for the run's fleeting shared lock.
        sqlite3_busy_timeout(writer, static_cast<int>(kWatchTimeout.count()));
        const std::string sql = std::string(c.begin) +
                                "; INSERT INTO Base(Base_id, DateTimeMQV) VALUES(1000000, '2011-03-01 12:00:01');"
                                " INSERT INTO ac20sdfreq(Base_id, Value) VALUES(1000000, 0.37);";
        ASSERT_EQ(sqlite3_exec(writer, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(DbLockHolder(w.db, c.lock), ::getpid());

        const std::string settings = w.Write(w.settings(1));
        WatchedChild child(w.At({settings}));
        // Commit only once the run is seen asleep in its busy wait: a run that
        // did not wait would go on past the line, or end, and fail here.
        const std::string before =
            c.waitsBeforeTheDay ? "Input files: " + settings + " " : "01.03.2011 00:00 - 02.03.2011 00:00";
        const bool blocked = child.WaitUntilBlockedAfter(before);
        const std::vector<std::string> soFar = child.LogLinesSoFar();
        EXPECT_TRUE(blocked) << "not seen waiting after \"" << before << "\"; log so far:\n"
                             << ::testing::PrintToString(soFar);
        EXPECT_EQ(sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        const Outcome r = child.Wait();

        EXPECT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
        EXPECT_TRUE(r.HasLine("Day number 1 of 1.")) << r.Log();
        std::map<int, std::string> title = MarkedValues(ReadFile(w.out + "Page0.htm"));
        EXPECT_EQ(title[43], "50,37");
    }
}

}  // namespace
