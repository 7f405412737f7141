#include "tests/units/results/sample_report.h"

#include "base/number_text.h"
#include "base/text.h"
#include "model/day_plan.h"
#include "standard/gost_13109_97.h"

namespace pq {

namespace {

const int kVoltageClass = 2;

wxDateTime March(int day, int hour = 0)
{
    return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day), wxDateTime::Mar, 2011,
                      static_cast<wxDateTime::wxDateTime_t>(hour));
}

// A statistic of the plan as it evaluates a full window of zeros: its slots,
// with a one-sided record's limits among them, its counts and its limits.
StatisticResult Zeros(const DayStatistic& s)
{
    StatisticResult r;
    const SeriesRate rate = s.series->rate;
    r.counts.values = s.regime == LoadRegime::WholeDay ? rate.perDay : rate.perDay / 2;
    const auto judged = [&](int order) {
        const std::optional<SeriesLimits> l = Gost13109().Limits(*s.series, kVoltageClass, order);
        return JudgedLimits{s.series->twoSided, l->normal, l->maximum};
    };
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
    case StatisticKind::FrequencyDeviation:
        r.slots.assign(8, 0.0);
        r.limits = {judged(0)};
        break;
    case StatisticKind::Unbalance:
        r.slots.assign(4, 0.0);
        r.limits = {judged(0)};
        break;
    case StatisticKind::HarmonicDistortion:
        r.limits = {judged(0)};
        r.slots = {0.0, 0.0, 0.0, 0.0, SixDecimals(r.limits[0]->normal), SixDecimals(r.limits[0]->maximum)};
        break;
    case StatisticKind::Harmonics:
        r.counts.values *= kHighestOrder - 1;
        for (int n = 2; n <= kHighestOrder; ++n) {
            const JudgedLimits l = judged(n);
            r.limits.push_back(l);
            r.slots.insert(r.slots.end(), {0.0, 0.0, 0.0, 0.0, SixDecimals(l.normal), SixDecimals(l.maximum)});
        }
        break;
    }
    return r;
}

}  // namespace

ReportHeaderValues SampleHeader()
{
    ReportHeaderValues h;
    h.Unom = kVoltageClass;
    h.dt_begin = March(1);
    h.n_Dayes = "1";
    h.att_Header = {Cp("Подстанция 7"), "", "", ""};
    h.texts = {{"att_Header_0", "Подстанция 7"}, {"n_Dayes", "1"}};
    return h;
}

Provenance SampleProvenance()
{
    Provenance p;
    p.programVersion = "1.3.0";
    const std::string sha(64, 'a');
    p.settings = {"/data/site/settings.xml", 2048, sha};
    p.database = {"/data/site/m.db", 1 << 20, std::string(64, 'b')};
    p.dayTemplate = {"/opt/pq/tbl1.htm", 4096, sha};
    p.titleTemplate = {"/opt/pq/Title.htm", 8192, sha};
    return p;
}

EvaluatedReport SampleReport()
{
    EvaluatedDay day;
    day.number = 1;
    day.start = March(1);
    day.end = March(2);
    day.begins = {March(1, 8)};
    day.ends = {March(1, 20)};
    for (const DayStatistic& s : DayPlan())
        day.statistics.push_back(Zeros(s));

    using namespace sample;
    std::vector<StatisticResult>& r = day.statistics;
    r[kMaxLoadL1].slots = {-2.5, 3.125, -4.75, 6.5, 0.0, 1.25, 0.0, 0.0};
    r[kMaxLoadL2].slots.assign(8, std::nullopt);
    r[kMaxLoadL2].counts = {};
    r[kWholeDayL1].counts = {1438, 2};
    r[kThdL1].slots[0] = 3.5;
    r[kThdL1].slots[1] = 5.5;
    r[kThdL1].slots[2] = 5.0;
    r[kZeroSequence].slots.assign(4, std::nullopt);
    r[kZeroSequence].counts = {};
    r[kFrequency].slots = {-0.25, 0.25, -0.25, 0.45, 2.5, 2.5, 0.0, 2.5};
    r[kFrequency].complies = false;
    r[kHarmonicsL1].slots[6] = 0.5;  // order 3
    r[kHarmonicsL1].slots[7] = 1.25;

    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size(); ++i)
        day.flags.Add(plan[i].quantity(), r[i].complies, r[i].FoundValues());

    EvaluatedReport report;
    report.periodStart = March(1);
    report.periodEnd = March(2);
    report.dayCount = 1;
    report.AddDay(day);
    report.summary.frequency = {{49.75, true}, {50.45, true}};
    report.summary.voltage = {{0.0, false}, {0.0, false}};
    return report;
}

}  // namespace pq
