#pragma once
// A measured table's rows in time order, as the day charts read them.
#include <functional>
#include <string>
#include <vector>

#include <wx/datetime.h>

namespace pq {

// One row: seconds after the window's start by the clock of its time stamp,
// and the values of the columns, NaN where a value is NULL, a BLOB, or not a
// finite number (a number written as text reads as the statistics read it).
using SeriesVisit = std::function<void(long seconds, const std::vector<double>& values)>;

// Streams the rows of `table` in [from, to) in time order.
using SeriesReader = std::function<void(const std::string& table, const std::vector<std::string>& columns,
                                        const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit)>;

}  // namespace pq
