#pragma once
// What every daily statistic reads: the database, the day, its max-load
// periods and the tolerance for missing data.
#include <wx/datetime.h>
#include <wx/wxsqlite3.h>

#include "db/queries.h"

struct DayContext {
    wxSQLite3Database& db;
    wxDateTime dayStart, dayEnd;  // the day window [dayStart, dayEnd)
    DateTimeList begins, ends;    // the max-load periods, in parallel
    double tolerance;             // minutes of missing data accepted
};

// How many values a series holds in a full day, and in one minute.
struct SeriesRate {
    int perDay;
    int perMinute;
};
constexpr SeriesRate kOneMinuteSeries{1440, 1};
constexpr SeriesRate kThreeSecondSeries{28800, 20};
constexpr SeriesRate kTwentySecondSeries{4320, 3};

// Fewer values than this in a whole day are logged as incomplete input.
inline double MinimumDayCount(SeriesRate rate, double tolerance)
{
    return rate.perDay - rate.perMinute * tolerance;
}
