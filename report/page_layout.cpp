#include "report/page_layout.h"

#include "db/queries.h"
#include "report/fixed_texts.h"

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
    using Q = Quantity;
    std::vector<DayStatistic> s;
    const LoadRegime regimes[3] = {LoadRegime::MaxLoad, LoadRegime::MinLoad, LoadRegime::WholeDay};
    // Voltage deviation: per regime a block of the three phases (8 entries each)
    // and the single series after them.
    for (int r = 0; r < 3; ++r)
        for (int phase = 0; phase < 3; ++phase)
            s.push_back({K::VoltageDeviation, regimes[r], "du1m", PhaseColumn(phase), phase, Q::VoltageDeviation,
                         11 + 32 * r + 8 * phase, &kEightSlot});
    for (int r = 0; r < 3; ++r)
        s.push_back({K::VoltageDeviation, regimes[r], "u1unbalance1m", ValueColumn, -1, Q::VoltageDeviation,
                     35 + 32 * r, &kEightSlot});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::HarmonicDistortion, LoadRegime::WholeDay, "uthd3s", PhaseColumn(phase), phase,
                     Q::HarmonicDistortion, 107 + 6 * phase, &kSixSlot});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, "u0unbalance3s", ValueColumn, -1, Q::ZeroSequenceUnbalance,
                 125, &kFourSlot});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, "u2unbalance3s", ValueColumn, -1,
                 Q::NegativeSequenceUnbalance, 129, &kFourSlot});
    s.push_back({K::FrequencyDeviation, LoadRegime::WholeDay, "ac20sdfreq", ValueColumn, -1,
                 Q::FrequencyDeviation, 133, &kEightSlot});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::Harmonics, LoadRegime::WholeDay, "harm_u_L" + std::to_string(phase + 1) + "_3s",
                     std::string(), phase, Q::HarmonicCoefficients, 141 + 12 * phase, &kStraightSix});
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

namespace {

std::string DashedDate(const wxDateTime& t) { return t.Format("%d-%m-%Y").ToStdString(); }

template <size_t N>
void PlaceList(TextList& t, int first, int stride, const std::array<std::string, N>& list)
{
    for (size_t i = 0; i < N; ++i)
        t[first + stride * static_cast<int>(i)] = list[i];
}

}  // namespace

TextList TitleValues(const ReportHeaderValues& h, const wxDateTime& periodEnd, const PeriodSummary& summary)
{
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
    t[kPeriodEnd] = DashedDate(periodEnd);
    PlaceList(t, kPage1_5, 1, h.Page1_5);
    PlaceList(t, kPage1_6, 1, h.Page1_6);
    PlaceList(t, kPage1_7, 1, h.Page1_7);
    t[kFrequencyMin] = summary.frequency.minimum;
    t[kFrequencyMax] = summary.frequency.maximum;
    t[kVoltageMin] = summary.voltage.minimum;
    t[kVoltageMax] = summary.voltage.maximum;
    // The template shows the Page1_8 text in two places; the settings carry it once.
    t[kPage1_8] = h.Page1_8[0];
    t[kPage1_8 + 1] = h.Page1_8[0];
    for (int q = 0; q < kQuantityCount; ++q) {
        const Quantity quantity = static_cast<Quantity>(q);
        if (!summary.flags.Measured(quantity))
            t[kVerdicts + q] = NoDataWord();
        else
            t[kVerdicts + q] = summary.flags[quantity] ? CompliesWord() : DoesNotComplyWord();
    }
    return t;
}
