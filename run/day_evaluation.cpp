#include "run/day_evaluation.h"

#include <wx/log.h>

#include "pages/page_layout.h"
#include "settings/date_parsing.h"
#include "stats/extremes.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "stats/voltage_deviation.h"

wxDateTime DayStart(const ReportHeaderValues& header, int k)
{
    return header.dt_begin + wxDateSpan::Days(k);
}

namespace {

StatisticResult RunStatistic(const DayStatistic& s, const DayContext& context, int voltageClass)
{
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
        return VoltageDeviationStatistic(context, s.regime, *s.series, s.column);
    case StatisticKind::HarmonicDistortion:
        return ThdStatistic(context, *s.series, s.phase, voltageClass);
    case StatisticKind::Unbalance:
        return UnbalanceStatistic(context, *s.series);
    case StatisticKind::FrequencyDeviation:
        return FrequencyDeviationStatistic(context, *s.series);
    case StatisticKind::Harmonics:
        break;
    }
    return HarmonicStatistic(context, *s.series, voltageClass, kHighestOrder);
}

}  // namespace

bool EvaluateDay(const ReportHeaderValues& header, int k, wxSQLite3Database& db, EvaluatedDay& day)
{
    day = EvaluatedDay();
    day.number = k + 1;
    day.start = DayStart(header, k);
    day.end = day.start + wxDateSpan::Day();
    wxLogMessage("%s %s - %s %s", DayDate(day.start), DayClock(day.start), DayDate(day.end), DayClock(day.end));

    wxDateTime b = day.start;
    if (!ParseTimeOfDay(header.dt_max_load_begin.at(k), b)) {
        wxLogMessage("Wrong datetime in ini file!\n");
        return false;
    }
    day.begins.push_back(b);
    if (!ParseTimeOfDay(header.dt_max_load_end.at(k), b)) {
        wxLogMessage("Wrong datetime in ini file!\n");
        return false;
    }
    day.ends.push_back(b);

    const DayContext context{db, day.start, day.end, day.begins, day.ends, kTolerance};
    for (const DayStatistic& s : DayStatistics()) {
        StatisticResult result = RunStatistic(s, context, header.Unom);
        day.flags.Add(s.quantity(), result.complies, result.FoundValues());
        day.statistics.push_back(std::move(result));
    }
    return true;
}

PeriodSummary SummariseRun(const ReportHeaderValues& header, int days, wxSQLite3Database& db)
{
    // Exactly the days' windows: from the first day's start to the last day's
    // end, which lies an hour past dt_begin + days when the clock skipped the
    // last day's start (a time-zone change at midnight).
    const wxDateTime periodStart = DayStart(header, 0);
    const wxDateTime periodEnd = days > 0 ? DayStart(header, days - 1) + wxDateSpan::Day() : DayStart(header, days);
    PeriodSummary summary;
    summary.frequency = FrequencyMinMax(db, SeriesOf("ac20sdfreq").table, periodStart, periodEnd);
    summary.voltage = VoltageMinMax(db, SeriesOf("du1m").table, periodStart, periodEnd);
    return summary;
}
