#include "stats/harmonics.h"

#include <array>

#include <wx/log.h>

#include "db/transaction.h"

namespace {

int ClassColumn(int voltageClass)
{
    return (voltageClass >= 0 && voltageClass <= 2) ? voltageClass : 3;
}

}  // namespace

UpperLimits ThdLimits(int voltageClass)
{
    static const UpperLimits limits[4] = {{8.0, 12.0}, {5.0, 8.0}, {4.0, 6.0}, {2.0, 3.0}};
    return limits[ClassColumn(voltageClass)];
}

namespace {

using ClassRow = std::array<double, 4>;

// Normal limits by order (index) and class column; the formula rows hold
// 0.2 + c / n; orders 3 and 9 hold their base entries, halved on lookup.
const std::array<ClassRow, 51>& HarmonicTable()
{
    static const std::array<ClassRow, 51> table = [] {
        std::array<ClassRow, 51> t{};
        for (int n = 12; n <= 50; ++n)
            t[n] = {0.2, 0.2, 0.2, 0.2};
        t[2] = {2.0, 1.5, 1.0, 0.5};
        t[3] = {5.0, 3.0, 3.0, 1.5};
        t[4] = {1.0, 0.7, 0.5, 0.3};
        t[5] = {6.0, 4.0, 3.0, 1.5};
        t[6] = t[8] = t[10] = {0.5, 0.3, 0.3, 0.2};
        t[7] = {5.0, 3.0, 2.5, 1.0};
        t[9] = {1.5, 1.0, 1.0, 0.4};
        t[11] = {3.5, 2.0, 2.0, 1.0};
        t[13] = {3.0, 2.0, 1.5, 0.7};
        t[15] = {0.3, 0.3, 0.3, 0.2};
        t[17] = {2.0, 1.5, 1.0, 0.5};
        t[19] = t[23] = t[25] = {1.5, 1.0, 1.0, 0.4};
        for (int n : {29, 31, 35, 37, 41, 43, 47, 49})
            t[n] = {32.5 / n + 0.2, 20.0 / n + 0.2, 15.0 / n + 0.2, 10.0 / n + 0.2};
        return t;
    }();
    return table;
}

}  // namespace

std::optional<double> HarmonicLimit(int voltageClass, int order)
{
    if (order < 2 || order > 50)
        return std::nullopt;
    double limit = HarmonicTable()[order][ClassColumn(voltageClass)];
    if (order == 3 || order == 9)
        limit *= 0.5;
    return limit;
}

StatisticResult ThdStatistic(const DayContext& day, const MeasuredSeries& series, int phaseIndex,
                             int voltageClass)
{
    StatisticTransaction transaction(day.db);
    const std::string column = PhaseColumn(phaseIndex);
    wxLogMessage("%s", "Uthd " + series.table + " " + column);
    StatisticResult result;
    result.slots.assign(6, std::nullopt);
    const SeriesLimits limits = *series.limits(voltageClass, 0);
    result.counts = UpperLimitEvaluation(day.db, series.table, column, WholeDayWindow(day.dayStart, day.dayEnd),
                                         MinimumDayCount(series.rate, day.tolerance),
                                         {limits.normal, limits.maximum}, result.slots, 0, true, result.complies);
    transaction.Commit();
    return result;
}

StatisticResult HarmonicStatistic(const DayContext& day, const MeasuredSeries& series, int voltageClass,
                                  int highestOrder)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "HarmL " + series.table);
    StatisticResult result;
    if (highestOrder >= 2)
        result.slots.assign(6 * static_cast<size_t>(highestOrder - 1), std::nullopt);
    const Window window = WholeDayWindow(day.dayStart, day.dayEnd);
    const double minimumCount = MinimumDayCount(series.rate, day.tolerance);
    for (int n = 2; n <= highestOrder; ++n) {
        const std::optional<SeriesLimits> limits = series.limits(voltageClass, n);
        if (!limits)
            continue;
        result.counts += UpperLimitEvaluation(day.db, series.table, HarmonicColumn(n), window, minimumCount,
                                              {limits->normal, limits->maximum}, result.slots,
                                              6 * static_cast<size_t>(n - 2), true, result.complies);
    }
    transaction.Commit();
    return result;
}
