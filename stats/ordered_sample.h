#pragma once
// The two-sided evaluation of an ordered sample: 95 % positions, extremes,
// shares outside the normal and maximum limits, and the verdict.
#include <vector>

#include "model/notes.h"
#include "model/quantity_registry.h"
#include "model/statistic_result.h"
#include "standard/standard.h"
#include "stats/sample_source.h"

namespace pq {

struct Positions {
    int P1;
    int P2;
};

// The lower and upper 95 % positions (1-based) of a sample of N values of
// which A lie below the lower normal limit and B above the upper one: the
// window holds `rule.inside` of the sample.
Positions Window95Positions(int N, int A, int B, const TimeShareRule& rule);

struct TwoSidedLimits {
    double lowerNormal, upperNormal, lowerMax, upperMax;
};

// The limits of a two-sided series: -normal..+normal, -maximum..+maximum.
inline TwoSidedLimits Symmetric(const SeriesLimits& limits)
{
    return {-limits.normal, limits.normal, -limits.maximum, limits.maximum};
}

// What the two-sided evaluation finds; every value is missing for a window
// without values.
struct TwoSidedValues {
    Number lower95, upper95, smallest, largest;
    Number shareBelowNormal, shareAboveNormal, shareBelowMax, shareAboveMax;  // per cent
    SampleCounts counts;
    bool complies = true;  // false when the share beyond the normal limits, or any value beyond the maximum ones, fails

    // The eight slots of a two-sided record, in that order.
    std::vector<Number> Slots() const;
};

// The evaluation of the column's values in the window: notes "Input is
// incomplete!" when fewer than `minimumCount` values are found, and warns of
// values stored as text (the sample is then taken again in the order of the
// values' numbers) and of values that are no finite numbers.
TwoSidedValues TwoSidedEvaluation(SampleSource& source, const SampleColumn& column, const SampleWindow& window,
                                  double minimumCount, const TwoSidedLimits& limits, const TimeShareRule& rule,
                                  Notes& notes);

// The row whose 1-based position is read for `position` in a sample of N:
// positions outside the sample read its first or last row.
int ClampedPosition(int position, int N);

}  // namespace pq
