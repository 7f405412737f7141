#include "model/statistic_values.h"

#include "stats/number_text.h"

namespace {

const char* const kTwoSidedNames[] = {"lower_95",           "upper_95",           "min",
                                      "max",                "share_below_normal", "share_above_normal",
                                      "share_below_max",    "share_above_max"};
const char* const kOneSidedNames[] = {"value_95", "max", "share_above_normal", "share_above_max"};
const size_t kOrderSlots = 6;  // a harmonic table's record: six slots per order from 2

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
    const size_t base = kOrderSlots * static_cast<size_t>(order - 2);
    for (size_t slot = 0; slot < 4; ++slot)
        values.push_back({kOneSidedNames[slot], SlotOf(r, base + slot)});
    return values;
}

int HighestOrderOf(const StatisticResult& r) { return static_cast<int>(r.slots.size() / kOrderSlots) + 1; }

std::optional<JudgedLimits> LimitsOf(const DayStatistic& s, int voltageClass, int order)
{
    const std::optional<SeriesLimits> limits = s.series->limits(voltageClass, order);
    if (!limits)
        return std::nullopt;
    return JudgedLimits{s.series->twoSided, SixDecimals(limits->normal), SixDecimals(limits->maximum)};
}

const char* QuantityKey(Quantity q)
{
    switch (q) {
    case Quantity::VoltageDeviation:
        return "voltage_deviation";
    case Quantity::FrequencyDeviation:
        return "frequency_deviation";
    case Quantity::HarmonicDistortion:
        return "distortion";
    case Quantity::HarmonicCoefficients:
        return "harmonics";
    case Quantity::NegativeSequenceUnbalance:
        return "unbalance_negative";
    case Quantity::ZeroSequenceUnbalance:
        break;
    }
    return "unbalance_zero";
}

const char* VerdictKey(Verdict v)
{
    switch (v) {
    case Verdict::Complies:
        return "complies";
    case Verdict::DoesNotComply:
        return "does_not_comply";
    case Verdict::NoData:
        break;
    }
    return "no_data";
}

const char* RegimeKey(LoadRegime r)
{
    switch (r) {
    case LoadRegime::MaxLoad:
        return "max_load";
    case LoadRegime::MinLoad:
        return "min_load";
    case LoadRegime::WholeDay:
        break;
    }
    return "day";
}

std::optional<std::string> PhaseKey(const DayStatistic& s)
{
    if (s.phase < 0)
        return std::nullopt;
    return "L" + std::to_string(s.phase + 1);
}
