#pragma once
// The blocks the shipped templates ask for with marker comments: the data
// completeness table and the verdicts by day. Texts are CP1251 HTML.
#include <string>
#include <vector>

#include "model/provenance.h"
#include "model/quantity.h"
#include "model/statistic_result.h"

namespace pq {

// One measured series: the values present and the values a full day (or the
// period) holds.
struct CompletenessRow {
    std::string series;  // HTML, CP1251
    long long present;
    long long expected;
};

// A table of the rows with counts and per cents; a row below or above 100 %
// stands out (class "short", and also "over" above 100 %, with " !").
std::string CompletenessTable(const std::vector<CompletenessRow>& rows);

// A table cell of a verdict's mark, of class "ok", "fail" or "nodata".
std::string VerdictCell(Verdict v);

// Rows are the quantities (HTML labels, CP1251), columns the days; verdicts[q][d].
std::string VerdictsByDayTable(const std::vector<std::string>& quantities, const std::vector<std::string>& days,
                               const std::vector<std::vector<Verdict>>& verdicts);

// The rows of the completeness table for the measured series, from what the
// whole-day statistics found (counts in DayPlan() order) over `days` days; in
// the order the statistics run, or, on a protocol's sheet, in the quantities'
// order (K2U before K0U, as everywhere else).
std::vector<CompletenessRow> CompletenessRows(const std::vector<SampleCounts>& counts, int days,
                                              bool quantityOrder = false);

// One day of the period for the verdicts by day.
struct DayVerdicts {
    std::string label;  // the day's date
    ComplianceFlags flags;
};

// The table of the six quantities by day.
std::string VerdictsByDayTable(const std::vector<DayVerdicts>& days);

// The block that ties the pages to their inputs: the program and its
// version, the size and SHA-256 of the database (and of its write-ahead
// log), of the settings document and of the templates, and that the same
// inputs give the same pages byte for byte. With `namesOnly`, as a
// protocol's sheet prints it, the files are named without their folders
// (report.json keeps the full paths).
std::string ProvenanceBlock(const Provenance& provenance, bool namesOnly = false);

}  // namespace pq
