#pragma once
// The time-ordered values of a table over a window, for the day charts. These
// reads are the charts' own: they run outside the statistics' transactions.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

// "SELECT Base.DateTimeMQV, t.c1, ... FROM Base JOIN t ON ... WHERE <range>
// ORDER BY Base.DateTimeMQV;" over [from, to).
std::string BuildSeriesQuery(const std::string& table, const std::vector<std::string>& columns,
                             const wxDateTime& from, const wxDateTime& to);

// One row: seconds after `from` by the clock of its time stamp, and the values
// of the columns, NaN where a value is NULL, a BLOB, or not a finite number
// (a number written as text reads as the statistics read it).
using SeriesVisit = std::function<void(long seconds, const std::vector<double>& values)>;

// Streams the rows of BuildSeriesQuery in time order.
void ReadSeries(wxSQLite3Database& db, const std::string& table, const std::vector<std::string>& columns,
                const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit);

// Seconds from `from` to the time stamp "YYYY-MM-DD HH:MM:SS" (the clock
// difference, one day per date step); -1 when the text is not such a stamp.
long SecondsAfter(const wxDateTime& from, const char* stamp);
