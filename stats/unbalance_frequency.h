#pragma once
// Voltage unbalance and frequency deviation of one day.
#include <string>

#include "settings/text.h"
#include "stats/day_context.h"
#include "stats/statistic_result.h"

// Four slots: 95 % value, largest value, shares above 2 % and above 4 %.
StatisticResult UnbalanceStatistic(const DayContext& day, const std::string& table);

// Eight slots of the two-sided evaluation with limits +-0.2 and +-0.4 Hz.
StatisticResult FrequencyDeviationStatistic(const DayContext& day, const std::string& table);
