#pragma once
// The evaluated report: every day's statistics as numbers, the verdicts and
// the period's extremes. The pages, the charts and the result document are
// all written from it.
#include <vector>

#include <wx/datetime.h>

#include "db/queries.h"
#include "stats/extremes.h"
#include "model/quantity.h"
#include "model/statistic_result.h"

struct EvaluatedDay {
    int number = 0;                           // 1-based
    wxDateTime start, end;                    // the day window [start, end)
    DateTimeList begins, ends;                // the day's max-load periods
    std::vector<StatisticResult> statistics;  // in DayStatistics() order
    ComplianceFlags flags;                    // the day's own verdicts

    // What each statistic found, in DayStatistics() order.
    std::vector<SampleCounts> Counts() const;
};

// What the run computes after the last day.
struct PeriodSummary {
    Extremes frequency, voltage;
};

struct EvaluatedReport {
    wxDateTime periodStart, periodEnd;  // [dt_begin, dt_begin + days)
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
    // What each statistic found, summed over the days, in DayStatistics() order.
    std::vector<SampleCounts> PeriodCounts() const;
};
