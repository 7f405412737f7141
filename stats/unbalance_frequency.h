#pragma once
// Voltage unbalance and frequency deviation of one day.
#include <string>

#include "settings/text.h"
#include "stats/day_context.h"

// Four slots: 95 % value, largest value, shares above 2 % and above 4 %.
TextList UnbalanceStatistic(const DayContext& day, const std::string& table, bool& complies);

// Eight slots of the two-sided evaluation with limits +-0.2 and +-0.4 Hz.
TextList FrequencyDeviationStatistic(const DayContext& day, const std::string& table, bool& complies);
