#pragma once
// Evaluation of one report day, and the summary values of the whole period:
// the day plan's statistics run over the source, in plan order.
#include "model/evaluated_report.h"
#include "model/notes.h"
#include "settings/run_settings.h"
#include "standard/standard.h"
#include "stats/sample_source.h"

namespace pq {

const double kTolerance = 5.0;  // minutes of missing data accepted

// Evaluates day k (0-based) of the run: its window, max-load period, every
// statistic's numbers and the day's own flags, judged by `standard`.
EvaluatedDay EvaluateDay(const RunSettings& run, int k, SampleSource& source, const Standard& standard, Notes& notes);

// The extremes of the period's days, over [the first day's start, the last
// day's end).
PeriodSummary SummariseRun(const RunSettings& run, SampleSource& source, Notes& notes);

}  // namespace pq
