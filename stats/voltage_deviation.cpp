#include "stats/voltage_deviation.h"

#include <algorithm>

#include <wx/log.h>

#include "stats/ordered_sample.h"

namespace pq {

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
    const std::unique_ptr<StatisticHold> hold = day.source.Hold();
    const std::string name = RegimeName(regime);
    wxLogMessage("%s", column == ValueColumn ? name + ", single " + table : name + " " + table + " " + column);

    const double wholeDayCount = MinimumDayCount(series.rate, day.tolerance);
    double minimumCount = wholeDayCount;
    if (regime == LoadRegime::MaxLoad)
        minimumCount = MaxLoadMinutes(day.begins, day.ends) - day.tolerance;
    else if (regime == LoadRegime::MinLoad)
        minimumCount = wholeDayCount - MaxLoadMinutes(day.begins, day.ends);

    const SeriesLimits limits = *day.standard.Limits(series, day.voltageClass);
    const TwoSidedValues values = TwoSidedEvaluation(day.source, {table, column}, day.Window(regime), minimumCount,
                                                     Symmetric(limits), day.standard.Rule(), day.notes);
    hold->Commit();
    return StatisticResult::Of(values.Slots(), values.counts, values.complies,
                               JudgedLimits{series.twoSided, limits.normal, limits.maximum});
}

}  // namespace pq
