#pragma once
// The two-sided evaluation of an ordered sample: 95 % positions, extremes,
// shares outside the normal and maximum limits, and the verdict.
#include <memory>
#include <string>

#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "model/measured_series.h"
#include "model/statistic_result.h"

struct Positions {
    int P1;
    int P2;
};

// The lower and upper 95 % positions (1-based) of a sample of N values of
// which A lie below the lower normal limit and B above the upper one.
Positions Window95Positions(int N, int A, int B);

struct TwoSidedLimits {
    double lowerNormal, upperNormal, lowerMax, upperMax;
};

// The limits of a two-sided series: -normal..+normal, -maximum..+maximum.
inline TwoSidedLimits Symmetric(const SeriesLimits& limits)
{
    return {-limits.normal, limits.normal, -limits.maximum, limits.maximum};
}

// Logs one warning naming table.column and how many of its values are no
// finite numbers; nothing when there are none.
void WarnNotFinite(const std::string& table, const std::string& column, int notFinite);

// Logs one warning naming table.column and how many of its values in the
// window are stored as text (or BLOB); nothing when there are none.
void WarnStoredAsText(const std::string& table, const std::string& column, int storedAsText);

class ValueStream;
// The ordered values of table.column in the window in the order of their
// numbers (as ReadValue reads them): SQLite orders values stored as text
// after every number, and texts among themselves as texts.
std::unique_ptr<ValueStream> StreamByNumber(wxSQLite3Database& db, const std::string& table,
                                            const std::string& column, const Window& window);

// Slots 0..7 of `slots`: lower and upper 95 % value, smallest and largest
// value, shares below the lower and above the upper normal limit, below the
// lower and above the upper maximum limit; without values in the window,
// none of them. When values are stored as text, the sample is taken again in
// the order of the values' numbers, with WarnStoredAsText. Logs "Input is incomplete!\n" when fewer than `minimumCount`
// values are found, and WarnNotFinite after the passes. Clears `complies`
// when the day does not comply.
SampleCounts TwoSidedEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                const Window& window, double minimumCount, const TwoSidedLimits& limits,
                                std::vector<Number>& slots, bool& complies);

// Reads the count of a count query (0 without a row).
int CountValues(wxSQLite3Database& db, const std::string& sql);

// The row whose 1-based position is read for `position` in a sample of N:
// positions outside the sample read its first or last row.
int ClampedPosition(int position, int N);
