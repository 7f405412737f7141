#pragma once
// Voltage unbalance and frequency deviation of one day.
#include "model/quantity_registry.h"
#include "model/statistic_result.h"
#include "stats/day_context.h"

namespace pq {

// Four slots: 95 % value, largest value, shares above the normal limit and
// above the maximum limit (GOST 13109-97: 2 % and 4 %).
StatisticResult UnbalanceStatistic(const DayContext& day, const MeasuredSeries& series);

// Eight slots of the two-sided evaluation with the series' limits
// (GOST 13109-97: +-0.2 and +-0.4 Hz).
StatisticResult FrequencyDeviationStatistic(const DayContext& day, const MeasuredSeries& series);

}  // namespace pq
