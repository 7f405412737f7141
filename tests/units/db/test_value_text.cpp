// Value texts read as numbers.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "db/value_text.h"

using namespace pq;

namespace {

TEST(ReadValue, FiniteNumbersAndTheRest)
{
    const std::string longZeros(70, '0');
    const struct {
        std::string text;
        double value;
        bool finite;
    } cases[] = {
        {"1.5", 1.5, true},
        {"-0,25", -0.25, true},  // a decimal comma reads as the point
        {" 7", 7.0, true},
        {"0", 0.0, true},
        {"5abc", 5.0, true},  // the leading numeric part
        {"1e-999", 0.0, true},  // too small to hold: 0, but a number
        {longZeros + "1,5", 1.5, true},  // longer than the conversion buffer
        {"", 0.0, false},
        {"abc", 0.0, false},
        {"-", 0.0, false},
        {"nan", 0.0, false},
        {"NaN", 0.0, false},
        {"-nan", 0.0, false},
        {"nan(1)", 0.0, false},
        {"inf", 0.0, false},
        {"-inf", 0.0, false},
        {"Inf", 0.0, false},  // how SQLite writes a REAL infinity
        {"-Inf", 0.0, false},
        {"infinity", 0.0, false},
        {"1e999", 0.0, false},
        {"-1,5e999", 0.0, false},
        {std::string(70, ' ') + "nan", 0.0, false},
    };
    for (const auto& c : cases) {
        const ValueReading r = ReadValue(c.text);
        EXPECT_EQ(r.finite, c.finite) << "'" << c.text << "'";
        EXPECT_TRUE(std::isfinite(r.value)) << "'" << c.text << "'";
        EXPECT_DOUBLE_EQ(r.value, c.value) << "'" << c.text << "'";
    }
}

}  // namespace
