#include "pages/page_layout.h"

#include "base/number_text.h"
#include "pages/fixed_texts.h"

namespace pq {

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

int RegimeIndex(LoadRegime regime)
{
    switch (regime) {
    case LoadRegime::MaxLoad:
        return 0;
    case LoadRegime::MinLoad:
        return 1;
    case LoadRegime::WholeDay:
        break;
    }
    return 2;
}

}  // namespace

DayEntries DayEntriesOf(const DayStatistic& s)
{
    switch (s.kind) {
    case StatisticKind::VoltageDeviation: {
        // Per regime a block of 32 entries: the three phases, 8 each, and the
        // single series after them.
        const int block = 11 + 32 * RegimeIndex(s.regime);
        return {s.phase >= 0 ? block + 8 * s.phase : block + 24, &kEightSlot};
    }
    case StatisticKind::HarmonicDistortion:
        return {107 + 6 * s.phase, &kSixSlot};
    case StatisticKind::Unbalance:
        return {s.quantity() == Quantity::ZeroSequenceUnbalance ? 125 : 129, &kFourSlot};
    case StatisticKind::FrequencyDeviation:
        return {133, &kEightSlot};
    case StatisticKind::Harmonics:
        break;
    }
    return {141 + 12 * s.phase, &kStraightSix};
}

TextList RecordTexts(const StatisticResult& result)
{
    TextList texts;
    texts.reserve(result.slots.size());
    for (const Number& slot : result.slots)
        texts.push_back(FormatNumber("%04.2f", slot.value_or(0.0)));
    return texts;
}

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
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < day.statistics.size(); ++i) {
        const DayEntries entries = DayEntriesOf(plan[i]);
        const TextList record = RecordTexts(day.statistics[i]);
        for (size_t slot = 0; slot < entries.pattern->size() && slot < record.size(); ++slot)
            v[entries.base + (*entries.pattern)[slot]] = record[slot];
    }
    return v;
}

std::array<TextList, 3> HarmonicRecordTexts(const EvaluatedDay& day)
{
    std::array<TextList, 3> texts;
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < day.statistics.size(); ++i)
        if (plan[i].kind == StatisticKind::Harmonics)
            texts.at(plan[i].phase) = RecordTexts(day.statistics[i]);
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

}  // namespace pq
