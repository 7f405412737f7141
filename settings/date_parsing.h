#pragma once
#include <string>

#include <wx/datetime.h>

namespace pq {

// Local date-time from calendar fields. Hours, minutes and seconds are taken
// as 16-bit unsigned numbers; hours >= 24, minutes >= 60, seconds >= 62, a day
// of 0 or beyond the month's length, or a month outside 1..12 give the unset
// date-time.
// A time that the local clock skips (it is set forward over it, as at the
// start of daylight saving time) is moved forward to the first instant after
// it, the moment of the jump: 27.03.2011 02:30 in Moscow and 13.03.2011 02:30
// in New York both give 03:00. It never moves backwards. Every other time, the
// repeated hour when the clock is set back included, is the C library's
// mktime() answer with tm_isdst = -1.
wxDateTime ComposeDateTime(long day, long month, long year, long hours, long minutes,
                           long seconds);

// Parses "%d.%m.%Y %H:%M:%S" (digit runs of any length, any white space
// between date and time, trailing text ignored). False leaves `result` alone.
bool ParseBeginDateTime(const std::string& text, wxDateTime& result);

// Parses a time of day "H:M[:S]" onto the calendar date of `instant` (a time
// the clock skips on that date is moved forward as in ComposeDateTime).
// Logs "Wrong date" and returns false, leaving `instant` unchanged, when the
// hours or minutes piece is missing or empty, or when the numbers are out of
// range (so no unset instant comes out of it).
bool ParseTimeOfDay(std::string text, wxDateTime& instant);

// Days from 1970-01-01 to the given proleptic Gregorian date.
long long DaysFromCivil(long long year, unsigned month, unsigned day);

}  // namespace pq
