#pragma once
// The charts of a day page: voltage deviation, frequency deviation, total
// harmonic distortion and unbalance over the day, read from the database
// with one time-ordered query per table, and the harmonic spectrum of each
// phase from the day's harmonic records.
#include <array>
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "settings/text.h"

struct DayChartInput {
    wxDateTime dayStart, dayEnd;
    DateTimeList begins, ends;          // max-load periods, shaded
    int voltageClass = 0;
    std::array<TextList, 3> harmonics;  // HarmonicStatistic records of L1, L2, L3
};

// The block of HTML with the day's charts, each kept whole on a printed page.
std::string DayChartsBlock(wxSQLite3Database& db, const DayChartInput& day);
