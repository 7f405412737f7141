// Total harmonic distortion and the harmonic coefficients on small
// measurement databases.
#include <gtest/gtest.h>

#include "stats/harmonics.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(ThdStatistic, OneSidedEvaluationOfAPhase)
{
    const StatisticCase cases[] = {
        {"1440 of 28800 above the normal limit", Repeat(27360, 2.0, Repeat(1440, 9.0)),
         {"2,00", "9,00", "5,00", "0,00", "8,00", "12,00"}, true, false},
        {"1441 of 28800 above the normal limit", Repeat(27359, 2.0, Repeat(1441, 9.0)),
         {"9,00", "9,00", "5,00", "0,00", "8,00", "12,00"}, false, false},
        {"values on the limits", Repeat(28798, 1.0, {8.0, 12.0}),
         {"1,00", "12,00", "0,00", "0,00", "8,00", "12,00"}, true, false},
        {"one value above the maximum limit", Repeat(28799, 1.0, {12.5}),
         {"1,00", "12,50", "0,00", "0,00", "8,00", "12,00"}, false, false},
        {"28700 values are enough", Repeat(28700, 1.0), {"1,00", "1,00", "0,00", "0,00", "8,00", "12,00"}, true, false},
        {"28699 values are not", Repeat(28699, 1.0), {"1,00", "1,00", "0,00", "0,00", "8,00", "12,00"}, true, true},
        {"N = 20 reads position 19", Ramp(1.0, 0.1, 20), {"2,80", "2,90", "0,00", "0,00", "8,00", "12,00"}, true, true},
        {"N = 1 reads its only value", {3.3}, {"3,30", "3,30", "0,00", "0,00", "8,00", "12,00"}, true, true},
        {"no values: the limits still show", {}, {"0,00", "0,00", "0,00", "0,00", "8,00", "12,00"}, true, true},
    };
    CheckStatisticCases(cases, "uthd3s", "L2", 3, "Uthd uthd3s L2", [](const DayContext& day, bool& flag) {
        return ClearingFlag(ThdStatistic(day, SeriesOf("uthd3s"), 1), flag);
    });
}

TEST(ThdStatistic, PhasesShareOneFlag)
{
    FixtureDb f;
    f.PutSeries("uthd3s", "L1", At(1), 3, Repeat(28800, 13.0));
    f.PutSeries("uthd3s", "L2", At(1), 3, Repeat(28800, 1.0));
    bool flag = true;
    ClearingFlag(ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 0), flag);
    ClearingFlag(ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 1), flag);
    EXPECT_FALSE(flag);
}

TEST(HarmonicStatistic, RecordLayoutAndLimitSlots)
{
    FixtureDb f;
    std::vector<double> h5 = Repeat(28799, 1.0, {9.5});  // class 0: H5 limits 6 and 9
    f.PutSeries("harm_u_L1_3s", "H5", At(1), 3, h5);
    LogCapture log;
    bool flag = true;
    const TextList r = ClearingFlag(HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L1_3s"), 40), flag);
    ASSERT_EQ(r.size(), 234u);
    EXPECT_EQ(TextList(r.begin(), r.begin() + 6), (TextList{"0,00", "0,00", "0,00", "0,00", "2,00", "3,00"}));
    EXPECT_EQ(TextList(r.begin() + 6, r.begin() + 12), (TextList{"0,00", "0,00", "0,00", "0,00", "2,50", "3,75"}));
    EXPECT_EQ(TextList(r.begin() + 18, r.begin() + 24), (TextList{"1,00", "9,50", "0,00", "0,00", "6,00", "9,00"}));
    EXPECT_EQ(TextList(r.begin() + 228, r.end()), (TextList{"0,00", "0,00", "0,00", "0,00", "0,20", "0,30"}));
    EXPECT_FALSE(flag);
    EXPECT_EQ(log.lines.front(), "HarmL harm_u_L1_3s");
    EXPECT_EQ(log.Count("Input is incomplete!\n"), 38);  // every order but H5 is empty
}

TEST(HarmonicStatistic, HighestOrderBelow2AndAbove50)
{
    FixtureDb f;
    bool flag = true;
    MeasuredSeries missing = SeriesOf("harm_u_L1_3s");
    missing.table = "no_such_table";
    EXPECT_TRUE(ClearingFlag(HarmonicStatistic(TestDay(f), missing, 1), flag).empty());
    const TextList r = ClearingFlag(HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L2_3s"), 52), flag);
    ASSERT_EQ(r.size(), 6u * 51);
    EXPECT_EQ(TextList(r.begin() + 6 * 48, r.begin() + 6 * 49),
              (TextList{"0,00", "0,00", "0,00", "0,00", "0,20", "0,30"}));  // order 50
    EXPECT_EQ(TextList(r.begin() + 6 * 49, r.end()), TextList(12, "0,00"));  // orders 51, 52
    EXPECT_TRUE(flag);
}

TEST(NotFinite, HarmonicsWarnPerOrderAndSumTheirCounts)
{
    FixtureDb f;
    f.PutSeries("harm_u_L2_3s", "H2", At(1), 60, Repeat(1440, 0.5));
    f.PutSeries("harm_u_L2_3s", "H40", At(1), 60, Repeat(1440, 0.1));
    SetLiteral(f, "harm_u_L2_3s", "H2", At(1, 3), At(1, 3, 2), "'nan'");
    SetLiteral(f, "harm_u_L2_3s", "H40", At(1, 3), At(1, 3, 1), "1e999");
    LogCapture log;
    const StatisticResult r = HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L2_3s"), 40);
    const TextList texts = RecordTexts(r);
    EXPECT_EQ(TextList(texts.begin(), texts.begin() + 2), (TextList{"0,50", "0,50"}));
    EXPECT_EQ(TextList(texts.end() - 6, texts.end() - 4), (TextList{"0,10", "0,10"}));
    EXPECT_TRUE(r.complies);  // the infinity no longer lies beyond H40's limits
    EXPECT_EQ(r.counts.values, 2 * 1440);
    EXPECT_EQ(r.counts.notFinite, 3);
    EXPECT_EQ(Lines(log), (std::vector<std::string>{
                              "HarmL harm_u_L2_3s",
                              StoredAsText("harm_u_L2_3s.H2", 2),
                              "harm_u_L2_3s.H2: 2 values are not finite numbers and count as 0.",
                              "harm_u_L2_3s.H40: 1 value is not a finite number and counts as 0.",
                          }));
}

}  // namespace
