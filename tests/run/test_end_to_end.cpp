// Whole runs over small databases: values on the pages checked against the
// same data evaluated here, the log in order, the database left unchanged.
#include <algorithm>
#include <cstdlib>
#include <limits>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

const std::string kComplies = Cp1251("соответствует");
const std::string kDoesNotComply = Cp1251("не соответствует");

// Minute i (from 01.03.2011 00:00) of phase c: within +-3.5 %, but for one
// minute of day 2 in the max-load hours, where L2 drops to -10.5 %.
double Deviation(int i, int c)
{
    if (i == 1440 + 600 && c == 1)
        return -10.5;
    return ((i * 37 + c * 11) % 701 - 350) / 100.0;
}
double Unbalance1m(int i) { return (i * 13 % 150) / 100.0; }
// Samples every minute for the 3-second tables and the frequency.
double Thd(int i, int c) { return ((i * 7 + c * 3) % 300) / 100.0; }
double U0(int i) { return (i * 3 % 150) / 100.0; }
double U2(int i) { return (i * 11 % 170) / 100.0; }
double Frequency(int i) { return ((i * 17) % 31 - 15) / 100.0; }
// Harmonics every five minutes, far below every limit.
double Harmonic(int i, int c) { return ((i + c) % 10) / 100.0; }

struct Extremes {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    void Add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

// Extremes of f over the minutes [from, to) of day `day` (1-based).
template <class F>
Extremes MinuteExtremes(int day, int from, int to, F f)
{
    Extremes e;
    for (int m = from; m < to; ++m)
        e.Add(f((day - 1) * 1440 + m));
    return e;
}

TEST(EndToEnd, TwoDaysOfDataGiveTheirValuesVerdictsAndLog)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    {
        MeasurementDb db(w.db + ".new");
        db.Series("du1m", 1, 60, 2880, Deviation);
        db.Series("u1unbalance1m", 1, 60, 2880, [](int i, int) { return Unbalance1m(i); });
        db.Series("uthd3s", 1, 60, 2880, Thd);
        db.Series("u0unbalance3s", 1, 60, 2880, [](int i, int) { return U0(i); });
        db.Series("u2unbalance3s", 1, 60, 2880, [](int i, int) { return U2(i); });
        db.Series("ac20sdfreq", 1, 60, 2880, [](int i, int) { return Frequency(i); });
        for (const char* t : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"})
            db.Series(t, 1, 300, 576, Harmonic);
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());
    const std::string database = ReadFile(w.db);

    const std::string settings = w.Write(w.settings(2));
    const Outcome r = RunProgram(w.At({settings}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm"}));
    EXPECT_TRUE(ReadFile(w.db) == database) << "the measurement database changed";

    const auto text = [](double v) { return Number("%04.2f", v); };
    for (int day = 1; day <= 2; ++day) {
        SCOPED_TRACE("day " + std::to_string(day));
        const std::map<int, std::string> v = MarkedValues(ReadFile(w.out + "day_" + std::to_string(day) + ".htm"));
        const auto l1 = [](int i) { return Deviation(i, 0); };
        const auto l2 = [](int i) { return Deviation(i, 1); };
        const Extremes max1 = MinuteExtremes(day, 480, 1200, l1);
        Extremes min1 = MinuteExtremes(day, 0, 480, l1);
        const Extremes evening = MinuteExtremes(day, 1200, 1440, l1);
        min1.Add(evening.low);
        min1.Add(evening.high);
        const Extremes whole1 = MinuteExtremes(day, 0, 1440, l1);
        const Extremes whole2 = MinuteExtremes(day, 0, 1440, l2);
        const Extremes single = MinuteExtremes(day, 0, 1440, Unbalance1m);
        const Extremes thd1 = MinuteExtremes(day, 0, 1440, [](int i) { return Thd(i, 0); });
        const Extremes u0 = MinuteExtremes(day, 0, 1440, U0);
        const Extremes u2 = MinuteExtremes(day, 0, 1440, U2);
        const Extremes frequency = MinuteExtremes(day, 0, 1440, Frequency);

        EXPECT_EQ(v.at(15), text(max1.low)) << "L1 max-load smallest";
        EXPECT_EQ(v.at(17), text(max1.high)) << "L1 max-load largest";
        EXPECT_EQ(v.at(47), text(min1.low)) << "L1 min-load smallest";
        EXPECT_EQ(v.at(49), text(min1.high)) << "L1 min-load largest";
        EXPECT_EQ(v.at(79), text(whole1.low)) << "L1 day smallest";
        EXPECT_EQ(v.at(81), text(whole1.high)) << "L1 day largest";
        EXPECT_EQ(v.at(87), text(whole2.low)) << "L2 day smallest";
        EXPECT_EQ(v.at(103), text(single.low)) << "u1unbalance1m day smallest";
        EXPECT_EQ(v.at(105), text(single.high)) << "u1unbalance1m day largest";
        EXPECT_EQ(v.at(110), text(thd1.high)) << "THD L1 largest";
        EXPECT_EQ(v.at(127), text(u0.high)) << "u0 largest";
        EXPECT_EQ(v.at(131), text(u2.high)) << "u2 largest";
        EXPECT_EQ(v.at(137), text(frequency.low)) << "frequency smallest";
        EXPECT_EQ(v.at(139), text(frequency.high)) << "frequency largest";
    }
    EXPECT_EQ(MarkedValues(ReadFile(w.out + "day_2.htm")).at(87), "-10,50");

    const std::map<int, std::string> t = MarkedValues(ReadFile(w.out + "Page0.htm"));
    Extremes frequency, voltage;
    for (int i = 0; i < 2880; ++i) {
        frequency.Add(Frequency(i));
        for (int c = 0; c < 3; ++c)
            voltage.Add(Deviation(i, c));
    }
    EXPECT_EQ(t.at(29), "01-03-2011");
    EXPECT_EQ(t.at(30), "03-03-2011");
    EXPECT_EQ(t.at(42), Number("%04.2f", frequency.low + 50.0));
    EXPECT_EQ(t.at(43), Number("%04.2f", frequency.high + 50.0));
    EXPECT_EQ(t.at(44), Number("%6.2f", (voltage.low / 100 + 1) * 220));
    EXPECT_EQ(t.at(45), Number("%6.2f", (voltage.high / 100 + 1) * 220));
    EXPECT_EQ(t.at(44), "196,90");
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(t.at(48 + f), f == 0 ? kDoesNotComply : kComplies) << "verdict " << f;

    // The log: every statistic in order; the one-minute tables are complete,
    // the sparse three-second ones are not.
    std::vector<std::string> expected{"Command line parsed successfully:", "Input files: " + settings + " "};
    for (int day = 1; day <= 2; ++day) {
        expected.push_back("Day number " + std::to_string(day) + " of 2.");
        expected.push_back("0" + std::to_string(day) + ".03.2011 00:00 - 0" + std::to_string(day + 1) +
                           ".03.2011 00:00");
        for (const char* regime : {"Max", "Min", "Whole day"})
            for (const char* phase : {"L1", "L2", "L3"})
                expected.push_back(std::string(regime) + (regime[0] == 'W' ? "" : " power") + " regim du1m " + phase);
        for (const char* regime : {"Max power", "Min power", "Whole day"})
            expected.push_back(std::string(regime) + " regim, single u1unbalance1m");
        for (const char* phase : {"L1", "L2", "L3"})
            expected.push_back(std::string("Uthd uthd3s ") + phase);
        expected.push_back("Kx, single u0unbalance3s");
        expected.push_back("Kx, single u2unbalance3s");
        expected.push_back("AC, single ac20sdfreq");
        for (const char* phase : {"L1", "L2", "L3"})
            expected.push_back(std::string("HarmL harm_u_") + phase + "_3s");
    }
    expected.push_back("Fr, min max ac20sdfreq");
    expected.push_back("U min max du1m");

    const std::vector<std::string> lines = r.LogLines();
    std::vector<std::string> statistics;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.empty() || l == "Input is incomplete!")
            continue;
        statistics.push_back(l);
        const bool incomplete = i + 1 < lines.size() && lines[i + 1] == "Input is incomplete!";
        if (l.find("du1m L") != std::string::npos || l.find("u1unbalance1m") != std::string::npos) {
            EXPECT_FALSE(incomplete) << l;
        }
        if (l.rfind("Uthd", 0) == 0 || l.rfind("Kx", 0) == 0 || l.rfind("AC", 0) == 0) {
            EXPECT_TRUE(incomplete) << l;
        }
    }
    EXPECT_EQ(statistics, expected);
}

TEST(EndToEnd, SampleDatabaseWithASagDayFailsOnlyTheVoltageVerdict)
{
#ifndef MAKE_SAMPLE_DB
    GTEST_SKIP() << "the sample database maker is not built";
#else
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    const std::string db = w.dir / "sample.db";
    Launch make;
    make.program = MAKE_SAMPLE_DB;
    make.args = {"--days", "2", "--density", "0.05", "--sag-day", "2", "--null-values", db};
    const Outcome made = RunProgram(make);
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string database = ReadFile(db);

    const Outcome r = RunProgram(w.At({w.Write(w.settings(2).Set("DB", db))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_TRUE(ReadFile(db) == database) << "the measurement database changed";
    const std::map<int, std::string> t = MarkedValues(ReadFile(w.out + "Page0.htm"));
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(t.at(48 + f), f == 0 ? kDoesNotComply : kComplies) << "verdict " << f;
    EXPECT_LT(std::atof(t.at(44).c_str()), 220 * 0.95);  // the sag day goes below -5 %
#endif
}

TEST(EndToEnd, ShippedTemplatesGiveACompleteReport)
{
    const Workspace w;
    Launch launch;  // the build's program and the templates beside it
    launch.args = {w.Write(w.settings(1))};
    const Outcome r = RunProgram(launch);
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm"}));
}

}  // namespace
