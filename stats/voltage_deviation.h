#pragma once
// Voltage deviation of one day in the max-load, min-load and whole-day
// regimes, against -5/+5 % (normal) and -10/+10 % (maximum). Each returns
// eight "%04.2f" slots: lower and upper 95 % value, smallest and largest
// value, shares below -5, above +5, below -10 and above +10 percent.
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "stats/ordered_sample.h"

// Three-phase forms: the column is "L%d" of phaseIndex + 1.
TextList VoltageDeviationMaxPower(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance);
TextList VoltageDeviationMinPower(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance);
TextList VoltageDeviationWholeDay(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance);

// Single-series forms: the column is Value.
TextList VoltageDeviationMaxPowerSingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance);
TextList VoltageDeviationMinPowerSingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance);
TextList VoltageDeviationWholeDaySingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance);

// Whole minutes of the max-load periods (not clipped to the day).
int MaxLoadMinutes(const DateTimeList& begins, const DateTimeList& ends);
