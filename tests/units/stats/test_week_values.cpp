// The week's 10-minute values and their judging by GOST 32144-2013, fed
// rows directly as the run's reads feed them. Every expected figure is worked
// out by hand in the comments.
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/datetime.h>

#include "model/quantity_registry.h"
#include "standard/gost_32144_2013.h"
#include "stats/week_values.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

const wxDateTime kBegin(1, wxDateTime::Mar, 2011);  // 01.03.2011 00:00 local

// Values of one column of a read: values[i] at `from` + i * step seconds
// after the day's start.
struct ColumnValues {
    std::string column;
    long from;
    int step;
    std::vector<double> values;
};

// `n` values of `v` every `step` seconds from the start of the day's interval `interval`.
ColumnValues InInterval(const std::string& column, int interval, int step, int n, double v)
{
    return {column, interval * 600L, step, std::vector<double>(static_cast<size_t>(n), v)};
}

// One interval after another from the day's start: interval i holds its
// full count of values (600 / step), all of them perInterval[i].
std::vector<ColumnValues> Intervals(const std::string& column, int step, const std::vector<double>& perInterval)
{
    std::vector<ColumnValues> runs;
    for (size_t i = 0; i < perInterval.size(); ++i)
        runs.push_back(InInterval(column, static_cast<int>(i), step, 600 / step, perInterval[i]));
    return runs;
}

// n values of a, then m values of b.
std::vector<double> Then(size_t n, double a, size_t m, double b)
{
    std::vector<double> v(n, a);
    v.insert(v.end(), m, b);
    return v;
}

// a, b, a, b, ... (n values).
std::vector<double> Alternating(size_t n, double a, double b)
{
    std::vector<double> v;
    for (size_t i = 0; i < n; ++i)
        v.push_back(i % 2 ? b : a);
    return v;
}

// Reads `table`'s day `day` with all of its columns, as the run reads it;
// each row carries one column's value and NaN (no value) in the others.
void ReadDay(WeekValues& week, const std::string& table, int day, const std::vector<ColumnValues>& runs)
{
    const std::vector<std::string>& columns = SeriesOf(table).columns;
    const std::optional<RowSink> sink = week.SinkFor(table, columns, day);
    ASSERT_TRUE(sink) << table << " day " << day;
    for (const ColumnValues& run : runs) {
        const size_t at = static_cast<size_t>(std::find(columns.begin(), columns.end(), run.column) - columns.begin());
        ASSERT_LT(at, columns.size()) << table << "." << run.column;
        for (size_t i = 0; i < run.values.size(); ++i) {
            std::vector<double> row(columns.size(), NAN);
            row[at] = run.values[i];
            (*sink)(run.from + static_cast<long>(i) * run.step, row);
        }
    }
}

// The series of table.column (a harmonic table's column "H<n>"), a copy:
// the evaluation may be a temporary.
WeekSeries Find(const WeekEvaluation& week, const std::string& table, const std::string& column)
{
    for (const WeekSeries& s : week.series)
        if (s.table() == table && s.column == column)
            return s;
    throw std::out_of_range("no week series " + table + "." + column);
}

// The step of a table's values in seconds.
int StepOf(const std::string& table) { return 60 / SeriesOf(table).rate.perMinute; }

// ---- intervals and counting ------------------------------------------------------------

// Intervals are [begin + 10 i min, begin + 10 (i + 1) min): a value at 599 s
// is interval 0's, one at 600 s interval 1's; day k's rows continue at
// interval 144 k.
TEST(WeekValues, IntervalsAreTenMinutesFromTheBeginDayAfterDay)
{
    const struct {
        const char* name;
        std::vector<std::pair<int, ColumnValues>> reads;  // day, δU values of du1m.L1
        long long count;
        Number minimum, maximum;
    } cases[] = {
        // 0, 60, 120, 180 and 599: five values of interval 0.
        {"the interval's first and last second",
         {{0, {"L1", 0, 60, {2, 2, 2, 2}}}, {0, {"L1", 599, 60, {2}}}},
         1,
         2.0,
         2.0},
        // 0..180 are four of interval 0, 600 is interval 1's only value.
        {"600 s begins the next interval", {{0, {"L1", 0, 60, {2, 2, 2, 2}}}, {0, {"L1", 600, 60, {2}}}}, 0, {}, {}},
        // Interval 0 of day 1 at -1 % and of day 2 at 3 %: intervals 0 and
        // 144, not one interval of ten values.
        {"day 2 starts at interval 144",
         {{0, {"L1", 0, 60, {-1, -1, -1, -1, -1}}}, {1, {"L1", 0, 60, {3, 3, 3, 3, 3}}}},
         2,
         -1.0,
         3.0},
        // 23:56..23:59 are four values of day 1's last interval, day 2's
        // first row is interval 144's alone: neither counts.
        {"the days' last and first intervals are apart",
         {{0, {"L1", 86160, 60, {1, 1, 1, 1}}}, {1, {"L1", 0, 60, {1}}}},
         0,
         {},
         {}},
        // Day 7's last interval, 07.03 23:50..23:59, is the week's 1008th.
        {"the week's last interval", {{6, {"L1", 86100, 60, {-4, -4, -4, -4, -4}}}}, 1, -4.0, -4.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WeekValues week(kBegin, 7, Gost32144(), 0);
        // One read per day: a day's values of the case in one read.
        for (int day = 0; day < 7; ++day) {
            std::vector<ColumnValues> runs;
            for (const auto& read : c.reads)
                if (read.first == day)
                    runs.push_back(read.second);
            if (!runs.empty())
                ReadDay(week, "du1m", day, runs);
        }
        const WeekSeries& s = Find(week.Evaluate(), "du1m", "L1");
        EXPECT_EQ(s.count, c.count);
        EXPECT_EQ(s.expected, 1008);
        EXPECT_EQ(s.minimum, c.minimum);
        EXPECT_EQ(s.maximum, c.maximum);
    }
}

// The intervals are of the clock: on 13.03.2011 New York's clocks went from
// 02:00 to 03:00, a day of 23 hours. Day 3 (14.03) still starts at interval
// 288; an interval by elapsed time would put it at 282, which is 13.03
// 23:00..23:10 by the clock.
TEST(WeekValues, IntervalsAreOfTheClockAcrossATimeChange)
{
    const LocalZone zone("EST5EDT,M3.2.0,M11.1.0");
    const wxDateTime begin(12, wxDateTime::Mar, 2011);
    ASSERT_EQ((begin + wxDateSpan::Days(2) - begin).GetHours(), 47) << "the zone's rule is not in effect";
    WeekValues week(begin, 7, Gost32144(), 0);
    // Day 2 (13.03) 23:00..23:04 at 1 %, day 3 (14.03) 00:00..00:04 at 3 %.
    ReadDay(week, "du1m", 1, {{"L1", 23 * 3600L, 60, {1, 1, 1, 1, 1}}});
    ReadDay(week, "du1m", 2, {{"L1", 0, 60, {3, 3, 3, 3, 3}}});
    const WeekEvaluation evaluated = week.Evaluate();
    const WeekSeries& s = Find(evaluated, "du1m", "L1");
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.minimum, 1.0);
    EXPECT_EQ(s.maximum, 3.0);
    EXPECT_EQ(evaluated.end.Format("%d.%m.%Y %H:%M"), "19.03.2011 00:00");
}

// An interval counts with at least half of its expected values: 5 of 10
// one-minute values, 100 of 200 three-second values. A value that is no
// number (NaN) is no value.
TEST(WeekValues, AnIntervalCountsWithHalfOfItsValues)
{
    const struct {
        const char* table;
        const char* column;
        int values;
        int missing;  // of them NaN
        long long count;
    } cases[] = {
        {"du1m", "L2", 4, 0, 0},          {"du1m", "L2", 5, 0, 1},          {"du1m", "L2", 10, 0, 1},
        {"du1m", "L2", 6, 2, 0},          {"u1unbalance1m", "Value", 5, 0, 1},
        {"uthd3s", "L3", 99, 0, 0},       {"uthd3s", "L3", 100, 0, 1},      {"uthd3s", "L3", 200, 0, 1},
        {"uthd3s", "L3", 101, 2, 0},      {"u2unbalance3s", "Value", 99, 0, 0},
        {"u0unbalance3s", "Value", 100, 0, 1}, {"harm_u_L2_3s", "H7", 99, 0, 0},
        {"harm_u_L2_3s", "H7", 100, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column + ": " + std::to_string(c.values) + " values, " +
                     std::to_string(c.missing) + " of them NaN");
        WeekValues week(kBegin, 7, Gost32144(), 0);
        std::vector<double> values(static_cast<size_t>(c.values), 1.0);
        std::fill(values.begin(), values.begin() + c.missing, NAN);
        ReadDay(week, c.table, 3, {{c.column, 600, StepOf(c.table), values}});
        const WeekEvaluation evaluated = week.Evaluate();
        const WeekSeries& s = Find(evaluated, c.table, c.column);
        EXPECT_EQ(s.count, c.count);
        EXPECT_EQ(s.expected, 1008);
        EXPECT_EQ(s.verdict, c.count ? Verdict::Complies : Verdict::NoData);
        EXPECT_EQ(s.maximum, c.count ? Number(1.0) : Number());
    }
}

// ---- the 10-minute value ---------------------------------------------------------------

// The rms of the interval's values, for the voltage deviation the deviation
// of the interval's rms voltage: 100 (sqrt(mean((1 + δ/100)²)) - 1). Equal
// values give that value exactly.
TEST(WeekValues, TheTenMinuteValueIsTheRmsAndForTheVoltageTheDeviationOfTheRmsVoltage)
{
    const struct {
        const char* name;
        const char* table;
        const char* column;
        std::vector<double> values;
        double expected;
        bool exact;
    } cases[] = {
        {"K2U 1,3 throughout", "u2unbalance3s", "Value", std::vector<double>(200, 1.3), 1.3, true},
        // (100 · 1 + 100 · 49) / 200 = 25: 5, where the mean is 4.
        {"KU 1 and 7", "uthd3s", "L2", Alternating(200, 1, 7), 5.0, true},
        // (9 + 16) / 2 = 12,5.
        {"K0U 3 and 4", "u0unbalance3s", "Value", Alternating(100, 3, 4), 3.5355339059327378, false},
        {"KU(11) 0,35 throughout", "harm_u_L3_3s", "H11", std::vector<double>(150, 0.35), 0.35, true},
        {"δU -3 % throughout", "du1m", "L1", std::vector<double>(10, -3), -3.0, true},
        {"δU 10 % throughout", "u1unbalance1m", "Value", std::vector<double>(7, 10), 10.0, true},
        // 1,19² = 1,4161 and 0,79² = 0,6241: the mean 1,0201 is 1,01²,
        // +1 %, where the mean deviation is -1 %.
        {"δU +19 % and -21 %", "du1m", "L3", Alternating(10, 19, -21), 1.0, false},
        // 0,1² = 0,01 and 0,7² = 0,49: the mean 0,25 is 0,5², -50 %.
        {"δU -90 % and -30 %", "du1m", "L2", Alternating(6, -90, -30), -50.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WeekValues week(kBegin, 7, Gost32144(), 0);
        ReadDay(week, c.table, 0, {{c.column, 1200, StepOf(c.table), c.values}});
        const WeekSeries& s = Find(week.Evaluate(), c.table, c.column);
        ASSERT_EQ(s.count, 1);
        ASSERT_TRUE(s.minimum && s.maximum);
        if (c.exact) {
            EXPECT_EQ(*s.minimum, c.expected);
        } else {
            EXPECT_DOUBLE_EQ(*s.minimum, c.expected);
        }
        EXPECT_EQ(s.maximum, s.minimum);
        // One value: position ceil(0,95) = 1 of a one-sided series is it; a
        // two-sided series has none.
        EXPECT_EQ(s.value95, s.series->twoSided ? Number() : s.minimum);
    }
}

// ---- judging -----------------------------------------------------------------------------

// A value equal to a limit lies inside it, also after aggregation; a value
// just over the 100 % limit fails the series. Each case has 19 intervals
// (or frequency values) well inside and one at the value, so that one value
// beyond the 95 % limit is a share of 5 %, which complies.
TEST(WeekValues, AValueAtALimitLiesInsideItAndOneJustOverTheHundredPerCentLimitFails)
{
    const struct {
        const char* name;
        const char* table;
        const char* column;
        int voltageClass;
        double value;
        long long beyond95, beyond100;
        Verdict verdict;
    } cases[] = {
        {"KU at 8,0", "uthd3s", "L1", 0, 8.0, 0, 0, Verdict::Complies},
        {"KU at 12,0", "uthd3s", "L1", 0, 12.0, 1, 0, Verdict::Complies},
        {"KU just over 12,0", "uthd3s", "L1", 0, 12.01, 1, 1, Verdict::DoesNotComply},
        {"KU at 3,0 (110-220 kV)", "uthd3s", "L2", 3, 3.0, 1, 0, Verdict::Complies},
        // 1,5 × 0,7 is 1,05 as the table means it, not the binary product
        // 1,0499999999999998 below it; 1,05 throughout the interval is 1,05.
        {"KU(13) at 0,7 (110-220 kV)", "harm_u_L1_3s", "H13", 3, 0.7, 0, 0, Verdict::Complies},
        {"KU(13) at 1,05 (110-220 kV)", "harm_u_L1_3s", "H13", 3, 1.05, 1, 0, Verdict::Complies},
        {"KU(13) just over 1,05", "harm_u_L1_3s", "H13", 3, 1.0501, 1, 1, Verdict::DoesNotComply},
        {"K2U at 2,0", "u2unbalance3s", "Value", 0, 2.0, 0, 0, Verdict::Complies},
        {"K2U at 4,0", "u2unbalance3s", "Value", 0, 4.0, 1, 0, Verdict::Complies},
        {"K0U just over 4,0", "u0unbalance3s", "Value", 0, 4.01, 1, 1, Verdict::DoesNotComply},
        {"δU at +10 %", "du1m", "L1", 0, 10.0, 0, 0, Verdict::Complies},
        {"δU at -10 %", "du1m", "L3", 0, -10.0, 0, 0, Verdict::Complies},
        {"δU just under -10 %", "u1unbalance1m", "Value", 0, -10.01, 0, 1, Verdict::DoesNotComply},
        {"Δf at -0,2 Hz", "ac20sdfreq", "Value", 0, -0.2, 0, 0, Verdict::Complies},
        {"Δf at +0,4 Hz", "ac20sdfreq", "Value", 0, 0.4, 1, 0, Verdict::Complies},
        {"Δf just under -0,4 Hz", "ac20sdfreq", "Value", 0, -0.41, 1, 1, Verdict::DoesNotComply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WeekValues week(kBegin, 7, Gost32144(), c.voltageClass);
        const std::vector<double> values = Then(19, 0.1, 1, c.value);
        if (std::string(c.table) == "ac20sdfreq")
            ReadDay(week, c.table, 0, {{c.column, 0, 20, values}});
        else
            ReadDay(week, c.table, 0, Intervals(c.column, StepOf(c.table), values));
        const WeekSeries& s = Find(week.Evaluate(), c.table, c.column);
        EXPECT_EQ(s.count, 20);
        EXPECT_EQ(s.beyond95, c.beyond95);
        EXPECT_EQ(s.beyond100, c.beyond100);
        EXPECT_EQ(s.verdict, c.verdict);
        // The extreme is the value itself (the frequency's as it is).
        EXPECT_EQ(c.value < 0 ? s.minimum : s.maximum, c.value);
    }
}

// share_95 = beyond95 · 100 / N; a series complies up to 5 % and fails with
// one value more. The values beyond lie under the 100 % limits.
TEST(WeekValues, AShareOfFivePerCentCompliesAndOneValueMoreDoesNot)
{
    const struct {
        const char* table;
        const char* column;
        int count, beyond;
        double share;
        Verdict verdict;
    } cases[] = {
        {"u2unbalance3s", "Value", 40, 2, 5.0, Verdict::Complies},
        {"u2unbalance3s", "Value", 40, 3, 7.5, Verdict::DoesNotComply},
        {"uthd3s", "L3", 20, 1, 5.0, Verdict::Complies},
        {"uthd3s", "L3", 20, 2, 10.0, Verdict::DoesNotComply},
        {"harm_u_L3_3s", "H3", 60, 3, 5.0, Verdict::Complies},
        {"harm_u_L3_3s", "H3", 60, 4, 4 * 100.0 / 60, Verdict::DoesNotComply},
        {"ac20sdfreq", "Value", 40, 2, 5.0, Verdict::Complies},
        {"ac20sdfreq", "Value", 40, 3, 7.5, Verdict::DoesNotComply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column + ": " + std::to_string(c.beyond) + " of " +
                     std::to_string(c.count));
        WeekValues week(kBegin, 7, Gost32144(), 0);
        // Beyond the 95 % limits at class 0 (KU 8, KU(3) 5, K2U 2, |Δf| 0,2)
        // and inside the 100 % ones (12, 7,5, 4, 0,4).
        const double inside = 0.1;
        const double beyond = std::string(c.table) == "ac20sdfreq" ? -0.3
                              : std::string(c.column) == "H3"      ? 6.0
                              : std::string(c.column) == "L3"      ? 9.0
                                                                   : 3.0;
        const std::vector<double> values =
            Then(static_cast<size_t>(c.count - c.beyond), inside, static_cast<size_t>(c.beyond), beyond);
        if (std::string(c.table) == "ac20sdfreq")
            ReadDay(week, c.table, 2, {{c.column, 3600, 20, values}});
        else
            ReadDay(week, c.table, 2, Intervals(c.column, StepOf(c.table), values));
        const WeekSeries& s = Find(week.Evaluate(), c.table, c.column);
        EXPECT_EQ(s.count, c.count);
        EXPECT_EQ(s.beyond95, c.beyond);
        EXPECT_EQ(s.beyond100, 0);
        ASSERT_TRUE(s.share95);
        EXPECT_DOUBLE_EQ(*s.share95, c.share);
        EXPECT_EQ(s.verdict, c.verdict);
    }
}

// The 95 % value is the value at position ceil(0,95 N) of the ascending
// values, 1-based. The intervals hold 0,125 k for k = N..1 (exact binary
// numbers, given in descending order), so it is 0,125 × the position.
TEST(WeekValues, TheNinetyFivePerCentValueIsAtPositionCeilOfNinetyFivePerCentOfN)
{
    const struct {
        int count, position;
    } cases[] = {{1, 1}, {19, 19}, {20, 19}, {21, 20}, {39, 38}, {40, 38}, {100, 95}, {101, 96}};
    for (const auto& c : cases) {
        SCOPED_TRACE("N = " + std::to_string(c.count));
        WeekValues week(kBegin, 7, Gost32144(), 0);
        std::vector<double> values;
        for (int k = c.count; k >= 1; --k)
            values.push_back(0.125 * k);
        ReadDay(week, "u0unbalance3s", 4, Intervals("Value", 3, values));
        const WeekSeries& s = Find(week.Evaluate(), "u0unbalance3s", "Value");
        EXPECT_EQ(s.count, c.count);
        EXPECT_EQ(s.value95, 0.125 * c.position);
        EXPECT_EQ(s.minimum, 0.125);
        EXPECT_EQ(s.maximum, 0.125 * c.count);
    }
}

// The frequency takes every 20-second value, however few an interval holds,
// and judges its magnitude; its extremes keep their signs; a two-sided
// series has no 95 % value.
TEST(WeekValues, TheFrequencyCountsEveryValueByItsMagnitude)
{
    WeekValues week(kBegin, 7, Gost32144(), 0);
    // Day 1: 0,1, -0,25, NaN and 0,41 in one interval; day 5: -0,41 and 0.
    ReadDay(week, "ac20sdfreq", 0, {{"Value", 0, 20, {0.1, -0.25, NAN, 0.41}}});
    ReadDay(week, "ac20sdfreq", 4, {{"Value", 43200, 20, {-0.41, 0.0}}});
    const WeekEvaluation evaluated = week.Evaluate();
    const WeekSeries& s = Find(evaluated, "ac20sdfreq", "Value");
    EXPECT_EQ(s.count, 5);
    EXPECT_EQ(s.expected, 7 * 4320);
    // |-0,25|, 0,41 and |-0,41| beyond 0,2; the last two beyond 0,4.
    EXPECT_EQ(s.beyond95, 3);
    EXPECT_EQ(s.beyond100, 2);
    EXPECT_EQ(s.share95, 60.0);
    EXPECT_EQ(s.limit95, 0.2);
    EXPECT_EQ(s.limit100, 0.4);
    EXPECT_EQ(s.minimum, -0.41);
    EXPECT_EQ(s.maximum, 0.41);
    EXPECT_EQ(s.value95, Number());
    EXPECT_EQ(s.verdict, Verdict::DoesNotComply);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::FrequencyDeviation), Verdict::DoesNotComply);
}

// The voltage deviation has the 100 % test only: no 95 % limit, share or
// value, and one interval of 20 beyond ±10 % fails where a share test would
// allow 5 %.
TEST(WeekValues, TheVoltageIsJudgedByItsHundredPerCentLimitOnly)
{
    const struct {
        const char* name;
        std::vector<double> values;  // one per interval
        long long beyond100;
        Verdict verdict;
    } cases[] = {
        {"9,5 % throughout", std::vector<double>(20, 9.5), 0, Verdict::Complies},
        {"one of 20 at -10,5 %", Then(19, 0, 1, -10.5), 1, Verdict::DoesNotComply},
        {"one of 20 at +10,5 %", Then(19, 0, 1, 10.5), 1, Verdict::DoesNotComply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WeekValues week(kBegin, 7, Gost32144(), 0);
        ReadDay(week, "du1m", 5, Intervals("L2", 60, c.values));
        const WeekEvaluation evaluated = week.Evaluate();
        const WeekSeries& s = Find(evaluated, "du1m", "L2");
        EXPECT_EQ(s.count, 20);
        EXPECT_EQ(s.limit95, Number());
        EXPECT_EQ(s.limit100, 10.0);
        EXPECT_EQ(s.beyond95, 0);
        EXPECT_EQ(s.share95, Number());
        EXPECT_EQ(s.value95, Number());
        EXPECT_EQ(s.beyond100, c.beyond100);
        EXPECT_EQ(s.verdict, c.verdict);
        EXPECT_EQ(evaluated.VerdictFor(Quantity::VoltageDeviation), c.verdict);
    }
}

// Orders 3 and 9 take the table's limits as they are (the day pages' halving
// is no part of this standard), with 1,5 times them for 100 %, as decimals
// (1,5 × 0,4 is 0,6, not 0,6000000000000001).
TEST(WeekValues, OrdersThreeAndNineTakeTheirLimitsUnhalved)
{
    const struct {
        int voltageClass;
        const char* column;
        double limit95, limit100;
        double value;  // above half the limit, within it
    } cases[] = {
        {0, "H3", 5.0, 7.5, 4.0},  {0, "H9", 1.5, 2.25, 1.5}, {1, "H3", 3.0, 4.5, 2.0},
        {1, "H9", 1.0, 1.5, 0.9},  {3, "H3", 1.5, 2.25, 1.2}, {3, "H9", 0.4, 0.6, 0.4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " in class " + std::to_string(c.voltageClass));
        WeekValues week(kBegin, 7, Gost32144(), c.voltageClass);
        ReadDay(week, "harm_u_L2_3s", 6, Intervals(c.column, 3, std::vector<double>(3, c.value)));
        const WeekEvaluation evaluated = week.Evaluate();
        for (const char* table : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"}) {
            const WeekSeries& s = Find(evaluated, table, c.column);
            EXPECT_EQ(s.limit95, c.limit95) << table;
            EXPECT_EQ(s.limit100, c.limit100) << table;
        }
        const WeekSeries& s = Find(evaluated, "harm_u_L2_3s", c.column);
        EXPECT_EQ(s.count, 3);
        EXPECT_EQ(s.beyond95, 0);
        EXPECT_EQ(s.verdict, Verdict::Complies);
        // The one series with values decides: the others have none.
        EXPECT_EQ(evaluated.VerdictFor(Quantity::HarmonicCoefficients), Verdict::Complies);
    }
}

// A quantity fails when any of its series fails, has no data when none has a
// value, and complies otherwise.
TEST(WeekValues, AQuantityFailsWithAnyOfItsSeries)
{
    WeekValues week(kBegin, 7, Gost32144(), 0);
    // du1m.L1 within ±10 %, the single-phase series beyond it.
    ReadDay(week, "du1m", 0, Intervals("L1", 60, {1, 2}));
    ReadDay(week, "u1unbalance1m", 0, Intervals("Value", 60, {1, 11}));
    // One harmonic order of one phase, within its limit.
    ReadDay(week, "harm_u_L3_3s", 0, Intervals("H5", 3, {1}));
    // Of the distortion, L2 fails: 2 intervals, one beyond 8 % (50 %).
    ReadDay(week, "uthd3s", 0, Intervals("L2", 3, {1, 9}));
    const WeekEvaluation evaluated = week.Evaluate();
    EXPECT_TRUE(evaluated.completeWeek);
    EXPECT_EQ(Find(evaluated, "du1m", "L1").verdict, Verdict::Complies);
    EXPECT_EQ(Find(evaluated, "du1m", "L2").verdict, Verdict::NoData);
    EXPECT_EQ(Find(evaluated, "u1unbalance1m", "Value").verdict, Verdict::DoesNotComply);
    EXPECT_EQ(Find(evaluated, "harm_u_L1_3s", "H5").verdict, Verdict::NoData);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::VoltageDeviation), Verdict::DoesNotComply);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::HarmonicCoefficients), Verdict::Complies);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::HarmonicDistortion), Verdict::DoesNotComply);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::FrequencyDeviation), Verdict::NoData);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::NegativeSequenceUnbalance), Verdict::NoData);
    EXPECT_EQ(evaluated.VerdictFor(Quantity::ZeroSequenceUnbalance), Verdict::NoData);
    // A series without values has no figures.
    const WeekSeries& empty = Find(evaluated, "u2unbalance3s", "Value");
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.beyond95, 0);
    EXPECT_EQ(empty.beyond100, 0);
    EXPECT_EQ(empty.share95, Number());
    EXPECT_EQ(empty.minimum, Number());
    EXPECT_EQ(empty.maximum, Number());
    EXPECT_EQ(empty.value95, Number());
}

// A period of fewer than 7 days computes every figure and gives no verdict:
// every series and quantity is not evaluated, also one without values.
TEST(WeekValues, AShorterPeriodHasItsFiguresAndNoVerdicts)
{
    const auto feed = [](WeekValues& week) {
        // K2U: 20 intervals, two at 3 % (10 %); sorted 1 ×18, 3, 3: the 19th is 3.
        ReadDay(week, "u2unbalance3s", 1, Intervals("Value", 3, Then(18, 1, 2, 3)));
        // δU: one interval of 5 values at -10,5 %.
        ReadDay(week, "du1m", 5, {{"L1", 0, 60, {-10.5, -10.5, -10.5, -10.5, -10.5}}});
        ReadDay(week, "ac20sdfreq", 2, {{"Value", 0, 20, {0.1, 0.3}}});
    };
    WeekValues six(kBegin, 6, Gost32144(), 0), seven(kBegin, 7, Gost32144(), 0);
    feed(six);
    feed(seven);
    const WeekEvaluation shorter = six.Evaluate(), week = seven.Evaluate();
    EXPECT_FALSE(shorter.completeWeek);
    EXPECT_TRUE(week.completeWeek);
    EXPECT_EQ(shorter.days, 6);
    EXPECT_EQ(shorter.end.Format("%d.%m.%Y %H:%M"), "07.03.2011 00:00");
    for (size_t q = 0; q < shorter.verdicts.size(); ++q)
        EXPECT_EQ(shorter.verdicts[q], Verdict::NotEvaluated) << q;
    ASSERT_EQ(shorter.series.size(), week.series.size());
    for (const WeekSeries& s : shorter.series)
        EXPECT_EQ(s.verdict, Verdict::NotEvaluated) << s.table() << "." << s.column;

    const WeekSeries& k2 = Find(shorter, "u2unbalance3s", "Value");
    EXPECT_EQ(k2.count, 20);
    EXPECT_EQ(k2.expected, 6 * 144);
    EXPECT_EQ(k2.beyond95, 2);
    EXPECT_EQ(k2.share95, 10.0);
    EXPECT_EQ(k2.minimum, 1.0);
    EXPECT_EQ(k2.maximum, 3.0);
    EXPECT_EQ(k2.value95, 3.0);
    const WeekSeries& du = Find(shorter, "du1m", "L1");
    EXPECT_EQ(du.count, 1);
    EXPECT_EQ(du.beyond100, 1);
    EXPECT_EQ(du.minimum, -10.5);
    const WeekSeries& f = Find(shorter, "ac20sdfreq", "Value");
    EXPECT_EQ(f.count, 2);
    EXPECT_EQ(f.expected, 6 * 4320);
    EXPECT_EQ(f.beyond95, 1);
    EXPECT_EQ(f.share95, 50.0);

    // The week of the same values judges them.
    EXPECT_EQ(Find(week, "u2unbalance3s", "Value").verdict, Verdict::DoesNotComply);
    EXPECT_EQ(Find(week, "du1m", "L1").verdict, Verdict::DoesNotComply);
    EXPECT_EQ(Find(week, "u0unbalance3s", "Value").verdict, Verdict::NoData);
    EXPECT_EQ(week.VerdictFor(Quantity::HarmonicDistortion), Verdict::NoData);
}

// ---- what is taken -----------------------------------------------------------------------

// A read gives its columns by name, in any order and with columns the
// evaluation does not take; a read that lacks one of the table's columns is
// not taken, so that the table's day is read whole later; a day taken is not
// taken again, nor a table the evaluation does not read, nor a day outside
// the period.
TEST(WeekValues, EachTablesDayIsTakenOnceAndWhole)
{
    WeekValues week(kBegin, 7, Gost32144(), 0);
    EXPECT_FALSE(week.SinkFor("du1m", {"L1", "L2"}, 0));
    EXPECT_TRUE(week.Wants("du1m", 0));
    const std::optional<RowSink> sink = week.SinkFor("du1m", {"L3", "L1", "L2"}, 0);
    ASSERT_TRUE(sink);
    EXPECT_FALSE(week.Wants("du1m", 0));
    EXPECT_FALSE(week.SinkFor("du1m", {"L1", "L2", "L3"}, 0));
    EXPECT_TRUE(week.Wants("du1m", 1));
    for (long t = 0; t < 300; t += 60)
        (*sink)(t, {3, 1, 2});

    // Harmonic orders 2..50 as the logger stores them: 41..50 are passed over.
    std::vector<std::string> orders;
    std::vector<double> row;
    for (int n = 2; n <= 50; ++n) {
        orders.push_back("H" + std::to_string(n));
        row.push_back(n);
    }
    const std::optional<RowSink> harmonics = week.SinkFor("harm_u_L1_3s", orders, 0);
    ASSERT_TRUE(harmonics);
    for (long t = 0; t < 300; t += 3)
        (*harmonics)(t, row);

    EXPECT_FALSE(week.SinkFor("Base", {"Value"}, 0));
    EXPECT_FALSE(week.Wants("Base", 0));
    EXPECT_FALSE(week.SinkFor("u2unbalance3s", {"Value"}, 7));
    EXPECT_FALSE(week.SinkFor("u2unbalance3s", {"Value"}, -1));

    const WeekEvaluation evaluated = week.Evaluate();
    EXPECT_EQ(Find(evaluated, "du1m", "L1").maximum, 1.0);
    EXPECT_EQ(Find(evaluated, "du1m", "L2").maximum, 2.0);
    EXPECT_EQ(Find(evaluated, "du1m", "L3").maximum, 3.0);
    for (int n : {2, 3, 9, 40}) {
        const WeekSeries& s = Find(evaluated, "harm_u_L1_3s", "H" + std::to_string(n));
        EXPECT_EQ(s.count, 1) << n;
        EXPECT_EQ(s.maximum, static_cast<double>(n)) << n;
    }
    EXPECT_THROW(Find(evaluated, "harm_u_L1_3s", "H41"), std::out_of_range);
}

}  // namespace
