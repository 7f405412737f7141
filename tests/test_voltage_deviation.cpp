// The two-sided evaluation and the voltage-deviation statistics on small
// measurement databases.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "stats/ordered_sample.h"
#include "stats/voltage_deviation.h"

namespace {

TEST(Window95Positions, WorkedExamples)
{
    const struct {
        int N, A, B, P1, P2;
    } rows[] = {
        {1440, 0, 0, 36, 1404},   {1439, 0, 0, 35, 1402},   {100, 0, 0, 2, 97},
        {40, 0, 0, 1, 39},        {39, 0, 0, 0, 37},        {1, 0, 0, 0, 0},
        {1440, 10, 20, 41, 1409}, {1440, 3, 0, 34, 1402},   {1440, 0, 3, 37, 1405},
        {1440, 72, 0, 0, 1368},   {1440, 0, 72, 72, 1440},  {1440, 100, 0, 72, 1440},
        {1440, 0, 100, 1, 1368},  {1440, 50, 50, 36, 1404}, {1440, 1440, 0, 36, 1404},
        {1440, 20, 10, 31, 1399},
    };
    for (const auto& r : rows) {
        const Positions p = Window95Positions(r.N, r.A, r.B);
        EXPECT_EQ(p.P1, r.P1) << r.N << " " << r.A << " " << r.B;
        EXPECT_EQ(p.P2, r.P2) << r.N << " " << r.A << " " << r.B;
    }
}

TextList WholeDay(FixtureDb& f, bool& flag, int phase = 0)
{
    return VoltageDeviationStatistic(TestDay(f), LoadRegime::WholeDay, "du1m", PhaseColumn(phase), flag);
}

// 1440 one-minute values from midnight.
std::vector<double> Minutes(std::vector<double> values)
{
    values.resize(1440, values.empty() ? 0.0 : values.back());
    return values;
}

std::vector<double> Concat(std::vector<double> a, const std::vector<double>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(VoltageDeviation, WholeDaySamples)
{
    const std::vector<double> base = Ramp(-1.0, 0.002, 1368);  // -1.000 .. 1.734
    const struct {
        const char* name;
        std::vector<double> values;
        TextList slots;
        bool flagKept;
    } cases[] = {
        {"all within the normal limits", Ramp(-3.0, 0.004, 1440),
         {"-2,86", "2,61", "-3,00", "2,76", "0,00", "0,00", "0,00", "0,00"}, true},
        {"72 above +5: the window moves up", Concat(base, Ramp(6.0, 0.01, 72)),
         {"-0,86", "6,71", "-1,00", "6,71", "0,00", "5,00", "0,00", "0,00"}, true},
        {"73 above +5 exceed 5 %", Concat(Ramp(-1.0, 0.002, 1367), Ramp(6.0, 0.01, 73)),
         {"-1,00", "6,00", "-1,00", "6,72", "0,00", "5,07", "0,00", "0,00"}, false},
        // Position 0 reads the first row rather than showing 0,00.
        {"72 below -5: the window moves down", Concat(Ramp(-6.71, 0.01, 72), base),
         {"-6,71", "1,59", "-6,71", "1,73", "5,00", "0,00", "0,00", "0,00"}, true},
        // Read with a decimal point whatever the locale: -5.7 lies below -5.
        {"73 values of -5.7", Concat(std::vector<double>(73, -5.7), std::vector<double>(1367, 0.5)),
         {"-5,70", "0,50", "-5,70", "0,50", "5,07", "0,00", "0,00", "0,00"}, false},
        {"values on the limits lie inside them", Minutes({-10.0, -5.0, 5.0, 10.0, 0.0}),
         {"0,00", "0,00", "-10,00", "10,00", "0,07", "0,07", "0,00", "0,00"}, true},
        {"one value beyond +10", Minutes({-10.0, -5.0, 5.0, 10.01, 0.0}),
         {"0,00", "0,00", "-10,00", "10,01", "0,07", "0,07", "0,00", "0,07"}, false},
        {"many decimals", Minutes({1.23456789, 1.23456789}),
         {"1,23", "1,23", "1,23", "1,23", "0,00", "0,00", "0,00", "0,00"}, true},
    };
    for (const auto& c : cases) {
        FixtureDb f;
        f.PutSeries("du1m", "L1", At(1), 60, c.values);
        bool flag = true;
        EXPECT_EQ(WholeDay(f, flag), c.slots) << c.name;
        EXPECT_EQ(flag, c.flagKept) << c.name;
    }
}

TEST(VoltageDeviation, ClearsButNeverSetsTheFlag)
{
    FixtureDb f;
    f.PutSeries("du1m", "L1", At(1), 60, Ramp(-3.0, 0.004, 1440));
    bool flag = false;
    WholeDay(f, flag);
    EXPECT_FALSE(flag);
}

TEST(VoltageDeviation, WindowBoundsNullsAndInstantsWithoutValues)
{
    FixtureDb f;
    f.Put("du1m", "L1", At(1), 1.0);              // the lower bound belongs to the day
    f.Put("du1m", "L1", At(1, 23, 59), 2.0);
    f.Put("du1m", "L1", At(2), 9.0);              // the upper bound does not
    f.Put("du1m", "L1", At(1) - wxTimeSpan::Minute(), -9.0);
    f.Put("du1m", "L1", At(1, 12), std::nullopt);  // NULL is not a value
    f.Put("du1m", "L2", At(1, 12, 1), 3.0);        // a row without an L1 value
    f.Instant(At(1, 13));                          // an instant without a row
    LogCapture log;
    bool flag = true;
    EXPECT_EQ(WholeDay(f, flag), (TextList{"1,00", "1,00", "1,00", "2,00", "0,00", "0,00", "0,00", "0,00"}));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(log.Has("Input is incomplete!\n"));
}

TEST(VoltageDeviation, IncompletenessThresholdOfTheWholeDay)
{
    for (int n : {1434, 1435}) {
        FixtureDb f;
        f.PutSeries("du1m", "L1", At(1), 60, std::vector<double>(static_cast<size_t>(n), 0.5));
        LogCapture log;
        bool flag = true;
        WholeDay(f, flag);
        EXPECT_EQ(log.Count("Input is incomplete!\n"), n == 1434 ? 1 : 0) << n;
    }
}

TEST(VoltageDeviation, EmptyWindowShowsZerosAndComplies)
{
    FixtureDb f;
    LogCapture log;
    bool flag = true;
    EXPECT_EQ(WholeDay(f, flag), TextList(8, "0,00"));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(log.Has("Input is incomplete!\n"));
}

TEST(VoltageDeviation, RegimesSplitTheDayAtTheMaxLoadPeriod)
{
    // -2 during 08:00..20:00, +3 outside it.
    std::vector<double> values(1440, 3.0);
    for (int m = 8 * 60; m < 20 * 60; ++m)
        values[static_cast<size_t>(m)] = -2.0;
    FixtureDb f;
    f.PutSeries("du1m", "L3", At(1), 60, values);
    LogCapture log;
    bool flag = true;
    const TextList max = VoltageDeviationStatistic(TestDay(f), LoadRegime::MaxLoad, "du1m", "L3", flag);
    const TextList min = VoltageDeviationStatistic(TestDay(f), LoadRegime::MinLoad, "du1m", "L3", flag);
    EXPECT_EQ(max[2], "-2,00");
    EXPECT_EQ(max[3], "-2,00");
    EXPECT_EQ(min[2], "3,00");
    EXPECT_EQ(min[3], "3,00");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Max power regim du1m L3", "Min power regim du1m L3"}));
}

TEST(VoltageDeviation, MaxLoadPeriodOutsideTheDayIsIncomplete)
{
    FixtureDb f;
    f.PutSeries("du1m", "L1", At(1), 60, std::vector<double>(1440, 0.5));
    const DateTimeList begins{At(3, 8)}, ends{At(3, 9)};
    LogCapture log;
    bool flag = true;
    const TextList r = VoltageDeviationStatistic(TestDay(f, begins, ends), LoadRegime::MaxLoad, "du1m", "L1", flag);
    EXPECT_EQ(r, TextList(8, "0,00"));
    EXPECT_TRUE(log.Has("Input is incomplete!\n"));
    EXPECT_EQ(MaxLoadMinutes(begins, ends), 60);
}

TEST(VoltageDeviation, SingleSeriesMatchesThePhaseForm)
{
    std::vector<double> values = Ramp(-7.5, 0.011, 1440);
    FixtureDb f;
    f.PutSeries("du1m", "L2", At(1), 60, values);
    f.PutSeries("u1unbalance1m", "Value", At(1), 60, values);
    const struct {
        LoadRegime regime;
        const char* line;
    } regimes[] = {
        {LoadRegime::MaxLoad, "Max power regim, single u1unbalance1m"},
        {LoadRegime::MinLoad, "Min power regim, single u1unbalance1m"},
        {LoadRegime::WholeDay, "Whole day regim, single u1unbalance1m"},
    };
    for (const auto& r : regimes) {
        bool phaseFlag = true, singleFlag = true;
        LogCapture log;
        const TextList a = VoltageDeviationStatistic(TestDay(f), r.regime, "du1m", "L2", phaseFlag);
        const TextList b = VoltageDeviationStatistic(TestDay(f), r.regime, "u1unbalance1m", ValueColumn, singleFlag);
        EXPECT_EQ(a, b) << r.line;
        EXPECT_EQ(phaseFlag, singleFlag) << r.line;
        EXPECT_TRUE(log.Has(r.line));
    }
}

}  // namespace
