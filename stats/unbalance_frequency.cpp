#include "stats/unbalance_frequency.h"

#include <wx/log.h>

#include "db/transaction.h"
#include "stats/number_text.h"
#include "stats/ordered_sample.h"
#include "stats/upper_limit.h"

StatisticResult UnbalanceStatistic(const DayContext& day, const std::string& table)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "Kx, single " + table);
    StatisticResult result;
    result.record.assign(4, "0");
    result.counts = UpperLimitEvaluation(day.db, table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                                         MinimumDayCount(kThreeSecondSeries, day.tolerance), {2.0, 4.0},
                                         result.record, 0, false, result.complies);
    FinalFormatting(result.record);
    transaction.Commit();
    return result;
}

StatisticResult FrequencyDeviationStatistic(const DayContext& day, const std::string& table)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "AC, single " + table);
    StatisticResult result;
    result.record.assign(8, "0");
    result.counts = TwoSidedEvaluation(day.db, table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                                       MinimumDayCount(kTwentySecondSeries, day.tolerance),
                                       {-0.2, 0.2, -0.4, 0.4}, result.record, result.complies);
    FinalFormatting(result.record);
    transaction.Commit();
    return result;
}

