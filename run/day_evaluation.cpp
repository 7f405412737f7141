#include "run/day_evaluation.h"

#include <wx/log.h>

#include "model/day_plan.h"
#include "stats/extremes.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "stats/voltage_deviation.h"

namespace pq {

namespace {

StatisticResult RunStatistic(const DayStatistic& s, const DayContext& context)
{
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
        return VoltageDeviationStatistic(context, s.regime, *s.series, s.column);
    case StatisticKind::HarmonicDistortion:
        return ThdStatistic(context, *s.series, s.phase);
    case StatisticKind::Unbalance:
        return UnbalanceStatistic(context, *s.series);
    case StatisticKind::FrequencyDeviation:
        return FrequencyDeviationStatistic(context, *s.series);
    case StatisticKind::Harmonics:
        break;
    }
    return HarmonicStatistic(context, *s.series, kHighestOrder);
}

}  // namespace

EvaluatedDay EvaluateDay(const RunSettings& run, int k, SampleSource& source, const Standard& standard, Notes& notes)
{
    const ReportHeaderValues& header = run.Header();
    EvaluatedDay day;
    day.number = k + 1;
    day.start = DayStart(header.dt_begin, k);
    day.end = DayEnd(header.dt_begin, k);
    wxLogMessage("%s %s - %s %s", DayDate(day.start), DayClock(day.start), DayDate(day.end), DayClock(day.end));
    day.begins.push_back(run.maxLoad.at(k).begin);
    day.ends.push_back(run.maxLoad.at(k).end);

    const DayContext context{source, notes, standard, header.Unom, day.start, day.end, day.begins, day.ends,
                             kTolerance};
    for (const DayStatistic& s : DayPlan()) {
        StatisticResult result = RunStatistic(s, context);
        day.flags.Add(s.quantity(), result.complies, result.FoundValues());
        day.statistics.push_back(std::move(result));
    }
    return day;
}

PeriodSummary SummariseRun(const RunSettings& run, SampleSource& source, Notes& notes)
{
    const Period period = run.GetPeriod();
    const wxDateTime from = DayStart(period.begin, 0), to = period.CoveredEnd();
    PeriodSummary summary;
    summary.frequency = FrequencyMinMax(source, notes, SeriesOf("ac20sdfreq").table, from, to);
    summary.voltage = VoltageMinMax(source, notes, SeriesOf("du1m").table, from, to);
    return summary;
}

}  // namespace pq
