#pragma once
// A statistic's numbers by name, as the result document and the workbook
// list them, and the limits it was judged against.
#include <string>
#include <vector>

#include "pages/page_layout.h"
#include "model/statistic_result.h"

struct NamedValue {
    const char* name;  // "lower_95", "upper_95", "min", "max", "value_95", "share_above_normal", ...
    Number value;
};

// The values of a statistic of a kind other than a harmonic table, in record order.
std::vector<NamedValue> StatisticValues(const DayStatistic& statistic, const StatisticResult& result);

// The values of one order (2..) of a harmonic table's statistic: value_95,
// max, share_above_normal, share_above_max.
std::vector<NamedValue> OrderValues(const StatisticResult& result, int order);

// The highest order a harmonic table's record holds.
int HighestOrderOf(const StatisticResult& result);

// The limits a statistic was judged against, as its numbers hold them (six
// decimals): two-sided -normal..normal and -maximum..maximum, or one-sided
// upper limits. Nothing for an order without a limit.
struct JudgedLimits {
    bool twoSided;
    double normal, maximum;
};
std::optional<JudgedLimits> LimitsOf(const DayStatistic& statistic, int voltageClass, int order = 0);

// Words for programs: "voltage_deviation", "frequency_deviation", "distortion",
// "harmonics", "unbalance_negative", "unbalance_zero".
const char* QuantityKey(Quantity q);
// "complies", "does_not_comply", "no_data".
const char* VerdictKey(Verdict v);
// "max_load", "min_load", "day".
const char* RegimeKey(LoadRegime r);
// "L1", "L2", "L3", or nothing for a single series.
std::optional<std::string> PhaseKey(const DayStatistic& statistic);
