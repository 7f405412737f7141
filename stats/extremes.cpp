#include "stats/extremes.h"

#include <wx/log.h>

#include "db/queries.h"
#include "db/transaction.h"
#include "db/value_text.h"
#include "stats/ordered_sample.h"

namespace {

// The aggregate's value; NULL (no values in the period) reads as 0.
double Extreme(wxSQLite3Database& db, QueryShape shape, const std::string& table,
               const std::string& column, const Window& window)
{
    return ValueFromText(SingleText(db, BuildQuery(shape, table, column, window), ""));
}

}  // namespace

bool FrequencyMinMax(std::string table, wxSQLite3Database* db, std::string* minimum,
                     std::string* maximum, wxDateTime from, wxDateTime to)
{
    StatisticTransaction transaction(*db);  // never committed: only reads
    wxLogMessage("%s", "Fr, min max " + table);
    const Window period = WholeDayWindow(from, to);
    *minimum = FormatNumber("%04.2f", Extreme(*db, QueryShape::Minimum, table, ValueColumn, period) + 50.0);
    *maximum = FormatNumber("%04.2f", Extreme(*db, QueryShape::Maximum, table, ValueColumn, period) + 50.0);
    return true;
}

bool VoltageMinMax(std::string table, wxSQLite3Database* db, std::string* minimum,
                   std::string* maximum, wxDateTime from, wxDateTime to)
{
    StatisticTransaction transaction(*db);  // never committed: only reads
    wxLogMessage("%s", "U min max " + table);
    const Window period = WholeDayWindow(from, to);
    double low = Extreme(*db, QueryShape::Minimum, table, PhaseColumn(0), period);
    for (int phase = 1; phase < 3; ++phase) {
        const double v = Extreme(*db, QueryShape::Minimum, table, PhaseColumn(phase), period);
        if (v < low)
            low = v;
    }
    double high = Extreme(*db, QueryShape::Maximum, table, PhaseColumn(0), period);
    for (int phase = 1; phase < 3; ++phase) {
        const double v = Extreme(*db, QueryShape::Maximum, table, PhaseColumn(phase), period);
        if (v > high)
            high = v;
    }
    *minimum = FormatNumber("%6.2f", (low / 100 + 1) * 220);
    *maximum = FormatNumber("%6.2f", (high / 100 + 1) * 220);
    return true;
}
