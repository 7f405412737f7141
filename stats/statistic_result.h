#pragma once
// What one daily statistic gives: its record, what it found in its window and
// its verdict on the day.
#include "settings/text.h"
#include "stats/ordered_sample.h"

struct StatisticResult {
    TextList record;       // the slots as the day page shows them ("%04.2f")
    SampleCounts counts;   // over every column it evaluated (harmonics: all orders)
    bool complies = true;  // false when the day does not comply

    // Whether the statistic found a single value that is a finite number.
    bool FoundValues() const { return counts.values > counts.notFinite; }
};
