#pragma once
// Extremes of the whole report period, for the title page. An extreme that is
// no finite number (see ReadValue) counts as 0, with a warning naming
// table.column.
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

struct Extremes {
    std::string minimum, maximum;
};

// Lowest and highest frequency over [from, to): "%04.2f" of 50 + deviation.
Extremes FrequencyMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                         const wxDateTime& to);

// Lowest and highest phase voltage over the three phases and [from, to):
// "%6.2f" of 220 * (deviation / 100 + 1). A phase without values counts as 0.
Extremes VoltageMinMax(wxSQLite3Database& db, const std::string& table, const wxDateTime& from,
                       const wxDateTime& to);
