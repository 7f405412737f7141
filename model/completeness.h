#pragma once
// How complete the measurements are: each measured series' values present
// and expected over a day or the period, and what a day's counts say that
// its page would hide.
#include <string>
#include <vector>

#include <wx/string.h>

#include "model/day_plan.h"
#include "model/evaluated_report.h"

namespace pq {

// One measured series' values present (finite numbers) and expected over a
// day or a period, from its whole-day statistic.
struct SeriesCompleteness {
    const DayStatistic* statistic;
    long long present;
    long long expected;
    // "du1m.L1", "u1unbalance1m.Value", "harm_u_L1_3s" (every order), ...
    std::string Series() const;
};

// The measured series from what the whole-day statistics found (counts in
// DayPlan() order), summed over `days` days.
std::vector<SeriesCompleteness> Completeness(const std::vector<SampleCounts>& counts, int days);

// The warnings a day's counts call for: one for a day without a single value
// in any measured series, and one naming the series that hold more values
// than a full day (values at repeated time stamps all count).
std::vector<wxString> DayGapWarnings(const EvaluatedDay& day);

}  // namespace pq
