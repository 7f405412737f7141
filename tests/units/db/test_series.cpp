// The time stamps the charts' time-ordered reads turn into seconds.
#include <gtest/gtest.h>

#include "db/series.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(SeriesStamps, SecondsAfterTheDayStartByTheClock)
{
    const wxDateTime from = At(1, 8);  // 1 March 2011, 08:00
    const struct {
        const char* stamp;
        long seconds;
    } cases[] = {
        {"2011-03-01 08:00:00", 0},     {"2011-03-01 08:00:03", 3},   {"2011-03-01 23:59:59", 57599},
        {"2011-03-02 00:00:00", 57600}, {"2011-03-02 07:59:57", 86397}, {"2011-03-01 07:59:59", -1},
        {"2011-3-01 08:00:00", -1},     {"garbage", -1},              {"", -1},
    };
    for (const auto& c : cases) {
        const long s = SecondsAfter(from, c.stamp);
        EXPECT_EQ(s < 0 ? -1 : s, c.seconds) << c.stamp;
    }
    EXPECT_EQ(SecondsAfter(At(31, 0), "2011-04-01 00:00:00"), 86400);  // across a month
}

}  // namespace
