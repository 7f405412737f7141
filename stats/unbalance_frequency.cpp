#include "stats/unbalance_frequency.h"

#include <wx/log.h>

#include "db/transaction.h"
#include "stats/number_text.h"
#include "stats/ordered_sample.h"
#include "stats/upper_limit.h"

TextList UnbalanceStatistic(const DayContext& day, const std::string& table, bool& complies)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "Kx, single " + table);
    TextList record(4, "0");
    UpperLimitEvaluation(day.db, table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                         MinimumDayCount(kThreeSecondSeries, day.tolerance), {2.0, 4.0}, record, 0, false,
                         complies);
    FinalFormatting(record);
    transaction.Commit();
    return record;
}

TextList FrequencyDeviationStatistic(const DayContext& day, const std::string& table, bool& complies)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "AC, single " + table);
    TextList record(8, "0");
    TwoSidedEvaluation(day.db, table, ValueColumn, WholeDayWindow(day.dayStart, day.dayEnd),
                       MinimumDayCount(kTwentySecondSeries, day.tolerance), {-0.2, 0.2, -0.4, 0.4}, record,
                       complies);
    FinalFormatting(record);
    transaction.Commit();
    return record;
}
