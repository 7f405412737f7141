#pragma once
// The one-sided evaluation against a normal and a maximum upper limit.
#include <cstddef>
#include <string>
#include <vector>

#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "stats/ordered_sample.h"
#include "model/statistic_result.h"

struct UpperLimits {
    double normal, maximum;
};

// Writes slots base..base+3 of `slots` (95 % value at trunc(0.95 N), largest
// value, shares above the normal and above the maximum limit; none of them
// without values in the window), and base+4, base+5 (the two limits, kept
// to six decimals) when `reportLimits`. When values are stored as text, the
// sample is taken again in the order of the values' numbers, with
// WarnStoredAsText. Logs "Input is incomplete!\n" when
// fewer than `minimumCount` values are found, and WarnNotFinite after the
// passes. Clears `complies` when the day does not comply.
SampleCounts UpperLimitEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                  const Window& window, double minimumCount, const UpperLimits& limits,
                                  std::vector<Number>& slots, size_t base, bool reportLimits, bool& complies);
