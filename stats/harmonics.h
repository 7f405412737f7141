#pragma once
// Total harmonic distortion and harmonic voltage coefficients of one day,
// and their built-in limits by voltage class.
#include <optional>
#include <string>

#include "stats/day_context.h"
#include "model/measured_series.h"
#include "model/statistic_result.h"
#include "stats/upper_limit.h"

const int kHighestOrder = 40;  // highest harmonic order evaluated

// Limits of total harmonic distortion by voltage class (0: 0.38 kV, 1: 6-20 kV,
// 2: 35 kV, 3: 110-330 kV); any other class index takes the class 3 limits.
UpperLimits ThdLimits(int voltageClass);

// Normal limit of harmonic order n (2..50) for the voltage class; any class
// index but 0, 1 and 2 takes the class 3 column. No value outside 2..50.
std::optional<double> HarmonicLimit(int voltageClass, int order);

// Six slots: 95 % value, largest value, shares above the normal and the
// maximum limit, the normal and the maximum limit.
StatisticResult ThdStatistic(const DayContext& day, const MeasuredSeries& series, int phaseIndex,
                             int voltageClass);

// Six slots per order 2..highestOrder (order n at 6(n-2)), laid out as in
// ThdStatistic. Orders without a limit are not evaluated. The counts are the
// sums over the evaluated orders.
StatisticResult HarmonicStatistic(const DayContext& day, const MeasuredSeries& series, int voltageClass,
                                  int highestOrder);
