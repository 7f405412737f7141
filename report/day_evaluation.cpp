#include "report/day_evaluation.h"

#include <wx/log.h>

#include "report/fixed_texts.h"
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

std::string Formatted(const wxDateTime& t, const char* format)
{
    return t.Format(format).ToStdString();
}

StatisticResult RunStatistic(const DayStatistic& s, const DayContext& context, int voltageClass)
{
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
        return VoltageDeviationStatistic(context, s.regime, s.table, s.column);
    case StatisticKind::HarmonicDistortion:
        return ThdStatistic(context, s.table, s.phase, voltageClass);
    case StatisticKind::Unbalance:
        return UnbalanceStatistic(context, s.table);
    case StatisticKind::FrequencyDeviation:
        return FrequencyDeviationStatistic(context, s.table);
    case StatisticKind::Harmonics:
        break;
    }
    return HarmonicStatistic(context, s.table, voltageClass, kHighestOrder);
}

}  // namespace

bool EvaluateDay(const ReportHeaderValues& header, int k, wxSQLite3Database& db, ComplianceFlags& flags,
                 DayResult& day)
{
    using namespace day_entry;
    TextList& v = day.values;
    v = NewValueTable();
    for (int i = 0; i < 4; ++i)
        v[kObject + i] = header.att_Header[i];
    const wxDateTime dayStart = DayStart(header, k);
    const wxDateTime dayEnd = dayStart + wxDateSpan::Day();
    day.dayStart = dayStart;
    day.dayEnd = dayEnd;
    v[kMaker] = MakerName();
    v[kStartDate] = Formatted(dayStart, "%d.%m.%Y");
    v[kStartTime] = Formatted(dayStart, "%H:%M");
    v[kEndDate] = Formatted(dayEnd, "%d.%m.%Y");
    v[kEndTime] = Formatted(dayEnd, "%H:%M");
    wxLogMessage("%s %s - %s %s", v[kStartDate], v[kStartTime], v[kEndDate], v[kEndTime]);

    day.begins.clear();
    day.ends.clear();
    wxDateTime b = dayStart;
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

    const DayContext context{db, dayStart, dayEnd, day.begins, day.ends, kTolerance};
    day.flags = ComplianceFlags();
    day.counts.clear();
    for (const DayStatistic& s : DayStatistics()) {
        const StatisticResult result = RunStatistic(s, context, header.Unom);
        flags.Add(s.quantity, result);
        day.flags.Add(s.quantity, result);
        day.counts.push_back(result.counts);
        const TextList& record = result.record;
        for (size_t slot = 0; slot < s.pattern->size() && slot < record.size(); ++slot)
            v[s.base + (*s.pattern)[slot]] = record[slot];
        if (s.kind == StatisticKind::Harmonics)
            day.harmonics.at(s.phase) = record;
    }
    return true;
}

PeriodSummary SummariseRun(const ReportHeaderValues& header, int days, wxSQLite3Database& db,
                           const ComplianceFlags& flags)
{
    const wxDateTime periodStart = header.dt_begin;
    const wxDateTime periodEnd = DayStart(header, days);
    PeriodSummary summary;
    summary.frequency = FrequencyMinMax(db, "ac20sdfreq", periodStart, periodEnd);
    summary.voltage = VoltageMinMax(db, "du1m", periodStart, periodEnd);
    summary.flags = flags;
    return summary;
}
