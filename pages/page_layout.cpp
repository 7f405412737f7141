#include "pages/page_layout.h"

#include "db/queries.h"
#include "pages/fixed_texts.h"
#include "stats/number_text.h"

TextList NewValueTable()
{
    TextList table(kValueTableSize);
    for (int i = 0; i < kValueTableSize; ++i)
        table[i] = "A" + std::to_string(i);
    return table;
}

namespace {

// Record slots to entries: the page shows each bound beside its share.
const SlotPattern kEightSlot{0, 2, 4, 6, 1, 3, 5, 7};  // two-sided: 95 % values, extremes, shares
const SlotPattern kSixSlot{0, 3, 2, 5, 1, 4};          // one-sided with its two limits
const SlotPattern kFourSlot{0, 2, 1, 3};               // one-sided without limits
const SlotPattern kStraightSix{0, 1, 2, 3, 4, 5};      // order 2 of a harmonic record

std::vector<DayStatistic> BuildDayStatistics()
{
    using K = StatisticKind;
    std::vector<DayStatistic> s;
    const LoadRegime regimes[3] = {LoadRegime::MaxLoad, LoadRegime::MinLoad, LoadRegime::WholeDay};
    const MeasuredSeries* voltage = &SeriesOf("du1m");
    const MeasuredSeries* single = &SeriesOf("u1unbalance1m");
    // Voltage deviation: per regime a block of the three phases (8 entries each)
    // and the single series after them.
    for (int r = 0; r < 3; ++r)
        for (int phase = 0; phase < 3; ++phase)
            s.push_back({K::VoltageDeviation, regimes[r], voltage, PhaseColumn(phase), phase,
                         11 + 32 * r + 8 * phase, &kEightSlot});
    for (int r = 0; r < 3; ++r)
        s.push_back({K::VoltageDeviation, regimes[r], single, ValueColumn, -1, 35 + 32 * r, &kEightSlot});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::HarmonicDistortion, LoadRegime::WholeDay, &SeriesOf("uthd3s"), PhaseColumn(phase), phase,
                     107 + 6 * phase, &kSixSlot});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, &SeriesOf("u0unbalance3s"), ValueColumn, -1, 125, &kFourSlot});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, &SeriesOf("u2unbalance3s"), ValueColumn, -1, 129, &kFourSlot});
    s.push_back(
        {K::FrequencyDeviation, LoadRegime::WholeDay, &SeriesOf("ac20sdfreq"), ValueColumn, -1, 133, &kEightSlot});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::Harmonics, LoadRegime::WholeDay, &SeriesOf("harm_u_L" + std::to_string(phase + 1) + "_3s"),
                     std::string(), phase, 141 + 12 * phase, &kStraightSix});
    return s;
}

}  // namespace

const std::vector<DayStatistic>& DayStatistics()
{
    static const std::vector<DayStatistic> statistics = BuildDayStatistics();
    return statistics;
}

std::vector<const DayStatistic*> HarmonicStatistics()
{
    std::vector<const DayStatistic*> harmonics;
    for (const DayStatistic& s : DayStatistics())
        if (s.kind == StatisticKind::Harmonics)
            harmonics.push_back(&s);
    return harmonics;
}

std::string DayDate(const wxDateTime& t) { return t.Format("%d.%m.%Y").ToStdString(); }
std::string DayClock(const wxDateTime& t) { return t.Format("%H:%M").ToStdString(); }

TextList DayValues(const ReportHeaderValues& header, const EvaluatedDay& day)
{
    using namespace day_entry;
    TextList v = NewValueTable();
    for (int i = 0; i < 4; ++i)
        v[kObject + i] = header.att_Header[i];
    v[kMaker] = MakerName();
    v[kStartDate] = DayDate(day.start);
    v[kStartTime] = DayClock(day.start);
    v[kEndDate] = DayDate(day.end);
    v[kEndTime] = DayClock(day.end);
    const std::vector<DayStatistic>& statistics = DayStatistics();
    for (size_t i = 0; i < statistics.size() && i < day.statistics.size(); ++i) {
        const DayStatistic& s = statistics[i];
        const TextList record = RecordTexts(day.statistics[i]);
        for (size_t slot = 0; slot < s.pattern->size() && slot < record.size(); ++slot)
            v[s.base + (*s.pattern)[slot]] = record[slot];
    }
    return v;
}

std::array<TextList, 3> HarmonicRecordTexts(const EvaluatedDay& day)
{
    std::array<TextList, 3> texts;
    const std::vector<DayStatistic>& statistics = DayStatistics();
    for (size_t i = 0; i < statistics.size() && i < day.statistics.size(); ++i)
        if (statistics[i].kind == StatisticKind::Harmonics)
            texts.at(statistics[i].phase) = RecordTexts(day.statistics[i]);
    return texts;
}

namespace {

std::string DashedDate(const wxDateTime& t) { return t.Format("%d-%m-%Y").ToStdString(); }

template <size_t N>
void PlaceList(TextList& t, int first, int stride, const std::array<std::string, N>& list)
{
    for (size_t i = 0; i < N; ++i)
        t[first + stride * static_cast<int>(i)] = list[i];
}

}  // namespace

TextList TitleValues(const ReportHeaderValues& h, const EvaluatedReport& report)
{
    const PeriodSummary& summary = report.summary;
    using namespace title_entry;
    TextList t = NewValueTable();
    t[kMaker] = MakerName();
    PlaceList(t, kHeader, 1, h.Header);
    PlaceList(t, kLeftHeader, 2, h.LeftHeader);
    PlaceList(t, kRightHeader, 2, h.RightHeader);
    PlaceList(t, kApprove, 1, h.Approve);
    PlaceList(t, kMain, 1, h.Main);
    PlaceList(t, kFooter, 1, h.Footer);
    PlaceList(t, kPage1_1, 1, h.Page1_1);
    PlaceList(t, kPage1_2, 1, h.Page1_2);
    PlaceList(t, kPage1_3, 1, h.Page1_3);
    t[kPeriodStart] = DashedDate(h.dt_begin);
    t[kPeriodEnd] = DashedDate(report.periodEnd);
    PlaceList(t, kPage1_5, 1, h.Page1_5);
    PlaceList(t, kPage1_6, 1, h.Page1_6);
    PlaceList(t, kPage1_7, 1, h.Page1_7);
    t[kFrequencyMin] = FormatNumber("%04.2f", summary.frequency.minimum.value);
    t[kFrequencyMax] = FormatNumber("%04.2f", summary.frequency.maximum.value);
    t[kVoltageMin] = FormatNumber("%6.2f", summary.voltage.minimum.value);
    t[kVoltageMax] = FormatNumber("%6.2f", summary.voltage.maximum.value);
    // The template shows the Page1_8 text in two places; the settings carry it once.
    t[kPage1_8] = h.Page1_8[0];
    t[kPage1_8 + 1] = h.Page1_8[0];
    for (int q = 0; q < kQuantityCount; ++q)
        t[kVerdicts + q] = VerdictWord(report.flags.VerdictFor(static_cast<Quantity>(q)));
    return t;
}
