#include "model/breaches.h"

#include "model/day_plan.h"
#include "model/statistic_values.h"

namespace pq {

namespace {

double Slot(const StatisticResult& r, size_t slot) { return slot < r.slots.size() ? r.slots[slot].value_or(0.0) : 0.0; }

bool Has(const StatisticResult& r, size_t slot) { return slot < r.slots.size() && r.slots[slot].has_value(); }

// The four slots of a one-sided record from `base`: 95 % value, largest value,
// shares above the normal and the maximum limit.
void OneSided(std::vector<Breach>& out, size_t statistic, int order, const StatisticResult& r, size_t base,
              const JudgedLimits& limits, double allowedShare)
{
    using F = Breach::Figure;
    const auto add = [&](size_t slot, F figure, double allowed) {
        out.push_back({statistic, order, base + slot, figure, Slot(r, base + slot), allowed});
    };
    if (Has(r, base) && Slot(r, base) > limits.normal)
        add(0, F::Value95, limits.normal);
    if (Has(r, base + 1) && Slot(r, base + 1) > limits.maximum)
        add(1, F::Extreme, limits.maximum);
    if (Has(r, base + 2) && Slot(r, base + 2) > allowedShare)
        add(2, F::ShareNormal, allowedShare);
    if (Has(r, base + 3) && Slot(r, base + 3) > 0)
        add(3, F::ShareMaximum, 0);
}

// A two-sided record: lower and upper 95 % value, smallest and largest value,
// shares below and above the normal limits and below and above the maximum ones.
void TwoSided(std::vector<Breach>& out, size_t statistic, const StatisticResult& r, const JudgedLimits& limits,
              double allowedShare)
{
    using F = Breach::Figure;
    const auto add = [&](size_t slot, F figure, double value, double allowed) {
        out.push_back({statistic, 0, slot, figure, value, allowed});
    };
    if (Has(r, 0) && Slot(r, 0) < -limits.normal)
        add(0, F::Value95, Slot(r, 0), -limits.normal);
    if (Has(r, 1) && Slot(r, 1) > limits.normal)
        add(1, F::Value95, Slot(r, 1), limits.normal);
    if (Has(r, 2) && Slot(r, 2) < -limits.maximum)
        add(2, F::Extreme, Slot(r, 2), -limits.maximum);
    if (Has(r, 3) && Slot(r, 3) > limits.maximum)
        add(3, F::Extreme, Slot(r, 3), limits.maximum);
    // The shares kept to six decimals add up to more than the allowed share
    // exactly when the counts do: a count's share differs from it by at least
    // 1 / N of a per cent.
    const double normal = Slot(r, 4) + Slot(r, 5);
    if (normal > allowedShare)
        for (size_t slot : {4, 5})
            if (Slot(r, slot) > 0)
                add(slot, F::ShareNormal, normal, allowedShare);
    for (size_t slot : {6, 7})
        if (Slot(r, slot) > 0)
            add(slot, F::ShareMaximum, Slot(r, slot), 0);
}

}  // namespace

std::vector<Breach> DayBreaches(const EvaluatedDay& day, double allowedShare)
{
    std::vector<Breach> breaches;
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < day.statistics.size(); ++i) {
        const StatisticResult& r = day.statistics[i];
        if (plan[i].series->Harmonic()) {
            for (int n = 2; n <= HighestOrderOf(r); ++n)
                if (const std::optional<JudgedLimits> limits = r.LimitsFor(n))
                    OneSided(breaches, i, n, r, kSlotsPerOrder * static_cast<size_t>(n - 2), *limits, allowedShare);
        } else if (const std::optional<JudgedLimits> limits = r.LimitsFor()) {
            if (limits->twoSided)
                TwoSided(breaches, i, r, *limits, allowedShare);
            else
                OneSided(breaches, i, 0, r, 0, *limits, allowedShare);
        }
    }
    return breaches;
}

}  // namespace pq
