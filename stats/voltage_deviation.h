#pragma once
// Voltage deviation of one day in the max-load, min-load and whole-day
// regimes, against the standard's limits (GOST 13109-97: -5/+5 % normal,
// -10/+10 % maximum). A record holds eight slots: lower and upper 95 %
// value, smallest and largest value, shares below -normal, above +normal,
// below -maximum and above +maximum.
#include <string>

#include "model/day_plan.h"
#include "model/statistic_result.h"
#include "stats/day_context.h"

namespace pq {

// The statistic of one column of the series in the regime's window. The
// column is a phase column "L1".."L3" or, for a single series, ValueColumn;
// the two are logged as "Max power regim du1m L1" and "Max power regim,
// single <table>".
StatisticResult VoltageDeviationStatistic(const DayContext& day, LoadRegime regime, const MeasuredSeries& series,
                                          const std::string& column);

// Whole minutes of the max-load periods (not clipped to the day).
int MaxLoadMinutes(const DateTimeList& begins, const DateTimeList& ends);

}  // namespace pq
