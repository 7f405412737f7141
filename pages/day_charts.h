#pragma once
// The charts of a day page: voltage deviation, frequency deviation, total
// harmonic distortion and unbalance over the day, read from the database
// with one time-ordered query per table, and the harmonic spectrum of each
// phase from the day's harmonic records.
#include <string>

#include <wx/wxsqlite3.h>

#include "model/evaluated_report.h"

// The block of HTML with the charts of an evaluated day, each kept whole on a
// printed page; the limits are those of the voltage class.
std::string DayChartsBlock(wxSQLite3Database& db, const EvaluatedDay& day, int voltageClass);
