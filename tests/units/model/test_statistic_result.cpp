// Whether a statistic found values, from what the statistics count in their
// windows.
#include <gtest/gtest.h>

#include "model/statistic_result.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(StatisticResult, FoundValuesOnlyWithAValueInTheWindow)
{
    FixtureDb f;
    EXPECT_FALSE(ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 0).FoundValues());
    EXPECT_FALSE(UnbalanceStatistic(TestDay(f), SeriesOf("u2unbalance3s")).FoundValues());
    EXPECT_FALSE(FrequencyDeviationStatistic(TestDay(f), SeriesOf("ac20sdfreq")).FoundValues());
    EXPECT_FALSE(HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L1_3s"), 40).FoundValues());
    // A value on the next day is outside the window; NULL is no value.
    f.Put("uthd3s", "L1", At(2), 1.0);
    f.Put("uthd3s", "L1", At(1, 5), std::nullopt);
    EXPECT_FALSE(ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 0).FoundValues());
    // One order of a harmonic table is enough; a value that is no number is not.
    f.Put("harm_u_L1_3s", "H40", At(1, 5), 0.1);
    f.PutText("u2unbalance3s", "Value", At(1, 5), "nan");
    const StatisticResult h = HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L1_3s"), 40);
    EXPECT_TRUE(h.FoundValues());
    EXPECT_EQ(h.counts.values, 1);
    const StatisticResult u2 = UnbalanceStatistic(TestDay(f), SeriesOf("u2unbalance3s"));
    EXPECT_FALSE(u2.FoundValues());
    EXPECT_EQ(u2.counts.notFinite, 1);
}

}  // namespace
