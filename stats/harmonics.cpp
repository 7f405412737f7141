#include "stats/harmonics.h"

#include <array>

#include <wx/log.h>

#include "db/transaction.h"
#include "stats/number_text.h"

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

StatisticResult ThdStatistic(const DayContext& day, const std::string& table, int phaseIndex,
                             int voltageClass)
{
    StatisticTransaction transaction(day.db);
    const std::string column = PhaseColumn(phaseIndex);
    wxLogMessage("%s", "Uthd " + table + " " + column);
    StatisticResult result;
    result.record.assign(6, "0");
    result.counts = UpperLimitEvaluation(day.db, table, column, WholeDayWindow(day.dayStart, day.dayEnd),
                                         MinimumDayCount(kThreeSecondSeries, day.tolerance),
                                         ThdLimits(voltageClass), result.record, 0, true, result.complies);
    FinalFormatting(result.record);
    transaction.Commit();
    return result;
}

StatisticResult HarmonicStatistic(const DayContext& day, const std::string& table, int voltageClass,
                                  int highestOrder)
{
    StatisticTransaction transaction(day.db);
    wxLogMessage("%s", "HarmL " + table);
    StatisticResult result;
    TextList& record = result.record;
    if (highestOrder >= 2)
        record.assign(6 * static_cast<size_t>(highestOrder - 1), "0");
    const Window window = WholeDayWindow(day.dayStart, day.dayEnd);
    const double minimumCount = MinimumDayCount(kThreeSecondSeries, day.tolerance);
    for (int n = 2; n <= highestOrder; ++n) {
        const std::optional<double> normal = HarmonicLimit(voltageClass, n);
        if (!normal)
            continue;
        const UpperLimits limits{*normal, 1.5 * *normal};
        result.counts += UpperLimitEvaluation(day.db, table, HarmonicColumn(n), window, minimumCount, limits,
                                              record, 6 * static_cast<size_t>(n - 2), true, result.complies);
    }
    FinalFormatting(record);
    transaction.Commit();
    return result;
}

