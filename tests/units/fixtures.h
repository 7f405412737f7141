#pragma once
// Small measurement databases, a log capture, time zones and the shared
// checks of a statistic over one series, for the unit tests.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/datetime.h>
#include <wx/log.h>
#include <wx/wxsqlite3.h>

#include "base/number_text.h"
#include "db/sample_source.h"
#include "model/notes.h"
#include "model/statistic_result.h"
#include "pages/page_layout.h"
#include "settings/run_settings.h"
#include "standard/gost_13109_97.h"
#include "stats/day_context.h"

namespace pq {

// An in-memory database in the logger's schema.
class FixtureDb {
public:
    FixtureDb();
    wxSQLite3Database& db() { return db_; }
    // The statistics' source over the database, and the notes of what they read.
    DatabaseSource& source() { return source_; }
    Notes& notes() { return notes_; }
    wxSQLite3Database* operator->() { return &db_; }

    // Writes `value` (NULL when empty) into table.column at the instant,
    // creating the Base row and the parameter row as needed.
    void Put(const std::string& table, const std::string& column, const wxDateTime& at,
             std::optional<double> value);
    // The same with the value stored as text.
    void PutText(const std::string& table, const std::string& column, const wxDateTime& at,
                 const std::string& text);
    // values[i] at start + i * stepSeconds.
    void PutSeries(const std::string& table, const std::string& column, const wxDateTime& start,
                   int stepSeconds, const std::vector<double>& values);
    // A Base row without parameter rows.
    long long Instant(const wxDateTime& at);

    void Begin() { db_.ExecuteUpdate("BEGIN"); }
    void Commit() { db_.ExecuteUpdate("COMMIT"); }

private:
    void EnsureRow(const std::string& table, long long id);
    wxSQLite3Database db_;
    wxSQLite3Statement insertInstant_;
    std::map<std::string, long long> ids_;
    DatabaseSource source_{db_};
    Notes notes_;
};

// Creates the logger's tables in `db`.
void CreateSchema(wxSQLite3Database& db);

// Collects the log messages while it lives.
class LogCapture : public wxLog {
public:
    LogCapture();
    ~LogCapture() override;
    std::vector<std::string> lines;
    std::vector<wxLogLevel> levels;  // of each line
    // Whether `text` is one of the messages; how often it occurs.
    bool Has(const std::string& text) const;
    int Count(const std::string& text) const;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override;

private:
    wxLog* previous_;
};

wxDateTime At(int day, int hour = 0, int minute = 0, int second = 0);  // March 2011

// A day of the fixture database: 1 March 2011 with max-load 08:00 to 20:00
// unless other periods are given, voltage class 0 unless another is given;
// tolerance 5 minutes; judged by GOST 13109-97. It stands for the DayContext
// of the statistics; its notes are kept in `notes`.
struct TestDay {
    explicit TestDay(FixtureDb& f, DateTimeList begins = {At(1, 8)}, DateTimeList ends = {At(1, 20)},
                     int voltageClass = 0);
    TestDay(FixtureDb& f, int voltageClass) : TestDay(f, {At(1, 8)}, {At(1, 20)}, voltageClass) {}
    operator const DayContext&() const { return context; }

    DatabaseSource source;
    Notes notes;
    DayContext context;
};
// The run's settings of these header values with `days` days, checked as a
// run checks them.
RunSettings RunOf(ReportHeaderValues header, int days = 1);

// Values lo, lo + step, ... (count of them).
std::vector<double> Ramp(double lo, double step, int count);

// n values of `v`, then the rest.
std::vector<double> Repeat(size_t n, double v, std::vector<double> rest = {});

// A statistic's record as the page shows it, clearing `complies` as the
// run's flag is cleared when the day does not comply.
inline TextList ClearingFlag(const StatisticResult& result, bool& complies)
{
    if (!result.complies)
        complies = false;
    return RecordTexts(result);
}

// One case of a statistic over one value series: the values, the record the
// page shows, whether the flag stays set and whether the input is noted as
// incomplete.
struct StatisticCase {
    const char* name;
    std::vector<double> values;
    TextList slots;
    bool flagKept;
    bool incomplete;
};

// One day of a statistic over one value series.
using Statistic = std::function<TextList(const DayContext&, bool&)>;

// Writes each case's values into table.column every `step` seconds from the
// day's start and checks the record, the flag and the log.
template <size_t N>
void CheckStatisticCases(const StatisticCase (&cases)[N], const std::string& table, const std::string& column,
                         int step, const std::string& line, const Statistic& statistic)
{
    for (const StatisticCase& c : cases) {
        FixtureDb f;
        f.PutSeries(table, column, At(1), step, c.values);
        LogCapture log;
        bool flag = true;
        EXPECT_EQ(statistic(TestDay(f), flag), c.slots) << c.name;
        EXPECT_EQ(flag, c.flagKept) << c.name;
        EXPECT_TRUE(log.Has(line)) << c.name;
        EXPECT_EQ(log.Has("Input is incomplete!\n"), c.incomplete) << c.name;
    }
}

// ---- values that are no finite numbers ----------------------------------------

// Stores the SQL literal as table.column's value at the instants [from, to)
// that have a row.
void SetLiteral(FixtureDb& f, const std::string& table, const std::string& column, const wxDateTime& from,
                const wxDateTime& to, const std::string& literal);

// The literals that are no finite numbers, as SQLite stores them in a REAL
// column: 'nan', '-inf', 'Inf' and 'abc' stay text, BLOBs stay BLOBs, 1e999
// becomes a REAL infinity. Whatever SQLite's order, each counts as 0 and takes
// its place among the values as 0.
struct NotFiniteLiteral {
    const char* literal;
    bool storedAsText;  // as text or BLOB
};
extern const std::vector<NotFiniteLiteral> kNotFinite;

// The warning of a statistic that met `count` values stored as text.
std::string StoredAsText(const std::string& column, int count);

// The log without the incompleteness lines.
std::vector<std::string> Lines(const LogCapture& log);

// ---- time zones -----------------------------------------------------------------

// "%Y-%m-%d %H:%M:%S" of a set instant, "unset" for an unset one.
std::string Stamp(const wxDateTime& t);

// TZ for as long as it lives; the earlier value (or none) comes back after.
class LocalZone {
public:
    explicit LocalZone(const std::string& tz);
    ~LocalZone();
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> previous_;
};

// Whether the system's time zone data has `zone` (a POSIX rule needs none).
bool ZoneInstalled(const std::string& zone);

const char kMoscow[] = "Europe/Moscow";

}  // namespace pq
