#pragma once
// Query execution and the exclusive transaction that each statistic holds.
#include <chrono>
#include <optional>
#include <string>

#include <wx/wxsqlite3.h>

#include "io/console_log.h"
#include "model/notes.h"

namespace pq {

// The run's connection to the measurement database. It opens an existing
// file only, never checkpoints a write-ahead log when it closes (that would
// rewrite the database file), and remembers when another program kept a
// statistic from taking its lock, so that later statistics do not wait for
// that lock again.
class MeasurementDatabase : public wxSQLite3Database {
public:
    // Warnings of how the database is read go to `notes`, which must outlive the connection.
    void OpenExisting(const wxString& path, int busyTimeoutMs, Notes& notes);
    bool LockRefused() const { return lockRefused_; }
    // Logs once that the statistics run without their lock.
    void RefuseLock();

    // Called when a statistic has taken its lock: whether another program
    // committed since the last statistic let go of it.
    void LockTaken();

    // Called when a statistic has let go of its lock. The next statistic
    // takes the lock back within microseconds, while a program that waits for
    // it retries only every 100 ms or so: now and then the run leaves the
    // database alone for a moment (kGap) so that such a program gets in. It
    // does so once a second while another program is seen writing the
    // database (it committed between two statistics, or the database or its
    // write-ahead log changed in the last seconds), and otherwise only every
    // kQuietGapEvery, which costs about 1 % of a run.
    void LetWritersIn();

    // Whether another program is taken to be writing the database now.
    bool WriterSeen();

    static const std::chrono::milliseconds kGap;
    static const std::chrono::seconds kWriterGapEvery, kQuietGapEvery;

private:
    bool WriterSeen(std::chrono::steady_clock::time_point now);
    std::optional<int> DataVersion();

    wxString path_;
    Notes* notes_ = nullptr;
    bool lockRefused_ = false;
    std::chrono::steady_clock::time_point lastGap_;
    // SQLite's data version when the last statistic let go of its lock. It
    // counts this connection's own commits too, so it is compared only with
    // the version once the next statistic holds the lock: between the two,
    // only another connection can have changed it.
    std::optional<int> versionAtRelease_;
    std::optional<std::chrono::steady_clock::time_point> writeSeen_;
};

// Holds SQLite's exclusive lock for one statistic. The report only reads, but
// the lock keeps another program from writing while a statistic passes over
// the same rows several times, so that its passes see the same values. A failed begin is
// swallowed (the statistic then runs without a transaction); on the run's
// own connection a begin refused because another program holds the database
// is not tried again by later statistics. A failed commit
// is rolled back; an open transaction is rolled back when the object ends,
// also when an exception leaves the statistic.
class StatisticTransaction {
public:
    // While the lock is held the console's lines are held back (LogHold).
    explicit StatisticTransaction(wxSQLite3Database& db);
    ~StatisticTransaction();
    StatisticTransaction(const StatisticTransaction&) = delete;
    StatisticTransaction& operator=(const StatisticTransaction&) = delete;

    void Commit();

private:
    void Rollback();
    void Released();
    wxSQLite3Database& db_;
    bool active_ = false;
    std::optional<LogHold> hold_;
};

// Connection settings for repeated read-only scans of one file (a page cache
// that holds a day of one table; sorting in memory). The file is not changed.
extern const char* const kScanSettings[2];
void TuneForScans(wxSQLite3Database& db);

}  // namespace pq
