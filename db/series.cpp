#include "db/series.h"

#include <cstring>

#include "db/queries.h"
#include "db/value_text.h"
#include "settings/date_parsing.h"

namespace pq {

std::string BuildSeriesQuery(const std::string& table, const std::vector<std::string>& columns,
                             const wxDateTime& from, const wxDateTime& to)
{
    std::string sql = "SELECT Base.DateTimeMQV";
    for (const std::string& c : columns)
        sql += ", " + table + "." + c;
    sql += " FROM Base JOIN " + table + " ON " + table + ".Base_id=Base.Base_id WHERE Base.DateTimeMQV>='" +
           TimeStamp(from) + "' AND Base.DateTimeMQV<'" + TimeStamp(to) + "' ORDER BY Base.DateTimeMQV;";
    return sql;
}

namespace {

// The number of the digits text[from..from+n), or -1.
long Digits(const char* text, int from, int n)
{
    long v = 0;
    for (int i = from; i < from + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}


}  // namespace

long SecondsAfter(const wxDateTime& from, const char* stamp)
{
    if (!stamp || std::strlen(stamp) < 19 || stamp[4] != '-' || stamp[7] != '-' || stamp[10] != ' ' ||
        stamp[13] != ':' || stamp[16] != ':')
        return -1;
    const long y = Digits(stamp, 0, 4), mo = Digits(stamp, 5, 2), d = Digits(stamp, 8, 2);
    const long h = Digits(stamp, 11, 2), mi = Digits(stamp, 14, 2), s = Digits(stamp, 17, 2);
    if (y < 0 || mo < 1 || mo > 12 || d < 1 || h < 0 || mi < 0 || s < 0)
        return -1;
    const wxDateTime::Tm t = from.GetTm();
    const long days = static_cast<long>(DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) -
                                        DaysFromCivil(t.year, static_cast<unsigned>(t.mon + 1), t.mday));
    return days * 86400 + (h * 3600 + mi * 60 + s) - (t.hour * 3600L + t.min * 60L + t.sec);
}

void ReadSeries(wxSQLite3Database& db, const std::string& table, const std::vector<std::string>& columns,
                const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit)
{
    wxSQLite3Statement statement = db.PrepareStatement(BuildSeriesQuery(table, columns, from, to).c_str());
    wxSQLite3ResultSet rows = statement.ExecuteQuery();
    std::vector<double> values(columns.size());
    while (rows.NextRow()) {
        int len = 0;
        const unsigned char* bytes = rows.GetBlob(0, len);
        const std::string stamp = bytes ? std::string(reinterpret_cast<const char*>(bytes), len) : std::string();
        const long seconds = SecondsAfter(from, stamp.c_str());
        if (seconds < 0)
            continue;
        for (size_t c = 0; c < columns.size(); ++c) {
            const int column = static_cast<int>(c) + 1;
            const int type = rows.GetColumnType(column);
            double v = NAN;
            if (type == WXSQLITE_INTEGER || type == WXSQLITE_FLOAT) {
                v = rows.GetDouble(column);
            } else if (type == WXSQLITE_TEXT) {
                // A number written as text reads as the statistics read it.
                int textLength = 0;
                const unsigned char* text = rows.GetBlob(column, textLength);
                const ValueReading reading =
                    ReadValue(std::string(reinterpret_cast<const char*>(text), text ? textLength : 0));
                if (reading.finite)
                    v = reading.value;
            }
            values[c] = std::isfinite(v) ? v : NAN;
        }
        visit(seconds, values);
    }
}

}  // namespace pq
