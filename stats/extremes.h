#pragma once
// Extremes of the whole report period, for the title page.
#include <string>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

// Lowest and highest frequency over [from, to): "%04.2f" of 50 + deviation.
bool FrequencyMinMax(std::string table, wxSQLite3Database* db, std::string* minimum,
                     std::string* maximum, wxDateTime from, wxDateTime to);

// Lowest and highest phase voltage over the three phases and [from, to):
// "%6.2f" of 220 * (deviation / 100 + 1). A phase without values counts as 0.
bool VoltageMinMax(std::string table, wxSQLite3Database* db, std::string* minimum,
                   std::string* maximum, wxDateTime from, wxDateTime to);
