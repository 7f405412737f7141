// The voltage-deviation statistics on small measurement databases, with
// values that are no finite numbers among them.
#include <gtest/gtest.h>

#include "stats/voltage_deviation.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TextList WholeDay(FixtureDb& f, bool& flag, int phase = 0)
{
    return ClearingFlag(VoltageDeviationStatistic(TestDay(f), LoadRegime::WholeDay, SeriesOf("du1m"), PhaseColumn(phase)), flag);
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
    const TextList max = ClearingFlag(VoltageDeviationStatistic(TestDay(f), LoadRegime::MaxLoad, SeriesOf("du1m"), "L3"), flag);
    const TextList min = ClearingFlag(VoltageDeviationStatistic(TestDay(f), LoadRegime::MinLoad, SeriesOf("du1m"), "L3"), flag);
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
    const TextList r = ClearingFlag(VoltageDeviationStatistic(TestDay(f, begins, ends), LoadRegime::MaxLoad, SeriesOf("du1m"), "L1"), flag);
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
        const TextList a = ClearingFlag(VoltageDeviationStatistic(TestDay(f), r.regime, SeriesOf("du1m"), "L2"), phaseFlag);
        const TextList b = ClearingFlag(VoltageDeviationStatistic(TestDay(f), r.regime, SeriesOf("u1unbalance1m"), ValueColumn), singleFlag);
        EXPECT_EQ(a, b) << r.line;
        EXPECT_EQ(phaseFlag, singleFlag) << r.line;
        EXPECT_TRUE(log.Has(r.line));
    }
}

// ---- values that are no finite numbers ----------------------------------------

std::string StorageClass(FixtureDb& f, const std::string& table, const std::string& column, const wxDateTime& at)
{
    return f->ExecuteQuery(wxString::Format("SELECT typeof(%s.%s) FROM %s JOIN Base USING(Base_id)"
                                            " WHERE DateTimeMQV='%s'",
                                            table, column, table, TimeStamp(at)))
        .GetAsString(0)
        .ToStdString();
}

TEST(VoltageDeviation, ValuesThatAreNoFiniteNumbersCountAs0WithOneWarning)
{
    // 1437 minutes of 1.0 and three of the literal (minutes 600..602).
    // Each value that is no finite number counts as 0: no slot shows "nan"
    // or "inf", none leaves the limits, and the sample is ordered by the
    // numbers as read, so such values are the smallest, whether SQLite keeps
    // them as text, as a BLOB or as a REAL infinity (which it orders at an
    // end of the sample).
    const TextList asZero{"1,00", "1,00", "0,00", "1,00", "0,00", "0,00", "0,00", "0,00"};
    const std::string warning = "du1m.L1: 3 values are not finite numbers and count as 0.";
    const struct {
        const char* literal;
        const char* storage;  // what SQLite makes of it in a REAL column
        TextList slots;
        std::string warning;  // empty: none
    } cases[] = {
        {"'nan'", "text", asZero, warning},
        {"'NaN'", "text", asZero, warning},
        {"'-inf'", "text", asZero, warning},
        {"'Inf'", "text", asZero, warning},
        {"'1e999'", "real", asZero, warning},  // converted to a REAL infinity
        {"1e999", "real", asZero, warning},
        {"-1e999", "real", asZero, warning},
        {"'abc'", "text", asZero, warning},
        {"''", "text", asZero, warning},
        {"x'00ff'", "blob", asZero, warning},
        // Numbers: with a decimal comma, and the leading part of a text.
        {"'0,1'", "text", {"1,00", "1,00", "0,10", "1,00", "0,00", "0,00", "0,00", "0,00"}, ""},
        {"'5abc'", "text", {"1,00", "1,00", "1,00", "5,00", "0,00", "0,00", "0,00", "0,00"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.PutSeries("du1m", "L1", At(1), 60, std::vector<double>(1440, 1.0));
        SetLiteral(f, "du1m", "L1", At(1, 10), At(1, 10, 3), c.literal);
        EXPECT_EQ(StorageClass(f, "du1m", "L1", At(1, 10, 1)), c.storage);
        LogCapture log;
        const StatisticResult r = VoltageDeviationStatistic(TestDay(f), LoadRegime::WholeDay, SeriesOf("du1m"), "L1");
        EXPECT_EQ(RecordTexts(r), c.slots);
        EXPECT_TRUE(r.complies);
        EXPECT_EQ(r.counts.values, 1440);
        EXPECT_EQ(r.counts.notFinite, c.warning.empty() ? 0 : 3);
        std::vector<std::string> expected{"Whole day regim du1m L1"};
        if (std::string(c.storage) != "real")
            expected.push_back("du1m.L1: 3 values are stored as text; the values are taken in the order of their "
                               "numbers.");
        if (!c.warning.empty())
            expected.push_back(c.warning);
        EXPECT_EQ(log.lines, expected);
    }
}

TEST(VoltageDeviation, OneWarningPerStatisticThatMeetsSuchValues)
{
    FixtureDb f;
    f.PutSeries("du1m", "L2", At(1), 60, std::vector<double>(1440, -1.0));
    SetLiteral(f, "du1m", "L2", At(1, 10), At(1, 10, 1), "'nan'");    // max-load
    SetLiteral(f, "du1m", "L2", At(1, 21), At(1, 21, 2), "'-inf'");   // min-load
    SetLiteral(f, "du1m", "L2", At(1, 22), At(1, 22, 1), "-1e999");
    LogCapture log;
    for (LoadRegime regime : {LoadRegime::MaxLoad, LoadRegime::MinLoad, LoadRegime::WholeDay})
        VoltageDeviationStatistic(TestDay(f), regime, SeriesOf("du1m"), "L2");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Max power regim du1m L2",
                             "du1m.L2: 1 value is stored as text; the values are taken in the order of their numbers.",
                             "du1m.L2: 1 value is not a finite number and counts as 0.",
                             "Min power regim du1m L2",
                             "du1m.L2: 2 values are stored as text; the values are taken in the order of their numbers.",
                             "du1m.L2: 3 values are not finite numbers and count as 0.",
                             "Whole day regim du1m L2",
                             "du1m.L2: 3 values are stored as text; the values are taken in the order of their numbers.",
                             "du1m.L2: 4 values are not finite numbers and count as 0.",
                         }));
}

TEST(VoltageDeviation, TextsThatAreNoNumbersTakeTheirPlaceAs0)
{
    // 100 texts among 1340 values of 2: counted as 0, they are the smallest
    // values, so the lower 95 % position (36) is one of them.
    FixtureDb f;
    f.PutSeries("u1unbalance1m", "Value", At(1), 60, std::vector<double>(1440, 2.0));
    SetLiteral(f, "u1unbalance1m", "Value", At(1, 1), At(1, 2, 40), "'nan'");
    LogCapture log;
    const StatisticResult r =
        VoltageDeviationStatistic(TestDay(f), LoadRegime::WholeDay, SeriesOf("u1unbalance1m"), ValueColumn);
    EXPECT_EQ(RecordTexts(r), (TextList{"0,00", "2,00", "0,00", "2,00", "0,00", "0,00", "0,00", "0,00"}));
    EXPECT_TRUE(r.complies);
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Whole day regim, single u1unbalance1m",
                             "u1unbalance1m.Value: 100 values are stored as text; the values are taken in the order "
                             "of their numbers.",
                             "u1unbalance1m.Value: 100 values are not finite numbers and count as 0.",
                         }));
}

TEST(VoltageDeviation, ResultCountsTheValuesOfItsWindow)
{
    FixtureDb f;
    f.PutSeries("du1m", "L1", At(1, 8), 60, std::vector<double>(60, 11.0));  // 08:00..08:59, beyond +10
    const struct {
        LoadRegime regime;
        int values;
        bool complies;
    } cases[] = {
        {LoadRegime::MaxLoad, 60, false}, {LoadRegime::MinLoad, 0, true}, {LoadRegime::WholeDay, 60, false}};
    for (const auto& c : cases) {
        const StatisticResult r = VoltageDeviationStatistic(TestDay(f), c.regime, SeriesOf("du1m"), "L1");
        EXPECT_EQ(r.counts.values, c.values) << static_cast<int>(c.regime);
        EXPECT_EQ(r.counts.notFinite, 0);
        EXPECT_EQ(r.FoundValues(), c.values > 0);
        EXPECT_EQ(r.complies, c.complies);
        // The flag form gives the same record and clears the flag as the result says.
        bool flag = true;
        EXPECT_EQ(ClearingFlag(VoltageDeviationStatistic(TestDay(f), c.regime, SeriesOf("du1m"), "L1"), flag), RecordTexts(r));
        EXPECT_EQ(flag, c.complies);
    }
}

}  // namespace
