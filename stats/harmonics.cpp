#include "stats/harmonics.h"

#include <wx/log.h>

#include "base/number_text.h"
#include "stats/upper_limit.h"

namespace pq {

namespace {

// The six slots of one series or order from slot `base` on.
void PlaceSixSlots(std::vector<Number>& slots, size_t base, const UpperLimitValues& v, const SeriesLimits& limits)
{
    slots[base] = v.value95;
    slots[base + 1] = v.largest;
    slots[base + 2] = v.shareAboveNormal;
    slots[base + 3] = v.shareAboveMax;
    slots[base + 4] = SixDecimals(limits.normal);
    slots[base + 5] = SixDecimals(limits.maximum);
}

}  // namespace

StatisticResult ThdStatistic(const DayContext& day, const MeasuredSeries& series, int phaseIndex)
{
    const std::unique_ptr<StatisticHold> hold = day.source.Hold();
    const std::string column = PhaseColumn(phaseIndex);
    wxLogMessage("%s", "Uthd " + series.table + " " + column);
    StatisticResult result;
    result.slots.assign(6, std::nullopt);
    const SeriesLimits limits = *day.standard.Limits(series, day.voltageClass);
    const UpperLimitValues values =
        UpperLimitEvaluation(day.source, {series.table, column}, day.Window(LoadRegime::WholeDay),
                             MinimumDayCount(series.rate, day.tolerance), limits, day.standard.Rule(), day.notes);
    PlaceSixSlots(result.slots, 0, values, limits);
    result.counts = values.counts;
    result.complies = values.complies;
    result.limits = {JudgedLimits{series.twoSided, limits.normal, limits.maximum}};
    hold->Commit();
    return result;
}

StatisticResult HarmonicStatistic(const DayContext& day, const MeasuredSeries& series, int highestOrder)
{
    const std::unique_ptr<StatisticHold> hold = day.source.Hold();
    wxLogMessage("%s", "HarmL " + series.table);
    StatisticResult result;
    if (highestOrder >= 2) {
        result.slots.assign(6 * static_cast<size_t>(highestOrder - 1), std::nullopt);
        result.limits.resize(static_cast<size_t>(highestOrder - 1));
    }
    const SampleWindow window = day.Window(LoadRegime::WholeDay);
    const double minimumCount = MinimumDayCount(series.rate, day.tolerance);
    for (int n = 2; n <= highestOrder; ++n) {
        const std::optional<SeriesLimits> limits = day.standard.Limits(series, day.voltageClass, n);
        if (!limits)
            continue;
        const UpperLimitValues values = UpperLimitEvaluation(day.source, {series.table, HarmonicColumn(n)}, window,
                                                             minimumCount, *limits, day.standard.Rule(), day.notes);
        PlaceSixSlots(result.slots, 6 * static_cast<size_t>(n - 2), values, *limits);
        result.counts += values.counts;
        result.complies = result.complies && values.complies;
        result.limits[static_cast<size_t>(n - 2)] = JudgedLimits{series.twoSided, limits->normal, limits->maximum};
    }
    hold->Commit();
    return result;
}

}  // namespace pq
