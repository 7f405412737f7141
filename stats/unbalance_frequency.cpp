#include "stats/unbalance_frequency.h"

#include <wx/log.h>

#include "db/transaction.h"
#include "stats/ordered_sample.h"
#include "stats/upper_limit.h"

StatisticResult UnbalanceStatistic(const DayContext& day, const MeasuredSeries& series)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "Kx, single " + series.table);
    StatisticResult result;
    result.slots.assign(4, std::nullopt);
    const SeriesLimits limits = *series.limits(0, 0);
    result.counts = UpperLimitEvaluation(day.db, series.table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                                         MinimumDayCount(series.rate, day.tolerance),
                                         {limits.normal, limits.maximum}, result.slots, 0, false, result.complies);
    transaction.Commit();
    return result;
}

StatisticResult FrequencyDeviationStatistic(const DayContext& day, const MeasuredSeries& series)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "AC, single " + series.table);
    StatisticResult result;
    result.slots.assign(8, std::nullopt);
    result.counts = TwoSidedEvaluation(day.db, series.table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                                       MinimumDayCount(series.rate, day.tolerance), Symmetric(*series.limits(0, 0)),
                                       result.slots, result.complies);
    transaction.Commit();
    return result;
}
