// Unbalance and frequency deviation on small measurement databases.
#include <gtest/gtest.h>

#include "stats/unbalance_frequency.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(UnbalanceStatistic, FourSlotsAgainst2And4Percent)
{
    const StatisticCase cases[] = {
        {"1440 of 28800 above 2", Repeat(27360, 1.0, Repeat(1440, 3.0)), {"1,00", "3,00", "5,00", "0,00"}, true, false},
        {"1441 of 28800 above 2", Repeat(27359, 1.0, Repeat(1441, 3.0)), {"3,00", "3,00", "5,00", "0,00"}, false, false},
        {"values on the limits", Repeat(28798, 1.0, {2.0, 4.0}), {"1,00", "4,00", "0,00", "0,00"}, true, false},
        {"one value above 4", Repeat(28799, 1.0, {4.01}), {"1,00", "4,01", "0,00", "0,00"}, false, false},
        {"28699 values", Repeat(28699, 0.5), {"0,50", "0,50", "0,00", "0,00"}, true, true},
    };
    CheckStatisticCases(cases, "u2unbalance3s", "Value", 3, "Kx, single u2unbalance3s", [](const DayContext& day, bool& flag) {
        return ClearingFlag(UnbalanceStatistic(day, SeriesOf("u2unbalance3s")), flag);
    });
}

TEST(FrequencyDeviationStatistic, TwoSidedAgainst02And04Hertz)
{
    // Positions 108 and 4212 of a full day carry the only values that show.
    std::vector<double> fullDay = Repeat(107, -0.15, {-0.11});
    fullDay.resize(4211, 0.0);
    fullDay.push_back(0.13);
    fullDay.resize(4320, 0.19);
    const StatisticCase cases[] = {
        {"a full day within +-0.2", fullDay,
         {"-0,11", "0,13", "-0,15", "0,19", "0,00", "0,00", "0,00", "0,00"}, true, false},
        // -0.4 and 0.4 lie beyond the normal limits but on the maximum ones.
        {"values on the limits", Repeat(4316, 0.0, {-0.4, -0.2, 0.2, 0.4}),
         {"0,00", "0,00", "-0,40", "0,40", "0,02", "0,02", "0,00", "0,00"}, true, false},
        {"-0.21 counts below -0.2", Repeat(4319, 0.0, {-0.21}),
         {"0,00", "0,00", "-0,21", "0,00", "0,02", "0,00", "0,00", "0,00"}, true, false},
        {"-0.41 counts below -0.2 and -0.4", Repeat(4319, 0.0, {-0.41}),
         {"0,00", "0,00", "-0,41", "0,00", "0,02", "0,00", "0,02", "0,00"}, false, false},
        {"4305 values are enough", Repeat(4305, 0.01), TextList{"0,01", "0,01", "0,01", "0,01", "0,00", "0,00", "0,00", "0,00"}, true, false},
        {"4304 values are not", Repeat(4304, 0.01), TextList{"0,01", "0,01", "0,01", "0,01", "0,00", "0,00", "0,00", "0,00"}, true, true},
    };
    CheckStatisticCases(cases, "ac20sdfreq", "Value", 20, "AC, single ac20sdfreq", [](const DayContext& day, bool& flag) {
        return ClearingFlag(FrequencyDeviationStatistic(day, SeriesOf("ac20sdfreq")), flag);
    });
}

}  // namespace
