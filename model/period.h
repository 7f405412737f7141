#pragma once
// The report's period and its days, as every part of the report counts them,
// and how the report writes a day's date and clock time.
#include <string>
#include <vector>

#include <wx/datetime.h>

namespace pq {

using DateTimeList = std::vector<wxDateTime>;

// The start of day k (0-based) of a period that begins at `begin`: `begin`
// advanced by k calendar days, the same clock time k days later.
wxDateTime DayStart(const wxDateTime& begin, int k);

// The end of day k: its start advanced by one calendar day. It is the next
// day's start except where the clock skipped that day's start time.
wxDateTime DayEnd(const wxDateTime& begin, int k);

// `days` days from `begin`.
struct Period {
    wxDateTime begin;
    int days = 0;

    // The end the title page and the result document name: `begin`
    // advanced by the number of days (before `begin` for a negative count).
    wxDateTime NamedEnd() const { return DayStart(begin, days); }
    // The end of what the days' windows cover: the last day's end, an hour
    // past NamedEnd() when the clock skipped the last day's start time (a
    // time-zone change at midnight); NamedEnd() without days.
    wxDateTime CoveredEnd() const { return days > 0 ? DayEnd(begin, days - 1) : NamedEnd(); }
};

// A day's date "%d.%m.%Y" and clock time "%H:%M", as the pages and the log show them.
std::string DayDate(const wxDateTime& t);
std::string DayClock(const wxDateTime& t);

}  // namespace pq
