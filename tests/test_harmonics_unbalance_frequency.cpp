// Total harmonic distortion, harmonics, unbalance, frequency deviation and
// the period extremes on small measurement databases, with values that are
// no finite numbers among them.
#include <functional>

#include <gtest/gtest.h>

#include "fixtures.h"
#include "stats/harmonics.h"
#include "base/number_text.h"
#include "stats/unbalance_frequency.h"
#include "stats/extremes.h"

using namespace pq;

namespace {

// n values of `v`, then the rest.
std::vector<double> Repeat(size_t n, double v, std::vector<double> rest = {})
{
    std::vector<double> values(n, v);
    values.insert(values.end(), rest.begin(), rest.end());
    return values;
}

struct Case {
    const char* name;
    std::vector<double> values;
    TextList slots;
    bool flagKept;
    bool incomplete;
};

// One day of a statistic over one value series.
using Statistic = std::function<TextList(const DayContext&, bool&)>;

// Writes each case's values into table.column every `step` seconds from the
// day's start and checks the record, the flag and the log.
template <size_t N>
void Check(const Case (&cases)[N], const std::string& table, const std::string& column, int step,
           const std::string& line, const Statistic& statistic)
{
    for (const Case& c : cases) {
        FixtureDb f;
        f.PutSeries(table, column, At(1), step, c.values);
        LogCapture log;
        bool flag = true;
        EXPECT_EQ(statistic(TestDay(f), flag), c.slots) << c.name;
        EXPECT_EQ(flag, c.flagKept) << c.name;
        EXPECT_TRUE(log.Has(line)) << c.name;
        EXPECT_EQ(log.Has("Input is incomplete!\n"), c.incomplete) << c.name;
    }
}

TEST(ThdStatistic, OneSidedEvaluationOfAPhase)
{
    const Case cases[] = {
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
    Check(cases, "uthd3s", "L2", 3, "Uthd uthd3s L2", [](const DayContext& day, bool& flag) {
        return ClearingFlag(ThdStatistic(day, SeriesOf("uthd3s"), 1), flag);
    });
}

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

TEST(UnbalanceStatistic, FourSlotsAgainst2And4Percent)
{
    const Case cases[] = {
        {"1440 of 28800 above 2", Repeat(27360, 1.0, Repeat(1440, 3.0)), {"1,00", "3,00", "5,00", "0,00"}, true, false},
        {"1441 of 28800 above 2", Repeat(27359, 1.0, Repeat(1441, 3.0)), {"3,00", "3,00", "5,00", "0,00"}, false, false},
        {"values on the limits", Repeat(28798, 1.0, {2.0, 4.0}), {"1,00", "4,00", "0,00", "0,00"}, true, false},
        {"one value above 4", Repeat(28799, 1.0, {4.01}), {"1,00", "4,01", "0,00", "0,00"}, false, false},
        {"28699 values", Repeat(28699, 0.5), {"0,50", "0,50", "0,00", "0,00"}, true, true},
    };
    Check(cases, "u2unbalance3s", "Value", 3, "Kx, single u2unbalance3s", [](const DayContext& day, bool& flag) {
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
    const Case cases[] = {
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
    Check(cases, "ac20sdfreq", "Value", 20, "AC, single ac20sdfreq", [](const DayContext& day, bool& flag) {
        return ClearingFlag(FrequencyDeviationStatistic(day, SeriesOf("ac20sdfreq")), flag);
    });
}

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

// ---- values that are no finite numbers, and what each statistic found ---------

// Stores the SQL literal as table.column's value at the instants [from, to)
// that have a row.
void SetLiteral(FixtureDb& f, const std::string& table, const std::string& column, const wxDateTime& from,
                const wxDateTime& to, const std::string& literal)
{
    f->ExecuteUpdate(wxString::Format("UPDATE %s SET %s=%s WHERE Base_id IN (SELECT Base_id FROM Base"
                                      " WHERE DateTimeMQV>='%s' AND DateTimeMQV<'%s')",
                                      table, column, literal, TimeStamp(from), TimeStamp(to)));
}

// The log without the incompleteness lines.
std::vector<std::string> Lines(const LogCapture& log)
{
    std::vector<std::string> lines;
    for (const std::string& line : log.lines)
        if (line != "Input is incomplete!\n")
            lines.push_back(line);
    return lines;
}

// The literals that are no finite numbers, as SQLite stores them in a REAL
// column: 'nan', '-inf', 'Inf' and 'abc' stay text, BLOBs stay BLOBs, 1e999
// becomes a REAL infinity. Whatever SQLite's order, each counts as 0 and takes
// its place among the values as 0.
const struct {
    const char* literal;
    bool storedAsText;  // as text or BLOB
} kNotFinite[] = {{"'nan'", true},   {"'-inf'", true}, {"'Inf'", true},    {"1e999", false},
                  {"-1e999", false}, {"'abc'", true},  {"x'00ff'", true}, {"x'616263'", true}};

// The warning of a statistic that met `count` values stored as text.
std::string StoredAsText(const std::string& column, int count)
{
    return column + (count == 1 ? ": 1 value is" : ": " + std::to_string(count) + " values are") +
           " stored as text; the values are taken in the order of their numbers.";
}

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
