#pragma once
// The time-ordered values of a table over a window, for the day charts. These
// reads are the charts' own: they run outside the statistics' transactions.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "model/time_series.h"

namespace pq {

// "SELECT Base.DateTimeMQV, t.c1, ... FROM Base JOIN t ON ... WHERE <range>
// ORDER BY Base.DateTimeMQV;" over [from, to).
std::string BuildSeriesQuery(const std::string& table, const std::vector<std::string>& columns,
                             const wxDateTime& from, const wxDateTime& to);

// Streams the rows of BuildSeriesQuery in time order.
void ReadSeries(wxSQLite3Database& db, const std::string& table, const std::vector<std::string>& columns,
                const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit);

// Seconds from `from` to the time stamp "YYYY-MM-DD HH:MM:SS" (the clock
// difference, one day per date step); -1 when the text is not such a stamp.
long SecondsAfter(const wxDateTime& from, const char* stamp);

}  // namespace pq
