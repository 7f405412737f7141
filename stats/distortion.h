#pragma once
// Total harmonic distortion, harmonic voltage coefficients, unbalance and
// frequency deviation of one day, and their built-in limits.
#include <optional>
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "stats/ordered_sample.h"

struct UpperLimits {
    double normal, maximum;
};

// Limits of total harmonic distortion by voltage class (0: 0.38 kV, 1: 6-20 kV,
// 2: 35 kV, 3: 110-330 kV); any other class index takes the class 3 limits.
UpperLimits ThdLimits(int voltageClass);

// Normal limit of harmonic order n (2..50) for the voltage class; any class
// index but 0, 1 and 2 takes the class 3 column. No value outside 2..50.
std::optional<double> HarmonicLimit(int voltageClass, int order);

// Six slots: 95 % value, largest value, shares above the normal and the
// maximum limit, the normal and the maximum limit.
TextList ThdStatistic(std::string table, int phaseIndex, wxSQLite3Database* db, DateTimeList begins,
                      DateTimeList ends, int voltageClass, bool* flag, wxDateTime dayStart,
                      wxDateTime dayEnd, double tolerance);

// Six slots per order 2..highestOrder (order n at 6(n-2)), laid out as in
// ThdStatistic. Orders without a limit are not evaluated.
TextList HarmonicStatistic(std::string table, wxSQLite3Database* db, int voltageClass,
                           int highestOrder, bool* flag, wxDateTime dayStart, wxDateTime dayEnd,
                           double tolerance);

// Four slots: 95 % value, largest value, shares above 2 % and above 4 %.
TextList UnbalanceStatistic(std::string table, wxSQLite3Database* db, DateTimeList begins,
                            DateTimeList ends, bool* flag, wxDateTime dayStart, wxDateTime dayEnd,
                            double tolerance);

// Eight slots of the two-sided evaluation with limits +-0.2 and +-0.4 Hz.
TextList FrequencyDeviationStatistic(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                     DateTimeList ends, bool* flag, wxDateTime dayStart,
                                     wxDateTime dayEnd, double tolerance);
