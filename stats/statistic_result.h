#pragma once
// What one daily statistic gives: its record, what it found in its window and
// its verdict on the day.
#include <utility>

#include "settings/text.h"
#include "stats/ordered_sample.h"

struct StatisticResult {
    TextList record;       // the slots as the day page shows them ("%04.2f")
    SampleCounts counts;   // over every column it evaluated (harmonics: all orders)
    bool complies = true;  // false when the day does not comply

    // Whether the statistic found a single value.
    bool FoundValues() const { return counts.values > 0; }
};

// The form of the statistics that take the run's flag: clears `complies` when
// the result does not comply and returns the record.
inline TextList RecordClearingFlag(StatisticResult result, bool& complies)
{
    if (!result.complies)
        complies = false;
    return std::move(result.record);
}
