#pragma once
// What one daily statistic gives: its values as numbers, what it found in its
// window and its verdict on the day.
#include <optional>
#include <vector>

#include "model/quantity.h"

// What an evaluation found in its window: `values` (N) values, of which
// `notFinite` are no finite numbers (see ReadValue) and count as 0.
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

struct StatisticResult {
    std::vector<Number> slots;  // the record, in the slot order of the statistic's kind
    SampleCounts counts;        // over every column it evaluated (harmonics: all orders)
    bool complies = true;       // false when the day does not comply

    // Whether the statistic found a single value that is a finite number.
    bool FoundValues() const { return counts.values > counts.notFinite; }
    Verdict GetVerdict() const { return VerdictOf(FoundValues(), complies); }
};
