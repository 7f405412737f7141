#pragma once
// Extremes of the whole report period, for the title page. An extreme that is
// no finite number counts as 0, with a warning naming table.column.
#include <string>

#include <wx/datetime.h>

#include "model/evaluated_report.h"
#include "model/notes.h"
#include "stats/sample_source.h"

namespace pq {

// Lowest and highest frequency over [from, to): 50 + deviation, shown with
// "%04.2f".
Extremes FrequencyMinMax(SampleSource& source, Notes& notes, const std::string& table, const wxDateTime& from,
                         const wxDateTime& to);

// Lowest and highest phase voltage over the three phases and [from, to):
// 220 * (deviation / 100 + 1), shown with "%6.2f". A phase without values
// counts as 0.
Extremes VoltageMinMax(SampleSource& source, Notes& notes, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to);

}  // namespace pq
