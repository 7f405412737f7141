#pragma once
// What one daily statistic gives: its values as numbers, what it found in its
// window, the limits it judged them against and its verdict on the day.
#include <optional>
#include <vector>

#include "model/quantity.h"

namespace pq {

// What an evaluation found in its window: `values` (N) values, of which
// `notFinite` are no finite numbers and count as 0.
struct SampleCounts {
    int values = 0;
    int notFinite = 0;
    SampleCounts& operator+=(const SampleCounts& other)
    {
        values += other.values;
        notFinite += other.notFinite;
        return *this;
    }
};

// A value a statistic computed, exactly as the page rounds it to two
// decimals; nothing where the statistic found no value to give (an empty
// window), which the page shows as 0,00.
using Number = std::optional<double>;

// The limits a statistic judged its values against, as the standard gives
// them: two-sided -normal..+normal and -maximum..+maximum, or one-sided
// upper limits.
struct JudgedLimits {
    bool twoSided;
    double normal, maximum;
};

struct StatisticResult {
    std::vector<Number> slots;  // the record, in the slot order of the statistic's kind
    SampleCounts counts;        // over every column it evaluated (harmonics: all orders)
    bool complies = true;       // false when the day does not comply
    // The limits of a series at [0]; of a harmonic table's order n at
    // [n - 2], none for an order that is not judged.
    std::vector<std::optional<JudgedLimits>> limits;

    // The result of a statistic of one series judged by `judged`.
    static StatisticResult Of(std::vector<Number> slots, SampleCounts counts, bool complies, JudgedLimits judged)
    {
        return {std::move(slots), counts, complies, {judged}};
    }

    // Whether the statistic found a single value that is a finite number.
    bool FoundValues() const { return counts.values > counts.notFinite; }
    Verdict GetVerdict() const { return VerdictOf(FoundValues(), complies); }
    // The limits of the series (order 0) or of a harmonic order (2..).
    std::optional<JudgedLimits> LimitsFor(int order = 0) const
    {
        const size_t at = order >= 2 ? static_cast<size_t>(order - 2) : 0;
        return at < limits.size() ? limits[at] : std::nullopt;
    }
};

}  // namespace pq
