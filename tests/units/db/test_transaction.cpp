// How the run tells a program that writes the database from its own
// statistics: its own exclusive transactions must not count as another
// program's commits (the run would then pause once a second on every
// database), and a commit by another connection between two statistics must.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "db/transaction.h"

using namespace pq;

namespace {

// Sets the file's times an hour back, so that only a commit seen by SQLite
// tells of a writer; a file that is not there is left alone.
void AgeFile(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return;
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = st.st_mtim.tv_sec - 3600;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// One statistic: its lock, a read, its commit.
void Statistic(MeasurementDatabase& run)
{
    StatisticTransaction lock(run);
    wxSQLite3ResultSet rows = run.ExecuteQuery("SELECT count(*) FROM t");
    ASSERT_TRUE(rows.NextRow());
    rows.Finalize();
    lock.Commit();
}

TEST(WriterSeen, OwnStatisticsAreNoWriterAndAnotherConnectionsCommitIs)
{
    for (const char* mode : {"DELETE", "WAL"}) {
        SCOPED_TRACE(mode);
        char dirTemplate[] = "/tmp/pqwriter-XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        const std::string dir = dirTemplate;
        const std::string path = dir + "/m.db";
        {
            wxSQLite3Database setup;
            setup.Open(wxString::FromUTF8(path));
            setup.ExecuteQuery(wxString("PRAGMA journal_mode=") + mode).NextRow();
            setup.ExecuteUpdate("CREATE TABLE t(x REAL)");
            setup.ExecuteUpdate("INSERT INTO t VALUES (1.5)");
        }
        AgeFile(path);
        AgeFile(path + "-wal");

        Notes notes;
        MeasurementDatabase run;
        run.OpenExisting(wxString::FromUTF8(path), 5000, notes);
        for (int i = 0; i < 5; ++i)
            Statistic(run);
        EXPECT_FALSE(run.WriterSeen()) << "the run's own transactions were taken for a writer";

        {
            wxSQLite3Database logger;
            logger.Open(wxString::FromUTF8(path));
            logger.ExecuteUpdate("INSERT INTO t VALUES (2.5)");
        }
        AgeFile(path);
        AgeFile(path + "-wal");
        EXPECT_FALSE(run.WriterSeen()) << "seen before a statistic could see the commit";
        Statistic(run);
        EXPECT_TRUE(run.WriterSeen()) << "another connection's commit between two statistics went unseen";

        run.Close();
        std::filesystem::remove_all(dir);
    }
}

}  // namespace
