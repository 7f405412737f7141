#pragma once
// Voltage unbalance and frequency deviation of one day.
#include <string>

#include "stats/day_context.h"
#include "model/measured_series.h"
#include "model/statistic_result.h"

// Four slots: 95 % value, largest value, shares above the normal limit (2 %)
// and above the maximum limit (4 %).
StatisticResult UnbalanceStatistic(const DayContext& day, const MeasuredSeries& series);

// Eight slots of the two-sided evaluation with the series' limits (+-0.2 and
// +-0.4 Hz).
StatisticResult FrequencyDeviationStatistic(const DayContext& day, const MeasuredSeries& series);
