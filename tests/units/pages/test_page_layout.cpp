// The day value table that EvaluateDay fills, checked entry by entry against
// an oracle written in this file from what the day page shows at each entry:
// the fixture's raw values are cut into the load-regime windows, sorted and
// counted here, without the program's statistics and without its table of
// bases and slot patterns. Also: each statistic clears its own quantity's flag.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/text.h"
#include "pages/fixed_texts.h"
#include "pages/page_layout.h"
#include "run/day_evaluation.h"
#include "settings/header_values.h"
#include "stats/ordered_sample.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

// ---- raw values -------------------------------------------------------------

// A value at a minute of the report day, 1 March 2011; minutes outside
// 0..1439 fall on the day before or after.
struct Point {
    int minute;
    double value;
};
using Series = std::vector<Point>;
// The raw values of one database, by table and column.
using RawDay = std::map<std::pair<std::string, std::string>, Series>;

double Hundredths(double x) { return std::round(x * 100.0) / 100.0; }

// `outside` followed by `count` values evenly spread over [lo, hi], all
// shifted by `offset` and rounded to hundredths (so "%04.2f" shows them
// exactly).
std::vector<double> Sample(const std::vector<double>& outside, int count, double lo, double hi,
                           double offset = 0.0)
{
    std::vector<double> v;
    for (double x : outside)
        v.push_back(Hundredths(x + offset));
    for (int i = 0; i < count; ++i)
        v.push_back(Hundredths(lo + (hi - lo) * i / (count > 1 ? count - 1 : 1) + offset));
    return v;
}

// values[from, to) at minutes spread evenly over first..last.
void AddSpread(Series& s, const std::vector<double>& values, size_t from, size_t to, int first, int last)
{
    const int n = static_cast<int>(to - from);
    for (int i = 0; i < n; ++i)
        s.push_back({first + (n > 1 ? (last - first) * i / (n - 1) : 0), values[from + static_cast<size_t>(i)]});
}
void AddSpread(Series& s, const std::vector<double>& values, int first, int last)
{
    AddSpread(s, values, 0, values.size(), first, last);
}

// A value on the day before and one on the day after: no window of the day
// holds them.
void AddOtherDays(Series& s, double magnitude)
{
    s.push_back({-1, -magnitude});
    s.push_back({1440, magnitude});
}

const int kMaxLoadBegin = 8 * 60;  // the fixture's max-load period 08:00 - 20:00
const int kMaxLoadEnd = 20 * 60;

const char* const kThreePhase[] = {"L1", "L2", "L3"};

std::string HarmonicTable(int phase) { return "harm_u_L" + std::to_string(phase + 1) + "_3s"; }

// The placement day: in every window of every series the counts beyond the
// four (or two) limits differ from each other, every series has its own
// offset or count, and the 95 % values are neither the extremes nor a share.
RawDay PlacementDay()
{
    RawDay raw;
    // Voltage deviation, limits -5/+5 and -10/+10 %.
    // Max-load, 80 values: 1 below -10, 4 below -5, 3 above +5, 2 above +10.
    const std::vector<double> maxLoad{-12.5, -8.5, -8.0, -7.5, 6.5, 11.5, 12.5};
    // Min-load, 120 values: 2 below -10, 3 below -5, 6 above +5, 4 above +10.
    const std::vector<double> minLoad{-13.5, -11.0, -6.5, 7.5, 8.5, 11.25, 12.25, 13.0, 14.0};
    const struct {
        const char* table;
        const char* column;
        double offset;
    } voltage[] = {{"du1m", "L1", 0.0}, {"du1m", "L2", 0.1}, {"du1m", "L3", 0.2}, {"u1unbalance1m", "Value", 0.3}};
    for (const auto& s : voltage) {
        Series& series = raw[{s.table, s.column}];
        AddSpread(series, Sample(maxLoad, 73, -4.5, 4.5, s.offset), kMaxLoadBegin, kMaxLoadEnd - 1);
        const std::vector<double> night = Sample(minLoad, 111, -4.0, 4.0, s.offset);
        AddSpread(series, night, 0, 60, 0, kMaxLoadBegin - 1);          // 00:00 - 07:59
        AddSpread(series, night, 60, night.size(), kMaxLoadEnd, 1439);  // 20:00 - 23:59
        AddOtherDays(series, 50.0);
    }

    // Frequency deviation, limits -0.2/+0.2 and -0.4/+0.4 Hz, 200 values:
    // 1 below -0.4, 3 below -0.2, 7 above +0.2, 2 above +0.4.
    Series& frequency = raw[{"ac20sdfreq", "Value"}];
    AddSpread(frequency, Sample({-0.47, -0.31, -0.25, 0.23, 0.27, 0.33, 0.36, 0.38, 0.44, 0.52}, 190, -0.18, 0.18),
              0, 1439);
    AddOtherDays(frequency, 0.9);

    for (int p = 0; p < 3; ++p) {
        // Total harmonic distortion, limits 8 and 12 %: 3 above 8, 1 above 12;
        // 40, 50, 60 values.
        Series& thd = raw[{"uthd3s", kThreePhase[p]}];
        AddSpread(thd, Sample({9.5, 10.25, 13.25}, 37 + 10 * p, 1.0, 7.0, 0.1 * p), 0, 1439);
        AddOtherDays(thd, 50.0);
        // Harmonic order 2, limits 2 and 3 %: 3 above 2, 1 above 3; 40, 44, 48 values.
        Series& h2 = raw[{HarmonicTable(p), "H2"}];
        AddSpread(h2, Sample({2.2, 2.6, 3.4}, 37 + 4 * p, 0.1, 1.9, 0.03 * p), 0, 1439);
        AddOtherDays(h2, 50.0);
        // Harmonic order 40 (in the record only), limits 0.2 and 0.3 % (class 0):
        // 2 above 0.2, 1 above 0.3; 40 values.
        AddSpread(raw[{HarmonicTable(p), "H40"}], Sample({0.24, 0.35}, 38, 0.01, 0.19, 0.01 * p), 0, 1439);
    }

    // Unbalance, limits 2 and 4 %: 4 above 2, 1 above 4; 40 and 50 values.
    AddSpread(raw[{"u0unbalance3s", "Value"}], Sample({2.3, 2.9, 3.4, 4.6}, 36, 0.2, 1.8), 0, 1439);
    AddSpread(raw[{"u2unbalance3s", "Value"}], Sample({2.3, 2.9, 3.4, 4.6}, 46, 0.2, 1.8, 0.05), 0, 1439);
    AddOtherDays(raw[{"u0unbalance3s", "Value"}], 50.0);
    AddOtherDays(raw[{"u2unbalance3s", "Value"}], 50.0);
    return raw;
}

void Write(const RawDay& raw, FixtureDb& db)
{
    db.Begin();
    for (const auto& [key, series] : raw)
        for (const Point& p : series)
            db.Put(key.first, key.second, At(1) + wxTimeSpan::Minutes(p.minute), p.value);
    db.Commit();
}

// ---- the oracle -------------------------------------------------------------

enum class Part { MaxLoad, MinLoad, WholeDay };

// The values of the report day in the part, ascending.
std::vector<double> SortedValues(const Series& s, Part part)
{
    std::vector<double> v;
    for (const Point& p : s) {
        if (p.minute < 0 || p.minute >= 1440)
            continue;
        const bool maxLoad = p.minute >= kMaxLoadBegin && p.minute < kMaxLoadEnd;
        if (part == Part::WholeDay || maxLoad == (part == Part::MaxLoad))
            v.push_back(p.value);
    }
    std::sort(v.begin(), v.end());
    return v;
}

std::string Text(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04.2f", x);
    return buf;
}

template <class Predicate>
int CountOf(const std::vector<double>& v, Predicate p)
{
    return static_cast<int>(std::count_if(v.begin(), v.end(), p));
}

std::string Share(int count, size_t n) { return Text(count * 100.0 / static_cast<double>(n)); }

// The value at a 1-based position, clamped into the sample.
double At1(const std::vector<double>& v, int position)
{
    return v[static_cast<size_t>(std::clamp(position, 1, static_cast<int>(v.size())) - 1)];
}

// Page order of a two-sided group.
const char* const kTwoSidedMeaning[] = {
    "lower 95 % value", "share below -normal", "upper 95 % value", "share above +normal",
    "smallest value",   "share below -maximum", "largest value",   "share above +maximum"};

TextList TwoSidedEntries(const std::vector<double>& v, double normal, double maximum)
{
    const int A = CountOf(v, [&](double x) { return x < -normal; });
    const int B = CountOf(v, [&](double x) { return x > normal; });
    const Positions p = Window95Positions(static_cast<int>(v.size()), A, B, Gost13109().Rule());
    return {Text(At1(v, p.P1)),
            Share(A, v.size()),
            Text(At1(v, p.P2)),
            Share(B, v.size()),
            Text(v.front()),
            Share(CountOf(v, [&](double x) { return x < -maximum; }), v.size()),
            Text(v.back()),
            Share(CountOf(v, [&](double x) { return x > maximum; }), v.size())};
}

struct OneSided {
    std::string value95, largest, shareNormal, shareMaximum, normal, maximum;
};

OneSided OneSidedValues(const std::vector<double>& v, double normal, double maximum)
{
    return {Text(At1(v, static_cast<int>(0.95 * static_cast<double>(v.size())))),
            Text(v.back()),
            Share(CountOf(v, [&](double x) { return x > normal; }), v.size()),
            Share(CountOf(v, [&](double x) { return x > maximum; }), v.size()),
            Text(normal),
            Text(maximum)};
}

const char* const kThdMeaning[] = {"95 % value", "normal limit", "share above normal",
                                   "largest value", "maximum limit", "share above maximum"};
const char* const kUnbalanceMeaning[] = {"95 % value", "share above 2 %", "largest value", "share above 4 %"};
const char* const kHarmonicMeaning[] = {"95 % value",          "largest value", "share above normal",
                                        "share above maximum", "normal limit",  "maximum limit"};

// The statistics' groups of entries on the day page, written from the page's
// meaning of its entries.
struct Group {
    int base;
    std::string name;
    TextList entries;
    const char* const* meaning;
};

std::vector<Group> ExpectedGroups(const RawDay& raw)
{
    auto values = [&](const std::string& table, const std::string& column, Part part) {
        return SortedValues(raw.at({table, column}), part);
    };
    std::vector<Group> groups;
    const struct {
        int base;
        const char* table;
        const char* column;
        Part part;
        const char* partName;
    } voltage[] = {
        {11, "du1m", "L1", Part::MaxLoad, "max-load"},   {19, "du1m", "L2", Part::MaxLoad, "max-load"},
        {27, "du1m", "L3", Part::MaxLoad, "max-load"},   {35, "u1unbalance1m", "Value", Part::MaxLoad, "max-load"},
        {43, "du1m", "L1", Part::MinLoad, "min-load"},   {51, "du1m", "L2", Part::MinLoad, "min-load"},
        {59, "du1m", "L3", Part::MinLoad, "min-load"},   {67, "u1unbalance1m", "Value", Part::MinLoad, "min-load"},
        {75, "du1m", "L1", Part::WholeDay, "whole day"}, {83, "du1m", "L2", Part::WholeDay, "whole day"},
        {91, "du1m", "L3", Part::WholeDay, "whole day"}, {99, "u1unbalance1m", "Value", Part::WholeDay, "whole day"},
    };
    for (const auto& s : voltage)
        groups.push_back({s.base, std::string(s.table) + " " + s.column + " " + s.partName,
                          TwoSidedEntries(values(s.table, s.column, s.part), 5.0, 10.0), kTwoSidedMeaning});

    const int thdBase[] = {107, 113, 119};
    for (int p = 0; p < 3; ++p) {
        const OneSided o = OneSidedValues(values("uthd3s", kThreePhase[p], Part::WholeDay), 8.0, 12.0);
        groups.push_back({thdBase[p], std::string("uthd3s ") + kThreePhase[p],
                          {o.value95, o.normal, o.shareNormal, o.largest, o.maximum, o.shareMaximum}, kThdMeaning});
    }

    const struct {
        int base;
        const char* table;
    } unbalance[] = {{125, "u0unbalance3s"}, {129, "u2unbalance3s"}};
    for (const auto& u : unbalance) {
        const OneSided o = OneSidedValues(values(u.table, "Value", Part::WholeDay), 2.0, 4.0);
        groups.push_back({u.base, u.table, {o.value95, o.shareNormal, o.largest, o.shareMaximum}, kUnbalanceMeaning});
    }

    groups.push_back({133, "ac20sdfreq", TwoSidedEntries(values("ac20sdfreq", "Value", Part::WholeDay), 0.2, 0.4),
                      kTwoSidedMeaning});

    const int harmonicBase[] = {141, 153, 165};
    for (int p = 0; p < 3; ++p) {
        const OneSided o = OneSidedValues(values(HarmonicTable(p), "H2", Part::WholeDay), 2.0, 3.0);
        groups.push_back({harmonicBase[p], HarmonicTable(p) + " order 2",
                          {o.value95, o.largest, o.shareNormal, o.shareMaximum, o.normal, o.maximum},
                          kHarmonicMeaning});
    }
    return groups;
}

class PageLayout : public testing::Test {
protected:
    void SetUp() override
    {
        header.dt_begin = At(1);
        header.att_Header = {"h0", "h1", CodePageFromUtf8("Объект"), "h3"};
        header.dt_max_load_begin.fill("8:00");
        header.dt_max_load_end.fill("20:00");
        header.Unom = 0;
    }

    ReportHeaderValues header;
};

TEST_F(PageLayout, TextsAreRussianFixedPoint)
{
    EXPECT_EQ(Text(-3.25), "-3,25");
    EXPECT_EQ(Text(2.0), "2,00");
}

TEST_F(PageLayout, EveryEntryHoldsWhatThePageShowsThere)
{
    const RawDay raw = PlacementDay();
    FixtureDb db;
    Write(raw, db);
    EvaluatedDay day;
    std::vector<std::string> lines;
    {
        const RunSettings run = RunOf(header);
        LogCapture log;
        day = EvaluateDay(run, 0, db.source(), Gost13109(), db.notes());
        lines = log.lines;
    }
    const TextList values = DayValues(header, day);
    const std::array<TextList, 3> harmonics = HarmonicRecordTexts(day);

    // The expected table: entries no one sets keep "A<i>".
    TextList expected(1000);
    std::vector<std::string> meaning(1000, "not set by the evaluation");
    for (int i = 0; i < 1000; ++i)
        expected[i] = "A" + std::to_string(i);
    const struct {
        int entry;
        std::string text;
        const char* what;
    } fixed[] = {
        {0, MakerName(), "maker name"},  {1, "h0", "att_Header_0"},
        {2, "h1", "att_Header_1"},       {3, CodePageFromUtf8("Объект"), "att_Header_2"},
        {4, "h3", "att_Header_3"},       {5, "01.03.2011", "day start date"},
        {6, "00:00", "day start time"},  {7, "02.03.2011", "day end date"},
        {8, "00:00", "day end time"},
    };
    for (const auto& f : fixed) {
        expected[f.entry] = f.text;
        meaning[f.entry] = f.what;
    }

    const std::vector<Group> groups = ExpectedGroups(raw);
    ASSERT_EQ(groups.size(), 21u);
    for (size_t g = 0; g < groups.size(); ++g) {
        const Group& group = groups[g];
        // The fixture shows a misplacement: no two entries of a group alike,
        // no two groups of one shape alike.
        for (size_t i = 0; i < group.entries.size(); ++i)
            for (size_t j = i + 1; j < group.entries.size(); ++j)
                ASSERT_NE(group.entries[i], group.entries[j])
                    << "fixture: " << group.name << " " << group.meaning[i] << " and " << group.meaning[j];
        for (size_t h = g + 1; h < groups.size(); ++h)
            ASSERT_NE(group.entries, groups[h].entries) << "fixture: " << group.name << " and " << groups[h].name;
        for (size_t i = 0; i < group.entries.size(); ++i) {
            const int entry = group.base + static_cast<int>(i);
            ASSERT_EQ(meaning[entry], "not set by the evaluation") << "two groups at entry " << entry;
            expected[entry] = group.entries[i];
            meaning[entry] = group.name + ": " + group.meaning[i];
        }
    }

    ASSERT_EQ(values.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(values[i], expected[i]) << "entry " << i << ", " << meaning[i];

    // The whole harmonic records: six slots per order 2..40, order n at 6(n-2).
    for (int p = 0; p < 3; ++p) {
        const TextList& record = harmonics[p];
        ASSERT_EQ(record.size(), 6u * 39) << "phase " << p;
        const OneSided o2 = OneSidedValues(SortedValues(raw.at({HarmonicTable(p), "H2"}), Part::WholeDay), 2.0, 3.0);
        const OneSided o40 =
            OneSidedValues(SortedValues(raw.at({HarmonicTable(p), "H40"}), Part::WholeDay), 0.2, 0.3);
        const TextList order2{o2.value95, o2.largest, o2.shareNormal, o2.shareMaximum, o2.normal, o2.maximum};
        const TextList order40{o40.value95, o40.largest, o40.shareNormal, o40.shareMaximum, o40.normal, o40.maximum};
        EXPECT_EQ(TextList(record.begin(), record.begin() + 6), order2) << "phase " << p;
        EXPECT_EQ(TextList(record.begin() + 6 * 38, record.end()), order40) << "phase " << p;
        for (int n = 3; n < 40; ++n)  // no values: 95 % value, largest and shares 0
            EXPECT_EQ(TextList(record.begin() + 6 * (n - 2), record.begin() + 6 * (n - 2) + 4), TextList(4, "0,00"))
                << "phase " << p << " order " << n;
    }

    EXPECT_EQ(day.begins, DateTimeList{At(1, 8)});
    EXPECT_EQ(day.ends, DateTimeList{At(1, 20)});

    // The identifying lines, in run order.
    std::vector<std::string> ids;
    for (const std::string& line : lines)
        if (line != "Input is incomplete!\n")
            ids.push_back(line);
    EXPECT_EQ(ids, (std::vector<std::string>{
                       "01.03.2011 00:00 - 02.03.2011 00:00", "Max power regim du1m L1",
                       "Max power regim du1m L2", "Max power regim du1m L3", "Min power regim du1m L1",
                       "Min power regim du1m L2", "Min power regim du1m L3", "Whole day regim du1m L1",
                       "Whole day regim du1m L2", "Whole day regim du1m L3",
                       "Max power regim, single u1unbalance1m", "Min power regim, single u1unbalance1m",
                       "Whole day regim, single u1unbalance1m", "Uthd uthd3s L1", "Uthd uthd3s L2",
                       "Uthd uthd3s L3", "Kx, single u0unbalance3s", "Kx, single u2unbalance3s",
                       "AC, single ac20sdfreq", "HarmL harm_u_L1_3s", "HarmL harm_u_L2_3s",
                       "HarmL harm_u_L3_3s"}));
}

// ---- flags ------------------------------------------------------------------

// A day within every limit: a few values in each regime of every series.
RawDay CompliantDay()
{
    RawDay raw;
    const std::vector<int> minutes{100, 600, 1300};  // min-load, max-load, min-load
    auto put = [&](const std::string& table, const std::string& column, const std::vector<double>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            raw[{table, column}].push_back({minutes[i], values[i]});
    };
    for (int p = 0; p < 3; ++p) {
        put("du1m", kThreePhase[p], {-1.0, 0.5, 2.0});
        put("uthd3s", kThreePhase[p], {1.0, 2.0, 3.0});
        put(HarmonicTable(p), "H2", {0.5, 1.0, 1.5});
    }
    put("u1unbalance1m", "Value", {-2.0, 1.0, 3.0});
    put("u0unbalance3s", "Value", {0.5, 1.0, 1.5});
    put("u2unbalance3s", "Value", {0.4, 0.8, 1.2});
    put("ac20sdfreq", "Value", {-0.1, 0.0, 0.1});
    return raw;
}

const char* QuantityName(Quantity q)
{
    switch (q) {
    case Quantity::VoltageDeviation:
        return "voltage deviation";
    case Quantity::FrequencyDeviation:
        return "frequency deviation";
    case Quantity::HarmonicDistortion:
        return "harmonic distortion";
    case Quantity::HarmonicCoefficients:
        return "harmonic coefficients";
    case Quantity::NegativeSequenceUnbalance:
        return "negative-sequence unbalance";
    case Quantity::ZeroSequenceUnbalance:
        break;
    }
    return "zero-sequence unbalance";
}

std::vector<std::string> ClearedFlags(const ComplianceFlags& flags)
{
    std::vector<std::string> cleared;
    for (int q = 0; q < kQuantityCount; ++q)
        if (!flags[static_cast<Quantity>(q)])
            cleared.push_back(QuantityName(static_cast<Quantity>(q)));
    return cleared;
}

std::vector<std::string> ClearedFlagsOfDay(const ReportHeaderValues& header, const RawDay& raw)
{
    FixtureDb db;
    Write(raw, db);
    const EvaluatedDay day = EvaluateDay(RunOf(header), 0, db.source(), Gost13109(), db.notes());
    return ClearedFlags(day.flags);
}

TEST_F(PageLayout, EachStatisticClearsOnlyItsOwnQuantity)
{
    const RawDay compliant = CompliantDay();
    EXPECT_EQ(ClearedFlagsOfDay(header, compliant), std::vector<std::string>{});

    using Q = Quantity;
    // One value beyond the maximum limit in one series and window: the
    // statistics of that window and of the whole day fail. Together the
    // cases make each of the 21 statistics fail at least once.
    const struct {
        std::string table, column;
        int minute;
        double value;
        Q quantity;
    } failures[] = {
        {"du1m", "L1", 600, 11.0, Q::VoltageDeviation},          // max-load
        {"du1m", "L1", 100, -11.0, Q::VoltageDeviation},         // min-load, morning
        {"du1m", "L2", 900, -11.0, Q::VoltageDeviation},
        {"du1m", "L2", 1300, 11.0, Q::VoltageDeviation},         // min-load, evening
        {"du1m", "L3", 480, 11.0, Q::VoltageDeviation},          // the period's first minute
        {"du1m", "L3", 1200, -11.0, Q::VoltageDeviation},        // the minute the period ends
        {"u1unbalance1m", "Value", 1199, 11.0, Q::VoltageDeviation},
        {"u1unbalance1m", "Value", 479, -11.0, Q::VoltageDeviation},
        {"uthd3s", "L1", 700, 13.0, Q::HarmonicDistortion},
        {"uthd3s", "L2", 700, 13.0, Q::HarmonicDistortion},
        {"uthd3s", "L3", 700, 13.0, Q::HarmonicDistortion},
        {"u0unbalance3s", "Value", 700, 5.0, Q::ZeroSequenceUnbalance},
        {"u2unbalance3s", "Value", 700, 5.0, Q::NegativeSequenceUnbalance},
        {"ac20sdfreq", "Value", 700, 0.5, Q::FrequencyDeviation},
        {"ac20sdfreq", "Value", 700, -0.5, Q::FrequencyDeviation},
        {"harm_u_L1_3s", "H2", 700, 3.5, Q::HarmonicCoefficients},
        {"harm_u_L2_3s", "H2", 700, 3.5, Q::HarmonicCoefficients},
        {"harm_u_L3_3s", "H2", 700, 3.5, Q::HarmonicCoefficients},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.table + " " + f.column + " minute " + std::to_string(f.minute));
        RawDay raw = compliant;
        raw[{f.table, f.column}].push_back({f.minute, f.value});
        EXPECT_EQ(ClearedFlagsOfDay(header, raw), std::vector<std::string>{QuantityName(f.quantity)});
    }

    // Values of the days before and after clear nothing.
    RawDay raw = compliant;
    raw[{"du1m", "L1"}].push_back({-1, 50.0});
    raw[{"uthd3s", "L2"}].push_back({1440, 50.0});
    EXPECT_EQ(ClearedFlagsOfDay(header, raw), std::vector<std::string>{});
}

}  // namespace
