#include "tests/units/fixtures.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "db/queries.h"


namespace pq {

void CreateSchema(wxSQLite3Database& db)
{
    db.ExecuteUpdate("CREATE TABLE Base(Base_id INTEGER PRIMARY KEY, DateTimeMQV TEXT)");
    db.ExecuteUpdate("CREATE INDEX Base_time ON Base(DateTimeMQV)");
    for (const char* t : {"du1m", "uthd3s"})
        db.ExecuteUpdate(wxString::Format(
            "CREATE TABLE %s(Base_id INTEGER PRIMARY KEY, L1 REAL, L2 REAL, L3 REAL)", t));
    for (const char* t : {"u1unbalance1m", "u0unbalance3s", "u2unbalance3s", "ac20sdfreq"})
        db.ExecuteUpdate(wxString::Format("CREATE TABLE %s(Base_id INTEGER PRIMARY KEY, Value REAL)", t));
    std::string harmonics;
    for (int n = 2; n <= 50; ++n)
        harmonics += ", H" + std::to_string(n) + " REAL";
    for (const char* t : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"})
        db.ExecuteUpdate(wxString::Format("CREATE TABLE %s(Base_id INTEGER PRIMARY KEY%s)", t, harmonics));
}

FixtureDb::FixtureDb()
{
    db_.Open(":memory:");
    CreateSchema(db_);
}

long long FixtureDb::Instant(const wxDateTime& at)
{
    const std::string stamp = TimeStamp(at);
    auto it = ids_.find(stamp);
    if (it != ids_.end())
        return it->second;
    if (!insertInstant_.IsOk())
        insertInstant_ = db_.PrepareStatement("INSERT INTO Base(DateTimeMQV) VALUES(?)");
    insertInstant_.Reset();
    insertInstant_.Bind(1, wxString(stamp));
    insertInstant_.ExecuteUpdate();
    const long long id = db_.GetLastRowId().GetValue();
    ids_[stamp] = id;
    return id;
}

void FixtureDb::EnsureRow(const std::string& table, long long id)
{
    db_.ExecuteUpdate(wxString::Format("INSERT OR IGNORE INTO %s(Base_id) VALUES(%lld)", table, id));
}

void FixtureDb::Put(const std::string& table, const std::string& column, const wxDateTime& at,
                    std::optional<double> value)
{
    const long long id = Instant(at);
    EnsureRow(table, id);
    wxSQLite3Statement update = db_.PrepareStatement(
        wxString::Format("UPDATE %s SET %s=? WHERE Base_id=?", table, column));
    if (value)
        update.Bind(1, *value);
    else
        update.BindNull(1);
    update.Bind(2, wxLongLong(id));
    update.ExecuteUpdate();
}

void FixtureDb::PutText(const std::string& table, const std::string& column, const wxDateTime& at,
                        const std::string& text)
{
    const long long id = Instant(at);
    EnsureRow(table, id);
    wxSQLite3Statement update = db_.PrepareStatement(
        wxString::Format("UPDATE %s SET %s=? WHERE Base_id=?", table, column));
    update.Bind(1, wxString(text));
    update.Bind(2, wxLongLong(id));
    update.ExecuteUpdate();
}

void FixtureDb::PutSeries(const std::string& table, const std::string& column, const wxDateTime& start,
                          int stepSeconds, const std::vector<double>& values)
{
    Begin();
    wxSQLite3Statement row =
        db_.PrepareStatement(wxString::Format("INSERT OR IGNORE INTO %s(Base_id) VALUES(?)", table));
    wxSQLite3Statement update = db_.PrepareStatement(
        wxString::Format("UPDATE %s SET %s=? WHERE Base_id=?", table, column));
    for (size_t i = 0; i < values.size(); ++i) {
        const long long id = Instant(start + wxTimeSpan::Seconds(static_cast<long>(i) * stepSeconds));
        row.Reset();
        row.Bind(1, wxLongLong(id));
        row.ExecuteUpdate();
        update.Reset();
        update.Bind(1, values[i]);
        update.Bind(2, wxLongLong(id));
        update.ExecuteUpdate();
    }
    Commit();
}

LogCapture::LogCapture() : previous_(wxLog::SetActiveTarget(this)) {}

LogCapture::~LogCapture() { wxLog::SetActiveTarget(previous_); }

void LogCapture::DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&)
{
    lines.push_back(msg.ToStdString());
    levels.push_back(level);
}

bool LogCapture::Has(const std::string& text) const { return Count(text) > 0; }

int LogCapture::Count(const std::string& text) const
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

wxDateTime At(int day, int hour, int minute, int second)
{
    return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day), wxDateTime::Mar, 2011,
                      static_cast<wxDateTime::wxDateTime_t>(hour),
                      static_cast<wxDateTime::wxDateTime_t>(minute),
                      static_cast<wxDateTime::wxDateTime_t>(second));
}

std::vector<double> Ramp(double lo, double step, int count)
{
    std::vector<double> v(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        v[static_cast<size_t>(i)] = lo + step * i;
    return v;
}

std::vector<double> Repeat(size_t n, double v, std::vector<double> rest)
{
    std::vector<double> values(n, v);
    values.insert(values.end(), rest.begin(), rest.end());
    return values;
}

RunSettings RunOf(ReportHeaderValues header, int days)
{
    header.n_Dayes = std::to_string(days);
    ReportSettings settings;
    settings.header = std::move(header);
    std::optional<RunSettings> run = CheckRunSettings("settings.xml", std::move(settings));
    EXPECT_TRUE(run.has_value());
    return run.value_or(RunSettings());
}

TestDay::TestDay(FixtureDb& f, DateTimeList begins, DateTimeList ends, int voltageClass)
    : source(f.db()),
      context{source, notes, Gost13109(), voltageClass, At(1), At(2), std::move(begins), std::move(ends), 5.0}
{
}

void SetLiteral(FixtureDb& f, const std::string& table, const std::string& column, const wxDateTime& from,
                const wxDateTime& to, const std::string& literal)
{
    f->ExecuteUpdate(wxString::Format("UPDATE %s SET %s=%s WHERE Base_id IN (SELECT Base_id FROM Base"
                                      " WHERE DateTimeMQV>='%s' AND DateTimeMQV<'%s')",
                                      table, column, literal, TimeStamp(from), TimeStamp(to)));
}

const std::vector<NotFiniteLiteral> kNotFinite = {
    {"'nan'", true},   {"'-inf'", true}, {"'Inf'", true},    {"1e999", false},
    {"-1e999", false}, {"'abc'", true},  {"x'00ff'", true}, {"x'616263'", true}};

std::string StoredAsText(const std::string& column, int count)
{
    return column + (count == 1 ? ": 1 value is" : ": " + std::to_string(count) + " values are") +
           " stored as text; the values are taken in the order of their numbers.";
}

std::vector<std::string> Lines(const LogCapture& log)
{
    std::vector<std::string> lines;
    for (const std::string& line : log.lines)
        if (line != "Input is incomplete!\n")
            lines.push_back(line);
    return lines;
}

std::string Stamp(const wxDateTime& t)
{
    return t.IsValid() ? t.Format("%Y-%m-%d %H:%M:%S").ToStdString() : "unset";
}

LocalZone::LocalZone(const std::string& tz)
{
    if (const char* old = std::getenv("TZ"))
        previous_ = old;
    ::setenv("TZ", tz.c_str(), 1);
    ::tzset();
}

LocalZone::~LocalZone()
{
    if (previous_)
        ::setenv("TZ", previous_->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

bool ZoneInstalled(const std::string& zone)
{
    if (zone.find(',') != std::string::npos || zone == "UTC")
        return true;
    const char* dir = std::getenv("TZDIR");
    struct stat st;
    return ::stat(((dir ? std::string(dir) : std::string("/usr/share/zoneinfo")) + "/" + zone).c_str(),
                  &st) == 0;
}

}  // namespace pq
