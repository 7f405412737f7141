#pragma once
// Evaluation of one report day into its value table, and the summary values
// of the whole period.
#include <array>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "report/page_layout.h"
#include "settings/header_values.h"

const double kTolerance = 5.0;  // minutes of missing data accepted

struct DayResult {
    wxDateTime dayStart, dayEnd;        // the day window [dayStart, dayEnd)
    TextList values;                    // the day value table
    DateTimeList begins, ends;          // the day's max-load periods
    std::array<TextList, 3> harmonics;  // HarmonicStatistic records of L1, L2, L3
    ComplianceFlags flags;              // the day's own verdicts
    std::vector<SampleCounts> counts;   // what each statistic found, in DayStatistics() order
};

// The start of day k: dt_begin advanced by k calendar days.
wxDateTime DayStart(const ReportHeaderValues& header, int k);

// Evaluates day k (0-based): each statistic's verdict, and whether it found
// values, go to its quantity's flags. False, after "Wrong datetime in ini
// file!\n", when a max-load time of the day cannot be parsed.
bool EvaluateDay(const ReportHeaderValues& header, int k, wxSQLite3Database& db, ComplianceFlags& flags,
                 DayResult& day);

// The extremes of the period's first `days` days, and the flags.
PeriodSummary SummariseRun(const ReportHeaderValues& header, int days, wxSQLite3Database& db,
                           const ComplianceFlags& flags);
