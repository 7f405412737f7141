#pragma once
// The evaluated report: every day's statistics as numbers, the verdicts and
// the period's extremes. The pages, the charts, the result document and the
// workbook are all written from it.
#include <vector>

#include <wx/datetime.h>

#include "model/period.h"
#include "model/quantity.h"
#include "model/statistic_result.h"

namespace pq {

struct EvaluatedDay {
    int number = 0;                           // 1-based
    wxDateTime start, end;                    // the day window [start, end)
    DateTimeList begins, ends;                // the day's max-load periods
    std::vector<StatisticResult> statistics;  // in DayPlan() order
    ComplianceFlags flags;                    // the day's own verdicts

    // What each statistic found, in DayPlan() order.
    std::vector<SampleCounts> Counts() const;
};

// One extreme of the period as the title page shows it, and whether the
// period held a value at all (without one, the deviation counts as 0).
struct Extreme {
    double value = 0;
    bool found = false;
};

struct Extremes {
    Extreme minimum, maximum;
};

// What the run computes after the last day: the lowest and highest
// frequency (Hz) and phase voltage (V) of the period.
struct PeriodSummary {
    Extremes frequency, voltage;
};

struct EvaluatedReport {
    wxDateTime periodStart, periodEnd;  // dt_begin and Period::NamedEnd()
    int dayCount = 0;
    std::vector<EvaluatedDay> days;
    ComplianceFlags flags;  // the period's verdicts: every day's flags merged
    PeriodSummary summary;

    // Takes in an evaluated day and its verdicts.
    void AddDay(EvaluatedDay day)
    {
        flags.Merge(day.flags);
        days.push_back(std::move(day));
    }
    // What each statistic found, summed over the days, in DayPlan() order.
    std::vector<SampleCounts> PeriodCounts() const;
};

}  // namespace pq
