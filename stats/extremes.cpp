#include "stats/extremes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <wx/log.h>

#include "db/queries.h"
#include "db/transaction.h"
#include "db/value_text.h"
#include "stats/ordered_sample.h"

namespace {

// The smallest and largest value of one column over the period, as stored.
struct ColumnExtremes {
    std::string column;
    StoredValue smallest, largest;
};

// MIN and MAX of each column, in that order: all the minima, then all the
// maxima. SQLite orders text and BLOBs above every number, so a column whose
// largest value is stored as text holds such values: its extremes are then
// taken again by number, with a warning. So are they when an extreme is an
// infinity, which counts as 0.
std::vector<ColumnExtremes> ExtremesOf(wxSQLite3Database& db, const std::string& table,
                                       const std::vector<std::string>& columns, const Window& period)
{
    std::vector<ColumnExtremes> extremes;
    for (const std::string& column : columns)
        extremes.push_back({column, SingleValue(db, BuildQuery(QueryShape::Minimum, table, column, period)), {}});
    for (ColumnExtremes& e : extremes)
        e.largest = SingleValue(db, BuildQuery(QueryShape::Maximum, table, e.column, period));
    for (ColumnExtremes& e : extremes) {
        const bool text = e.smallest.storedAsText || e.largest.storedAsText;
        if (!text && !e.smallest.infinity && !e.largest.infinity)
            continue;
        RegisterNumberFunction(db);
        e.smallest = SingleValue(db, BuildQuery(QueryShape::SmallestByNumber, table, e.column, period));
        e.largest = SingleValue(db, BuildQuery(QueryShape::LargestByNumber, table, e.column, period));
        if (!text)
            continue;
        const int storedAsText = CountValues(db, BuildQuery(QueryShape::StoredAsTextCount, table, e.column, period));
        if (storedAsText == 1)
            wxLogWarning("%s.%s: 1 value of the period is stored as text; its smallest and largest values are "
                         "taken by number.",
                         table, e.column);
        else
            wxLogWarning("%s.%s: %d values of the period are stored as text; its smallest and largest values are "
                         "taken by number.",
                         table, e.column, storedAsText);
    }
    return extremes;
}

// An extreme's value; NULL (no values in the period) reads as 0, and so does
// a value that is no finite number, with a warning.
Extreme Reading(const std::string& table, const std::string& column, const StoredValue& stored, bool smallest)
{
    const ValueReading reading = ReadValue(stored.text);
    if (!reading.finite && !stored.text.empty())
        wxLogWarning("%s.%s: the period's %s value is not a finite number and counts as 0.", table, column,
                     smallest ? "smallest" : "largest");
    return {reading.value, !stored.text.empty()};
}

// The lowest minimum and the highest maximum of the columns.
Extremes OverColumns(const std::string& table, const std::vector<ColumnExtremes>& columns)
{
    Extremes e;
    for (size_t i = 0; i < columns.size(); ++i) {
        const Extreme v = Reading(table, columns[i].column, columns[i].smallest, true);
        e.minimum = i == 0 ? v : Extreme{std::min(e.minimum.value, v.value), e.minimum.found || v.found};
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        const Extreme v = Reading(table, columns[i].column, columns[i].largest, false);
        e.maximum = i == 0 ? v : Extreme{std::max(e.maximum.value, v.value), e.maximum.found || v.found};
    }
    return e;
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
    Extremes e = OverColumns(table, ExtremesOf(db, table, {ValueColumn}, WholeDayWindow(from, to)));
    e.minimum.value += 50.0;
    e.maximum.value += 50.0;
    return e;
}

Extremes VoltageMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to)
{
    StatisticTransaction transaction(db);
    wxLogMessage("%s", "U min max " + table);
    const std::vector<std::string> phases{PhaseColumn(0), PhaseColumn(1), PhaseColumn(2)};
    Extremes e = OverColumns(table, ExtremesOf(db, table, phases, WholeDayWindow(from, to)));
    e.minimum.value = PhaseVoltage(table, e.minimum.value);
    e.maximum.value = PhaseVoltage(table, e.maximum.value);
    return e;
}
