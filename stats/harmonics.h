#pragma once
// Total harmonic distortion and harmonic voltage coefficients of one day,
// against the standard's limits for the voltage class.
#include "model/quantity_registry.h"
#include "model/statistic_result.h"
#include "stats/day_context.h"

namespace pq {

// Six slots: 95 % value, largest value, shares above the normal and the
// maximum limit, the normal and the maximum limit (kept to six decimals).
StatisticResult ThdStatistic(const DayContext& day, const MeasuredSeries& series, int phaseIndex);

// Six slots per order 2..highestOrder (order n at 6(n-2)), laid out as in
// ThdStatistic. Orders without a limit are not evaluated. The counts are the
// sums over the evaluated orders.
StatisticResult HarmonicStatistic(const DayContext& day, const MeasuredSeries& series, int highestOrder);

}  // namespace pq
