// The two-sided evaluation of an ordered sample: the 95 % positions.
#include <gtest/gtest.h>

#include "standard/gost_13109_97.h"
#include "stats/ordered_sample.h"

using namespace pq;

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
        const Positions p = Window95Positions(r.N, r.A, r.B, Gost13109().Rule());
        EXPECT_EQ(p.P1, r.P1) << r.N << " " << r.A << " " << r.B;
        EXPECT_EQ(p.P2, r.P2) << r.N << " " << r.A << " " << r.B;
    }
}

}  // namespace
