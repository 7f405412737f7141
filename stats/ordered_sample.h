#pragma once
// The two-sided evaluation of an ordered sample: 95 % positions, extremes,
// shares outside the normal and maximum limits, and the verdict.
#include <string>

#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "settings/text.h"

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

// What an evaluation found in its window: `values` (N) values, of which
// `notFinite` are no finite numbers (see ReadValue) and count as 0.
struct SampleCounts {
    int values = 0;
    int notFinite = 0;
    SampleCounts& operator+=(const SampleCounts& other)
    {
        values += other.values;
        notFinite += other.notFinite;
        return *this;
    }
};

// Logs one warning naming table.column and how many of its values are no
// finite numbers; nothing when there are none.
void WarnNotFinite(const std::string& table, const std::string& column, int notFinite);

// Slots 0..7 of `record`: lower and upper 95 % value, smallest and largest
// value, shares below the lower and above the upper normal limit, below the
// lower and above the upper maximum limit. Logs "Input is incomplete!\n" when
// fewer than `minimumCount` values are found, and WarnNotFinite after the
// passes. Clears `complies` when the day does not comply. Slots are left
// unformatted (values as read, shares as "%f").
SampleCounts TwoSidedEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                const Window& window, double minimumCount, const TwoSidedLimits& limits,
                                TextList& record, bool& complies);

// Reads the count of a count query; `text` receives its text ("0" without a row).
int CountValues(wxSQLite3Database& db, const std::string& sql, std::string* text = nullptr);

// The row whose 1-based position is read for `position` in a sample of N:
// positions outside the sample read its first or last row.
int ClampedPosition(int position, int N);
