#include "stats/extremes.h"

#include <algorithm>
#include <cmath>

#include <wx/log.h>

#include "db/queries.h"
#include "db/transaction.h"
#include "db/value_text.h"

namespace {

// The aggregate's value; NULL (no values in the period) reads as 0, and so
// does a value that is no finite number, with a warning. (SQLite orders text
// and BLOBs above every number, so such a value is the period's largest.)
Extreme ExtremeOf(wxSQLite3Database& db, QueryShape shape, const std::string& table, const std::string& column,
                  const Window& window)
{
    const std::string text = SingleText(db, BuildQuery(shape, table, column, window), "");
    const ValueReading reading = ReadValue(text);
    if (!reading.finite && !text.empty())
        wxLogWarning("%s.%s: the period's %s value is not a finite number and counts as 0.", table, column,
                     shape == QueryShape::Minimum ? "smallest" : "largest");
    return {reading.value, !text.empty()};
}

// The lowest minimum or the highest maximum of the three phase columns, read
// phase by phase.
Extreme OverPhases(wxSQLite3Database& db, QueryShape shape, const std::string& table, const Window& window)
{
    Extreme extreme = ExtremeOf(db, shape, table, PhaseColumn(0), window);
    for (int phase = 1; phase < 3; ++phase) {
        const Extreme e = ExtremeOf(db, shape, table, PhaseColumn(phase), window);
        extreme.value = shape == QueryShape::Minimum ? std::min(extreme.value, e.value) : std::max(extreme.value, e.value);
        extreme.found = extreme.found || e.found;
    }
    return extreme;
}

// The phase voltage of a deviation in per cent; a deviation so large that the
// voltage is no finite number counts as 0, as values that are no numbers do.
double PhaseVoltage(const std::string& table, double deviation)
{
    const double volts = (deviation / 100 + 1) * 220;
    if (std::isfinite(volts))
        return volts;
    wxLogWarning("%s: a deviation of %g %% gives no finite voltage and counts as 0.", table, deviation);
    return 220;
}

}  // namespace

// Both hold the statistics' exclusive transaction and never commit it: they
// only read, and the rollback at the end changes nothing.
Extremes FrequencyMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                         const wxDateTime& to)
{
    StatisticTransaction transaction(db);
    wxLogMessage("%s", "Fr, min max " + table);
    const Window period = WholeDayWindow(from, to);
    Extremes e;
    e.minimum = ExtremeOf(db, QueryShape::Minimum, table, ValueColumn, period);
    e.maximum = ExtremeOf(db, QueryShape::Maximum, table, ValueColumn, period);
    e.minimum.value += 50.0;
    e.maximum.value += 50.0;
    return e;
}

Extremes VoltageMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to)
{
    StatisticTransaction transaction(db);
    wxLogMessage("%s", "U min max " + table);
    const Window period = WholeDayWindow(from, to);
    Extremes e{OverPhases(db, QueryShape::Minimum, table, period), OverPhases(db, QueryShape::Maximum, table, period)};
    e.minimum.value = PhaseVoltage(table, e.minimum.value);
    e.maximum.value = PhaseVoltage(table, e.maximum.value);
    return e;
}
