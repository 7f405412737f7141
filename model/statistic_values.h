#pragma once
// A statistic's numbers by name, as the result document and the workbook
// list them, and the limits it was judged against as its numbers hold them.
#include <optional>
#include <vector>

#include "model/day_plan.h"
#include "model/statistic_result.h"

namespace pq {

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

// The record slots of one harmonic order, order n from kSlotsPerOrder * (n - 2).
const int kSlotsPerOrder = 6;

// The limits the statistic judged the series (order 0) or a harmonic order
// against, kept to six decimals as the page writes a limit. Nothing for an
// order that is not judged.
std::optional<JudgedLimits> LimitsOf(const StatisticResult& result, int order = 0);

}  // namespace pq
