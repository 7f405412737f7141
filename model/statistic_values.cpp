#include "model/statistic_values.h"

#include "base/number_text.h"

namespace pq {

namespace {

const char* const kTwoSidedNames[] = {"lower_95",           "upper_95",           "min",
                                      "max",                "share_below_normal", "share_above_normal",
                                      "share_below_max",    "share_above_max"};
const char* const kOneSidedNames[] = {"value_95", "max", "share_above_normal", "share_above_max"};

Number SlotOf(const StatisticResult& r, size_t slot) { return slot < r.slots.size() ? r.slots[slot] : Number(); }

}  // namespace

std::vector<NamedValue> StatisticValues(const DayStatistic& s, const StatisticResult& r)
{
    std::vector<NamedValue> values;
    if (s.series->twoSided) {
        for (size_t slot = 0; slot < 8; ++slot)
            values.push_back({kTwoSidedNames[slot], SlotOf(r, slot)});
    } else {
        for (size_t slot = 0; slot < 4; ++slot)
            values.push_back({kOneSidedNames[slot], SlotOf(r, slot)});
    }
    return values;
}

std::vector<NamedValue> OrderValues(const StatisticResult& r, int order)
{
    std::vector<NamedValue> values;
    const size_t base = kSlotsPerOrder * static_cast<size_t>(order - 2);
    for (size_t slot = 0; slot < 4; ++slot)
        values.push_back({kOneSidedNames[slot], SlotOf(r, base + slot)});
    return values;
}

int HighestOrderOf(const StatisticResult& r) { return static_cast<int>(r.slots.size() / kSlotsPerOrder) + 1; }

std::optional<JudgedLimits> LimitsOf(const StatisticResult& r, int order)
{
    const std::optional<JudgedLimits> limits = r.LimitsFor(order);
    if (!limits)
        return std::nullopt;
    return JudgedLimits{limits->twoSided, SixDecimals(limits->normal), SixDecimals(limits->maximum)};
}

}  // namespace pq
