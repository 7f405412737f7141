// A logger that keeps writing its database while a report reads it: a
// program writing every 3 s with a busy time-out of 5 s is never refused,
// in rollback-journal and in write-ahead-log mode, and the report's pages
// are those of the database as it was before (the writes lie after the
// period). A report whose standard error nobody reads blocks on a log line
// without holding the database's lock.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

// Measurements of `days` days from 1 March 2011, a fifth of the full density:
// each statistic holds the database for a fraction of the logger's busy
// time-out even on a loaded machine (a statistic keeps its lock to the end,
// so one that took longer than the time-out would have the logger refused).
void MakeDays(const std::string& db, int days, bool writeAheadLog)
{
    Launch maker;
    maker.program = MAKE_SAMPLE_DB;
    maker.args = {"--force", "--days", std::to_string(days), "--density", "0.2", "-o", db};
    const Outcome made = RunProgram(maker);
    ASSERT_EQ(made.status, 0) << made.err;
    if (writeAheadLog)
        ExecSql(db, "PRAGMA journal_mode=WAL;");
}

// The writer's lines so far: "ok <ms>" or "refused <ms> <why>".
std::vector<std::string> Writes(const WatchedChild& writer) { return writer.LogLinesSoFar(); }

// Waits until the writer has finished `count` writes.
bool WaitForWrites(const WatchedChild& writer, size_t count)
{
    return WaitUntil([&] { return Writes(writer).size() >= count; }, std::chrono::seconds(30));
}

std::vector<std::string> Refused(const std::vector<std::string>& writes)
{
    std::vector<std::string> refused;
    for (const std::string& w : writes)
        if (w.rfind("ok ", 0) != 0)
            refused.push_back(w);
    return refused;
}

// The logger: a write every 3 s, each waiting at most 5 s for the database.
Launch Writer(const std::string& db)
{
    Launch writer;
    writer.program = LIVE_WRITER;
    writer.args = {db, "3000", "5000"};
    return writer;
}

// A week's report while the logger writes: no write is refused, and the
// pages equal those of a copy of the database taken before.
void ReportWhileTheLoggerWrites(bool writeAheadLog)
{
    const std::string day = MarkedDayTemplate(180) + "<!--pq:charts-->";
    const std::string title = MarkedTitleTemplate(60);
    const Workspace live(day, title), before(day, title);
    MakeDays(live.db, 7, writeAheadLog);
    std::filesystem::copy_file(live.db, before.db, std::filesystem::copy_options::overwrite_existing);

    // The logger is at work when the report starts.
    WatchedChild writer(Writer(live.db));
    ASSERT_TRUE(WaitForWrites(writer, 1));
    const Outcome r = RunProgram(live.At({live.Write(live.settings(7))}));
    const size_t during = Writes(writer).size() - 1;
    ::kill(writer.Pid(), SIGTERM);
    writer.Wait();
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_GE(during, 2u) << "the report ended before the logger wrote twice";
    EXPECT_EQ(Refused(Writes(writer)), std::vector<std::string>{});

    const Outcome expected = RunProgram(before.At({before.Write(before.settings(7))}));
    ASSERT_EQ(expected.out, "ok!\n") << expected.Log();
    for (const std::string& page : ListDir(before.out))
        EXPECT_TRUE(ReadFile(live.out + page) == ReadFile(before.out + page)) << page << " differs";
    EXPECT_EQ(ListDir(live.out), ListDir(before.out));
}

TEST(LiveLogger, RollbackJournalWritesAreNeverRefused) { ReportWhileTheLoggerWrites(false); }

TEST(LiveLogger, WriteAheadLogWritesAreNeverRefused) { ReportWhileTheLoggerWrites(true); }

TEST(LiveLogger, AReportBlockedOnItsLogHoldsNoLock)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    MakeDays(w.db, 1, false);
    WatchedChild writer(Writer(w.db));
    ASSERT_TRUE(WaitForWrites(writer, 1));

    // A pipe nobody reads, nearly full: the report blocks a few statistics in.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const int capacity = ::fcntl(pipeFds[1], F_SETPIPE_SZ, 4096);
    ASSERT_GT(capacity, 0);
    ::fcntl(pipeFds[1], F_SETFL, O_NONBLOCK);
    const std::string filler(static_cast<size_t>(capacity) - 600, 'x');
    ASSERT_EQ(::write(pipeFds[1], filler.data(), filler.size()), static_cast<ssize_t>(filler.size()));
    ::fcntl(pipeFds[1], F_SETFL, 0);

    Launch launch = w.At({w.Write(w.settings(1))});
    launch.stderrFd = pipeFds[1];
    WatchedChild report(launch);
    ::close(pipeFds[1]);
    const auto blockedOnThePipe = [&] {
        return ReadFile("/proc/" + std::to_string(report.Pid()) + "/wchan").find("pipe_write") != std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(blockedOnThePipe));
    EXPECT_NE(DbLockHolder(w.db, DbLock::Shared), report.Pid());
    // The logger goes on writing while the report waits for its reader.
    const size_t before = Writes(writer).size();
    ASSERT_TRUE(WaitForWrites(writer, before + 2));
    EXPECT_TRUE(blockedOnThePipe());
    EXPECT_EQ(Refused(Writes(writer)), std::vector<std::string>{});

    ::kill(report.Pid(), SIGKILL);
    report.Wait();
    ::close(pipeFds[0]);
    ::kill(writer.Pid(), SIGTERM);
    writer.Wait();
}

}  // namespace
