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
    hold->Commit();
    return StatisticResult::Of({values.value95, values.largest, values.shareAboveNormal, values.shareAboveMax},
                               values.counts, values.complies,
                               JudgedLimits{series.twoSided, limits.normal, limits.maximum});
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
    hold->Commit();
    return StatisticResult::Of(values.Slots(), values.counts, values.complies,
                               JudgedLimits{series.twoSided, limits.normal, limits.maximum});
}

}  // namespace pq
