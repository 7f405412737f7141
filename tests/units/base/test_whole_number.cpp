// The whole-number rule of the settings.
#include <cstdint>

#include <gtest/gtest.h>

#include "base/whole_number.h"

using namespace pq;

namespace {

TEST(WholeNumber, FollowsTheDecimalConversionRules)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"2", 2}, {" 2", 2}, {"2x", 2}, {"x2", 0}, {"", 0}, {"-7", -7}, {"+3", 3},
                 {"0x10", 0}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeNumber(c.text), c.value) << c.text;
}

}  // namespace
