#pragma once
// The one-sided evaluation against a normal and a maximum upper limit.
#include "model/notes.h"
#include "model/quantity_registry.h"
#include "model/statistic_result.h"
#include "standard/standard.h"
#include "stats/sample_source.h"

namespace pq {

// What the one-sided evaluation finds; every value is missing for a window
// without values.
struct UpperLimitValues {
    Number value95;  // the value at position trunc(rule.inside * N)
    Number largest;
    Number shareAboveNormal, shareAboveMax;  // per cent
    SampleCounts counts;
    bool complies = true;  // false when the share above the normal limit, or any value above the maximum one, fails
};

// The evaluation of the column's values in the window, noting and warning as
// TwoSidedEvaluation does.
UpperLimitValues UpperLimitEvaluation(SampleSource& source, const SampleColumn& column, const SampleWindow& window,
                                      double minimumCount, const SeriesLimits& limits, const TimeShareRule& rule,
                                      Notes& notes);

}  // namespace pq
