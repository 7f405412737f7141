// The database source reading what SQLite stores: values that are no finite
// numbers, stored as text, as a BLOB or as a REAL infinity, each read as 0 and
// warned of once per statistic; and a database of numbers, warned of never.
#include <gtest/gtest.h>

#include "stats/extremes.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(NotFinite, OneSidedStatisticsCountThemAs0)
{
    for (const auto& c : kNotFinite) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.PutSeries("uthd3s", "L3", At(1), 3, Repeat(28800, 1.5));
        f.PutSeries("u0unbalance3s", "Value", At(1), 3, Repeat(28800, 1.5));
        SetLiteral(f, "uthd3s", "L3", At(1, 12), At(1, 12, 0, 6), c.literal);          // 2 values
        SetLiteral(f, "u0unbalance3s", "Value", At(1, 12), At(1, 12, 0, 3), c.literal);  // 1 value
        LogCapture log;
        const StatisticResult thd = ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 2);
        const StatisticResult u0 = UnbalanceStatistic(TestDay(f), SeriesOf("u0unbalance3s"));
        EXPECT_EQ(RecordTexts(thd), (TextList{"1,50", "1,50", "0,00", "0,00", "8,00", "12,00"}));
        EXPECT_EQ(RecordTexts(u0), (TextList{"1,50", "1,50", "0,00", "0,00"}));
        EXPECT_TRUE(thd.complies);
        EXPECT_TRUE(u0.complies);
        EXPECT_EQ(thd.counts.values, 28800);
        EXPECT_EQ(thd.counts.notFinite, 2);
        EXPECT_EQ(u0.counts.notFinite, 1);
        std::vector<std::string> lines{"Uthd uthd3s L3"};
        if (c.storedAsText)
            lines.push_back(StoredAsText("uthd3s.L3", 2));
        lines.push_back("uthd3s.L3: 2 values are not finite numbers and count as 0.");
        lines.push_back("Kx, single u0unbalance3s");
        if (c.storedAsText)
            lines.push_back(StoredAsText("u0unbalance3s.Value", 1));
        lines.push_back("u0unbalance3s.Value: 1 value is not a finite number and counts as 0.");
        EXPECT_EQ(log.lines, lines);
    }
}

TEST(NotFinite, FrequencyDeviationCountsThemAs0)
{
    for (const auto& c : kNotFinite) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.PutSeries("ac20sdfreq", "Value", At(1), 20, Repeat(4320, 0.1));
        SetLiteral(f, "ac20sdfreq", "Value", At(1, 12), At(1, 12, 1), c.literal);  // 3 values
        LogCapture log;
        const StatisticResult r = FrequencyDeviationStatistic(TestDay(f), SeriesOf("ac20sdfreq"));
        EXPECT_EQ(RecordTexts(r), (TextList{"0,10", "0,10", "0,00", "0,10", "0,00", "0,00", "0,00", "0,00"}));
        EXPECT_TRUE(r.complies);
        EXPECT_EQ(r.counts.values, 4320);
        EXPECT_EQ(r.counts.notFinite, 3);
        std::vector<std::string> lines{"AC, single ac20sdfreq"};
        if (c.storedAsText)
            lines.push_back(StoredAsText("ac20sdfreq.Value", 3));
        lines.push_back("ac20sdfreq.Value: 3 values are not finite numbers and count as 0.");
        EXPECT_EQ(log.lines, lines);
    }
}

TEST(NotFinite, ADatabaseOfNumbersLogsNoWarning)
{
    FixtureDb f;
    f.PutSeries("uthd3s", "L1", At(1), 3, Ramp(0.0, 0.001, 28800));
    f.PutSeries("harm_u_L3_3s", "H7", At(1), 3, Ramp(0.0, 0.0001, 28800));
    f.PutSeries("ac20sdfreq", "Value", At(1), 20, Ramp(-0.3, 0.0001, 4320));
    LogCapture log;
    ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 0);
    HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L3_3s"), 40);
    FrequencyDeviationStatistic(TestDay(f), SeriesOf("ac20sdfreq"));
    FrequencyMinMax(f.source(), f.notes(), "ac20sdfreq", At(1), At(2));
    VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(2));
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"Uthd uthd3s L1", "HarmL harm_u_L3_3s", "AC, single ac20sdfreq",
                                                    "Fr, min max ac20sdfreq", "U min max du1m"}));
}

}  // namespace
