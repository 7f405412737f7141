#pragma once
// Query execution and the exclusive transaction that each statistic holds.
#include <string>

#include <wx/wxsqlite3.h>

// The run's connection to the measurement database. It opens an existing
// file only, never checkpoints a write-ahead log when it closes (that would
// rewrite the database file), and remembers when another program kept a
// statistic from taking its lock, so that later statistics do not wait for
// that lock again.
class MeasurementDatabase : public wxSQLite3Database {
public:
    void OpenExisting(const wxString& path, int busyTimeoutMs);
    bool LockRefused() const { return lockRefused_; }
    // Logs once that the statistics run without their lock.
    void RefuseLock();

private:
    wxString path_;
    bool lockRefused_ = false;
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
    explicit StatisticTransaction(wxSQLite3Database& db);
    ~StatisticTransaction();
    StatisticTransaction(const StatisticTransaction&) = delete;
    StatisticTransaction& operator=(const StatisticTransaction&) = delete;

    void Commit();

private:
    void Rollback();
    wxSQLite3Database& db_;
    bool active_ = false;
};

// Connection settings for repeated read-only scans of one file (a page cache
// that holds a day of one table; sorting in memory). The file is not changed.
extern const char* const kScanSettings[2];
void TuneForScans(wxSQLite3Database& db);

// Runs a query that yields one row and returns the bytes of its column 0's
// text, as ValueStream reads them (`fallback` when it yields no row; a NULL
// reads as the empty text).
std::string SingleText(wxSQLite3Database& db, const std::string& sql, const std::string& fallback);

// An ordered value query, prepared once and streamed row by row on every pass.
class ValueStream {
public:
    ValueStream(wxSQLite3Database& db, const std::string& sql);

    // Calls visit(text) for each row in order until it returns false. The
    // text holds the bytes of the value's text as SQLite writes it: a REAL
    // with a point ("Inf" and "-Inf" for the infinities), a TEXT as stored, a
    // BLOB's bytes as they are.
    template <class Visit>
    void Pass(Visit visit)
    {
        statement_.Reset();
        wxSQLite3ResultSet rows = statement_.ExecuteQuery();
        while (rows.NextRow()) {
            if (!visit(RowText(rows)))
                break;
        }
    }

private:
    const std::string& RowText(wxSQLite3ResultSet& rows);
    wxSQLite3Statement statement_;
    std::string text_;  // the current row's text, reused across rows
};
