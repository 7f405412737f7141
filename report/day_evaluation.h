#pragma once
// Evaluation of one report day into its value table, and the summary values
// of the whole period.
#include <array>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "stats/ordered_sample.h"

// Six compliance flags, true at the start of a run and only ever cleared:
// 0 voltage deviation, 1 frequency deviation, 2 total harmonic distortion,
// 3 harmonic voltage coefficients, 4 negative-sequence unbalance,
// 5 zero-sequence unbalance.
using ComplianceFlags = std::array<bool, 6>;

const double kTolerance = 5.0;   // minutes of missing data accepted
const int kHighestOrder = 40;    // highest harmonic order evaluated
const int kValueTableSize = 1000;

struct DayResult {
    TextList values;                   // the day value table
    DateTimeList begins, ends;         // the day's max-load periods
    std::array<TextList, 3> harmonics; // HarmonicStatistic records of L1, L2, L3
};

// A value table of 1000 entries "A0" .. "A999".
TextList NewValueTable();

// The start of day k: dt_begin advanced by k calendar days.
wxDateTime DayStart(int k);

// Evaluates day k (0-based). False, after "Wrong datetime in ini file!\n",
// when a max-load time of the day cannot be parsed.
bool EvaluateDay(int k, wxSQLite3Database* db, ComplianceFlags& flags, DayResult& day);

// Sets title value table entries 42..45 (extremes over the period) and
// 48..53 (verdicts).
void SummariseRun(int days, wxSQLite3Database* db, const ComplianceFlags& flags, TextList& title);
