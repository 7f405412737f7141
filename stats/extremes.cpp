#include "stats/extremes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <wx/log.h>

#include "model/quantity_registry.h"

namespace pq {

namespace {

// The smallest and largest value of one column over the period, as stored.
struct ColumnExtremes {
    std::string column;
    StoredExtreme smallest, largest;
};

// MIN and MAX of each column, in that order: all the minima, then all the
// maxima. The source orders text and BLOBs above every number, so a column
// whose largest value is stored as text holds such values: its extremes are
// then taken again by number, with a warning. So are they when an extreme is
// an infinity, which counts as 0.
std::vector<ColumnExtremes> ExtremesOf(SampleSource& source, Notes& notes, const std::string& table,
                                       const std::vector<std::string>& columns, const SampleWindow& period)
{
    std::vector<ColumnExtremes> extremes;
    for (const std::string& column : columns)
        extremes.push_back({column, source.Extreme({table, column}, period, ExtremeKind::Minimum), {}});
    for (ColumnExtremes& e : extremes)
        e.largest = source.Extreme({table, e.column}, period, ExtremeKind::Maximum);
    for (ColumnExtremes& e : extremes) {
        const bool text = e.smallest.storedAsText || e.largest.storedAsText;
        if (!text && !e.smallest.infinity && !e.largest.infinity)
            continue;
        const SampleColumn column{table, e.column};
        e.smallest = source.Extreme(column, period, ExtremeKind::SmallestByNumber);
        e.largest = source.Extreme(column, period, ExtremeKind::LargestByNumber);
        if (!text)
            continue;
        const int storedAsText = source.StoredAsTextCount(column, period);
        if (storedAsText == 1)
            notes.Warning(wxString::Format("%s.%s: 1 value of the period is stored as text; its smallest and "
                                           "largest values are taken by number.",
                                           table, e.column));
        else
            notes.Warning(wxString::Format("%s.%s: %d values of the period are stored as text; its smallest and "
                                           "largest values are taken by number.",
                                           table, e.column, storedAsText));
    }
    return extremes;
}

// An extreme's value; none (no values in the period) reads as 0, and so does
// a value that is no finite number, with a warning.
Extreme Reading(Notes& notes, const std::string& table, const std::string& column, const StoredExtreme& stored,
                bool smallest)
{
    if (stored.found && !stored.reading.finite)
        notes.Warning(wxString::Format("%s.%s: the period's %s value is not a finite number and counts as 0.", table,
                                       column, smallest ? "smallest" : "largest"));
    return {stored.reading.value, stored.found};
}

// The lowest minimum and the highest maximum of the columns.
Extremes OverColumns(Notes& notes, const std::string& table, const std::vector<ColumnExtremes>& columns)
{
    Extremes e;
    for (size_t i = 0; i < columns.size(); ++i) {
        const Extreme v = Reading(notes, table, columns[i].column, columns[i].smallest, true);
        e.minimum = i == 0 ? v : Extreme{std::min(e.minimum.value, v.value), e.minimum.found || v.found};
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        const Extreme v = Reading(notes, table, columns[i].column, columns[i].largest, false);
        e.maximum = i == 0 ? v : Extreme{std::max(e.maximum.value, v.value), e.maximum.found || v.found};
    }
    return e;
}

// The phase voltage of a deviation in per cent; a deviation so large that the
// voltage is no finite number counts as 0, as values that are no numbers do.
double PhaseVoltage(Notes& notes, const std::string& table, double deviation)
{
    const double volts = (deviation / 100 + 1) * 220;
    if (std::isfinite(volts))
        return volts;
    notes.Warning(wxString::Format("%s: a deviation of %g %% gives no finite voltage and counts as 0.", table,
                                   deviation));
    return 220;
}

SampleWindow PeriodWindow(const wxDateTime& from, const wxDateTime& to)
{
    SampleWindow w;
    w.from = from;
    w.to = to;
    return w;
}

}  // namespace

// Both hold the source for the statistic and never commit: they only read,
// and letting go at the end changes nothing.
Extremes FrequencyMinMax(SampleSource& source, Notes& notes, const std::string& table, const wxDateTime& from,
                         const wxDateTime& to)
{
    const std::unique_ptr<StatisticHold> hold = source.Hold();
    wxLogMessage("%s", "Fr, min max " + table);
    Extremes e = OverColumns(notes, table, ExtremesOf(source, notes, table, {ValueColumn}, PeriodWindow(from, to)));
    e.minimum.value += 50.0;
    e.maximum.value += 50.0;
    return e;
}

Extremes VoltageMinMax(SampleSource& source, Notes& notes, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to)
{
    const std::unique_ptr<StatisticHold> hold = source.Hold();
    wxLogMessage("%s", "U min max " + table);
    const std::vector<std::string> phases{PhaseColumn(0), PhaseColumn(1), PhaseColumn(2)};
    Extremes e = OverColumns(notes, table, ExtremesOf(source, notes, table, phases, PeriodWindow(from, to)));
    e.minimum.value = PhaseVoltage(notes, table, e.minimum.value);
    e.maximum.value = PhaseVoltage(notes, table, e.maximum.value);
    return e;
}

}  // namespace pq
