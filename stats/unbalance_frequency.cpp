#include "stats/unbalance_frequency.h"

#include <wx/log.h>

#include "stats/ordered_sample.h"
#include "stats/upper_limit.h"

namespace pq {

StatisticResult UnbalanceStatistic(const DayContext& day, const MeasuredSeries& series)
{
    const std::unique_ptr<StatisticHold> hold = day.source.Hold();
    wxLogMessage("%s", "Kx, single " + series.table);
    const SeriesLimits limits = *day.standard.Limits(series, day.voltageClass);
    const UpperLimitValues values =
        UpperLimitEvaluation(day.source, {series.table, ValueColumn}, day.Window(LoadRegime::WholeDay),
                             MinimumDayCount(series.rate, day.tolerance), limits, day.standard.Rule(), day.notes);
    StatisticResult result;
    result.slots = {values.value95, values.largest, values.shareAboveNormal, values.shareAboveMax};
    result.counts = values.counts;
    result.complies = values.complies;
    result.limits = {JudgedLimits{series.twoSided, limits.normal, limits.maximum}};
    hold->Commit();
    return result;
}

StatisticResult FrequencyDeviationStatistic(const DayContext& day, const MeasuredSeries& series)
{
    const std::unique_ptr<StatisticHold> hold = day.source.Hold();
    wxLogMessage("%s", "AC, single " + series.table);
    const SeriesLimits limits = *day.standard.Limits(series, day.voltageClass);
    const TwoSidedValues values =
        TwoSidedEvaluation(day.source, {series.table, ValueColumn}, day.Window(LoadRegime::WholeDay),
                           MinimumDayCount(series.rate, day.tolerance), Symmetric(limits), day.standard.Rule(),
                           day.notes);
    StatisticResult result;
    result.slots = values.Slots();
    result.counts = values.counts;
    result.complies = values.complies;
    result.limits = {JudgedLimits{series.twoSided, limits.normal, limits.maximum}};
    hold->Commit();
    return result;
}

}  // namespace pq
