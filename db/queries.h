#pragma once
// SQL text of every query the report runs against the measurement database.
#include <string>
#include <vector>

#include <wx/datetime.h>

#include "model/period.h"

namespace pq {

// "%Y-%m-%d %H:%M:%S" in local time, the form of Base.DateTimeMQV.
std::string TimeStamp(const wxDateTime& instant);

// A time window: the range written into the query head, and the clause that
// follows it before the closing text.
struct Window {
    wxDateTime from, to;
    std::string clause;
};

Window WholeDayWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd);
// The day intersected with the union of the periods; the whole day without periods.
Window MaxLoadWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd, const DateTimeList& begins,
                     const DateTimeList& ends);
// The day outside the periods; the whole day without periods.
Window MinLoadWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd, const DateTimeList& begins,
                     const DateTimeList& ends);

enum class QueryShape {
    Count,
    Ordered,
    Minimum,
    Maximum,
    // For a column that holds values stored as text, which SQLite orders
    // after every number: the values in the order of their numbers
    // (NumberFunctionName), the smallest and the largest by number, and how
    // many values are stored as text or BLOB.
    OrderedByNumber,
    SmallestByNumber,
    LargestByNumber,
    StoredAsTextCount,
};

// The SQL function that reads a value as the statistics do (ReadValue), so
// that SQLite can order by it; see RegisterNumberFunction.
extern const char* const NumberFunctionName;

std::string BuildQuery(QueryShape shape, const std::string& table, const std::string& column,
                       const Window& window);

}  // namespace pq
