#pragma once
// Evaluation of one report day, and the summary values of the whole period.
#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "model/evaluated_report.h"
#include "settings/header_values.h"

const double kTolerance = 5.0;  // minutes of missing data accepted

// The start of day k: dt_begin advanced by k calendar days.
wxDateTime DayStart(const ReportHeaderValues& header, int k);

// Evaluates day k (0-based) into `day`: its window, max-load period, every
// statistic's numbers and the day's own flags. False, after "Wrong datetime
// in ini file!\n", when a max-load time of the day cannot be parsed.
bool EvaluateDay(const ReportHeaderValues& header, int k, wxSQLite3Database& db, EvaluatedDay& day);

// The extremes of the period's `days` days, over [the first day's start, the
// last day's end).
PeriodSummary SummariseRun(const ReportHeaderValues& header, int days, wxSQLite3Database& db);
