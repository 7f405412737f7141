#pragma once
// Extremes of the whole report period, for the title page. An extreme that is
// no finite number (see ReadValue) counts as 0, with a warning naming
// table.column.
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

// One extreme as the title page shows it, and whether the period held a
// value at all (without one, the deviation counts as 0).
struct Extreme {
    double value = 0;
    bool found = false;
};

struct Extremes {
    Extreme minimum, maximum;
};

// Lowest and highest frequency over [from, to): 50 + deviation, shown with
// "%04.2f".
Extremes FrequencyMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                         const wxDateTime& to);

// Lowest and highest phase voltage over the three phases and [from, to):
// 220 * (deviation / 100 + 1), shown with "%6.2f". A phase without values
// counts as 0.
Extremes VoltageMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to);
