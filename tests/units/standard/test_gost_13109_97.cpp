// The limit tables of GOST 13109-97: total harmonic distortion by voltage
// class, harmonic coefficients by class and order.
#include <gtest/gtest.h>

#include "base/number_text.h"
#include "standard/gost_13109_97.h"

using namespace pq;

namespace {

TEST(ThdStatistic, LimitsByVoltageClass)
{
    const struct {
        int voltageClass;
        double normal, maximum;
    } cases[] = {{0, 8.0, 12.0}, {1, 5.0, 8.0}, {2, 4.0, 6.0}, {3, 2.0, 3.0}, {7, 2.0, 3.0}, {-1, 2.0, 3.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ThdLimits(c.voltageClass).normal, c.normal) << c.voltageClass;
        EXPECT_EQ(ThdLimits(c.voltageClass).maximum, c.maximum) << c.voltageClass;
    }
}

TEST(HarmonicLimit, TableByClassAndOrder)
{
    const struct {
        int voltageClass, order;
        double normal;
    } cases[] = {
        {0, 2, 2.0},   {1, 2, 1.5},   {2, 2, 1.0},   {3, 2, 0.5},   {0, 3, 2.5},  {1, 3, 1.5},
        {3, 3, 0.75},  {0, 9, 0.75},  {3, 9, 0.2},   {0, 5, 6.0},   {1, 5, 4.0},  {2, 7, 2.5},
        {0, 6, 0.5},   {1, 10, 0.3},  {3, 8, 0.2},   {0, 11, 3.5},  {3, 13, 0.7}, {0, 15, 0.3},
        {3, 15, 0.2},  {1, 17, 1.5},  {0, 19, 1.5},  {3, 25, 0.4},  {2, 23, 1.0},
        {0, 29, 0.2 + 32.5 / 29},     {1, 31, 0.2 + 20.0 / 31},     {2, 49, 0.2 + 15.0 / 49},
        {3, 29, 0.2 + 10.0 / 29},     {7, 29, 0.2 + 10.0 / 29},     {-1, 5, 1.5},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(*HarmonicLimit(c.voltageClass, c.order), c.normal) << c.voltageClass << " " << c.order;
    for (int cls : {0, 1, 2, 3})
        for (int n : {12, 14, 20, 21, 27, 33, 39, 40, 50})
            EXPECT_DOUBLE_EQ(*HarmonicLimit(cls, n), 0.2) << cls << " " << n;
    EXPECT_FALSE(HarmonicLimit(0, 1));
    EXPECT_FALSE(HarmonicLimit(0, 51));
    EXPECT_EQ(FormatNumber("%04.2f", *HarmonicLimit(3, 29)), "0,54");
    EXPECT_EQ(FormatNumber("%04.2f", 1.5 * *HarmonicLimit(3, 29)), "0,82");
}

}  // namespace
