// The period's extremes of frequency and voltage on small measurement
// databases, with values that are no finite numbers among them.
#include <gtest/gtest.h>

#include "base/number_text.h"
#include "stats/extremes.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

// The title page's texts of the extremes.
std::string FrequencyTexts(const Extremes& e)
{
    return FormatNumber("%04.2f", e.minimum.value) + " " + FormatNumber("%04.2f", e.maximum.value);
}
std::string VoltageTexts(const Extremes& e)
{
    return FormatNumber("%6.2f", e.minimum.value) + "|" + FormatNumber("%6.2f", e.maximum.value);
}

TEST(Extremes, FrequencyAndVoltageOverThePeriod)
{
    FixtureDb f;
    f.Put("ac20sdfreq", "Value", At(1, 1), -0.19);
    f.Put("ac20sdfreq", "Value", At(2, 1), 0.2);
    f.Put("ac20sdfreq", "Value", At(3, 1), -0.3);  // outside the period
    f.Put("du1m", "L1", At(1, 1), 1.0);
    f.Put("du1m", "L2", At(1, 2), -5.0);
    f.Put("du1m", "L3", At(2, 3), 5.25);
    f.Put("du1m", "L3", At(3, 3), 9.0);  // outside the period
    LogCapture log;
    Extremes e = FrequencyMinMax(f.source(), f.notes(), "ac20sdfreq", At(1), At(3));
    EXPECT_EQ(FrequencyTexts(e), "49,81 50,20");
    e = VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(3));
    EXPECT_EQ(VoltageTexts(e), "209,00|231,55");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Fr, min max ac20sdfreq", "U min max du1m"}));
}

TEST(Extremes, MissingValuesCountAsNoDeviation)
{
    FixtureDb f;
    Extremes e = FrequencyMinMax(f.source(), f.notes(), "ac20sdfreq", At(1), At(2));
    EXPECT_EQ(FrequencyTexts(e), "50,00 50,00");
    e = VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(2));
    EXPECT_EQ(VoltageTexts(e), "220,00|220,00");
    // L2 has no values: it takes part as 0, below every other phase.
    f.Put("du1m", "L1", At(1, 1), 1.0);
    f.Put("du1m", "L3", At(1, 2), 3.0);
    e = VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(2));
    EXPECT_EQ(VoltageTexts(e), "220,00|226,60");
}

TEST(NotFinite, PeriodExtremesCountThemAs0)
{
    for (const auto& c : kNotFinite) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.Put("ac20sdfreq", "Value", At(1, 1), -0.19);
        f.Put("ac20sdfreq", "Value", At(1, 2), 0.2);
        f.Put("ac20sdfreq", "Value", At(1, 3), 0.0);
        SetLiteral(f, "ac20sdfreq", "Value", At(1, 3), At(1, 4), c.literal);
        f.Put("du1m", "L1", At(1, 1), -1.0);
        f.Put("du1m", "L2", At(1, 1), -0.5);
        f.Put("du1m", "L3", At(1, 1), 0.0);
        f.Put("du1m", "L3", At(1, 2), 1.0);
        SetLiteral(f, "du1m", "L3", At(1, 1), At(1, 2), c.literal);
        LogCapture log;
        const Extremes frequency = FrequencyMinMax(f.source(), f.notes(), "ac20sdfreq", At(1), At(2));
        const Extremes voltage = VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(2));
        // Taken by number, the literal is a 0 among the values: not an extreme
        // of the frequency, the smallest value of L3 but not of the voltage.
        EXPECT_EQ(FrequencyTexts(frequency), "49,81 50,20");
        EXPECT_EQ(VoltageTexts(voltage), "217,80|222,20");
        std::vector<std::string> lines{"Fr, min max ac20sdfreq"};
        if (c.storedAsText)
            lines.push_back("ac20sdfreq.Value: 1 value of the period is stored as text; its smallest and largest "
                            "values are taken by number.");
        lines.push_back("U min max du1m");
        if (c.storedAsText)
            lines.push_back("du1m.L3: 1 value of the period is stored as text; its smallest and largest values are "
                            "taken by number.");
        lines.push_back("du1m.L3: the period's smallest value is not a finite number and counts as 0.");
        EXPECT_EQ(log.lines, lines);
    }
}

}  // namespace
