#include "stats/voltage_deviation.h"

#include <algorithm>

#include <wx/log.h>

#include "db/transaction.h"
#include "stats/number_text.h"
#include "stats/ordered_sample.h"

namespace {

const char* RegimeName(LoadRegime regime)
{
    switch (regime) {
    case LoadRegime::MaxLoad:
        return "Max power regim";
    case LoadRegime::MinLoad:
        return "Min power regim";
    case LoadRegime::WholeDay:
        break;
    }
    return "Whole day regim";
}

}  // namespace

int MaxLoadMinutes(const DateTimeList& begins, const DateTimeList& ends)
{
    long long milliseconds = 0;
    const size_t n = std::min(begins.size(), ends.size());
    for (size_t i = 0; i < n; ++i)
        milliseconds += (ends[i] - begins[i]).GetMilliseconds().GetValue();
    return static_cast<int>(milliseconds / 1000 / 60);
}

StatisticResult VoltageDeviationStatistic(const DayContext& day, LoadRegime regime, const MeasuredSeries& series,
                                          const std::string& column)
{
    const std::string& table = series.table;
    StatisticTransaction transaction(day.db);
    const std::string name = RegimeName(regime);
    wxLogMessage("%s", column == ValueColumn ? name + ", single " + table : name + " " + table + " " + column);
    StatisticResult result;
    result.slots.assign(8, std::nullopt);

    const double wholeDayCount = MinimumDayCount(series.rate, day.tolerance);
    Window window;
    double minimumCount = 0;
    switch (regime) {
    case LoadRegime::MaxLoad:
        window = MaxLoadWindow(day.dayStart, day.dayEnd, day.begins, day.ends);
        minimumCount = MaxLoadMinutes(day.begins, day.ends) - day.tolerance;
        break;
    case LoadRegime::MinLoad:
        window = MinLoadWindow(day.dayStart, day.dayEnd, day.begins, day.ends);
        minimumCount = wholeDayCount - MaxLoadMinutes(day.begins, day.ends);
        break;
    case LoadRegime::WholeDay:
        window = WholeDayWindow(day.dayStart, day.dayEnd);
        minimumCount = wholeDayCount;
        break;
    }
    result.counts = TwoSidedEvaluation(day.db, table, column, window, minimumCount, Symmetric(*series.limits(0, 0)),
                                       result.slots, result.complies);
    transaction.Commit();
    return result;
}

