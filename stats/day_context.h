#pragma once
// What every daily statistic reads: its source, the standard it judges by,
// the voltage class, the day, its max-load periods and the tolerance for
// missing data; and where it notes what it found wanting.
#include <wx/datetime.h>

#include "model/notes.h"
#include "model/period.h"
#include "standard/standard.h"
#include "stats/sample_source.h"

namespace pq {

struct DayContext {
    SampleSource& source;
    Notes& notes;
    const Standard& standard;
    int voltageClass;
    wxDateTime dayStart, dayEnd;  // the day window [dayStart, dayEnd)
    DateTimeList begins, ends;    // the max-load periods, in parallel
    double tolerance;             // minutes of missing data accepted

    SampleWindow Window(LoadRegime regime) const { return {regime, dayStart, dayEnd, begins, ends}; }
};

}  // namespace pq
